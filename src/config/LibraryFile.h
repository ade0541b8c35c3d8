#pragma once
// Whether a file may be handed to the system's library loader at all. The loader checks a
// library's headers but maps its segments on trust: a library cut short (a copy broken off,
// a download that stopped) maps pages that lie past the end of the file, and the first touch
// of one kills the process with SIGBUS. Listing the plugins loads every file of the emulator
// folder, so such a file must be passed over before it gets there.

#include <string>

namespace velmora::config {

// False for a library of this system's own kind (ELF, this word size and byte order) whose
// headers or segments reach past the end of the file, or that cannot be read. True for every
// other file: what the loader refuses by its headers alone is safe to hand to it.
bool IsWholeLibraryFile(const std::string& path);

}  // namespace velmora::config
