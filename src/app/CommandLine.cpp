#include "CommandLine.h"

#include <limits>

namespace velmora::app {

namespace {

// What follows a mode's option.
enum class Operands {
    None,
    Game,            // --start N
    GameAndVersion,  // --restore N ID
    GameAndFile,     // --export N FILE
    GameAndTargets,  // --copy-settings FROM TO...
};

// Every mode, once: its option, what follows it, what it says in --help, and what it needs.
struct ModeOption {
    Mode mode;
    const char* names[2];
    Operands operands;
    const char* description;
    Needs needs;
};

constexpr ModeOption kModes[] = {
    {Mode::Start,
     {"start"},
     Operands::Game,
     "Start game N with its settings, without a window, and exit with the emulator's exit "
     "status. With --dry-run, only print the working folder, the command line and the plugin "
     "settings such a start would use.",
     Needs::DisplayUnlessConfigured},
    {Mode::Configure,
     {"configure"},
     Operands::Game,
     "Open only the Configure game dialog for game N.",
     Needs::Display},
    {Mode::List,
     {"list"},
     Operands::None,
     "Print the emulator's games, one per line: number, name, country, infos and whether the "
     "game is configured, separated by tabs.",
     Needs::Nothing},
    {Mode::Shortcut,
     {"shortcut"},
     Operands::Game,
     "Make a desktop shortcut that starts game N.",
     Needs::Nothing},
    {Mode::RemoveShortcut,
     {"remove-shortcut"},
     Operands::Game,
     "Remove the desktop shortcut of game N.",
     Needs::Nothing},
    {Mode::History,
     {"history"},
     Operands::Game,
     "Print the kept versions of game N's settings, newest first: ID, date and time, and what "
     "differs from today's, separated by tabs.",
     Needs::Nothing},
    {Mode::Restore,
     {"restore"},
     Operands::GameAndVersion,
     "--restore N ID: put version ID of game N's settings back; today's become a version.",
     Needs::Nothing},
    {Mode::CopySettings,
     {"copy-settings"},
     Operands::GameAndTargets,
     "--copy-settings FROM TO...: copy game FROM's settings to every game TO.",
     Needs::Nothing},
    {Mode::Export,
     {"export"},
     Operands::GameAndFile,
     "--export N FILE: write game N's settings into FILE.",
     Needs::Nothing},
    {Mode::Import,
     {"import"},
     Operands::GameAndFile,
     "--import N FILE: make FILE's settings game N's.",
     Needs::Nothing},
    {Mode::RemoveSettings,
     {"remove-settings"},
     Operands::Game,
     "Remove game N's settings; they are kept as a version.",
     Needs::Nothing},
    {Mode::SetupPad,
     {"setup-pad"},
     Operands::None,
     "Teach Velmora a game pad or an arcade stick: which button does what.",
     Needs::Display},
    {Mode::Help, {"h", "help"}, Operands::None, "Show this help and exit.", Needs::Nothing},
    {Mode::Version,
     {"v", "version"},
     Operands::None,
     "Show Velmora's version and exit.",
     Needs::Nothing},
};

constexpr const char* kDryRun = "dry-run";

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
        m_parser.addOption(
            QCommandLineOption(Names(mode), QString::fromLatin1(mode.description),
                               mode.operands != Operands::None ? QStringLiteral("N") : QString()));
    }
    m_parser.addOption(QCommandLineOption(QString::fromLatin1(kDryRun),
                                          QStringLiteral("With --start: start nothing.")));
    for (const QtOption& qt : kQtOptions) {
        QCommandLineOption option(QString::fromLatin1(qt.name), QString(),
                                  qt.takesValue ? QStringLiteral("value") : QString());
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        m_parser.addOption(option);
    }
}

bool CommandLine::Parse(const std::vector<std::string>& raw) {
    m_request = CommandRequest();
    QStringList arguments;
    for (const std::string& argument : raw) {
        arguments.append(QString::fromLocal8Bit(argument));
    }
    if (!m_parser.parse(arguments)) {
        const QStringList unknown = m_parser.unknownOptionNames();
        m_error = unknown.isEmpty()
                      ? m_parser.errorText()
                      : QStringLiteral("Unknown option '%1'.").arg(AsTyped(arguments, unknown[0]));
        return false;
    }

    const ModeOption* chosen = nullptr;
    for (const QString& name : m_parser.optionNames()) {
        const ModeOption* mode = ModeNamed(name);
        if (mode == nullptr) {
            continue;  // one of Qt's, or --dry-run
        }
        // Every mode is an option of its own: two of them, or one given twice, cannot both
        // be meant.
        if (chosen != nullptr) {
            m_error = QStringLiteral("Give only one of the options that say what to do, once.");
            return false;
        }
        chosen = mode;
    }
    const QStringList operands = m_parser.positionalArguments();
    const bool dryRun = m_parser.isSet(QString::fromLatin1(kDryRun));
    if (dryRun && (chosen == nullptr || chosen->mode != Mode::Start)) {
        m_error = QStringLiteral("--dry-run goes with --start only.");
        return false;
    }
    const Operands wanted = chosen != nullptr ? chosen->operands : Operands::None;
    const qsizetype least = wanted == Operands::None || wanted == Operands::Game ? 0 : 1;
    const qsizetype most = wanted == Operands::GameAndTargets ? operands.size() : least;
    if (operands.size() > most) {
        m_error = QStringLiteral("Unexpected argument '%1'.").arg(operands[most]);
        return false;
    }
    if (operands.size() < least) {
        m_error = QStringLiteral("--%1 needs more arguments.").arg(Names(*chosen).last());
        return false;
    }
    if (chosen == nullptr) {
        return true;
    }
    m_request.mode = chosen->mode == Mode::Start && dryRun ? Mode::DryRunStart : chosen->mode;
    if (wanted == Operands::None) {
        return true;
    }

    const auto number = [this](const QString& text, int& into) {
        const std::optional<int> parsed = ParseGameNumber(text);
        if (!parsed) {
            m_error = QStringLiteral("'%1' is not a positive decimal number.").arg(text);
        }
        into = parsed.value_or(0);
        return parsed.has_value();
    };
    if (!number(m_parser.value(Names(*chosen).first()), m_request.game)) {
        return false;
    }
    switch (wanted) {
        case Operands::GameAndVersion:
            return number(operands[0], m_request.version);
        case Operands::GameAndTargets:
            for (const QString& operand : operands) {
                if (!number(operand, m_request.targets.emplace_back())) {
                    return false;
                }
            }
            return true;
        case Operands::GameAndFile:
            // The file's name by the bytes it was given: the last argument is the file.
            m_request.file = raw.back();
            if (m_request.file.empty() || arguments.back() != operands[0]) {
                m_error = QStringLiteral("Give the file last, after the game's number.");
                return false;
            }
            return true;
        case Operands::None:
        case Operands::Game:
            break;
    }
    return true;
}

bool CommandLine::PlatformChosen() const {
    return m_parser.isSet(QStringLiteral("platform"));
}

Needs CommandLine::NeedsOf(Mode mode) {
    if (mode == Mode::DryRunStart) {
        return Needs::Nothing;
    }
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
