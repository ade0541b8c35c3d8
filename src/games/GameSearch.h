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

#include "GameList.h"

namespace velmora::games {

// The name in a row's game text: what follows the leading number and the blanks after it.
std::string_view GameName(std::string_view gameText);

// Appends the code points of `text` to `out`, folded to lower case where they are ASCII or
// Windows-1252 letters. `text` is read as UTF-8 when it is valid UTF-8, as Windows-1252
// otherwise.
void AppendFolded(std::string_view text, std::u32string& out);

// The row that `search` finds, or -1 when none does. `search` is the typed text in UTF-8.
// The rows are looked at from `current` on, wrapping round to the top. A search of a single
// character starts after the current row instead, so that typing the same key again moves on
// to the next row it finds; `current` is -1 when there is no current row.
int FindGameRow(std::span<const GameRow> rows, int current, std::string_view search);

}  // namespace velmora::games
