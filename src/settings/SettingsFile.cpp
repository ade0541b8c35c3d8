#include "SettingsFile.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "Contract.h"

namespace velmora::settings {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kFormatPrefix = "Velmora game settings, format ";
constexpr std::string_view kGamePrefix = "Game: ";
constexpr std::string_view kSavedPrefix = "Saved: ";
constexpr std::string_view kPartPrefix = "Part: ";

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[i] = c;
    }
    return table;
}
constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

std::string Hex8(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

// Reads the file's own lines and parts from the front; every failure names what was wrong.
class Reader {
public:
    explicit Reader(std::string_view bytes) : m_rest(bytes) {}

    // The next line without its CR LF; nothing when no CR LF follows.
    std::optional<std::string_view> Line() {
        const size_t end = m_rest.find(kLineEnd);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view line = m_rest.substr(0, end);
        m_rest.remove_prefix(end + kLineEnd.size());
        return line;
    }

    std::optional<std::string_view> Take(size_t count) {
        if (count > m_rest.size()) {
            return std::nullopt;
        }
        const std::string_view taken = m_rest.substr(0, count);
        m_rest.remove_prefix(count);
        return taken;
    }

    size_t Left() const { return m_rest.size(); }

private:
    std::string_view m_rest;
};

// Digits only, as many as fit a size_t.
std::optional<size_t> ReadCount(std::string_view digits) {
    if (digits.empty() || digits.size() > 12) {
        return std::nullopt;
    }
    size_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<size_t>(c - '0');
    }
    return value;
}

