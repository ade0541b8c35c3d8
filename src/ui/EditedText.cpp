#include "EditedText.h"

#include <algorithm>
#include <string_view>

#include "EightBitText.h"

namespace velmora::ui {

namespace {

constexpr std::string_view kNewLineEnd = "\r\n";  // for breaks the user adds

// An edit's raw text holds a paragraph separator between blocks, and a line separator where
// the user broke a line inside one.
std::vector<QStringView> SplitRaw(QStringView raw) {
    std::vector<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == QChar::ParagraphSeparator || raw[i] == QChar::LineSeparator) {
            lines.push_back(raw.mid(start, i - start));
            start = i + 1;
        }
    }
    lines.push_back(raw.mid(start));
    return lines;
}

}  // namespace

EditedText::EditedText(std::string bytes) : m_bytes(std::move(bytes)), m_codec(CodecFor(m_bytes)) {
    const std::string_view text(m_bytes);
    size_t start = 0;
    for (;;) {
        const size_t end = text.find_first_of("\r\n", start);
        Line line;
        line.bytes = std::string(
            text.substr(start, end == std::string_view::npos ? text.npos : end - start));
        line.text = Decode(line.bytes, m_codec);
        if (end == std::string_view::npos) {
            m_lines.push_back(std::move(line));
            break;
        }
        const size_t length = text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        line.end = std::string(text.substr(end, length));
        m_lines.push_back(std::move(line));
        start = end + length;
    }
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (i > 0) {
            m_widgetText += QLatin1Char('\n');
            m_rawText += QChar::ParagraphSeparator;
        }
        m_widgetText += m_lines[i].text;
        m_rawText += m_lines[i].text;
    }
}

void EditedText::SetCodecForAscii(Codec codec) {
    // ASCII reads the same in every codec, so the lines already shown stay as they are.
    if (text::IsAscii(m_bytes)) {
        m_codec = codec;
    }
}

std::string EditedText::Bytes(QStringView rawText) const {
    if (rawText == m_rawText) {
        return m_bytes;
    }
    const std::vector<QStringView> lines = SplitRaw(rawText);
    const size_t oldCount = m_lines.size();
    const size_t newCount = lines.size();
    // The lines before and after the user's change, unchanged in the text and in the bytes.
    size_t head = 0;
    while (head < oldCount && head < newCount && m_lines[head].text == lines[head]) {
        ++head;
    }
    size_t tail = 0;
    while (tail < std::min(oldCount, newCount) - head &&
           m_lines[oldCount - 1 - tail].text == lines[newCount - 1 - tail]) {
        ++tail;
    }

    // Every line but the last ends: in its own old line end where it has one, else in CR LF.
    std::string bytes;
    const auto append = [&](size_t j, const std::string& line, const std::string& end) {
        bytes += line;
        if (j + 1 < newCount) {
            bytes += end.empty() ? std::string(kNewLineEnd) : end;
        }
    };
    for (size_t j = 0; j < head; ++j) {
        append(j, m_lines[j].bytes, m_lines[j].end);
    }
    // Lines in between: a line still where an old one stood keeps that line's line end, and
    // its bytes when its text is the same; lines the user added end in CR LF.
    const size_t oldMiddle = oldCount - head - tail;
    for (size_t j = head; j < newCount - tail; ++j) {
        const size_t k = j - head;
        if (k < oldMiddle) {
            const Line& old = m_lines[head + k];
            append(j, old.text == lines[j] ? old.bytes : Encode(lines[j], m_codec), old.end);
        } else {
            append(j, Encode(lines[j], m_codec), std::string());
        }
    }
    for (size_t j = newCount - tail; j < newCount; ++j) {
        const Line& old = m_lines[oldCount - newCount + j];
        append(j, old.bytes, old.end);
    }
    return bytes;
}

}  // namespace velmora::ui
