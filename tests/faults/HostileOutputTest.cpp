// Huge and hostile emulator output, with the pauses between reads set to zero. Each capture
// whose memory is measured runs in a process of its own (capture_probe), so that its peak
// belongs to that output alone; the emulators that do not end run here, in an event loop.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Child.h"
#include "ProcessRunner.h"
#include "Sanitizers.h"
#include "TempDir.h"

namespace velmora::faults {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class HostileOutputTest : public ::testing::Test {
protected:
    HostileOutputTest() {
        fs::create_directories(m_emuDir / "cfg");
        fs::copy_file(VELMORA_STANDIN_PATH, m_emuDir / "ZINC.EXE");
    }
    ~HostileOutputTest() override {
        for (const char* name : {"ZINC_STANDIN_OUTPUT_BYTES", "ZINC_STANDIN_LINE_BYTES",
                                 "ZINC_STANDIN_GAMES", "ZINC_STANDIN_NUL", "ZINC_STANDIN_HANG",
                                 "ZINC_STANDIN_CLOSE_OUTPUT", "ZINC_STANDIN_NOTIFY"}) {
            ::unsetenv(name);
        }
    }

    test::TempDir m_dir{"velmora-hostile"};
    fs::path m_emuDir = m_dir.Path() / "zinc";
};

struct ProbeCase {
    const char* name;
    const char* variable;
    const char* value;
    size_t bytes;  // the output's size
    size_t rows;
    const char* firstRow;  // number|game|country|infos|game length, NUL shown as \0
};

constexpr size_t kHeader = 28;  // "Games known to this build:\r\n"

const ProbeCase kProbeCases[] = {
    {"64 MiB of output", "ZINC_STANDIN_OUTPUT_BYTES", "67108864", size_t{64} << 20, 0, nullptr},
    {"one list line of 1 MiB", "ZINC_STANDIN_LINE_BYTES", "1048576", kHeader + (size_t{1} << 20), 1,
     "first: 1|1 xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx|Japan| [x]|1048563"},
    {"1,000,000 game lines", "ZINC_STANDIN_GAMES", "1000000", 0, 1000000,
     "first: 1|1 Amber Anchor |Japan| [2 players]|15"},
    {"NUL bytes in every game line", "ZINC_STANDIN_NUL", "1", 0, 80,
     "first: 1|1 S\\0tarfield Courier |Japan| [2 players]|21"},
};

TEST_F(HostileOutputTest, CapturesAndParsesWithinThreeTimesTheOutputInMemory) {
    for (const ProbeCase& probe : kProbeCases) {
        SCOPED_TRACE(probe.name);
        ::setenv(probe.variable, probe.value, 1);
        Child child({VELMORA_CAPTURE_PROBE, m_emuDir.string()});
        std::string line;
        ASSERT_TRUE(child.ReadLine(line));
        ::unsetenv(probe.variable);
        size_t bytes = 0;
        size_t rows = 0;
        long long peak = 0;
        int started = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "bytes=%zu rows=%zu peak=%lld started=%d", &bytes,
                              &rows, &peak, &started),
                  4)
            << line;
        std::printf("%s: %zu bytes, %zu rows, peak memory %.2f MiB (%.2f times the output)\n",
                    probe.name, bytes, rows, static_cast<double>(peak) / (1 << 20),
                    static_cast<double>(peak) / static_cast<double>(bytes));
        EXPECT_EQ(started, 1);
        if (probe.bytes != 0) {
            EXPECT_EQ(bytes, probe.bytes);
        }
        EXPECT_EQ(rows, probe.rows);
        if (probe.firstRow != nullptr) {
            std::string first;
            ASSERT_TRUE(child.ReadLine(first));
            EXPECT_EQ(first, probe.firstRow);
        }
        EXPECT_EQ(child.Wait(), 0);
#ifndef VELMORA_ASAN  // the sanitizer's own bookkeeping would be counted too
        if (bytes >= (size_t{1} << 20)) {
            EXPECT_LE(peak, 3 * static_cast<long long>(bytes));
        }
#endif
    }
}

// The emulator prints its list, tells the test its process id through a named pipe and then
// never ends; in the second case it closes its output first. The runner must go on waiting
// for it (its wait runs the event loop, so the notice from the pipe is handled meanwhile, as
// a paint would be) and deliver everything once the emulator is killed.
TEST_F(HostileOutputTest, WaitsForAnEmulatorThatNeverEndsUntilItIsKilled) {
    int argc = 1;
    char name[] = "hostile_output_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const games::ProcessRunner runner(0ms);
    const emu::Command list =
        emu::ListGamesCommand(emu::EmulatorPath(m_emuDir.string()), m_emuDir.string());
    const std::string whole = runner.RunCaptured(list, games::WindowMode::Hidden).text;
    ASSERT_GT(whole.size(), 1000u);

    for (const bool closeOutput : {false, true}) {
        SCOPED_TRACE(closeOutput ? "closes its output, keeps running" : "never ends");
        const std::string fifo = m_dir.File(closeOutput ? "notify-closed" : "notify");
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        const int fd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        ::setenv("ZINC_STANDIN_NOTIFY", fifo.c_str(), 1);
        ::setenv("ZINC_STANDIN_HANG", "1", 1);
        ::setenv("ZINC_STANDIN_CLOSE_OUTPUT", closeOutput ? "1" : "0", 1);

        bool killed = false;
        std::string notice;
        QSocketNotifier notifier(fd, QSocketNotifier::Read);
        QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
            char buffer[64];
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got > 0) {
                notice.append(buffer, static_cast<size_t>(got));
            }
            if (!killed && notice.find('\n') != std::string::npos) {
                killed = ::kill(static_cast<pid_t>(std::atoll(notice.c_str())), SIGKILL) == 0;
            }
            if (got <= 0) {
                notifier.setEnabled(false);
            }
        });
        const games::CaptureResult result = runner.RunCaptured(list, games::WindowMode::Hidden);
        EXPECT_TRUE(killed) << "the runner returned while the emulator still ran";
        EXPECT_TRUE(result.started);
        EXPECT_EQ(result.text, whole);
        ::close(fd);
    }
}

}  // namespace
}  // namespace velmora::faults
