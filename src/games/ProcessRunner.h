#pragma once
// Runs the emulator as a child process: captured (everything it prints to stdout and stderr,
// in order, line ends untouched) or detached.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Contract.h"

namespace velmora::games {

enum class WindowMode { Hidden, Shown };

struct CaptureResult {
    bool started = false;
    std::string error;  // why it did not start, in the system's words
    std::string text;
    int passes = 0;                          // reads of at most kReadChunk bytes
    std::chrono::milliseconds pausedFor{0};  // time spent in the pauses before reads
};

// A child that ran with our own standard input, output and error.
struct ForwardedResult {
    bool started = false;
    int exitCode =
        0;  // its exit status; after a crash, the shell's 128 + signal where there are signals
    std::string error;  // why it did not start, in the system's words
};

struct RunHooks {
    std::function<void()> onPipeReady;       // before the child is started
    std::function<void()> onStartAttempted;  // right after the attempt, started or not
    std::function<void(std::int64_t processId)> onChildStarted;  // once it runs, before the wait
};

class ProcessRunner {
    struct Pending;

public:
    // A captured run started and not yet collected. Dropping it ends the child.
    class StartedRun {
    public:
        StartedRun();
        ~StartedRun();
        StartedRun(StartedRun&&) noexcept;
        StartedRun& operator=(StartedRun&&) noexcept;
        bool IsPending() const { return m_pending != nullptr; }

    private:
        friend class ProcessRunner;
        explicit StartedRun(std::unique_ptr<Pending> pending);
        std::unique_ptr<Pending> m_pending;
    };

    // The captured text is read in chunks of 511 bytes with a pause before every read, as the
    // emulator's output has always been collected. Tests and benchmarks may shorten the pause.
    static constexpr int kReadChunk = 511;
    static constexpr std::chrono::milliseconds kReadPause{100};

    explicit ProcessRunner(std::chrono::milliseconds pause = kReadPause);
    ~ProcessRunner();
    ProcessRunner(const ProcessRunner&) = delete;
    ProcessRunner& operator=(const ProcessRunner&) = delete;

    // Waits until the child has ended. While it waits, and during the pauses, the event loop
    // runs without user input: windows keep painting, clicks and keys wait until it returns.
    // The child's standard input is the null device, so it can never wait for input from us.
    CaptureResult RunCaptured(const emu::Command& command, WindowMode mode,
                              const RunHooks& hooks = {}) const;

    // RunCaptured in two steps, for a caller with work of its own to do while the child runs:
    // Start returns at once, Collect waits as RunCaptured does and leaves the run collected.
    StartedRun StartCaptured(const emu::Command& command, WindowMode mode) const;
    CaptureResult Collect(StartedRun& run) const;

    // Starts the child and returns at once, without waiting for it to end. False when it could
    // not be started: no such program, not executable, or its working directory gone. With
    // `processId`, the child's id goes there.
    static bool StartDetached(const emu::Command& command, std::int64_t* processId = nullptr);

    // Runs the child on our own standard input, output and error, nothing captured, and
    // waits until it has ended. `onStarted` learns the child's id once it runs.
    static ForwardedResult RunForwarded(
        const emu::Command& command,
        const std::function<void(std::int64_t processId)>& onStarted = {});

private:
    void Pause() const;
    std::unique_ptr<Pending> Start(const emu::Command& command, WindowMode mode,
                                   const RunHooks& hooks) const;
    CaptureResult Collect(Pending& run) const;

    std::chrono::milliseconds m_pause;
};

}  // namespace velmora::games
