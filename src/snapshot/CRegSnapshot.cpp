#include "CRegSnapshot.h"

#include <cstdio>

#include "Contract.h"

namespace velmora::snapshot {

namespace {

const std::string kPluginKey(emu::kPluginSettingsKey);

void AppendHexList(std::string& out, const std::uint8_t* bytes, std::uint32_t size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out += "hex:";
    out.reserve(out.size() + size_t{size} * 3 + (size / 24) * 3);
    for (std::uint32_t i = 0; i < size; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0x0f];
        if (i + 1 < size) {
            out += ',';
            // The first line holds bytes 0 to 24, every further line 24 bytes.
            if (i > 0 && i % 24 == 0) {
                out += "\\\r\n";
            }
        }
    }
}

void AppendQuoted(std::string& out, const std::string& text) {
    out += '"';
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
}

}  // namespace

CRegSnapshot::CRegSnapshot(reg::RegistryBackend& registry)
    : CRegKeyWalker(registry, reg::kHkeyCurrentUser) {}

bool CRegSnapshot::Export(std::string& output) {
    m_lastKeyPath.clear();
    m_output = &output;
    const bool whole = Walk(kPluginKey, reg::kWalkValues);
    m_output = nullptr;
    return whole;
}

bool CRegSnapshot::OnValue(const std::string& keyPath, const std::string& valueName,
                           const reg::CRegValue& value, int) {
    if (m_output == nullptr) {
        return false;
    }
    std::string& out = *m_output;
    if (keyPath != m_lastKeyPath) {
        out += "\r\n[";
        out += emu::kPluginSettingsRootName;
        out += '\\';
        out += keyPath;
        out += "]\r\n";
        m_lastKeyPath = keyPath;
    }
    // Names go out as they are: the reader takes a name up to the next double quote.
    out += '"';
    out += valueName;
    out += "\"=";
    out += ValueText(value);
    out += "\r\n";
    return true;
}

std::string ValueText(const reg::CRegValue& value) {
    std::string text;
    switch (value.GetType()) {
        case reg::kRegDword:
        case reg::kRegDwordBigEndian: {
            std::uint32_t number = 0;
            value.GetDword(number);
            char digits[16];
            std::snprintf(digits, sizeof digits, "%08lx", static_cast<unsigned long>(number));
            text = "dword:";
            text += digits;
            break;
        }
        case reg::kRegSz:
        case reg::kRegExpandSz:
        case reg::kRegLink: {
            std::string string;
            value.GetString(string);
            AppendQuoted(text, string);
            break;
        }
        default:
            AppendHexList(text, value.GetData(), value.GetSize());
            break;
    }
    return text;
}

std::optional<std::string> ExportSnapshotText(reg::RegistryBackend& registry) {
    std::string text = kFileHeader;
    CRegSnapshot snapshot(registry);
    if (snapshot.Export(text)) {
        return text;
    }
    reg::HKey key = 0;
    const reg::Status status =
        registry.OpenKey(reg::kHkeyCurrentUser, kPluginKey, reg::kKeyRead, &key);
    if (status == reg::kErrorSuccess) {
        registry.CloseKey(key);
    }
    if (status == reg::kErrorFileNotFound) {
        return std::string(kFileHeader);  // no plugin has written settings yet
    }
    return std::nullopt;
}

}  // namespace velmora::snapshot
