#pragma once
// The multi-line edit of the option editors. Option texts are 8-bit with CR LF line ends,
// while QPlainTextEdit keeps paragraphs rather than line ends: the text is translated on the
// way in and out here, so the caller sees the same bytes a file holds.

#include <QPlainTextEdit>
#include <string>
#include <string_view>

namespace velmora::config {

// 8-bit text to what the edit shows: CR LF becomes one paragraph break. (A lone CR or LF makes
// a paragraph break too, and comes back as CR LF.)
QString ToWidgetText(std::string_view text);
// The edit's raw text back to 8-bit text, every paragraph break as CR LF.
std::string FromWidgetText(QString rawText);

class COptionsEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    // The most an option file's reading keeps, and so the most the user may type.
    static constexpr int kDefaultLimit = 32767;

    explicit COptionsEdit(QWidget* parent = nullptr);

    void SetText(const std::string& text);
    std::string Text() const;

    // The limit holds back what the user types, pastes or drops; text set by the program is
    // shown whole, so nothing the caller hands in is cut off unseen.
    void SetLimit(int characters) { m_limit = characters; }
    int Limit() const { return m_limit; }
    // Length of Text(): every line break counts two, as CR LF.
    int Length() const;

private:
    void NoteChange(int position, int removed, int added);
    void EnforceLimit();

    int m_limit = kDefaultLimit;
    bool m_changingText = false;
    int m_changeStart = 0;
    int m_changeAdded = 0;
};

}  // namespace velmora::config
