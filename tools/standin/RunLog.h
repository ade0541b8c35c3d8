#pragma once
// The stand-in's run log: with ZINC_STANDIN_CMDLINE_LOG=<file> set, every run appends two lines to
// that file, so a test that cannot read the emulator's output (a game started detached, or
// from a real window) still learns exactly how it was started:
//
//   "cmdline=<" the command line ">\r\n"
//   "cwd=<" the working directory ">\r\n"
//
// On Windows the command line is the one line the process was created with, byte for byte
// (GetCommandLineA), so the quoting and the blanks between the words show; elsewhere there is
// no such line, and the arguments, argv[0] included, are joined by one blank each.

namespace velmora::standin {

void AppendRunLog(int argc, char** argv);

}  // namespace velmora::standin
