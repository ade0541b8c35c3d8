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

void AppendUtf8(char32_t c, std::string& out) {
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

// Without branches, so that the compiler can lower many letters at a time.
void LowerAscii(char* text, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        text[i] = static_cast<char>(c | (static_cast<unsigned char>(c - 'A') < 26 ? 0x20 : 0));
    }
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Appends well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF)
// folded; false, with `out` partly written, at the first ill-formed byte.
bool AppendFoldedUtf8(std::string_view text, std::string& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        // Names are mostly ASCII: copy a run of it whole, then lower its letters.
        const auto* run = p;
        while (p < end && *p < 0x80) {
            ++p;
        }
        if (p > run) {
            const size_t at = out.size();
            const auto length = static_cast<size_t>(p - run);
            out.append(reinterpret_cast<const char*>(run), length);
            LowerAscii(out.data() + at, length);
            continue;
        }
        const unsigned char lead = *p;
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
        AppendUtf8(Fold(c), out);
        p += length;
    }
    return true;
}

void AppendFoldedWindows1252(std::string_view text, std::string& out) {
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        const char32_t c =
            byte >= 0x80 && byte < 0xA0 ? char32_t{kWindows1252High[byte - 0x80]} : byte;
        AppendUtf8(Fold(c), out);
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

size_t CodePoints(std::string_view utf8) {
    size_t count = 0;
    for (const char c : utf8) {
        count += IsContinuation(static_cast<unsigned char>(c)) ? 0 : 1;
    }
    return count;
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

void AppendFolded(std::string_view text, std::string& out) {
    const size_t start = out.size();
    if (!AppendFoldedUtf8(text, out)) {
        out.resize(start);
        AppendFoldedWindows1252(text, out);
    }
}

GameSearchIndex::GameSearchIndex(std::span<const GameRow> rows) {
    size_t bytes = 0;
    for (const GameRow& row : rows) {
        bytes += row.game.size();
    }
    m_folded.reserve(bytes + bytes / 8);  // room for a few letters that grow in UTF-8
    m_starts.reserve(rows.size() + 1);
    m_names.reserve(rows.size());
    for (const GameRow& row : rows) {
        m_starts.push_back(m_folded.size());
        // The number and its blanks are ASCII, so the name starts at the same distance in the
        // folded text as in the row's bytes, whichever way the bytes are read.
        const std::string_view name = GameName(row.game);
        m_names.push_back(m_folded.size() + (row.game.size() - name.size()));
        AppendFolded(row.game, m_folded);
    }
    m_starts.push_back(m_folded.size());
}

int GameSearchIndex::Find(int current, std::string_view search) const {
    std::string needle;
    AppendFolded(search, needle);
    const size_t count = RowCount();
    if (needle.empty() || count == 0) {
        return -1;
    }
    const bool hasCurrent = current >= 0 && static_cast<size_t>(current) < count;
    size_t first = hasCurrent ? static_cast<size_t>(current) : 0;
    if (hasCurrent && CodePoints(needle) == 1) {
        first = (first + 1) % count;
    }

    const std::string_view folded = m_folded;
    const auto text = [&](size_t row, bool name) {
        const size_t from = name ? m_names[row] : m_starts[row];
        return folded.substr(from, m_starts[row + 1] - from);
    };
    const auto scan = [&](auto&& found) -> int {
        for (size_t row = first; row < count; ++row) {
            if (found(row)) {
                return static_cast<int>(row);
            }
        }
        for (size_t row = 0; row < first; ++row) {
            if (found(row)) {
                return static_cast<int>(row);
            }
        }
        return -1;
    };

    if (IsDigit(needle.front())) {
        return scan([&](size_t row) { return text(row, false).starts_with(needle); });
    }
    const int row = scan([&](size_t r) { return text(r, true).starts_with(needle); });
    return row >= 0 ? row : scan([&](size_t r) {
        return text(r, true).find(needle) != std::string_view::npos;
    });
}

int FindGameRow(std::span<const GameRow> rows, int current, std::string_view search) {
    return GameSearchIndex(rows).Find(current, search);
}

}  // namespace velmora::games
