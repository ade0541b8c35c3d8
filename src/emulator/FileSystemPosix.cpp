#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "FileSystem.h"

namespace velmora::platform {

namespace {

std::string Reason(int error) {
    return std::strerror(error);
}

// Writes all of `bytes` at the file's present offset; the error number, or 0.
int WriteAll(int fd, std::string_view bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (count > 0) {
            written += static_cast<size_t>(count);
        } else if (count == 0) {
            return EIO;
        } else if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

// Flushes and closes `fd`; `error` unless it is 0, else the flush's or the close's.
int FlushAndClose(int fd, int error) {
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    return error;
}

}  // namespace

std::string FinalTarget(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            break;
        }
        std::string target(4096, '\0');
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<size_t>(length) >= target.size()) {
            break;
        }
        target.resize(static_cast<size_t>(length));
        if (target.front() == '/') {
            current = target;
        } else {
            const size_t slash = current.rfind('/');
            current = (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) +
                      target;
        }
    }
    return current;
}

Failure RefuseReplacing(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    if (S_ISDIR(status.st_mode)) {
        return Reason(EISDIR);
    }
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return Reason(EACCES);
    }
    return std::nullopt;
}

Failure WriteNewFile(const std::string& path, std::string_view bytes, const std::string& like,
                     bool& created) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    created = fd >= 0;
    if (fd < 0) {
        return Reason(errno);
    }
    int error = WriteAll(fd, bytes);
    // Keep the permissions the user gave the old file.
    if (struct stat old{}; error == 0 && ::stat(like.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    }
    error = FlushAndClose(fd, error);
    if (error != 0) {
        ::unlink(path.c_str());
        return Reason(error);
    }
    return std::nullopt;
}

Failure OverwriteFile(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return Reason(errno);
    }
    int error = WriteAll(fd, bytes);
    if (error == 0 && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
        error = errno;
    }
    error = FlushAndClose(fd, error);
    if (error != 0) {
        return Reason(error);
    }
    return std::nullopt;
}

Failure MoveOver(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        return Reason(errno);
    }
    return std::nullopt;
}

void RemoveFile(const std::string& path) {
    ::unlink(path.c_str());
}

Failure MoveToNewName(const std::string& from, const std::string& to) {
    // A hard link is made only where no name is: the one step that cannot overwrite.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return std::nullopt;
    }
    const int error = errno;
    if (error == EEXIST) {
        return Reason(error);
    }
    // A file system without hard links (FAT, some network shares): look, then rename.
    struct stat status {};
    if (::lstat(to.c_str(), &status) == 0) {
        return Reason(EEXIST);
    }
    return MoveOver(from, to);
}

Failure RemoveIfThere(const std::string& path) {
    if (Failure refused = RefuseReplacing(path)) {
        return refused;
    }
    if (::unlink(path.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR) {
        return std::nullopt;
    }
    return Reason(errno);
}

Failure MakeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) {
        return std::nullopt;
    }
    const int error = errno;
    struct stat status {};
    if (error == EEXIST && ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        return std::nullopt;
    }
    return Reason(error);
}

bool IsMissing(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

bool IsRegularFile(std::FILE* file) {
    struct stat status {};
    return fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode);
}

bool IsRegularFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace velmora::platform
