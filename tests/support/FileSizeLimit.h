#pragma once
// A full disk as the system itself makes one: while a FileSizeLimit lives, no file this
// process writes may grow past the given size, and a write that would is refused (EFBIG), as
// on a full disk, rather than ending the process. Nothing in Velmora's own code knows about
// it. POSIX only: Windows has no such limit, and tests that need one skip there.

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>

namespace velmora::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

}  // namespace velmora::test

#define VELMORA_SKIP_WITHOUT_FILE_SIZE_LIMIT()
#else
#define VELMORA_SKIP_WITHOUT_FILE_SIZE_LIMIT() \
    GTEST_SKIP() << "Windows cannot limit a file's size: no full disk to write to"
#endif
