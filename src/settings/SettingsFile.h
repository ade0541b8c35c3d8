#pragma once
// The settings file: a game's three files in one file, to carry them to another game, folder
// or machine, and the form in which the history keeps each version. Lines end in CR LF:
//
//   Velmora game settings, format 1
//   Game: 012 Name of the game
//   Saved: 2025-03-14 15:30:12
//   Part: options, 1234 bytes, CRC-32 89abcdef
//   <the options file's 1234 bytes, as they are>
//   Part: renderer options, none
//   Part: plugin settings, 340 bytes, CRC-32 0123abcd
//   <the snapshot file's 340 bytes>
//   End of Velmora game settings
//
// A part's bytes follow its line unchanged (a NUL, a lone CR, any 8-bit text, any length) and
// are followed by CR LF, so an editor shows text as text. The three parts come in this order,
// each once; "none" stands for a file the game does not have. The length and CRC-32 of each
// part and the end line tell a cut or damaged file from a whole one.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "GameSettings.h"

namespace velmora::settings {

inline constexpr std::string_view kFormatLine = "Velmora game settings, format 1";
inline constexpr std::string_view kEndLine = "End of Velmora game settings";
// Far more than three option files and a snapshot ever hold; a larger file is not read at all.
inline constexpr size_t kSettingsFileLimit = 64u << 20;

struct SettingsFileContents {
    GameSettings settings;
    int game = 0;       // the game it was saved from
    std::string saved;  // when: "YYYY-MM-DD HH:MM:SS", local time
};

// The file's bytes. `gameName` is written after the number for the reader's sake; line ends
// in it become blanks.
std::string WriteSettingsFile(const GameSettings& settings, int game, std::string_view gameName,
                              std::string_view saved);

// The settings a file holds; nothing when it is no settings file of ours or is damaged,
// `reason` then saying why in a sentence ("It has been cut short: ...").
std::optional<SettingsFileContents> ReadSettingsFile(std::string_view bytes, std::string* reason);

// Reads the file at `path` whole (up to kSettingsFileLimit) and then as above; `reason` also
// tells a file that cannot be read, in the system's words ("It cannot be read: ...").
std::optional<SettingsFileContents> LoadSettingsFile(const std::string& path, std::string* reason);

std::uint32_t Crc32(std::string_view bytes);

// "YYYY-MM-DD HH:MM:SS" in local time.
std::string LocalTimeText(std::time_t time);

}  // namespace velmora::settings
