#pragma once
// The multi-line edit of the option editors. Option texts are 8-bit with CR LF line ends (a
// lone LF or CR here and there), while QPlainTextEdit keeps paragraphs rather than line ends:
// the text is translated on the way in and out here, so the caller gets back the bytes the
// file holds, changed only where the user changed them.

#include <QPlainTextEdit>
#include <string>

#include "EditedText.h"

namespace velmora::config {

class COptionsEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    // The most an option file's reading keeps, and so the most the user may type.
    static constexpr int kDefaultLimit = 32767;

    explicit COptionsEdit(QWidget* parent = nullptr);

    void SetText(const std::string& text);
    std::string Text() const;

    // The codec the text was read with; see ui::EditedText::SetCodecForAscii.
    ui::Codec TextCodec() const { return m_text.TextCodec(); }
    void SetCodecForAscii(ui::Codec codec) { m_text.SetCodecForAscii(codec); }

    // The limit holds back what the user types, pastes or drops; text set by the program is
    // shown whole, so nothing the caller hands in is cut off unseen.
    void SetLimit(int characters) { m_limit = characters; }
    // Length of Text(): every line break counts two, as CR LF.
    int Length() const;

private:
    void NoteChange(int position, int removed, int added);
    void EnforceLimit();

    ui::EditedText m_text;
    int m_limit = kDefaultLimit;
    bool m_changingText = false;
    int m_changeStart = 0;
    int m_changeAdded = 0;
};

}  // namespace velmora::config
