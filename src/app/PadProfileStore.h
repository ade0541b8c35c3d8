#pragma once
// The game pads' taught mappings in Velmora's profile: section "GamePad", one text value per
// device GUID (on Windows under HKEY_CURRENT_USER\Software\Velmora\Velmora\GamePad).

#include "PadMapping.h"

namespace velmora::ui {
class CProfile;
}

namespace velmora::app {

inline constexpr const char* kGamePadSection = "GamePad";

class PadProfileStore : public pad::MappingStore {
public:
    explicit PadProfileStore(ui::CProfile& profile) : m_profile(profile) {}

    std::optional<std::string> Load(const std::string& guid) override;
    bool Save(const std::string& guid, const std::string& text) override;

private:
    ui::CProfile& m_profile;
};

}  // namespace velmora::app
