#include <fcntl.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <optional>
#include <vector>

#include "ChildProcess.h"

extern char** environ;

namespace velmora::games {

namespace {

// The program and its arguments as the system takes them: C strings of their own bytes.
std::vector<char*> Words(const emu::Command& command) {
    std::vector<char*> words;
    words.push_back(const_cast<char*>(command.program.c_str()));
    for (const std::string& argument : command.arguments) {
        words.push_back(const_cast<char*>(argument.c_str()));
    }
    words.push_back(nullptr);
    return words;
}

// The system's words for an error number: "No such file or directory".
std::string Reason(int error) {
    return std::strerror(error);
}

// Waits for the child to end (with WNOHANG: looks whether it has); its exit status, or 128 +
// the signal that ended it, as a shell gives it; -1 when the system cannot tell. Nothing while
// it still runs.
std::optional<int> Reap(pid_t pid, int flags = 0) {
    int status = 0;
    pid_t got = 0;
    do {
        got = ::waitpid(pid, &status, flags);
    } while (got < 0 && errno == EINTR);
    if (got == 0) {
        return std::nullopt;
    }
    if (got != pid) {
        return -1;
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

// A child started with posix_spawn, which reports a program that cannot run, or a working
// directory that has gone, by its error number. The child starts with no signal blocked and
// SIGPIPE at its default, whatever this process does with them; its program is looked up on
// PATH only when its name holds no slash, as a shell does.
class Spawn {
public:
    explicit Spawn(const std::string& workingDirectory) {
        posix_spawn_file_actions_init(&m_actions);
        posix_spawnattr_init(&m_attributes);
        if (!workingDirectory.empty()) {
            posix_spawn_file_actions_addchdir_np(&m_actions, workingDirectory.c_str());
        }
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&m_attributes, &none);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        posix_spawnattr_setsigdefault(&m_attributes, &defaults);
        posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~Spawn() {
        posix_spawn_file_actions_destroy(&m_actions);
        posix_spawnattr_destroy(&m_attributes);
    }
    Spawn(const Spawn&) = delete;
    Spawn& operator=(const Spawn&) = delete;

    posix_spawn_file_actions_t* Actions() { return &m_actions; }

    // The child's process id, or -1 with `error` set.
    pid_t Run(const emu::Command& command, int& error) {
        std::vector<char*> words = Words(command);
        pid_t pid = -1;
        error = posix_spawnp(&pid, words[0], &m_actions, &m_attributes, words.data(), environ);
        return error == 0 ? pid : -1;
    }

private:
    posix_spawn_file_actions_t m_actions;
    posix_spawnattr_t m_attributes;
};

// A descriptor that becomes readable when the child ends; -1 on a kernel without one.
int ExitWatch(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

constexpr size_t kGatherChunk = 65536;

}  // namespace

struct CapturedChild::State {
    pid_t pid = -1;
    std::string startError;
    bool ended = false;
    int output = -1;  // the pipe's reading end
    bool outputOpen = false;
    int exitWatch = -1;
    std::unique_ptr<QSocketNotifier> outputNotifier;
    std::unique_ptr<QSocketNotifier> exitNotifier;
    std::function<void()> onEnd;  // the waiting event loop's quit

    // What the child printed and nobody has taken yet, in chunks that are let go of as soon
    // as they are taken: at most one chunk more than the output itself.
    std::deque<std::string> gathered;
    size_t frontTaken = 0;
    size_t available = 0;

    void Keep(const char* bytes, size_t size) {
        available += size;
        while (size > 0) {
            if (gathered.empty() || gathered.back().size() == kGatherChunk) {
                gathered.emplace_back().reserve(kGatherChunk);
            }
            std::string& last = gathered.back();
            const size_t part = std::min(size, kGatherChunk - last.size());
            last.append(bytes, part);
            bytes += part;
            size -= part;
        }
    }

    // One read of what the pipe holds, at most `most` bytes; notes the end of the output.
    // How many bytes it read.
    size_t ReadOnce(size_t most = kGatherChunk) {
        char buffer[kGatherChunk];
        ssize_t got = 0;
        do {
            got = ::read(output, buffer, std::min(most, sizeof buffer));
        } while (got < 0 && errno == EINTR);
        if (got > 0) {
            Keep(buffer, static_cast<size_t>(got));
            return static_cast<size_t>(got);
        }
        if (got == 0 || errno != EAGAIN) {
            outputOpen = false;
            if (outputNotifier) {
                outputNotifier->setEnabled(false);
            }
        }
        return 0;
    }

    // The child has ended, so what it printed is in the pipe by now. What a child of its own
    // may go on writing there is not waited for.
    void Finish() {
        if (int left = 0; outputOpen && ::ioctl(output, FIONREAD, &left) == 0) {
            for (size_t rest = static_cast<size_t>(left); rest > 0;) {
                const size_t got = ReadOnce(rest);
                if (got == 0) {
                    break;
                }
                rest -= std::min(rest, got);
            }
        }
        outputOpen = false;
        ended = true;
        for (QSocketNotifier* notifier : {outputNotifier.get(), exitNotifier.get()}) {
            if (notifier != nullptr) {
                notifier->setEnabled(false);
            }
        }
        if (onEnd) {
            onEnd();
        }
    }

    // Finishes when the child has ended, reaping it; `block` waits for that.
    void CheckEnd(bool block) {
        if (Reap(pid, block ? 0 : WNOHANG)) {
            Finish();
        }
    }

    // Reads while the child runs, also while nobody waits for it, whenever the event loop
    // runs: a child that prints more than the pipe holds never stalls.
    void Watch() {
        outputNotifier = std::make_unique<QSocketNotifier>(output, QSocketNotifier::Read);
        QObject::connect(outputNotifier.get(), &QSocketNotifier::activated, [this] {
            ReadOnce();
            if (!outputOpen && exitWatch < 0) {
                CheckEnd(true);  // no way to hear of the end but to wait for it
            }
        });
        if (exitWatch >= 0) {
            exitNotifier = std::make_unique<QSocketNotifier>(exitWatch, QSocketNotifier::Read);
            QObject::connect(exitNotifier.get(), &QSocketNotifier::activated,
                             [this] { CheckEnd(false); });
        }
    }

    void WaitBlocking() {
        while (!ended) {
            pollfd watched[2] = {};
            nfds_t count = 0;
            if (outputOpen) {
                watched[count++] = {output, POLLIN, 0};
            }
            if (exitWatch >= 0) {
                watched[count++] = {exitWatch, POLLIN, 0};
            }
            if (count == 0) {
                CheckEnd(true);
                return;
            }
            if (::poll(watched, count, -1) < 0) {
                continue;  // interrupted
            }
            for (nfds_t i = 0; i < count && !ended; ++i) {
                if (watched[i].revents == 0) {
                    continue;
                }
                if (watched[i].fd == output) {
                    ReadOnce();
                } else {
                    CheckEnd(false);
                }
            }
        }
    }
};

CapturedChild::CapturedChild(const emu::Command& command, WindowMode /*mode*/)
    : m_state(std::make_unique<State>()) {
    // A console program started from a desktop program opens no window of its own here.
    int pipe[2] = {-1, -1};
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        m_state->startError = Reason(errno);
        return;
    }
    Spawn spawn(command.workingDirectory);
    posix_spawn_file_actions_addopen(spawn.Actions(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(spawn.Actions(), pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(spawn.Actions(), pipe[1], STDERR_FILENO);
    int error = 0;
    State& state = *m_state;
    state.pid = spawn.Run(command, error);
    ::close(pipe[1]);
    state.output = pipe[0];
    if (state.pid < 0) {
        state.startError = Reason(error);
        return;
    }
    ::fcntl(state.output, F_SETFL, ::fcntl(state.output, F_GETFL) | O_NONBLOCK);
    state.outputOpen = true;
    state.exitWatch = ExitWatch(state.pid);
    if (QCoreApplication::instance() != nullptr &&
        QAbstractEventDispatcher::instance() != nullptr) {
        state.Watch();
    }
}

CapturedChild::~CapturedChild() {
    State& state = *m_state;
    if (state.pid > 0 && !state.ended) {
        ::kill(state.pid, SIGKILL);
        Reap(state.pid);
    }
    state.outputNotifier.reset();
    state.exitNotifier.reset();
    for (const int fd : {state.output, state.exitWatch}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

bool CapturedChild::Started() {
    return m_state->pid > 0;
}

std::string CapturedChild::StartError() {
    return m_state->startError;
}

std::int64_t CapturedChild::ProcessId() const {
    return m_state->pid;
}

void CapturedChild::WaitForEnd() {
    State& state = *m_state;
    if (state.pid <= 0 || state.ended) {
        return;
    }
    if (!state.outputNotifier) {
        state.WaitBlocking();
        return;
    }
    WaitWithoutUserInput([&state](QEventLoop& loop) { state.onEnd = [&loop] { loop.quit(); }; });
    state.onEnd = nullptr;
}

size_t CapturedChild::Available() const {
    return m_state->available;
}

size_t CapturedChild::Take(size_t most, std::string& into) {
    State& state = *m_state;
    size_t taken = 0;
    while (taken < most && !state.gathered.empty()) {
        const std::string& front = state.gathered.front();
        const size_t part = std::min(most - taken, front.size() - state.frontTaken);
        into.append(front, state.frontTaken, part);
        state.frontTaken += part;
        taken += part;
        if (state.frontTaken == front.size()) {
            state.gathered.pop_front();
            state.frontTaken = 0;
        }
    }
    state.available -= taken;
#ifdef __GLIBC__
    if (taken > 0 && state.gathered.empty()) {
        // The chunks were let go of from the front while later ones still held the heap's top,
        // so the allocator kept their pages; hand them back before the list is parsed.
        ::malloc_trim(0);
    }
#endif
    return taken;
}

// Started in a session of its own by a child that ends at once, so that nothing is left to
// wait for: the emulator outlives Velmora and never becomes a zombie of ours. Its standard
// output and error are ours, its standard input the null device.
bool StartDetachedChild(const emu::Command& command, std::int64_t* processId) {
    // All that the children use is made before they are forked: a copy of a process with
    // threads may only make calls that take no lock.
    std::vector<char*> words = Words(command);
    const char* dir = command.workingDirectory.empty() ? nullptr : command.workingDirectory.c_str();
    int report[2] = {-1, -1};   // an error number, or nothing once the emulator runs
    int started[2] = {-1, -1};  // the emulator's process id, from the child between
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return false;
    }
    if (::pipe2(started, O_CLOEXEC) != 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    const pid_t middle = ::fork();
    if (middle == 0) {
        ::setsid();
        const pid_t emulator = ::fork();
        if (emulator > 0) {
            (void)!::write(started[1], &emulator, sizeof emulator);
            ::_exit(0);
        }
        if (emulator == 0) {
            const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
            if (null > STDIN_FILENO) {
                ::dup2(null, STDIN_FILENO);
            } else if (null == STDIN_FILENO) {
                ::fcntl(null, F_SETFD, 0);
            }
            struct sigaction standard {};
            standard.sa_handler = SIG_DFL;
            ::sigaction(SIGPIPE, &standard, nullptr);
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            if (dir == nullptr || ::chdir(dir) == 0) {
                ::execvp(words[0], words.data());
            }
        }
        const int error = errno;  // of the fork, the chdir or the exec
        (void)!::write(report[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(report[1]);
    ::close(started[1]);
    int error = 0;
    ssize_t got = -1;
    pid_t emulator = 0;
    if (middle > 0) {
        Reap(middle);
        if (::read(started[0], &emulator, sizeof emulator) != sizeof emulator) {
            emulator = 0;
        }
        do {
            got = ::read(report[0], &error, sizeof error);
        } while (got < 0 && errno == EINTR);
    }
    ::close(report[0]);
    ::close(started[0]);
    if (processId != nullptr) {
        *processId = got == 0 ? emulator : 0;
    }
    return got == 0;
}

ForwardedResult RunForwardedChild(const emu::Command& command,
                                  const std::function<void(std::int64_t)>& onStarted) {
    ForwardedResult result;
    Spawn spawn(command.workingDirectory);
    int error = 0;
    const pid_t pid = spawn.Run(command, error);
    if (pid < 0) {
        result.error = Reason(error);
        return result;
    }
    result.started = true;
    if (onStarted) {
        onStarted(pid);
    }
    result.exitCode = Reap(pid).value_or(-1);
    return result;
}

}  // namespace velmora::games
