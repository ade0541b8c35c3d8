#pragma once
// Qt ends a program whose display cannot be reached, none set or one left over from an SSH or
// tmux session, with an abort. While a DisplayProbe lives, a QApplication made without a
// platform of the user's choosing falls back to the offscreen platform instead, quietly, and
// the probe tells which of the two it got. Velmora then says plainly that it needs a display.

#include <QtGlobal>

namespace velmora::app {

class DisplayProbe {
public:
    // `platformChosen`: the user named a platform (-platform), which Qt is then left to honour
    // as it always does.
    explicit DisplayProbe(bool platformChosen);
    ~DisplayProbe();
    DisplayProbe(const DisplayProbe&) = delete;
    DisplayProbe& operator=(const DisplayProbe&) = delete;

    // Once the application exists: whether it shows its windows on a display.
    bool DisplayReached() const;

private:
    bool m_fallback = false;
    QtMessageHandler m_previous = nullptr;
};

}  // namespace velmora::app
