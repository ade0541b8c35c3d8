// ZiNc stand-in: a tiny console program that answers the three command lines Velmora uses,
// installed as ZINC.EXE in test and demo directories. It prints fixed, easily checked text so
// tests can compare bytes, and takes test behaviour from environment variables of its own.
//
// Every line it prints ends in CR LF, as the real emulator's output does on Windows.
//
// Modes, chosen by the arguments:
//
//   ZINC.EXE --list-games
//     A header line whose leading number is 0, then one line per game:
//       "Games known to this build:\r\n"
//       "1 Starfield Courier (Japan) [2 players]\r\n"
//       "2 Lantern Drift [prototype]\r\n"
//       ...
//     Numbers are positive, not contiguous, some have four digits, a few games have no
//     country. The list is fixed (80 games).
//
//   ZINC.EXE                       (no arguments)
//     The usage text. Every option that takes a value stands in brackets with "=", such as
//     "[--sound-volume=N]"; flags stand in brackets without "=", such as "[--fullscreen]".
//     The managed options "[--use-config-file=FILE]", "[--use-renderer-cfg-file=FILE]" and
//     "[--renderer=FILE]" appear among them.
//
//   ZINC.EXE <anything else>       (a game start, e.g. 7 --use-config-file=/emu/cfg/Velmora007.cfg)
//     Echoes what it was given, argv[0] left out since it depends on how it was started:
//       "ZiNc stand-in\r\n"
//       "argc=3\r\n"
//       "argv[1]=<7>\r\n"
//       "argv[2]=<--use-config-file=/emu/cfg/Velmora007.cfg>\r\n"
//       "cwd=</emu>\r\n"   (as getcwd reports it: symbolic links resolved)
//     then, for the last "--use-config-file=FILE" argument:
//       "options from FILE:\r\n" followed by the file's bytes exactly as read (nothing is added
//       after them, not even a line end), or
//       "cannot read FILE\r\n" when the file does not open;
//     and when no argument starts with "--use-config-file=":
//       "no options file\r\n".
//     The angle brackets are literal, so empty arguments and trailing blanks stay visible.
//
// Environment variables (unset, empty or not a decimal number means "not set"):
//
//   ZINC_STANDIN_GAMES=N          --list-games prints N generated games instead of the fixed
//                                 list: the same header, then games numbered 1 to N with
//                                 deterministic names (for benchmarks).
//   ZINC_STANDIN_OUTPUT_BYTES=N   Prints exactly N bytes instead of the mode's output, in
//                                 60-byte lines: line j (from 0) is "%06u " of j % 1000000,
//                                 then 51 letters, the k-th (from 0) being 'a' + (j + k) % 26,
//                                 then "\r\n". The last line is cut at N bytes.
//   ZINC_STANDIN_LINE_BYTES=N     --list-games prints, after the header, one game line of N
//                                 bytes: "1 " and 'x' letters up to " (Japan) [x]\r\n".
//   ZINC_STANDIN_LIST_FILE=FILE   --list-games prints FILE's bytes exactly, instead of its own
//                                 list (lines a test needs that no real list would hold).
//   ZINC_STANDIN_NUL=1            --list-games puts a NUL byte into every game's name, right
//                                 after its first letter.
//   ZINC_STANDIN_SILENT=1         Prints nothing at all (wins over everything above).
//   ZINC_STANDIN_STDERR=1         Every odd line (the 2nd, 4th, ...) goes to standard error,
//                                 the rest to standard output, each piece flushed at once, so
//                                 a reader of both channels through one pipe sees the
//                                 complete text in order.
//   ZINC_STANDIN_READ_STDIN=1     Reads standard input to its end before printing anything:
//                                 the program hangs unless its standard input is closed.
//   ZINC_STANDIN_DELAY_MS=N       Sleeps N milliseconds after printing, before exiting.
//   ZINC_STANDIN_CLOSE_OUTPUT=1   Closes standard output and standard error after printing.
//   ZINC_STANDIN_NOTIFY=FILE      After printing (and closing), writes its process id and LF
//                                 to FILE, which may be a named pipe a test waits on.
//   ZINC_STANDIN_HANG=1           Then never ends: it waits until it is killed.
//   ZINC_STANDIN_EXIT_CODE=N      Exits with N, 0 to 255 (default 0).
//   ZINC_STANDIN_LOG=FILE         Appends "start ARGS\n" to FILE as the program starts and
//                                 "end ARGS\n" as it ends, ARGS being its arguments joined by
//                                 blanks, so a test can tell whether two runs overlapped.
//   ZINC_STANDIN_WAIT_FOR=FILE    After printing, waits until FILE exists (at most a minute)
//                                 before exiting: a test decides when the emulator ends.
//   ZINC_STANDIN_IGNORE_TERM=1    Ignores SIGTERM, as an emulator that does not end when asked
//                                 politely (on Windows it has no window to close anyway).
//   ZINC_STANDIN_CMDLINE_LOG=FILE Appends the command line and the working directory of every
//                                 run to FILE (see RunLog.h).
//   ZINC_STANDIN_GAME_LOG=FILE    A game start also appends what it prints to FILE, so a test
//                                 that cannot read the output bar learns which options the
//                                 game was started with.

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "RunLog.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#define getpid _getpid
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace {

constexpr std::string_view kHeader = "Games known to this build:\r\n";
constexpr std::string_view kConfigFileArg = "--use-config-file=";

struct Game {
    int number;
    const char* name;
    const char* country;  // nullptr: the line has no "(...)"
    const char* infos;
};

// Regional variants share a name, as on real boards; a few prototypes carry no country.
constexpr Game kGames[] = {
    {1, "Starfield Courier", "Japan", "2 players"},
    {2, "Starfield Courier", "USA", "2 players"},
    {3, "Lantern Drift", nullptr, "prototype"},
    {5, "Copperline Express", "Japan", "1 player"},
    {6, "Moth and Meridian", "World", "2 players"},
    {8, "Glasswing Derby", "Japan", "4 players"},
    {9, "Hollow Tide Brawlers", "Asia", "2 players"},
    {10, "Hollow Tide Brawlers", "Europe", "2 players, rev. B"},
    {12, "Quillback Rumble", "Japan", "2 players"},
    {13, "Saffron Circuit", "USA", "1 player, steering wheel"},
    {15, "Tinderbox Knights", "Japan", "2 players"},
    {16, "Tinderbox Knights", "USA", "2 players, rev. A"},
    {17, "Orchard Siege", "Korea", "2 players"},
    {20, "Pebblestorm", "Japan", "1 player"},
    {21, "Velvet Comet Patrol", "World", "2 players"},
    {22, "Brassjaw Arena", "Japan", "2 players, imperfect sound"},
    {24, "Nimbus Foundry", "Hong Kong", "1 player"},
    {25, "Marrow Lake Mysteries", "Japan", "1 player"},
    {27, "Wickerfield Rally", "Europe", "2 players, steering wheel"},
    {28, "Cinderpath Cup", "Japan", "4 players"},
    {30, "Frostmoth Duel", "Japan", "2 players"},
    {31, "Frostmoth Duel", "Asia", "2 players, bootleg"},
    {33, "Kettle Harbour Heist", "USA", "2 players"},
    {34, "Ironbloom", nullptr, "not working"},
    {36, "Puzzlewick Towers", "Japan", "2 players"},
    {37, "Sundial Skirmish", "Taiwan", "2 players"},
    {39, "Tidewatch Raiders", "Japan", "2 players, lightgun"},
    {40, "Driftwood Dynasty", "World", "2 players"},
    {42, "Mossback Marathon", "Japan", "4 players"},
    {44, "Gilded Lantern Pinball", "USA", "1 player"},
    {45, "Quartzline Bowling", "USA", "4 players"},
    {47, "Hazelnut Hockey Deluxe", "Europe", "2 players"},
    {48, "Owlcrest Mahjong", "Japan", "1 player, mahjong panel"},
    {50, "Thornfield Stampede", "Japan", "2 players"},
    {51, "Nightjar Squadron", "Japan", "2 players"},
    {52, "Nightjar Squadron", "World", "2 players, rev. C"},
    {55, "Amber Keel Regatta", "Brazil", "2 players"},
    {56, "Crumbling Crown", nullptr, "prototype, not working"},
    {58, "Rivet Rascals", "Japan", "2 players"},
    {60, "Lumen Ward", "Japan", "1 player"},
    {61, "Spindlewood Fencing", "Europe", "2 players"},
    {63, "Bramble Bay Bowlers", "USA", "4 players"},
    {64, "Paper Kite Sprint", "Japan", "4 players"},
    {66, "Cobalt Hymn", "Japan", "1 player, imperfect graphics"},
    {67, "Gossamer Gauntlet", "Asia", "2 players"},
    {70, "Harrowgate Chess Masters", "Europe", "2 players"},
    {71, "Juniper Jet Stunts", "USA", "1 player"},
    {73, "Kelpie Coast Surfing", "Japan", "2 players"},
    {75, "Larkspur Lancers", "Korea", "2 players"},
    {77, "Mistral Motor Club", "Japan", "2 players, steering wheel"},
    {80, "Nettle Town Tennis", "World", "4 players"},
    {81, "Oaken Shield Wall", "Japan", "2 players"},
    {84, "Plumtree Pachinko Park", "Japan", "1 player"},
    {85, "Quiverleaf Archery", "Hong Kong", "2 players, lightgun"},
    {88, "Rookery Run", nullptr, "prototype"},
    {90, "Salt Marsh Safari", "USA", "2 players"},
    {93, "Tallow Candle Caper", "Japan", "2 players"},
    {95, "Umbra Tram Line", "Japan", "1 player"},
    {99, "Vesper Valley Volleyball", "Brazil", "4 players"},
    {101, "Willowisp Wonders", "Japan", "2 players"},
    {105, "Yarrow Yacht Club", "Europe", "2 players"},
    {110, "Zephyr Quarry", "Japan", "1 player"},
    {120, "Anvil Sky Armada", "Japan", "2 players"},
    {121, "Anvil Sky Armada", "USA", "2 players, rev. A"},
    {150, "Bellfounder's Brawl", "Asia", "2 players"},
    {222, "Cloudmill Climbers", "Japan", "2 players"},
    {301, "Dapple Grey Derby", "Japan", "4 players"},
    {999, "Ember Loom", "Taiwan", "1 player"},
    {1000, "Fennel Fields Football", "Europe", "2 players"},
    {1001, "Gravel Choir", "Japan", "2 players"},
    {1002, "Heron Gate Hurdles", "World", "4 players"},
    {1004, "Inkwell Intrigue", nullptr, "1 player, bootleg"},
    {1010, "Jasper Mines", "Japan", "2 players"},
    {1024, "Knotwork Clash", "Korea", "2 players"},
    {1100, "Limestone Lifeguards", "USA", "2 players"},
    {1234, "Mapleshade Manor", "Japan", "1 player"},
    {2001, "Nocturne Ferry", "Japan", "2 players, not working"},
    {2048, "Oxbow Outlaws", "USA", "2 players, lightgun"},
    {4096, "Pewter Pilots", nullptr, "prototype"},
    {9999, "Quayside Quoits", "Europe", "4 players"},
};

// The value options come first in a line each so the text reads like a real usage screen; a
// front end picks out the bracketed items that hold "=".
constexpr std::string_view kUsage =
    "ZiNc stand-in 1.0 for Velmora\r\n"
    "\r\n"
    "Usage: ZINC.EXE --list-games\r\n"
    "       ZINC.EXE <game number> [options]\r\n"
    "\r\n"
    "Options:\r\n"
    "  [--use-config-file=FILE]        read more options from FILE, one per line\r\n"
    "  [--renderer=FILE]               renderer plugin to load\r\n"
    "  [--use-renderer-cfg-file=FILE]  options file for a renderer without settings dialog\r\n"
    "  [--sound-volume=N]              master volume, 0 to 100\r\n"
    "  [--sound-latency=MS]            audio buffer length in milliseconds\r\n"
    "  [--frame-skip=N]                draw one frame in N+1, 0 to 9\r\n"
    "  [--cpu-clock=PERCENT]           main CPU speed, 50 to 400\r\n"
    "  [--screen-scale=N]              window size as a multiple of the game screen\r\n"
    "  [--controller1=TYPE]            pad, stick, wheel or gun for player 1\r\n"
    "  [--controller2=TYPE]            pad, stick, wheel or gun for player 2\r\n"
    "  [--input-map=FILE]              key bindings\r\n"
    "  [--savestate-dir=DIR]           where quick saves go\r\n"
    "  [--dip-switches=HEX]            board dip switch bank, e.g. 00ff\r\n"
    "  [--fullscreen]                  start in full screen\r\n"
    "  [--no-sound]                    skip the sound plugin\r\n"
    "  [--show-fps]                    frame rate in the title bar\r\n"
    "\r\n"
    "Plugins are looked up in the emulator directory.\r\n";

// 1,250 distinct names; beyond that a round counter keeps every generated name unique.
constexpr const char* kAdjectives[] = {
    "Amber",  "Brisk",  "Cinder", "Dusky",  "Ember",  "Frost", "Gilded", "Hollow", "Ivory",
    "Jade",   "Kindly", "Lunar",  "Mossy",  "Nimble", "Opal",  "Pale",   "Quiet",  "Rusty",
    "Silver", "Tawny",  "Umber",  "Violet", "Woven",  "Young", "Zesty",
};
constexpr const char* kNouns[] = {
    "Anchor",  "Beacon",   "Canyon",   "Dynamo",  "Engine",  "Falcon",   "Garrison", "Harbour",
    "Islet",   "Jetty",    "Kestrel",  "Lagoon",  "Meadow",  "Nomad",    "Outpost",  "Pylon",
    "Quarry",  "Rampart",  "Sentinel", "Tundra",  "Upland",  "Vanguard", "Wharf",    "Yonder",
    "Zenith",  "Arcade",   "Bastion",  "Citadel", "Delta",   "Estuary",  "Fjord",    "Glacier",
    "Hamlet",  "Inlet",    "Junction", "Keep",    "Lantern", "Mesa",     "Nebula",   "Orchard",
    "Prairie", "Quay",     "Reef",     "Summit",  "Thicket", "Uplink",   "Valley",   "Warren",
    "Yard",    "Zeppelin",
};
constexpr const char* kCountries[] = {"Japan", "USA", "Europe", nullptr, "World", "Asia", "Korea"};
constexpr const char* kInfos[] = {"2 players", "1 player", "4 players", "prototype",
                                  "2 players, rev. A"};

template <typename T, size_t N>
constexpr size_t Count(const T (&)[N]) {
    return N;
}

std::optional<unsigned long long> EnvNumber(const char* name) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text < '0' || *text > '9') {
        return std::nullopt;
    }
    char* end = nullptr;
    unsigned long long value = std::strtoull(text, &end, 10);
    if (*end != '\0') {
        return std::nullopt;
    }
    return value;
}

