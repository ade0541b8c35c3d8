#include "PadProfileStore.h"

#include "Profile.h"

namespace velmora::app {

// GUIDs are hex digits and the mapping's text is ASCII: Latin-1 both ways is exact.
std::optional<std::string> PadProfileStore::Load(const std::string& guid) {
    const std::optional<QString> text =
        m_profile.GetText(kGamePadSection, QString::fromLatin1(guid));
    if (!text) {
        return std::nullopt;
    }
    return text->toLatin1().toStdString();
}

bool PadProfileStore::Save(const std::string& guid, const std::string& text) {
    m_profile.WriteText(kGamePadSection, QString::fromLatin1(guid), QString::fromLatin1(text));
    m_profile.Flush();
    return m_profile.Written();
}

}  // namespace velmora::app
