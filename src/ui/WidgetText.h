#pragma once
// 8-bit text (the emulator's output, option files, game and plugin names: bytes in no declared
// encoding) crosses into widgets here and nowhere else. On Windows it is read in the ANSI code
// page, as the platform reads 8-bit text; elsewhere as UTF-8 where the bytes are valid UTF-8
// and as Windows-1252 otherwise, since files from Windows machines hold its letters. Text goes
// back through the same codec, so unchanged text gives back the bytes it came from. The rule
// and the Windows-1252 table are the ones of EightBitText.h.

#include <QString>
#include <string>
#include <string_view>

namespace velmora::ui {

enum class Codec { kAnsiCodePage, kUtf8, kWindows1252 };

// The codec that shows `bytes` as they were meant.
Codec CodecFor(std::string_view bytes);

QString Decode(std::string_view bytes, Codec codec);
// Characters the codec cannot hold become '?', as the platform's own conversion does.
std::string Encode(QStringView text, Codec codec);

// Decode with the codec that fits the bytes.
inline QString ToWidget(std::string_view bytes) {
    return Decode(bytes, CodecFor(bytes));
}

}  // namespace velmora::ui
