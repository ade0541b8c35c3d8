#include "CommandLine.h"

#include <limits>
#include <utility>

namespace velmora::app {

namespace {

QCommandLineOption GameOption(const QString& name, const QString& description) {
    return QCommandLineOption(name, description, QStringLiteral("N"));
}

}  // namespace

CommandLine::CommandLine()
    : m_start(GameOption(QStringLiteral("start"),
                         QStringLiteral("Start game N with its settings, without a window, and "
                                        "exit with the emulator's exit status."))),
      m_configure(GameOption(QStringLiteral("configure"),
                             QStringLiteral("Open only the Configure game dialog for game N."))),
      m_list(QStringLiteral("list"),
             QStringLiteral("Print the emulator's games, one per line: number, name, country, "
                            "infos and whether the game is configured, separated by tabs.")),
      m_shortcut(GameOption(QStringLiteral("shortcut"),
                            QStringLiteral("Make a desktop shortcut that starts game N."))),
      m_removeShortcut(GameOption(QStringLiteral("remove-shortcut"),
                                  QStringLiteral("Remove the desktop shortcut of game N."))),
      m_help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
             QStringLiteral("Show this help and exit.")),
      m_version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                QStringLiteral("Show Velmora's version and exit.")) {
    m_parser.setApplicationDescription(
        QStringLiteral("A small ZiNc frontend. Without options it opens its window."));
    m_parser.addOptions(
        {m_start, m_configure, m_list, m_shortcut, m_removeShortcut, m_help, m_version});
}

bool CommandLine::Parse(const QStringList& arguments) {
    m_request = CommandRequest();
    if (!m_parser.parse(arguments)) {
        m_error = m_parser.errorText();
        return false;
    }
    if (const QStringList stray = m_parser.positionalArguments(); !stray.isEmpty()) {
        m_error = QStringLiteral("Unexpected argument '%1'.").arg(stray.first());
        return false;
    }

    const std::pair<const QCommandLineOption*, Mode> modes[] = {
        {&m_help, Mode::Help},
        {&m_version, Mode::Version},
        {&m_start, Mode::Start},
        {&m_configure, Mode::Configure},
        {&m_list, Mode::List},
        {&m_shortcut, Mode::Shortcut},
        {&m_removeShortcut, Mode::RemoveShortcut},
    };
    // Every option is a mode of its own: two of them, or one given twice, cannot both be meant.
    if (m_parser.optionNames().size() > 1) {
        m_error = QStringLiteral(
            "Give only one of --start, --configure, --list, --shortcut, "
            "--remove-shortcut, --help and --version, once.");
        return false;
    }
    const QCommandLineOption* chosen = nullptr;
    for (const auto& [option, mode] : modes) {
        if (m_parser.isSet(*option)) {
            chosen = option;
            m_request.mode = mode;
        }
    }
    if (chosen == nullptr || chosen->valueName().isEmpty()) {
        return true;
    }
    const QString value = m_parser.value(*chosen);
    const std::optional<int> game = ParseGameNumber(value);
    if (!game) {
        m_error =
            QStringLiteral("The game number '%1' is not a positive decimal number.").arg(value);
        return false;
    }
    m_request.game = *game;
    return true;
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
