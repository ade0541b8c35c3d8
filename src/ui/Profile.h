#pragma once
// Velmora's own per-user settings: integers by section and key, a default for anything missing.
// On Windows QSettings keeps them in the registry under Software\Velmora\Velmora, elsewhere in
// an INI file in the user's config folder. Tests hand in a settings object on a file of their own.

#include <QSettings>
#include <QString>
#include <optional>

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
    // Text values, such as a game pad's taught mapping; nothing when missing.
    std::optional<QString> GetText(const char* section, const QString& key) const {
        const QVariant value = m_settings.value(QString::fromLatin1(section) + u'/' + key);
        return value.isValid() ? std::optional<QString>(value.toString()) : std::nullopt;
    }
    void WriteText(const char* section, const QString& key, const QString& value) {
        m_settings.setValue(QString::fromLatin1(section) + u'/' + key, value);
    }
    void Flush() { m_settings.sync(); }
    // After Flush: false when the profile could not be written.
    bool Written() const { return m_settings.status() == QSettings::NoError; }

private:
    static QString Key(const char* section, const char* key) {
        return QString::fromLatin1(section) + QLatin1Char('/') + QString::fromLatin1(key);
    }

    QSettings& m_settings;
};

inline constexpr const char* kPositionSection = "Position";

}  // namespace velmora::ui
