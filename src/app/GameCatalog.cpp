#include "GameCatalog.h"

#include <algorithm>
#include <utility>

#include "Contract.h"
#include "ProcessRunner.h"
#include "TextRules.h"

namespace velmora::app {

namespace {

void AppendColumn(std::string& line, std::string_view column) {
    const size_t start = line.size();
    line += column;
    std::replace(line.begin() + static_cast<std::ptrdiff_t>(start), line.end(), '\t', ' ');
}

std::string_view Trim(std::string_view text) {
    return text::TrimRight(text::TrimLeft(text));
}

}  // namespace

std::optional<GameCatalog> GameCatalog::Load(const games::ProcessRunner& runner,
                                             const std::string& emulatorPath,
                                             const std::string& emulatorDir, std::string* error) {
    games::CaptureResult list = runner.RunCaptured(emu::ListGamesCommand(emulatorPath, emulatorDir),
                                                   games::WindowMode::Hidden);
    if (!list.started) {
        if (error != nullptr) {
            *error = std::move(list.error);
        }
        return std::nullopt;
    }
    return std::optional<GameCatalog>(std::in_place, std::move(list.text));
}

GameCatalog::GameCatalog(std::string output)
    : m_output(std::move(output)), m_rows(games::ParseGameList(m_output)) {}

// The rows point into the text, which a move carries along without copying its bytes, but a
// short text may live inside the string object itself: parse again to be sure.
GameCatalog::GameCatalog(GameCatalog&& other) noexcept
    : m_output(std::move(other.m_output)), m_rows(games::ParseGameList(m_output)) {}

const games::GameRow* GameCatalog::Find(int game) const {
    const auto row = std::find_if(m_rows.begin(), m_rows.end(),
                                  [game](const games::GameRow& r) { return r.number == game; });
    return row == m_rows.end() ? nullptr : &*row;
}

std::string ListLine(const games::GameRow& row, bool configured) {
    std::string line = std::to_string(row.number);
    line += '\t';
    AppendColumn(line, text::TrimRight(games::GameName(row.game)));
    line += '\t';
    AppendColumn(line, row.country);
    line += '\t';
    AppendColumn(line, Trim(row.infos));
    line += configured ? "\tconfigured\n" : "\tnot configured\n";
    return line;
}

}  // namespace velmora::app
