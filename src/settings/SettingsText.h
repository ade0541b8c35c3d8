#pragma once
// A difference between two of a game's settings as widget text. The renderer names and option
// lines are 8-bit text, each shown through the one codec; the arrow between a name before and
// after is put in once they are converted, since either name may be in either codec.

#include <QString>
#include <QStringList>

#include "SettingsDifference.h"

namespace velmora::settings {

QString SummaryText(const SettingsDifference& difference);
QStringList DetailText(const SettingsDifference& difference);

}  // namespace velmora::settings
