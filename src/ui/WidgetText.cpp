#include "WidgetText.h"

#include "EightBitText.h"

namespace velmora::ui {

namespace {

QString DecodeWindows1252(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        // Every Windows-1252 character lies in the Basic Multilingual Plane.
        *out++ = QChar(static_cast<char16_t>(text::FromWindows1252(static_cast<unsigned char>(c))));
    }
    return text;
}

std::string ToStd(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

}  // namespace

Codec CodecFor(std::string_view bytes) {
#ifdef _WIN32
    (void)bytes;
    return Codec::kAnsiCodePage;
#else
    // A text that ends inside a character is no UTF-8 either: its last letter is Windows-1252.
    return text::IsUtf8(bytes) ? Codec::kUtf8 : Codec::kWindows1252;
#endif
}

QString Decode(std::string_view bytes, Codec codec) {
    const auto size = static_cast<qsizetype>(bytes.size());
    switch (codec) {
        case Codec::kAnsiCodePage:
            return QString::fromLocal8Bit(bytes.data(), size);
        case Codec::kUtf8:
            return QString::fromUtf8(bytes.data(), size);
        case Codec::kWindows1252:
            return DecodeWindows1252(bytes);
    }
    return {};
}

std::string Encode(QStringView text, Codec codec) {
    switch (codec) {
        case Codec::kAnsiCodePage:
            return ToStd(text.toLocal8Bit());
        case Codec::kUtf8:
            return ToStd(text.toUtf8());
        case Codec::kWindows1252: {
            std::string bytes;
            bytes.reserve(static_cast<size_t>(text.size()));
            for (const QChar c : text) {
                bytes += static_cast<char>(text::ToWindows1252(c.unicode()).value_or('?'));
            }
            return bytes;
        }
    }
    return {};
}

}  // namespace velmora::ui
