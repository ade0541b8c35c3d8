// "Velmora --start" with a pad: the held combination ends the game it started, read on the
// pads' own thread while the command line waits for the game. The test's script runs on that
// thread between two reads, pressing the virtual pad's buttons and moving the pad's clock.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>

#include "EmulatorDir.h"
#include "GameLauncher.h"
#include "GameSnapshots.h"
#include "PadForwarded.h"
#include "TempDir.h"

#ifdef VELMORA_HAVE_SDL
#include "VirtualPad.h"
#endif

namespace velmora::app {
namespace {

#ifndef VELMORA_HAVE_SDL
TEST(PadForwarded, NeedsSdl) {
    GTEST_SKIP() << "Velmora is built without SDL (VELMORA_GAMEPAD=OFF)";
}
#else

class NoTaughtSticks : public pad::MappingStore {
public:
    std::optional<std::string> Load(const std::string& /*guid*/) override { return std::nullopt; }
    bool Save(const std::string& /*guid*/, const std::string& /*text*/) override { return false; }
};

TEST(PadForwarded, TheHeldCombinationEndsAGameStartedFromTheCommandLine) {
#ifdef _WIN32
    // TerminateProcess's code; a console program has no window to ask politely.
    constexpr int kAsked = 1;
    constexpr int kKilled = 1;
#else
    constexpr int kAsked = 128 + 15;  // SIGTERM
    constexpr int kKilled = 128 + 9;  // SIGKILL
#endif
    const struct {
        const char* name;
        int heldMs;
        bool ignoresPolitely;
        int exitCode;
    } cases[] = {
        {"a short press ends nothing: the game ends as it would", 1999, false, 0},
        {"held 2 s, the emulator is asked to end", 2000, false, kAsked},
        {"one that will not end is ended for good 3 s later", 2000, true, kKilled},
    };
    for (const auto& c : cases) {
        test::EmulatorDir emu;
        test::WriteBytes(emu.File("cfg/Velmora002.cfg"), "--frame-skip=1\r\n");
        const std::string gate = emu.File("gate");
        const std::string ready = emu.File("ready");
        qputenv("ZINC_STANDIN_WAIT_FOR", QByteArray::fromStdString(gate));
        qputenv("ZINC_STANDIN_NOTIFY", QByteArray::fromStdString(ready));
        qputenv("ZINC_STANDIN_IGNORE_TERM", c.ignoresPolitely ? "1" : "0");
        snapshot::GameSnapshots snapshots(emu.Str());
        games::ProcessRunner runner;
        games::GameLauncher launcher(emu.Str(), snapshots, runner);
        test::VirtualPad pad(test::VirtualPad::Controller());
        NoTaughtSticks store;

        std::atomic<long long> now{0};
        int step = 0;
        const auto hold = [&](bool down) {
            pad.Button(SDL_CONTROLLER_BUTTON_START, down);
            pad.Button(SDL_CONTROLLER_BUTTON_BACK, down);
        };
        // Each step acts once the read before it has seen what the last step did.
        const auto script = [&] {
            switch (step) {
                case 0:  // the emulator waits for its gate: press
                    if (std::filesystem::exists(ready)) {
                        hold(true);
                        ++step;
                    }
                    break;
                case 1:
                    now += c.heldMs;
                    ++step;
                    break;
                case 2:
                    if (c.heldMs < 2000) {
                        hold(false);
                        now += 60000;
                    } else if (c.ignoresPolitely || kAsked == kKilled) {
                        now += 3000;
                    }
                    ++step;
                    break;
                case 3:
                    if (c.heldMs < 2000) {
                        test::WriteBytes(gate, "");
                    }
                    ++step;
                    break;
                default:
                    break;
            }
        };
        const games::ForwardedResult result = RunForwardedWithPad(
            launcher, 2,
            {store, [&] { return pad::Time(now.load()); }, script, std::chrono::milliseconds(0)});
        EXPECT_TRUE(result.started) << c.name << ": " << result.error;
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
        EXPECT_GE(step, 3) << c.name;
        test::WriteBytes(gate, "");
    }
    for (const char* name :
         {"ZINC_STANDIN_WAIT_FOR", "ZINC_STANDIN_NOTIFY", "ZINC_STANDIN_IGNORE_TERM"}) {
        qunsetenv(name);
    }
}

#endif

}  // namespace
}  // namespace velmora::app
