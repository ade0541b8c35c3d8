#pragma once
// The pane at the bottom of the main window with the emulator's messages: read-only text the
// user can select and scroll. It keeps the exact bytes it was given (CR LF included).

#include <QPlainTextEdit>
#include <QWidget>
#include <string>

namespace velmora::app {

class COutputBar : public QWidget {
    Q_OBJECT

public:
    explicit COutputBar(QWidget* parent = nullptr);

    void SetText(const std::string& text);
    const std::string& Text() const { return m_text; }
    QPlainTextEdit* Edit() const { return m_edit; }

    // Bar and edit both take the given width; the edit keeps its height.
    void FitWidth(int width);

private:
    QPlainTextEdit* m_edit;
    std::string m_text;
};

}  // namespace velmora::app
