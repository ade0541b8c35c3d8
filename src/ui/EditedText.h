#pragma once
// The 8-bit text an edit control was given, kept line by line with each line's own line end
// (CR LF, a lone LF or a lone CR), so that the edit's text can be turned back into bytes that
// change only what the user changed. Lines the user did not touch keep their bytes and line
// ends; the text as a whole, untouched, gives back exactly the bytes it came from.

#include <QString>
#include <string>
#include <vector>

#include "WidgetText.h"

namespace velmora::ui {

class EditedText {
public:
    EditedText() = default;
    explicit EditedText(std::string bytes);

    // What the edit shows: the lines joined by '\n'.
    const QString& WidgetText() const { return m_widgetText; }
    // The bytes for the edit's raw text (its lines joined by paragraph separators).
    std::string Bytes(QStringView rawText) const;

    // The codec the text was read with, and that encodes what the user adds.
    Codec TextCodec() const { return m_codec; }
    // Text that holds only ASCII, or nothing, has no encoding of its own: what the user adds
    // to it is encoded with `codec`, the one of the text the user copies from. Text with any
    // other byte keeps its own.
    void SetCodecForAscii(Codec codec);

private:
    struct Line {
        QString text;
        std::string bytes;
        std::string end;  // empty for the last line
    };

    std::string m_bytes;
    Codec m_codec = Codec::kUtf8;
    std::vector<Line> m_lines;
    QString m_widgetText;
    QString m_rawText;
};

}  // namespace velmora::ui
