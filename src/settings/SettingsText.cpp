#include "SettingsText.h"

#include "WidgetText.h"

namespace velmora::settings {

namespace {

// A control character that no renderer name or option line can hold between two names.
constexpr std::string_view kMark = "\x1F";

QString Shown(const std::string& text) {
    return ui::ToWidget(text).replace(QChar(kMark.front()), QStringLiteral(" \u2192 "));
}

}  // namespace

QString SummaryText(const SettingsDifference& difference) {
    return Shown(Summary(difference, kMark));
}

QStringList DetailText(const SettingsDifference& difference) {
    QStringList lines;
    for (const std::string& line : DetailLines(difference, kMark)) {
        lines.append(Shown(line));
    }
    return lines;
}

}  // namespace velmora::settings
