#pragma once
// How Velmora reads 8-bit text (game names, option files, plugin and file names, the
// emulator's output: bytes in no declared encoding) wherever it needs characters: text whose
// bytes are valid UTF-8 is UTF-8, any other text is Windows-1252, since files from Windows
// machines hold its letters. One rule and one table for the whole program; the widgets, the
// search by typing and the desktop entries all read text through here. (On Windows the
// widgets read it in the ANSI code page instead, as the platform does.)

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::text {

// One character read from UTF-8: its code point and the number of bytes it takes. A length of
// 0 means the bytes there are no well-formed character: a byte that cannot begin one, a
// continuation byte missing (also where the text ends before the character does), an overlong
// form, a surrogate or a code point above U+10FFFF.
struct Utf8Char {
    char32_t code = 0;
    size_t length = 0;
};

// The character at the start of `bytes`, which must not be empty.
inline Utf8Char ReadUtf8Char(std::string_view bytes) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return {lead, 1};
    }
    size_t length = 0;
    char32_t code = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
        least = 0x10000;
    } else {
        return {};
    }
    if (bytes.size() < length) {
        return {};  // the text ends inside the character: it is not UTF-8
    }
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80u) {
            return {};
        }
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return {};
    }
    return {code, length};
}

// True when every byte of `bytes` belongs to a well-formed UTF-8 character, up to the last
// byte. The empty text is UTF-8.
bool IsUtf8(std::string_view bytes);

// True when no byte has its high bit set: text that reads the same in every 8-bit encoding.
bool IsAscii(std::string_view bytes);

// Windows-1252's bytes 0x80 to 0x9F; every other byte is its Latin-1 code point. The five
// bytes it leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their C1 code points, as
// Windows' own conversion does, so every byte has a character and comes back as itself.
inline constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The character Windows-1252 gives a byte.
constexpr char32_t FromWindows1252(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? char32_t{kWindows1252High[byte - 0x80]} : char32_t{byte};
}

// The byte Windows-1252 has for `c`; nothing when it has none.
std::optional<unsigned char> ToWindows1252(char32_t c);

// Appends the UTF-8 form of `c`.
inline void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// `bytes` as UTF-8 by the rule above: valid UTF-8 as it is, anything else read as
// Windows-1252 and converted.
std::string EightBitToUtf8(std::string_view bytes);

}  // namespace velmora::text
