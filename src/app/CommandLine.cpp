#include "CommandLine.h"

#include <limits>

namespace velmora::app {

namespace {

// Every mode, once: its option, what it says in --help, and what it needs.
struct ModeOption {
    Mode mode;
    const char* names[2];
    const char* valueName;  // nullptr for a mode without a value
    const char* description;
    Needs needs;
};

constexpr ModeOption kModes[] = {
    {Mode::Start,
     {"start"},
     "N",
     "Start game N with its settings, without a window, and exit with the emulator's exit "
     "status.",
     Needs::DisplayUnlessConfigured},
    {Mode::Configure,
     {"configure"},
     "N",
     "Open only the Configure game dialog for game N.",
     Needs::Display},
    {Mode::List,
     {"list"},
     nullptr,
     "Print the emulator's games, one per line: number, name, country, infos and whether the "
     "game is configured, separated by tabs.",
     Needs::Nothing},
    {Mode::Shortcut,
     {"shortcut"},
     "N",
     "Make a desktop shortcut that starts game N.",
     Needs::Nothing},
    {Mode::RemoveShortcut,
     {"remove-shortcut"},
     "N",
     "Remove the desktop shortcut of game N.",
     Needs::Nothing},
    {Mode::Help, {"h", "help"}, nullptr, "Show this help and exit.", Needs::Nothing},
    {Mode::Version, {"v", "version"}, nullptr, "Show Velmora's version and exit.", Needs::Nothing},
};

// Qt's own options, which the application object takes out of the arguments itself: those of
// Qt's GUI, of its widgets and of its X11 platform. Velmora only has to let them pass.
struct QtOption {
    const char* name;
    bool takesValue;
};

constexpr QtOption kQtOptions[] = {
    {"platform", true},      {"platformpluginpath", true},
    {"platformtheme", true}, {"plugin", true},
    {"qmljsdebugger", true}, {"qwindowgeometry", true},
    {"qwindowicon", true},   {"qwindowtitle", true},
    {"session", true},       {"display", true},
    {"geometry", true},      {"title", true},
    {"icon", true},          {"name", true},
    {"style", true},         {"stylesheet", true},
    {"reverse", false},      {"widgetcount", false},
    {"testability", false},  {"sync", false},
    {"nograb", false},       {"dograb", false},
};

QStringList Names(const ModeOption& mode) {
    QStringList names;
    for (const char* name : mode.names) {
        if (name != nullptr) {
            names.append(QString::fromLatin1(name));
        }
    }
    return names;
}

const ModeOption* ModeNamed(const QString& name) {
    for (const ModeOption& mode : kModes) {
        if (Names(mode).contains(name)) {
            return &mode;
        }
    }
    return nullptr;
}

// The argument that gave the unknown option `name`, as the user typed it: "-stlye", not
// "stlye".
QString AsTyped(const QStringList& arguments, const QString& name) {
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != QStringLiteral("--"); ++i) {
        QString option = arguments[i].section(u'=', 0, 0);
        qsizetype dashes = 0;
        while (dashes < option.size() && option[dashes] == u'-') {
            ++dashes;
        }
        if (dashes > 0 && option.mid(dashes) == name) {
            return option;
        }
    }
    return QStringLiteral("-") + name;
}

}  // namespace

CommandLine::CommandLine() {
    m_parser.setApplicationDescription(
        QStringLiteral("A small ZiNc frontend. Without options it opens its window."));
    // "-style fusion" is Qt's option "style", never the letters s, t, y, l and e.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const ModeOption& mode : kModes) {
        m_parser.addOption(QCommandLineOption(
            Names(mode), QString::fromLatin1(mode.description),
            mode.valueName != nullptr ? QString::fromLatin1(mode.valueName) : QString()));
    }
    for (const QtOption& qt : kQtOptions) {
        QCommandLineOption option(QString::fromLatin1(qt.name), QString(),
                                  qt.takesValue ? QStringLiteral("value") : QString());
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        m_parser.addOption(option);
    }
}

bool CommandLine::Parse(const QStringList& arguments) {
    m_request = CommandRequest();
    if (!m_parser.parse(arguments)) {
        const QStringList unknown = m_parser.unknownOptionNames();
        m_error = unknown.isEmpty()
                      ? m_parser.errorText()
                      : QStringLiteral("Unknown option '%1'.").arg(AsTyped(arguments, unknown[0]));
        return false;
    }
    if (const QStringList stray = m_parser.positionalArguments(); !stray.isEmpty()) {
        m_error = QStringLiteral("Unexpected argument '%1'.").arg(stray.first());
        return false;
    }

    const ModeOption* chosen = nullptr;
    for (const QString& name : m_parser.optionNames()) {
        const ModeOption* mode = ModeNamed(name);
        if (mode == nullptr) {
            continue;  // one of Qt's
        }
        // Every mode is an option of its own: two of them, or one given twice, cannot both
        // be meant.
        if (chosen != nullptr) {
            m_error = QStringLiteral(
                "Give only one of --start, --configure, --list, --shortcut, "
                "--remove-shortcut, --help and --version, once.");
            return false;
        }
        chosen = mode;
    }
    if (chosen == nullptr) {
        return true;
    }
    m_request.mode = chosen->mode;
    if (chosen->valueName == nullptr) {
        return true;
    }
    const QString value = m_parser.value(QString::fromLatin1(chosen->names[0]));
    const std::optional<int> game = ParseGameNumber(value);
    if (!game) {
        m_error =
            QStringLiteral("The game number '%1' is not a positive decimal number.").arg(value);
        return false;
    }
    m_request.game = *game;
    return true;
}

bool CommandLine::PlatformChosen() const {
    return m_parser.isSet(QStringLiteral("platform"));
}

Needs CommandLine::NeedsOf(Mode mode) {
    for (const ModeOption& option : kModes) {
        if (option.mode == mode) {
            return option.needs;
        }
    }
    return Needs::Display;  // the window
}

std::optional<int> ParseGameNumber(QStringView text) {
    if (text.isEmpty()) {
        return std::nullopt;
    }
    long long value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::numeric_limits<int>::max()) {
            return std::nullopt;
        }
    }
    if (value <= 0) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

}  // namespace velmora::app
