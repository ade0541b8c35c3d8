#pragma once
// The emulator prints its usage when run without arguments; every option that takes a value
// stands there between "[" and "]" and contains "=". The main-emu option editor offers those
// items for copying.

#include <string>
#include <string_view>

namespace velmora::config {

// The bracketed items of `helpText` that contain "=" and none of the options Velmora writes
// itself, exactly as written and in order of appearance, each followed by CR LF. Each step
// takes the first "[" and the first "]" of the remaining text; the item is what lies strictly
// between them (nothing when the "]" comes first), and the scan goes on after that "]".
std::string BuildOptionList(std::string_view helpText);

}  // namespace velmora::config