std::optional<std::uint32_t> ReadHex8(std::string_view digits) {
    if (digits.size() != 8) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : digits) {
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

bool Fail(std::string* reason, std::string text) {
    if (reason != nullptr) {
        *reason = std::move(text);
    }
    return false;
}

// One part: its line, then its bytes and their CR LF.
bool ReadPart(Reader& reader, GameFile file, std::optional<std::string>& bytes,
              std::string* reason) {
    const std::string title(GameFileTitle(file));
    const std::optional<std::string_view> line = reader.Line();
    if (!line) {
        return Fail(reason, "It has been cut short: the " + title + " part is missing.");
    }
    const std::string head = std::string(kPartPrefix) + title + ", ";
    if (!line->starts_with(head)) {
        return Fail(reason, "It is damaged: the " + title + " part should come next.");
    }
    const std::string_view rest = line->substr(head.size());
    if (rest == "none") {
        bytes.reset();
        return true;
    }
    // "<length> bytes, CRC-32 <8 hex digits>"
    const size_t space = rest.find(' ');
    const std::optional<size_t> length = ReadCount(rest.substr(0, space));
    constexpr std::string_view kMiddle = " bytes, CRC-32 ";
    if (!length || space == std::string_view::npos ||
        rest.substr(space, kMiddle.size()) != kMiddle) {
        return Fail(reason, "It is damaged: the " + title + " part's line is garbled.");
    }
    const std::optional<std::uint32_t> crc = ReadHex8(rest.substr(space + kMiddle.size()));
    if (!crc) {
        return Fail(reason, "It is damaged: the " + title + " part's line is garbled.");
    }
    const size_t available = reader.Left();
    const std::optional<std::string_view> content = reader.Take(*length);
    if (!content) {
        return Fail(reason, "It has been cut short: the " + title + " should be " +
                                std::to_string(*length) + " bytes long, but only " +
                                std::to_string(available) + " follow.");
    }
    if (Crc32(*content) != *crc) {
        return Fail(reason, "It is damaged: the " + title + " do not match their checksum.");
    }
    const std::optional<std::string_view> after = reader.Take(kLineEnd.size());
    if (!after || *after != kLineEnd) {
        return Fail(reason,
                    after ? "It is damaged: the " + title + " do not end where their length says."
                          : "It has been cut short after the " + title + ".");
    }
    bytes = std::string(*content);
    return true;
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc = kCrcTable[(crc ^ static_cast<unsigned char>(c)) & 0xFFu] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

std::string LocalTimeText(std::time_t time) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &time);
#else
    localtime_r(&time, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::string WriteSettingsFile(const GameSettings& settings, int game, std::string_view gameName,
                              std::string_view saved) {
    std::string name(gameName);
    for (char& c : name) {
        c = c == '\r' || c == '\n' ? ' ' : c;
    }
    std::string bytes = std::string(kFormatLine) + std::string(kLineEnd);
    bytes += std::string(kGamePrefix) + emu::GameNumberText(game) + (name.empty() ? "" : " ") +
             name + std::string(kLineEnd);
    bytes += std::string(kSavedPrefix) + std::string(saved) + std::string(kLineEnd);
    for (const GameFile file : kGameFiles) {
        bytes += std::string(kPartPrefix) + std::string(GameFileTitle(file)) + ", ";
        if (const std::optional<std::string>& part = settings[file]) {
            bytes += std::to_string(part->size()) + " bytes, CRC-32 " + Hex8(Crc32(*part));
            bytes += kLineEnd;
            bytes += *part;
        } else {
            bytes += "none";
        }
        bytes += kLineEnd;
    }
    bytes += std::string(kEndLine) + std::string(kLineEnd);
    return bytes;
}

std::optional<SettingsFileContents> ReadSettingsFile(std::string_view bytes, std::string* reason) {
    Reader reader(bytes);
    const std::optional<std::string_view> format = reader.Line();
    if (!format || *format != kFormatLine) {
        if (bytes.starts_with(std::string(kFormatLine) + "\n")) {
            Fail(reason, "It is damaged: its line ends have been changed.");
        } else if (format && format->starts_with(kFormatPrefix)) {
            Fail(reason, "It is in " + std::string(format->substr(kFormatPrefix.size() - 7)) +
                             ", which this Velmora does not read.");
        } else {
            Fail(reason, "It is not a Velmora settings file.");
        }
        return std::nullopt;
    }
    SettingsFileContents contents;
    const std::optional<std::string_view> game = reader.Line();
    if (!game || !game->starts_with(kGamePrefix)) {
        Fail(reason, "It is damaged: the game's line is missing.");
        return std::nullopt;
    }
    const std::string_view number = game->substr(kGamePrefix.size());
    const std::optional<size_t> value = ReadCount(number.substr(0, number.find(' ')));
    if (!value || *value == 0 || *value > 0x7FFFFFFF) {
        Fail(reason, "It is damaged: the game's number is garbled.");
        return std::nullopt;
    }
    contents.game = static_cast<int>(*value);
    const std::optional<std::string_view> saved = reader.Line();
    if (!saved || !saved->starts_with(kSavedPrefix)) {
        Fail(reason, "It is damaged: the line that says when it was saved is missing.");
        return std::nullopt;
    }
    contents.saved = std::string(saved->substr(kSavedPrefix.size()));
    for (const GameFile file : kGameFiles) {
        if (!ReadPart(reader, file, contents.settings[file], reason)) {
            return std::nullopt;
        }
    }
    const std::optional<std::string_view> end = reader.Line();
    if (!end || *end != kEndLine) {
        Fail(reason, end ? "It is damaged: its end line is garbled."
                         : "It has been cut short: its end line is missing.");
        return std::nullopt;
    }
    if (reader.Left() > 0) {
        Fail(reason, "It is damaged: something follows its end line.");
        return std::nullopt;
    }
    return contents;
}

std::optional<SettingsFileContents> LoadSettingsFile(const std::string& path, std::string* reason) {
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    errno = 0;
    const std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        Fail(reason,
             "It cannot be read: " + std::string(std::strerror(errno != 0 ? errno : EIO)) + ".");
        return std::nullopt;
    }
    // Past the limit the reading stops: a file that large is no settings file.
    std::string bytes;
    char buffer[65536];
    size_t read = 0;
    while (bytes.size() <= kSettingsFileLimit &&
           (read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.append(buffer, read);
    }
    if (std::ferror(file.get()) != 0) {
        Fail(reason,
             "It cannot be read: " + std::string(std::strerror(errno != 0 ? errno : EIO)) + ".");
        return std::nullopt;
    }
    if (bytes.size() > kSettingsFileLimit) {
        Fail(reason, "It is larger than any Velmora settings file (over 64 MiB).");
        return std::nullopt;
    }
    return ReadSettingsFile(bytes, reason);
}

}  // namespace velmora::settings
