#include "LibraryFile.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#if defined(__ELF__)
#include <elf.h>
#endif

namespace velmora::config {

#if defined(__ELF__)

namespace {

#if UINTPTR_MAX > 0xffffffffu
using Header = Elf64_Ehdr;
using Segment = Elf64_Phdr;
constexpr unsigned char kClass = ELFCLASS64;
#else
using Header = Elf32_Ehdr;
using Segment = Elf32_Phdr;
constexpr unsigned char kClass = ELFCLASS32;
#endif

#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr unsigned char kByteOrder = ELFDATA2LSB;
#else
constexpr unsigned char kByteOrder = ELFDATA2MSB;
#endif

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool ReadAt(std::FILE* file, unsigned long long offset, void* into, size_t size) {
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 &&
           std::fread(into, 1, size, file) == size;
}

// Whether [offset, offset + size) lies within a file of `fileSize` bytes.
bool Within(unsigned long long offset, unsigned long long size, unsigned long long fileSize) {
    return offset <= fileSize && size <= fileSize - offset;
}

}  // namespace

bool IsWholeLibraryFile(const std::string& path) {
    std::error_code ec;
    const unsigned long long fileSize = std::filesystem::file_size(path, ec);
    std::unique_ptr<std::FILE, FileCloser> file(ec ? nullptr : std::fopen(path.c_str(), "rb"));
    if (!file) {
        return false;
    }
    unsigned char ident[EI_NIDENT] = {};
    if (std::fread(ident, 1, sizeof ident, file.get()) != sizeof ident ||
        std::memcmp(ident, ELFMAG, SELFMAG) != 0 || ident[EI_CLASS] != kClass ||
        ident[EI_DATA] != kByteOrder) {
        return true;  // not ELF of our kind: the loader refuses it by its first bytes
    }
    Header header;
    if (!ReadAt(file.get(), 0, &header, sizeof header) || header.e_phentsize != sizeof(Segment) ||
        !Within(header.e_phoff, static_cast<unsigned long long>(header.e_phnum) * sizeof(Segment),
                fileSize)) {
        return false;
    }
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        Segment segment;
        if (!ReadAt(file.get(), header.e_phoff + i * sizeof segment, &segment, sizeof segment) ||
            !Within(segment.p_offset, segment.p_filesz, fileSize)) {
            return false;
        }
    }
    return true;
}

#else

// The Windows loader checks a DLL's sections against the file before it maps them.
bool IsWholeLibraryFile(const std::string&) {
    return true;
}

#endif

}  // namespace velmora::config
