#pragma once
// Reads a snapshot text back into the registry. The reader is lenient the way the files it
// meets need: it ignores everything before the first "[", reads only sections of the plugin
// settings key, and skips value lines of kinds it does not know.

#include <cstdint>
#include <string_view>

#include "RegistryBackend.h"

namespace velmora::snapshot {

// Stores every value of `text` under HKEY_CURRENT_USER as soon as its line is read, creating
// keys as needed. Clears nothing first; a value that cannot be stored is passed over.
void ImportSnapshotText(reg::RegistryBackend& registry, std::string_view text);

// A hexadecimal number as "dword:" values and hex list elements hold it: leading white space,
// an optional sign and "0x", digits of either case up to the first other character. No digits
// give 0, more than 32 bits 0xffffffff; a minus sign negates modulo 2^32.
std::uint32_t ReadHexNumber(std::string_view text);

}  // namespace velmora::snapshot
