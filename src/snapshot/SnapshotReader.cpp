#include "SnapshotReader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "CRegValue.h"
#include "Contract.h"
#include "TextRules.h"

namespace velmora::snapshot {

namespace {

constexpr size_t npos = std::string_view::npos;

// What must follow the "[" of a section header, letter case included.
const std::string kHeaderPrefix =
    std::string(emu::kPluginSettingsRootName) + '\\' + std::string(emu::kPluginSettingsKey);

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The first occurrence of a pattern at or after a position. The reader only ever moves
// forward, so an earlier answer that still lies ahead is reused: a file with no "\r\n" in it
// would otherwise be searched to its end once per line.
class Finder {
public:
    Finder(std::string_view text, std::string_view pattern) : m_text(text), m_pattern(pattern) {}

    size_t From(size_t from) {
        if (!m_searched || from < m_from || (m_found != npos && m_found < from)) {
            m_from = from;
            m_found = m_text.find(m_pattern, from);
            m_searched = true;
        }
        return m_found;
    }

private:
    std::string_view m_text;
    std::string_view m_pattern;
    bool m_searched = false;
    size_t m_from = 0;
    size_t m_found = npos;
};

// Stores values through one open key at a time. A section's values all go to one key, so it
// is created (with any missing key above it) once, at the section's first value, instead of
// once for every value; a section without values creates nothing. A key that cannot be had
// is asked for again at the next value, as if each value were stored on its own.
class KeyWriter {
public:
    explicit KeyWriter(reg::RegistryBackend& registry) : m_registry(registry) {}
    KeyWriter(const KeyWriter&) = delete;
    KeyWriter& operator=(const KeyWriter&) = delete;
    ~KeyWriter() { Close(); }

    void Store(const std::string& keyPath, const std::string& name, const reg::CRegValue& value) {
        if (m_key == 0 || keyPath != m_path) {
            Close();
            if (m_registry.CreateKey(reg::kHkeyCurrentUser, keyPath, reg::kKeyWrite, &m_key) !=
                reg::kErrorSuccess) {
                m_key = 0;
                return;
            }
            m_path = keyPath;
        }
        m_registry.SetValue(m_key, name, value.GetType(), value.GetData(), value.GetSize());
    }

private:
    void Close() {
        if (m_key != 0) {
            m_registry.CloseKey(m_key);
            m_key = 0;
        }
    }

    reg::RegistryBackend& m_registry;
    std::string m_path;
    reg::HKey m_key = 0;
};

struct Line {
    size_t end;   // one past the line's last character
    size_t next;  // where the next line starts; npos when there is none
};

class Importer {
public:
    Importer(reg::RegistryBackend& registry, std::string_view text)
        : m_text(text), m_writer(registry) {}

    void Run() {
        size_t bracket = m_text.find('[');
        while (bracket != npos) {
            bracket = ReadSection(bracket);
        }
    }

private:
    // A line ends at the first "\r\n" in the whole rest of the text; only a text without any
    // ends its lines at "\r", and only one without either at "\n". Files from other editors
    // thus read as one line per CR LF, whatever else they hold.
    Line EndLine(size_t from) {
        if (const size_t crlf = m_crlf.From(from); crlf != npos) {
            return {crlf, crlf + 2};
        }
        if (const size_t cr = m_cr.From(from); cr != npos) {
            return {cr, cr + 1};
        }
        if (const size_t lf = m_lf.From(from); lf != npos) {
            return {lf, lf + 1};
        }
        return {m_text.size(), npos};
    }

    // Reads the section whose header starts at `bracket`. Returns where the next header's "["
    // is, or npos when the import ends.
    size_t ReadSection(size_t bracket) {
        const size_t pathBegin = bracket + 1 + kHeaderPrefix.size();
        if (m_text.substr(bracket + 1, kHeaderPrefix.size()) != kHeaderPrefix) {
            return npos;  // another root or another key: nothing after it is ours
        }
        const Line header = EndLine(bracket);
        if (header.next == npos || pathBegin > header.end) {
            return npos;
        }
        const size_t close = m_text.substr(pathBegin, header.end - pathBegin).find(']');
        if (close == npos) {
            return npos;
        }
        // Whatever stands between the key's name and the "]" is appended as it is: a backslash
        // and a path give a subkey.
        const std::string keyPath =
            std::string(emu::kPluginSettingsKey) + std::string(m_text.substr(pathBegin, close));

        size_t line = header.next;
        while (line < m_text.size() && m_text[line] == '"') {
            // Names have no escapes: the name runs to the next double quote, wherever it is.
            const size_t nameBegin = line + 1;
            size_t quote = m_quote.From(nameBegin);
            if (quote == npos) {
                return m_text.find('[', nameBegin);
            }
            quote = NameEnd(nameBegin, quote);
            const std::string name(m_text.substr(nameBegin, quote - nameBegin));
            const size_t valueBegin = quote + 2;  // the "=" after the name is not checked
            if (valueBegin > m_text.size()) {
                return npos;
            }
            const Line valueLine = EndLine(valueBegin);
            if (valueLine.next == npos) {
                return npos;  // a value line must end, or it may have been cut short
            }
            line = StoreValue(keyPath, name, valueBegin, valueLine);
            if (line == npos) {
                return npos;
            }
        }
        // The first line that is not a value line ends the section, an empty one included.
        return m_text.find('[', line);
    }

