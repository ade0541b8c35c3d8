#include <io.h>
#include <windows.h>

#include <algorithm>
#include <limits>
#include <string>

#include "FileSystem.h"

namespace velmora::platform {

namespace {

// The system's own sentence for an error code, in the user's language: "Access is denied."
std::string Reason(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string reason = length > 0 && text != nullptr ? std::string(text, length)
                                                       : "Error " + std::to_string(error);
    LocalFree(text);
    while (!reason.empty() &&
           (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' ')) {
        reason.pop_back();
    }
    return reason;
}

// The DOS path of a handle's file, without the "\\?\" that GetFinalPathNameByHandle puts first.
std::string DosPath(std::string_view path) {
    constexpr std::string_view kUnc = "\\\\?\\UNC\\";
    constexpr std::string_view kLong = "\\\\?\\";
    if (path.substr(0, kUnc.size()) == kUnc) {
        return "\\\\" + std::string(path.substr(kUnc.size()));
    }
    if (path.substr(0, kLong.size()) == kLong) {
        return std::string(path.substr(kLong.size()));
    }
    return std::string(path);
}

// Writes all of `bytes` at the file's present position; the error code, or ERROR_SUCCESS.
DWORD WriteAll(HANDLE file, std::string_view bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(
            std::min<size_t>(bytes.size() - written, std::numeric_limits<DWORD>::max() / 2));
        DWORD count = 0;
        if (!WriteFile(file, bytes.data() + written, chunk, &count, nullptr)) {
            return GetLastError();
        }
        if (count == 0) {
            return ERROR_WRITE_FAULT;
        }
        written += count;
    }
    return ERROR_SUCCESS;
}

// Flushes and closes `file`; `error` unless it is ERROR_SUCCESS, else the flush's.
DWORD FlushAndClose(HANDLE file, DWORD error) {
    if (error == ERROR_SUCCESS && !FlushFileBuffers(file)) {
        error = GetLastError();
    }
    CloseHandle(file);
    return error;
}

}  // namespace

std::string FinalTarget(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return path;
    }
    HANDLE file =
        CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return path;
    }
    std::string target(MAX_PATH * 4, '\0');
    const DWORD length =
        GetFinalPathNameByHandleA(file, target.data(), static_cast<DWORD>(target.size()),
                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(file);
    if (length == 0 || length >= target.size()) {
        return path;
    }
    target.resize(length);
    return DosPath(target);
}

Failure RefuseReplacing(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return Reason(ERROR_ACCESS_DENIED);
    }
    return std::nullopt;
}

Failure WriteNewFile(const std::string& path, std::string_view bytes, const std::string& /*like*/,
                     bool& created) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    created = file != INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) {
        return Reason(GetLastError());
    }
    const DWORD error = FlushAndClose(file, WriteAll(file, bytes));
    if (error != ERROR_SUCCESS) {
        DeleteFileA(path.c_str());
        return Reason(error);
    }
    return std::nullopt;
}

Failure OverwriteFile(const std::string& path, std::string_view bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return Reason(GetLastError());
    }
    DWORD error = WriteAll(file, bytes);
    // The file ends where the bytes written do.
    if (error == ERROR_SUCCESS && !SetEndOfFile(file)) {
        error = GetLastError();
    }
    error = FlushAndClose(file, error);
    if (error != ERROR_SUCCESS) {
        return Reason(error);
    }
    return std::nullopt;
}

Failure MoveOver(const std::string& from, const std::string& to) {
    if (!MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return Reason(GetLastError());
    }
    return std::nullopt;
}

void RemoveFile(const std::string& path) {
    DeleteFileA(path.c_str());
}

Failure MoveToNewName(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING the move fails when `to` exists.
    if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return Reason(GetLastError());
    }
    return std::nullopt;
}

Failure RemoveIfThere(const std::string& path) {
    if (Failure refused = RefuseReplacing(path)) {
        return refused;
    }
    if (DeleteFileA(path.c_str())) {
        return std::nullopt;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        return std::nullopt;
    }
    return Reason(error);
}

Failure MakeFolder(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) {
        return std::nullopt;
    }
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return Reason(error);
}

bool IsMissing(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool IsRegularFile(std::FILE* file) {
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && GetFileType(handle) == FILE_TYPE_DISK;
}

bool IsRegularFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

}  // namespace velmora::platform
