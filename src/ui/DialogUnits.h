#pragma once
// Dialog templates are laid out in dialog units: a quarter of the dialog font's average
// character width across, an eighth of its height down. Widgets are placed from those units
// with the font actually in use, as the platform's dialog manager does.

#include <QFontMetrics>
#include <QFrame>
#include <QRect>
#include <QWidget>

namespace velmora::ui {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font) {
        const QFontMetrics metrics(font);
        const int alphabet =
            metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        m_baseX = (alphabet / 26 + 1) / 2;
        m_baseY = metrics.height();
    }

    int X(int units) const { return (units * m_baseX + 2) / 4; }
    int Y(int units) const { return (units * m_baseY + 4) / 8; }
    QRect Rect(int x, int y, int width, int height) const {
        return {X(x), Y(y), X(width), Y(height)};
    }
    // Places `widget` at a template rectangle given in dialog units.
    void Place(QWidget* widget, int x, int y, int width, int height) const {
        widget->setGeometry(Rect(x, y, width, height));
    }

private:
    int m_baseX = 6;
    int m_baseY = 13;
};

// The etched line dialogs use to part their controls.
inline QFrame* EtchedLine(QWidget* parent, QFrame::Shape shape) {
    auto* line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace velmora::ui