    // Stores one value; returns where the line after it starts, or npos to end the import.
    size_t StoreValue(const std::string& keyPath, const std::string& name, size_t valueBegin,
                      const Line& line) {
        const std::string_view value = m_text.substr(valueBegin, line.end - valueBegin);
        if (value.starts_with('"')) {
            const std::optional<std::string> text = Unquote(value.substr(1));
            if (!text) {
                return StoreTextAcrossLines(keyPath, name, valueBegin + 1, line);
            }
            StoreString(keyPath, name, *text);
        } else if (value.starts_with("dword:")) {
            reg::CRegValue number;
            if (number.SetDword(ReadHexNumber(value.substr(6)))) {
                m_writer.Store(keyPath, name, number);
            }
        } else if (value.starts_with("hex:")) {
            return StoreHexList(keyPath, name, valueBegin + 4, line);
        }
        return line.next;
    }

    // A name holding a double quote is written as it is, so its first quote need not be its
    // end: when no "=" follows that quote, the name runs on to the first quote and "=" of its
    // line, if there is one. A plain name ends at its first quote, as always.
    size_t NameEnd(size_t nameBegin, size_t quote) {
        if (quote + 1 >= m_text.size() || m_text[quote + 1] == '=') {
            return quote;
        }
        const Line line = EndLine(nameBegin);
        if (quote >= line.end) {
            return quote;
        }
        const size_t assign = m_text.substr(quote, line.end - quote).find("\"=");
        return assign == npos ? quote : quote + assign;
    }

    // A text whose closing quote is not on its own line. A plugin may store line breaks in a
    // text, which is written as it stands, so the text runs on to its closing quote when that
    // quote ends a line. Otherwise the line is not one we wrote: only this value is dropped,
    // and reading goes on with the next line.
    size_t StoreTextAcrossLines(const std::string& keyPath, const std::string& name,
                                size_t textBegin, const Line& line) {
        size_t i = textBegin;
        while (i < m_text.size() && m_text[i] != '"') {
            const bool escape = m_text[i] == '\\' && i + 1 < m_text.size() &&
                                (m_text[i + 1] == '\\' || m_text[i + 1] == '"');
            i += escape ? 2 : 1;
        }
        if (i < m_text.size()) {
            const Line after = EndLine(i + 1);
            if (after.end == i + 1 && after.next != npos) {
                const std::string_view quoted = m_text.substr(textBegin, i + 1 - textBegin);
                StoreString(keyPath, name, Unquote(quoted).value_or(std::string()));
                return after.next;
            }
        }
        return line.next;
    }

    // A backslash or double quote after a backslash stands for itself; any other backslash
    // is kept as it is. The first unpaired double quote closes the text.
    static std::optional<std::string> Unquote(std::string_view quoted) {
        std::string text;
        for (size_t i = 0; i < quoted.size(); ++i) {
            const char c = quoted[i];
            if (c == '\\' && i + 1 < quoted.size() &&
                (quoted[i + 1] == '\\' || quoted[i + 1] == '"')) {
                text += quoted[++i];
            } else if (c == '"') {
                return text;
            } else {
                text += c;
            }
        }
        return std::nullopt;
    }

    // Every element is taken to be two digits long: the character two places after its start
    // decides whether another one follows. A backslash right after the comma carries the list
    // on to the start of the next line.
    size_t StoreHexList(const std::string& keyPath, const std::string& name, size_t first,
                        Line line) {
        std::vector<std::uint8_t> bytes;
        // Nothing past the end of the current line is looked at.
        const auto at = [&](size_t i) { return i < line.end ? m_text[i] : '\0'; };
        size_t element = first;
        for (;;) {
            const size_t available = element < line.end ? line.end - element : 0;
            bytes.push_back(static_cast<std::uint8_t>(
                ReadHexNumber(m_text.substr(std::min(element, line.end), available)) & 0xff));
            if (at(element + 2) != ',') {
                break;
            }
            if (at(element + 3) != '\\') {
                element += 3;
                continue;
            }
            if (line.next == npos) {
                break;  // the list runs off the end of the file: keep what was read
            }
            element = line.next;
            line = EndLine(element);
        }
        reg::CRegValue value;
        if (value.SetBinary(bytes.data(), bytes.size())) {
            m_writer.Store(keyPath, name, value);
        }
        return line.next;
    }

    void StoreString(const std::string& keyPath, const std::string& name, std::string_view text) {
        reg::CRegValue value;
        if (value.SetString(text)) {
            m_writer.Store(keyPath, name, value);
        }
    }

    std::string_view m_text;
    KeyWriter m_writer;
    Finder m_crlf{m_text, "\r\n"};
    Finder m_cr{m_text, "\r"};
    Finder m_lf{m_text, "\n"};
    Finder m_quote{m_text, "\""};
};

}  // namespace

std::uint32_t ReadHexNumber(std::string_view text) {
    const auto [digits, negative] = text::SkipToDigits(text);
    size_t i = digits;
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        HexDigit(text[i + 2]) >= 0) {
        i += 2;
    }
    std::uint64_t number = 0;
    for (; i < text.size() && HexDigit(text[i]) >= 0; ++i) {
        number = number * 16 + static_cast<std::uint64_t>(HexDigit(text[i]));
        if (number > UINT32_MAX) {
            return UINT32_MAX;  // the sign does not apply to a number out of range
        }
    }
    const auto result = static_cast<std::uint32_t>(number);
    return negative ? 0u - result : result;
}

void ImportSnapshotText(reg::RegistryBackend& registry, std::string_view text) {
    // The file is text: a zero byte, which nothing we write holds, ends it.
    Importer(registry, text.substr(0, text.find('\0'))).Run();
}

}  // namespace velmora::snapshot
