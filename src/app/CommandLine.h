#pragma once
// Velmora's own command line: which mode to run and for which game. Read before any
// application object exists, since the mode decides whether a window can be needed at all.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <optional>

namespace velmora::app {

enum class Mode { Window, Help, Version, Start, Configure, List, Shortcut, RemoveShortcut };

struct CommandRequest {
    Mode mode = Mode::Window;
    int game = 0;  // for the modes that take a game number
};

class CommandLine {
public:
    CommandLine();

    // `arguments` include the program's name first. False, with ErrorText, when they are not
    // understood: an unknown option, a stray argument, two modes at once, or a game number
    // that is not a positive decimal number.
    bool Parse(const QStringList& arguments);
    const CommandRequest& Request() const { return m_request; }
    const QString& ErrorText() const { return m_error; }

    // The --help text; needs the application object, which names the program.
    QString HelpText() const { return m_parser.helpText(); }

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_start;
    QCommandLineOption m_configure;
    QCommandLineOption m_list;
    QCommandLineOption m_shortcut;
    QCommandLineOption m_removeShortcut;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    CommandRequest m_request;
    QString m_error;
};

// A positive decimal number that fits an int, digits only; nothing otherwise.
std::optional<int> ParseGameNumber(QStringView text);

}  // namespace velmora::app
