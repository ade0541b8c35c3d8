#include "GameList.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "Contract.h"
#include "FileSystem.h"
#include "Platform.h"
#include "TextRules.h"

namespace velmora::games {

namespace {

constexpr size_t npos = std::string_view::npos;

size_t Find(std::string_view line, char c) {
    const void* hit = std::memchr(line.data(), c, line.size());
    return hit == nullptr ? npos : static_cast<size_t>(static_cast<const char*>(hit) - line.data());
}

// Substring with the forgiving bounds the columns need: a negative length gives nothing and a
// length past the end stops at the end.
std::string_view Cut(std::string_view line, size_t from, long long length) {
    if (length <= 0 || from >= line.size()) {
        return {};
    }
    return line.substr(from, static_cast<size_t>(length));
}

long long Index(size_t position) {
    return position == npos ? -1 : static_cast<long long>(position);
}

bool ParseLine(std::string_view line, GameRow& row) {
    const size_t bracket = Find(line, '[');
    if (bracket == npos) {
        return false;
    }
    row.number = emu::LeadingNumber(line);
    if (row.number <= 0) {
        return false;
    }
    const long long closing = Index(Find(line, ']'));
    const size_t paren = Find(line, '(');
    row.country = {};
    row.infos = {};
    if (paren != npos) {
        row.game = line.substr(0, paren);
        const size_t closeParen = Find(line, ')');
        if (closeParen != npos) {
            const auto c = static_cast<long long>(closeParen);
            const auto p = static_cast<long long>(paren);
            row.country = Cut(line, paren + 1, c - p - 1);
            row.infos = Cut(line, closeParen + 1, closing - c);
        }
    } else {
        row.game = line.substr(0, bracket);
        if (closing >= 0) {
            row.infos = Cut(line, bracket, closing - static_cast<long long>(bracket) + 1);
        }
    }
    return true;
}

}  // namespace

std::vector<GameRow> ParseGameList(std::string_view output) {
    std::vector<GameRow> rows;
    // Game lines are seldom shorter than this; reserving up front spares the regrowth copies.
    rows.reserve(output.size() / 32 + 1);
    size_t start = 0;
    while (start < output.size()) {
        const std::string_view rest = output.substr(start);
        const size_t lf = Find(rest, '\n');
        if (lf == npos) {
            break;  // text after the last line end is not a complete line
        }
        GameRow row;
        if (ParseLine(rest.substr(0, lf), row)) {
            rows.push_back(row);
        }
        start += lf + 1;
    }
    return rows;
}

ConfiguredGames::ConfiguredGames(std::string emulatorDir) : m_emulatorDir(std::move(emulatorDir)) {
    const std::string cfg = emu::InDirectory(m_emulatorDir, emu::kCfgDir);
    const auto entries = platform::ListDirectory(cfg);
    if (!entries) {
        // No cfg folder means no game is configured; any other trouble, ask file by file.
        m_listed = platform::IsMissing(cfg);
        return;
    }
    for (const platform::DirectoryEntry& entry : *entries) {
        // Lower-cased, so a file system that ignores case cannot hide a candidate; the real
        // open below decides.
        m_candidates.insert(text::FoldCase(entry.name));
    }
    m_listed = true;
}

bool ConfiguredGames::IsConfigured(int game) const {
    if (m_listed) {
        if (m_candidates.empty()) {
            return false;  // the usual first run: nothing configured yet
        }
        if (m_candidates.count(text::FoldCase(emu::GameOptionsFileName(game))) == 0) {
            return false;
        }
    }
    return IsGameConfigured(m_emulatorDir, game);
}

std::string_view GameName(std::string_view gameText) {
    size_t i = text::SkipToDigits(gameText).digits;
    while (i < gameText.size() && gameText[i] >= '0' && gameText[i] <= '9') {
        ++i;
    }
    return text::TrimLeft(gameText.substr(i));
}

bool IsGameConfigured(const std::string& emulatorDir, int game) {
    std::FILE* file = std::fopen(emu::GameOptionsFile(emulatorDir, game).c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    char byte = 0;
    const bool configured = std::fread(&byte, 1, 1, file) == 1;
    std::fclose(file);
    return configured;
}

}  // namespace velmora::games
