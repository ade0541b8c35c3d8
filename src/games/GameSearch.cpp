#include "GameSearch.h"

#include <cstdint>

namespace velmora::games {

namespace {

// Windows-1252's bytes 0x80 to 0x9F; the five it leaves unassigned keep their C1 code points,
// as the platform's own conversion does. Every other byte is its Latin-1 code point.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t Fold(char32_t c) {
    if (c < 0x80) {
        return c >= 'A' && c <= 'Z' ? c + 0x20 : c;
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {  // À to Þ, leaving out the multiplication sign
        return c + 0x20;
    }
    switch (c) {
        case 0x0152:  // Œ
        case 0x0160:  // Š
        case 0x017D:  // Ž
            return c + 1;
        case 0x0178:  // Ÿ
            return 0x00FF;
        default:
            return c;
    }
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Appends the folded code points of well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF); false, with `out` partly written, at the first ill-formed byte.
bool AppendUtf8(std::string_view text, std::u32string& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            out.push_back(Fold(lead));
            ++p;
            continue;
        }
        int length = 0;
        char32_t c = 0;
        char32_t least = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            c = lead & 0x1F;
            least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            c = lead & 0x0F;
            least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            c = lead & 0x07;
            least = 0x10000;
        } else {
            return false;
        }
        if (end - p < length) {
            return false;
        }
        for (int i = 1; i < length; ++i) {
            if (!IsContinuation(p[i])) {
                return false;
            }
            c = (c << 6) | (p[i] & 0x3F);
        }
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return false;
        }
        out.push_back(Fold(c));
        p += length;
    }
    return true;
}

void AppendWindows1252(std::string_view text, std::u32string& out) {
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        const char32_t c =
            byte >= 0x80 && byte < 0xA0 ? char32_t{kWindows1252High[byte - 0x80]} : byte;
        out.push_back(Fold(c));
    }
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsLeadingSpace(char c) {  // what atoi skips before the number
    return IsBlank(c) || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string_view GameName(std::string_view gameText) {
    size_t i = 0;
    while (i < gameText.size() && IsLeadingSpace(gameText[i])) {
        ++i;
    }
    if (i < gameText.size() && (gameText[i] == '+' || gameText[i] == '-')) {
        ++i;
    }
    while (i < gameText.size() && IsDigit(gameText[i])) {
        ++i;
    }
    while (i < gameText.size() && IsBlank(gameText[i])) {
        ++i;
    }
    return gameText.substr(i);
}

void AppendFolded(std::string_view text, std::u32string& out) {
    const size_t start = out.size();
    if (!AppendUtf8(text, out)) {
        out.resize(start);
        AppendWindows1252(text, out);
    }
}

int FindGameRow(std::span<const GameRow> rows, int current, std::string_view search) {
    std::u32string needle;
    AppendFolded(search, needle);
    const auto count = static_cast<int64_t>(rows.size());
    if (needle.empty() || count == 0) {
        return -1;
    }
    int64_t first = current >= 0 && current < count ? current : 0;
    if (needle.size() == 1 && current >= 0 && current < count) {
        first = (first + 1) % count;
    }

    // One buffer for every row's text, so a search over thousands of rows allocates once.
    std::u32string text;
    const auto scan = [&](bool byName, bool anywhere) -> int {
        for (int64_t k = 0; k < count; ++k) {
            const int64_t row = (first + k) % count;
            const std::string_view game = rows[static_cast<size_t>(row)].game;
            text.clear();
            AppendFolded(byName ? GameName(game) : game, text);
            const bool found = anywhere ? text.find(needle) != std::u32string::npos
                                        : std::u32string_view(text).starts_with(needle);
            if (found) {
                return static_cast<int>(row);
            }
        }
        return -1;
    };

    if (needle.front() >= U'0' && needle.front() <= U'9') {
        return scan(false, false);
    }
    const int row = scan(true, false);
    return row >= 0 ? row : scan(true, true);
}

}  // namespace velmora::games
