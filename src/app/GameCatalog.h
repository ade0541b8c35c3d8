#pragma once
// The emulator's game list as the command line sees it: run once and looked up by game number.
// No widgets.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "GameList.h"

namespace velmora::games {
class ProcessRunner;
}

namespace velmora::app {

class GameCatalog {
public:
    // Runs "ZINC.EXE --list-games". Nothing, with the system's reason, when the emulator did
    // not start.
    static std::optional<GameCatalog> Load(const games::ProcessRunner& runner,
                                           const std::string& emulatorPath,
                                           const std::string& emulatorDir,
                                           std::string* error = nullptr);
    explicit GameCatalog(std::string output);
    GameCatalog(GameCatalog&& other) noexcept;
    GameCatalog& operator=(GameCatalog&&) = delete;
    GameCatalog(const GameCatalog&) = delete;
    GameCatalog& operator=(const GameCatalog&) = delete;
    ~GameCatalog() = default;

    const std::vector<games::GameRow>& Rows() const { return m_rows; }
    // The first row of game `game`, as the list would show it; nothing when the list lacks it.
    const games::GameRow* Find(int game) const;

private:
    std::string m_output;  // the rows point into it
    std::vector<games::GameRow> m_rows;
};

// One line of "Velmora --list": number, name, country, infos and "configured" or "not
// configured", separated by tabs and ended by LF. The name, country and infos keep the
// emulator's bytes; a tab among them, which would split a column in two, becomes a blank.
std::string ListLine(const games::GameRow& row, bool configured);

}  // namespace velmora::app
