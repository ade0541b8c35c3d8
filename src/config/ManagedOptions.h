#pragma once
// Finding and cutting the options Velmora writes itself ("--use-config-file=",
// "--use-renderer-cfg-file=", "--renderer=") out of an option text. Each is cut with the rest
// of its line and its line end; a CR before the LF goes with it, and without a line end the
// option runs to the end of the text.

#include <optional>
#include <string>
#include <string_view>

namespace velmora::config {

// Cuts the first occurrence of each managed option, in the order above, each found in the
// text as the previous cut left it. Sets `renderer` to what followed the cut "--renderer=" on
// its line, trailing white space removed (empty when there was none). Returns whether there
// was one.
bool CutManagedOptions(std::string& text, std::string& renderer);

// Cuts every occurrence of every managed option. Returns what followed the first
// "--renderer=" on its line, trailing white space removed, if there was one.
std::optional<std::string> CutEveryManagedOption(std::string& text);

// The block Configure game's OK appends to the user's option text: a line end, then
// "--use-renderer-cfg-file=" and the full path of this game's renderer options file unless the
// renderer configures itself (exports GPUconfigure), then "--renderer=" and the renderer's file
// name. Every line ends in CR LF.
std::string ManagedRendererBlock(const std::string& emulatorDir, int game,
                                 const std::string& renderer, bool configuresItself);

// The first occurrence of `what` in `text` at or after `from`, or npos; the same answer as
// std::string_view::find, much faster on option text.
size_t FindOption(std::string_view text, std::string_view what, size_t from = 0);

}  // namespace velmora::config
