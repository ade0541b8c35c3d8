#pragma once
// The emulator's "--list-games" output turned into rows. The emulator prints one game per line:
// a number, the name, an optional "(Country)" and "[infos]". Rows point into the output text,
// so a list of many thousand games costs no allocation per row.

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace velmora::games {

struct GameRow {
    std::string_view game;     // the line up to its first "(" (or "[" without one)
    std::string_view country;  // between "(" and the first ")"
    std::string_view infos;    // after ")" (or from "[") up to and including the first "]"
    int number = 0;            // leading number of the line
};

// Only complete lines (ended by LF) count; a line is a game when its leading number is above 0
// and it holds a "[". Rows come in the order of the output; nothing is merged or sorted.
std::vector<GameRow> ParseGameList(std::string_view output);

// The name in a row's game text: what follows the leading number and the white space after
// it. "  8 Iota " gives "Iota ".
std::string_view GameName(std::string_view gameText);

// A game counts as configured once its options file yields at least one byte.
bool IsGameConfigured(const std::string& emulatorDir, int game);

// The same answer for a whole list of games: the cfg folder is listed once, and only games
// whose options file is there at all are checked one by one. A list of thousands of games,
// most of them never configured, then costs one folder listing instead of thousands of opens.
class ConfiguredGames {
public:
    explicit ConfiguredGames(std::string emulatorDir);
    bool IsConfigured(int game) const;

private:
    std::string m_emulatorDir;
    std::unordered_set<std::string> m_candidates;  // lower-cased names found in cfg
    bool m_listed = false;
};

}  // namespace velmora::games
