#pragma once
// Finding a game in the list by typing. A search text that starts with a digit finds a row by
// the start of its game text, as the list has always done with game numbers; any other finds
// a row by its name, first by the name's start and then anywhere in it.
//
// Rows are the emulator's 8-bit text. The list shows a text as UTF-8 when its bytes are valid
// UTF-8 and as Windows-1252 otherwise, so the search reads each row the same way and compares
// what the user sees with what the user typed, code point by code point, with the letters of
// ASCII and Windows-1252 folded to lower case.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "GameList.h"

namespace velmora::games {

// Appends `text` to `out` as UTF-8 with the ASCII and Windows-1252 letters folded to lower
// case. `text` is read as UTF-8 when it is valid UTF-8, as Windows-1252 otherwise.
void AppendFolded(std::string_view text, std::string& out);

// The rows' game texts read and folded once, so that each key costs one pass over plain
// bytes: in a list of ten thousand games a key must never keep the user waiting.
class GameSearchIndex {
public:
    GameSearchIndex() = default;
    explicit GameSearchIndex(std::span<const GameRow> rows);

    size_t RowCount() const { return m_starts.empty() ? 0 : m_starts.size() - 1; }

    // The row that `search` finds, or -1 when none does. `search` is the typed text in UTF-8.
    // The rows are looked at from `current` on, wrapping round to the top. A search of a
    // single character starts after the current row instead, so that typing the same key
    // again moves on to the next row it finds; `current` is -1 when there is no current row.
    int Find(int current, std::string_view search) const;

private:
    std::string m_folded;          // every row's folded game text, one after the other
    std::vector<size_t> m_starts;  // where each row's text starts; one more for the end
    std::vector<size_t> m_names;   // where each row's name starts
};

// The same search without keeping the index, for a single question.
int FindGameRow(std::span<const GameRow> rows, int current, std::string_view search);

}  // namespace velmora::games
