#include "WidgetText.h"

#include <QStringDecoder>
#include <array>

namespace velmora::ui {

namespace {

// Windows-1252's bytes 0x80 to 0x9F. Its five undefined bytes keep their Latin-1 meaning, so
// every byte has a character and comes back as itself.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString DecodeWindows1252(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = QChar(byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte);
    }
    return text;
}

char EncodeWindows1252(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (size_t i = 0; i < kWindows1252High.size(); ++i) {
        if (kWindows1252High[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
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
    // The decoder converts only when its result is taken, and only one that keeps its state
    // counts errors.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded =
        utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return utf8.hasError() ? Codec::kWindows1252 : Codec::kUtf8;
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
                bytes += EncodeWindows1252(c.unicode());
            }
            return bytes;
        }
    }
    return {};
}

}  // namespace velmora::ui
