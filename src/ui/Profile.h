#pragma once
// Velmora's own per-user settings: integers by section and key, a default for anything missing.
// On Windows QSettings keeps them in the registry under Software\Velmora\Velmora, elsewhere in
// an INI file in the user's config folder. Tests hand in a settings object on a file of their own.

#include <QSettings>
#include <QString>

namespace velmora::ui {

class CProfile {
public:
    explicit CProfile(QSettings& settings) : m_settings(settings) {}

    int GetInt(const char* section, const char* key, int fallback) const {
        bool ok = false;
        const int value = m_settings.value(Key(section, key)).toInt(&ok);
        return ok ? value : fallback;
    }
    void WriteInt(const char* section, const char* key, int value) {
        m_settings.setValue(Key(section, key), value);
    }
    void Flush() { m_settings.sync(); }

private:
    static QString Key(const char* section, const char* key) {
        return QString::fromLatin1(section) + QLatin1Char('/') + QString::fromLatin1(key);
    }

    QSettings& m_settings;
};

inline constexpr const char* kPositionSection = "Position";

}  // namespace velmora::ui
