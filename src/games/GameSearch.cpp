#include "GameSearch.h"

#include <cstdint>

#include "EightBitText.h"

namespace velmora::games {

namespace {

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

// Appends well-formed UTF-8 folded; false, with `out` partly written, at the first byte that
// makes the text no UTF-8.
bool AppendFoldedUtf8(std::string_view text, std::string& out) {
    size_t i = 0;
    while (i < text.size()) {
        // Names are mostly ASCII: copy a run of it whole, then lower its letters.
        const size_t run = i;
        while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
        }
        if (i > run) {
            const size_t at = out.size();
            out.append(text.data() + run, i - run);
            LowerAscii(out.data() + at, i - run);
            continue;
        }
        const text::Utf8Char c = text::ReadUtf8Char(text.substr(i));
        if (c.length == 0) {
            return false;
        }
        text::AppendUtf8(Fold(c.code), out);
        i += c.length;
    }
    return true;
}

void AppendFoldedWindows1252(std::string_view text, std::string& out) {
    for (const char ch : text) {
        text::AppendUtf8(Fold(text::FromWindows1252(static_cast<unsigned char>(ch))), out);
    }
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
