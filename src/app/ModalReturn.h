#pragma once
// When a modal window closes, the window beneath it becomes active again, as the platform's
// modal loop does for its own dialogs: the dialog below, or else the main window, which then
// hands the keyboard focus to the list. Not every window system does this by itself (some
// leave no window active), and then a keyboard user would be left with nowhere to type.

#include <QObject>
#include <QPointer>

class QWidget;

namespace velmora::app {

class ModalReturn : public QObject {
    Q_OBJECT

public:
    // Watches every window of the application; `fallback` is activated when no modal window
    // is left.
    explicit ModalReturn(QWidget* fallback);
    ~ModalReturn() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_fallback;
};

}  // namespace velmora::app
