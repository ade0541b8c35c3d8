#pragma once
// The small questions of the Game menu: which file to export to or import from, whether to
// remove a game's settings, and the one message that tells why something failed.

#include <exception>
#include <new>
#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace velmora::settings {

// "012 Name.velmora": the game's number and its name, with the characters no file name may
// hold made blanks, by the name's own bytes.
std::string DefaultSettingsFileName(int game, std::string_view gameName);

// The file the user chose, by its bytes as the system names it; nothing after Cancel.
std::optional<std::string> AskExportFile(QWidget* parent, int game, std::string_view gameName);
std::optional<std::string> AskImportFile(QWidget* parent);

// "Remove the settings of ...?" with No as the default answer.
bool ConfirmRemove(QWidget* parent, std::string_view gameText);

// One warning with `line` (8-bit text: paths and the system's words).
void TellFailure(QWidget* parent, const std::string& line);

// Runs `work` from Qt's event loop, which no exception may reach: one that comes (memory for a
// huge file, say) is told as a failure instead.
template <typename Work>
void Guarded(QWidget* parent, Work&& work) noexcept {
    try {
        work();
    } catch (const std::bad_alloc&) {
        TellFailure(parent, "There is not enough memory for the game's settings.");
    } catch (const std::exception& e) {
        TellFailure(parent, e.what());
    }
}

}  // namespace velmora::settings