bool EnvFlag(const char* name) {
    auto value = EnvNumber(name);
    return value && *value != 0;
}

// All output goes through here so that the split between stdout and stderr, and the flushing
// that keeps the two in order, happen in one place.
class Output {
public:
    explicit Output(bool splitToStderr) : m_split(splitToStderr) {}
    ~Output() { Flush(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void Write(std::string_view text) {
        if (!m_split) {
            m_buffer += text;
            if (m_buffer.size() >= kBufferLimit) {
                Flush();
            }
            return;
        }
        while (!text.empty()) {
            size_t lineEnd = text.find('\n');
            size_t length = lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
            FILE* stream = m_line % 2 == 1 ? stderr : stdout;
            std::fwrite(text.data(), 1, length, stream);
            std::fflush(stream);
            if (lineEnd != std::string_view::npos) {
                ++m_line;
            }
            text.remove_prefix(length);
        }
    }

    void Flush() {
        if (!m_buffer.empty()) {
            std::fwrite(m_buffer.data(), 1, m_buffer.size(), stdout);
            m_buffer.clear();
        }
        std::fflush(stdout);
    }

private:
    static constexpr size_t kBufferLimit = 64 * 1024;
    bool m_split;
    std::string m_buffer;
    unsigned long long m_line = 0;
};

void WriteGameLine(Output& out, unsigned long long number, const std::string& name,
                   const char* country, const char* infos) {
    std::string line = std::to_string(number);
    line += ' ';
    line += name;
    if (country != nullptr) {
        line += " (";
        line += country;
        line += ')';
    }
    line += " [";
    line += infos;
    line += "]\r\n";
    out.Write(line);
}

std::string ReadFile(const std::string& path, bool& ok);

void ListGames(Output& out) {
    if (const char* file = std::getenv("ZINC_STANDIN_LIST_FILE"); file != nullptr && *file) {
        bool ok = false;
        out.Write(ReadFile(file, ok));
        return;
    }
    out.Write(kHeader);
    if (auto bytes = EnvNumber("ZINC_STANDIN_LINE_BYTES")) {
        constexpr std::string_view kTail = " (Japan) [x]\r\n";
        std::string line = "1 ";
        line.resize(std::max<size_t>(static_cast<size_t>(*bytes), line.size() + kTail.size()) -
                        kTail.size(),
                    'x');
        line += kTail;
        out.Write(line);
        return;
    }
    auto generated = EnvNumber("ZINC_STANDIN_GAMES");
    if (!generated) {
        const bool nul = EnvFlag("ZINC_STANDIN_NUL");
        for (const Game& game : kGames) {
            std::string name = game.name;
            if (nul) {
                name.insert(1, 1, '\0');
            }
            WriteGameLine(out, static_cast<unsigned long long>(game.number), name, game.country,
                          game.infos);
        }
        return;
    }
    const size_t adjectives = Count(kAdjectives);
    const size_t nouns = Count(kNouns);
    for (unsigned long long i = 0; i < *generated; ++i) {
        std::string name = kAdjectives[i % adjectives];
        name += ' ';
        name += kNouns[(i / adjectives) % nouns];
        if (unsigned long long round = i / (adjectives * nouns); round > 0) {
            name += ' ';
            name += std::to_string(round + 1);
        }
        WriteGameLine(out, i + 1, name, kCountries[i % Count(kCountries)],
                      kInfos[i % Count(kInfos)]);
    }
}

std::string ReadFile(const std::string& path, bool& ok) {
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    if (!ok) {
        return {};
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void EchoGameStart(Output& out, int argc, char** argv) {
    std::string text = "ZiNc stand-in\r\n";
    text += "argc=" + std::to_string(argc) + "\r\n";
    const char* configFile = nullptr;
    for (int i = 1; i < argc; ++i) {
        text += "argv[" + std::to_string(i) + "]=<" + argv[i] + ">\r\n";
        if (std::string_view(argv[i]).starts_with(kConfigFileArg)) {
            configFile = argv[i] + kConfigFileArg.size();
        }
    }
    std::error_code error;
    std::filesystem::path cwd = std::filesystem::current_path(error);
    text += "cwd=<" + (error ? std::string() : cwd.string()) + ">\r\n";
    if (configFile == nullptr) {
        text += "no options file\r\n";
    } else {
        bool ok = false;
        std::string options = ReadFile(configFile, ok);
        if (ok) {
            text += std::string("options from ") + configFile + ":\r\n";
            text += options;
        } else {
            text += std::string("cannot read ") + configFile + "\r\n";
        }
    }
    out.Write(text);
    if (const char* log = std::getenv("ZINC_STANDIN_GAME_LOG"); log != nullptr && *log != '\0') {
        if (FILE* file = std::fopen(log, "ab")) {
            std::fwrite(text.data(), 1, text.size(), file);
            std::fclose(file);
        }
    }
}

void WriteFiller(Output& out, unsigned long long total) {
    constexpr size_t kLine = 60;
    constexpr size_t kLetters = 51;
    std::string chunk;
    unsigned long long written = 0;
    for (unsigned long long j = 0; written < total; ++j) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%06u ", static_cast<unsigned>(j % 1000000));
        std::string line = prefix;
        for (size_t k = 0; k < kLetters; ++k) {
            line += static_cast<char>('a' + (j + k) % 26);
        }
        line += "\r\n";
        size_t take = static_cast<size_t>(std::min<unsigned long long>(kLine, total - written));
        chunk.append(line, 0, take);
        written += take;
        if (chunk.size() >= 4096) {
            out.Write(chunk);
            chunk.clear();
        }
    }
    out.Write(chunk);
}

void Log(const char* event, int argc, char** argv) {
    const char* path = std::getenv("ZINC_STANDIN_LOG");
    if (path == nullptr || *path == '\0') {
        return;
    }
    std::string line = event;
    for (int i = 1; i < argc; ++i) {
        line += ' ';
        line += argv[i];
    }
    line += '\n';
    // One write in append mode: lines of two runs at once never mix.
    if (FILE* file = std::fopen(path, "ab")) {
        std::fwrite(line.data(), 1, line.size(), file);
        std::fclose(file);
    }
}

void WaitForFile() {
    const char* path = std::getenv("ZINC_STANDIN_WAIT_FOR");
    if (path == nullptr || *path == '\0') {
        return;
    }
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    std::error_code error;
    while (!std::filesystem::exists(path, error) && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void DrainStdin() {
    char buffer[4096];
    while (std::fread(buffer, 1, sizeof buffer, stdin) > 0) {
    }
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // CR LF is written explicitly; text mode would turn it into CR CR LF.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
#ifndef _WIN32
    if (EnvFlag("ZINC_STANDIN_IGNORE_TERM")) {
        signal(SIGTERM, SIG_IGN);
    }
#endif
    Log("start", argc, argv);
    velmora::standin::AppendRunLog(argc, argv);
    if (EnvFlag("ZINC_STANDIN_READ_STDIN")) {
        DrainStdin();
    }
    if (!EnvFlag("ZINC_STANDIN_SILENT")) {
        Output out(EnvFlag("ZINC_STANDIN_STDERR"));
        if (auto bytes = EnvNumber("ZINC_STANDIN_OUTPUT_BYTES")) {
            WriteFiller(out, *bytes);
        } else if (argc < 2) {
            out.Write(kUsage);
        } else if (std::string_view(argv[1]) == "--list-games") {
            ListGames(out);
        } else {
            EchoGameStart(out, argc, argv);
        }
    }
    if (EnvFlag("ZINC_STANDIN_CLOSE_OUTPUT")) {
        std::fclose(stdout);
        std::fclose(stderr);
    }
    if (const char* notify = std::getenv("ZINC_STANDIN_NOTIFY"); notify != nullptr && *notify) {
        if (FILE* file = std::fopen(notify, "w")) {
            std::fprintf(file, "%lld\n", static_cast<long long>(getpid()));
            std::fclose(file);
        }
    }
    while (EnvFlag("ZINC_STANDIN_HANG")) {
        std::this_thread::sleep_for(std::chrono::hours(1));
    }
    WaitForFile();
    if (auto delay = EnvNumber("ZINC_STANDIN_DELAY_MS")) {
        std::this_thread::sleep_for(std::chrono::milliseconds(*delay));
    }
    Log("end", argc, argv);
    auto exitCode = EnvNumber("ZINC_STANDIN_EXIT_CODE");
    return exitCode ? static_cast<int>(*exitCode) : 0;
}
