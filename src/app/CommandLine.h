#pragma once
// Velmora's own command line, read once, before any application object exists: the mode
// decides what the program needs (CommandLine::Needs), a display above all. Qt's own options
// (-style, -platform, -reverse, ...) are known too, so that they reach Qt as they always have.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

namespace velmora::app {

enum class Mode {
    Window,
    Help,
    Version,
    Start,
    DryRunStart,
    Configure,
    List,
    Shortcut,
    RemoveShortcut,
    History,
    Restore,
    CopySettings,
    Export,
    Import,
    RemoveSettings,
    SetupPad,
};

// What a mode needs beyond Qt Core.
enum class Needs {
    Nothing,
    Display,                  // a window or a dialog
    DisplayUnlessConfigured,  // the question a game that is not configured yet is asked
};

struct CommandRequest {
    Mode mode = Mode::Window;
    int game = 0;              // for the modes that take a game number
    int version = 0;           // --restore's version
    std::vector<int> targets;  // --copy-settings' games
    std::string file;          // --export's and --import's file, by the bytes it was given
};

class CommandLine {
public:
    CommandLine();

    // `arguments` are the program's, its name first, by their bytes. False, with ErrorText,
    // when they are not understood: an unknown option, a stray or missing argument, two modes
    // at once, or a game number that is not a positive decimal number.
    bool Parse(const std::vector<std::string>& arguments);
    const CommandRequest& Request() const { return m_request; }
    const QString& ErrorText() const { return m_error; }
    static Needs NeedsOf(Mode mode);
    // Whether the user named Qt's platform (-platform).
    bool PlatformChosen() const;

    // The --help text; needs the application object, which names the program.
    QString HelpText() const { return m_parser.helpText(); }

private:
    QCommandLineParser m_parser;
    CommandRequest m_request;
    QString m_error;
};

// A positive decimal number that fits an int, digits only; nothing otherwise.
std::optional<int> ParseGameNumber(QStringView text);

}  // namespace velmora::app
