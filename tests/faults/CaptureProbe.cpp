// Captures the emulator's game list and parses it, as Velmora's start does, and reports what
// that cost in memory: the growth of the process's peak resident size over what it held just
// before. One run per process, so that the peak belongs to this output alone. The stand-in
// emulator takes its output from the environment the test sets.
//   capture_probe <emulator dir>
// prints "bytes=<output size> rows=<game rows> peak=<bytes>" and the first row's columns.

#include <QCoreApplication>
#include <cstdio>
#include <fstream>
#include <string>

#include "Contract.h"
#include "GameList.h"
#include "ProcessRunner.h"

namespace {

// A line of /proc/self/status in bytes ("VmHWM:  1234 kB").
long long StatusBytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stoll(line.substr(field.size() + 1)) * 1024;
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velmora;
    if (argc != 2) {
        std::fprintf(stderr, "usage: capture_probe <emulator dir>\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    const games::ProcessRunner runner(std::chrono::milliseconds(0));
    // A first, empty run sets up what every run shares (Qt's child process watcher, the event
    // dispatcher), so that only what this output costs is measured.
    const char* silent = "ZINC_STANDIN_SILENT";
    qputenv(silent, "1");
    runner.RunCaptured(emu::HelpTextCommand(emu::EmulatorPath(argv[1]), argv[1]),
                       games::WindowMode::Hidden);
    qunsetenv(silent);
    // Peak from here on: clear_refs value 5 resets the high-water mark to the present size.
    std::ofstream("/proc/self/clear_refs") << "5";
    const long long before = StatusBytes("VmRSS");

    const games::CaptureResult result = runner.RunCaptured(
        emu::ListGamesCommand(emu::EmulatorPath(argv[1]), argv[1]), games::WindowMode::Hidden);
    const std::vector<games::GameRow> rows = games::ParseGameList(result.text);

    const long long peak = StatusBytes("VmHWM") - before;
    std::printf("bytes=%zu rows=%zu peak=%lld started=%d\n", result.text.size(), rows.size(), peak,
                result.started ? 1 : 0);
    if (!rows.empty()) {
        const auto printable = [](std::string_view text) {
            std::string shown;
            for (const char c : text.substr(0, 40)) {
                shown += c == '\0' ? std::string("\\0") : std::string(1, c);
            }
            return shown;
        };
        std::printf("first: %d|%s|%s|%s|%zu\n", rows.front().number,
                    printable(rows.front().game).c_str(), printable(rows.front().country).c_str(),
                    printable(rows.front().infos).c_str(), rows.front().game.size());
    }
    return 0;
}
