// Builds a cfg folder from arbitrary bytes (options files and look-alikes: other letter case,
// temporary names left by an interrupted save, empty files, folders, broken and working
// symbolic links) and checks that the configured state taken from one listing of the folder
// always agrees with opening each game's options file.
//
// Each input record is three bytes: a kind byte, then two bytes that pick the game number.

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "Contract.h"
#include "FuzzDir.h"
#include "GameList.h"

namespace {

namespace fs = std::filesystem;
using namespace velmora;

int GameNumber(std::uint8_t high, std::uint8_t low) {
    const int picked = (high << 8) | low;
    switch (picked % 16) {
        case 0:
            return INT_MAX - picked / 16 % 3;
        case 1:
            return -(picked / 16 % 5);
        default:
            return picked % 1200;
    }
}

std::string NameFor(int game, std::uint8_t kind) {
    std::string name = emu::GameOptionsFileName(game);
    switch (kind & 7) {
        case 1:
            for (char& c : name) {
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            }
            break;
        case 2:
            name += ".velmora-tmp-12345-0";
            break;
        case 3:
            name = "Velmora" + std::to_string(game) + ".cfg";
            break;
        case 4:
            name = "Velmora" + emu::GameNumberText(game) + "_renderer.cfg";
            break;
        case 5:
            name = " " + name;
            break;
        default:
            break;
    }
    return name;
}

void Make(const fs::path& path, std::uint8_t kind) {
    std::error_code ec;
    switch ((kind >> 3) & 7) {
        case 0:
            std::ofstream(path, std::ios::binary);  // empty: not configured
            break;
        case 1:
            fs::create_directory(path, ec);
            break;
        case 2:
            fs::create_symlink("no-such-file", path, ec);
            break;
        case 3: {
            const fs::path target = path.parent_path() / ("target-" + path.filename().string());
            std::ofstream(target, std::ios::binary) << "x";
            fs::create_symlink(target.filename(), path, ec);
            break;
        }
        default:
            std::ofstream(path, std::ios::binary) << std::string(1 + (kind >> 6), '-');
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::FuzzDir dir;
    dir.Clear();
    std::vector<int> games = {1, 7, 999, 1000};
    for (size_t i = 0; i + 3 <= size && i < 3 * 64; i += 3) {
        const int game = GameNumber(data[i + 1], data[i + 2]);
        games.push_back(game);
        Make(dir.Cfg() / NameFor(game, data[i]), data[i]);
    }
    const games::ConfiguredGames listed(dir.Str());
    for (const int game : games) {
        if (listed.IsConfigured(game) != games::IsGameConfigured(dir.Str(), game)) {
            std::fprintf(stderr, "game %d: the listing and the file disagree\n", game);
            std::abort();
        }
    }
    return 0;
}
