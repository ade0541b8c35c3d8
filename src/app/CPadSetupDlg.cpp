#include "CPadSetupDlg.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

#include "Console.h"
#include "GamePad.h"
#include "Profile.h"

namespace velmora::app {

namespace {

QString Text(const std::string& latin1) {
    return QString::fromLatin1(latin1);
}

// A device's own name is UTF-8 as SDL reports it.
QString DeviceName(const pad::DeviceInfo* info) {
    return info != nullptr && !info->name.empty() ? QString::fromStdString(info->name)
                                                  : QStringLiteral("the stick");
}

}  // namespace

QString CPadSetupDlg::ActionName(pad::Action action) {
    switch (action) {
        case pad::Action::Up:
            return QStringLiteral("Up");
        case pad::Action::Down:
            return QStringLiteral("Down");
        case pad::Action::PageUp:
            return QStringLiteral("Page up");
        case pad::Action::PageDown:
            return QStringLiteral("Page down");
        case pad::Action::Accept:
            return QStringLiteral("Start game");
        case pad::Action::Back:
            return QStringLiteral("Back");
        case pad::Action::Configure:
            return QStringLiteral("Configure game");
        case pad::Action::Previous:
            return QStringLiteral("Previous field");
        case pad::Action::Next:
            return QStringLiteral("Next field");
    }
    return {};
}

CPadSetupDlg::CPadSetupDlg(CGamePad& gamePad, QWidget* parent)
    : QDialog(parent), m_gamePad(gamePad) {
    setWindowTitle(QStringLiteral("Set up game pad"));
    m_device = new QLabel(this);
    m_prompt = new QLabel(this);
    QFont big = m_prompt->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    m_prompt->setFont(big);
    m_hint = new QLabel(this);
    m_hint->setWordWrap(true);
    m_answers = new QListWidget(this);
    m_answers->setSelectionMode(QAbstractItemView::NoSelection);
    m_save = new QPushButton(QStringLiteral("&Save"), this);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_device->setAccessibleName(QStringLiteral("Stick"));
    m_prompt->setAccessibleName(QStringLiteral("Question"));
    m_hint->setAccessibleName(QStringLiteral("Hint"));
    m_answers->setAccessibleName(QStringLiteral("Buttons taught"));
    m_save->setAccessibleName(QStringLiteral("Save"));
    m_cancel->setAccessibleName(QStringLiteral("Cancel"));
    m_save->setObjectName(QStringLiteral("save"));
    m_cancel->setObjectName(QStringLiteral("cancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_device);
    layout->addWidget(m_prompt);
    layout->addWidget(m_hint);
    layout->addWidget(m_answers);
    layout->addLayout(buttons);

    connect(m_save, &QPushButton::clicked, this, &CPadSetupDlg::OnSave);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_gamePad.SetListener([this](const pad::PadEvent& event) { OnPadEvent(event); });
    ShowState();
    m_answers->setFocus();
}

CPadSetupDlg::~CPadSetupDlg() {
    m_gamePad.SetListener({});
}

void CPadSetupDlg::keyPressEvent(QKeyEvent* event) {
    // Escape skips the question; with none left to skip it closes the dialog, as Cancel does.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier &&
        !m_teacher.Done()) {
        m_teacher.Skip();
        m_note.clear();
        ShowState();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CPadSetupDlg::OnPadEvent(const pad::PadEvent& event) {
    switch (event.kind) {
        case pad::PadEvent::Kind::RawDown: {
            const pad::DeviceInfo* info = m_gamePad.Session().Find(event.device);
            const pad::Teacher::Reply reply = m_teacher.Press(
                event.device, info != nullptr ? info->guid : std::string(), event.input);
            if (reply == pad::Teacher::Reply::Taken && m_deviceName.isEmpty()) {
                m_deviceName = DeviceName(info);
            }
            m_note.clear();
            if (reply == pad::Teacher::Reply::InUse) {
                m_note = Text(pad::DescribeInput(event.input)) +
                         QStringLiteral(" is taken; press another.");
            } else if (reply == pad::Teacher::Reply::OtherDevice) {
                m_note =
                    QStringLiteral("That came from another device; this is ") + m_deviceName + u'.';
            }
            break;
        }
        case pad::PadEvent::Kind::RawUp:
            m_teacher.Release(event.device, event.input);
            break;
        case pad::PadEvent::Kind::DeviceRemoved:
            if (m_teacher.Device() == event.device) {
                m_teacher.DeviceGone(event.device);
                m_deviceName.clear();
                m_note = QStringLiteral("The stick was unplugged: start again.");
            }
            break;
        default:
            break;
    }
    ShowState();
}

void CPadSetupDlg::ShowState() {
    if (!m_gamePad.Available()) {
        m_device->setText(QStringLiteral("Game pads cannot be read: ") + m_gamePad.Error());
    } else if (!m_deviceName.isEmpty()) {
        m_device->setText(QStringLiteral("Setting up: ") + m_deviceName);
    } else if (m_gamePad.Session().Devices().empty()) {
        m_device->setText(QStringLiteral("No game pad or stick is connected. Plug one in."));
    } else {
        m_device->setText(QStringLiteral("Answer on the pad or stick you want to set up."));
    }

    if (const std::optional<pad::Action> asked = m_teacher.Asked()) {
        m_prompt->setText(QStringLiteral("Press the button for ") + ActionName(*asked));
    } else if (m_teacher.AsksCombination()) {
        m_prompt->setText(QStringLiteral("Hold the buttons that end a running game, then let go"));
    } else {
        m_prompt->setText(QStringLiteral("All set"));
    }
    QString hint = m_note;
    if (hint.isEmpty()) {
        hint = m_teacher.Done() ? QStringLiteral("Save keeps this for ") + m_deviceName + u'.'
                                : QStringLiteral("Escape skips this one.");
    }
    if (m_teacher.Done() && !m_teacher.Device()) {
        hint = QStringLiteral("Nothing was taught.");
    }
    m_hint->setText(hint);

    m_answers->clear();
    const pad::Mapping result = m_teacher.Result();
    const auto row = [&](const QString& name, const QString& answer) {
        m_answers->addItem(name + QStringLiteral(": ") + answer);
    };
    const std::vector<pad::Action>& questions = pad::Teacher::Questions();
    for (size_t i = 0; i < questions.size(); ++i) {
        const std::optional<pad::Input> taught = m_teacher.Taught(questions[i]);
        const bool asked = i < m_teacher.Step();
        row(ActionName(questions[i]), taught  ? Text(pad::DescribeInput(*taught))
                                      : asked ? QStringLiteral("skipped")
                                              : QStringLiteral("not asked yet"));
    }
    QStringList combination;
    for (const pad::Input& input : result.combination) {
        combination << Text(pad::DescribeInput(input));
    }
    row(QStringLiteral("End the game"), !combination.isEmpty()
                                            ? combination.join(QStringLiteral(" + "))
                                        : m_teacher.Done() ? QStringLiteral("none")
                                                           : QStringLiteral("not asked yet"));

    const bool canSave = m_teacher.Done() && m_teacher.Device().has_value();
    m_save->setEnabled(canSave);
    m_save->setDefault(canSave);
    if (canSave && !m_save->hasFocus()) {
        m_save->setFocus();
    }
}

void CPadSetupDlg::OnSave() {
    if (!m_teacher.Done() || !m_teacher.Device()) {
        return;
    }
    if (!m_gamePad.Store().Save(m_teacher.Guid(), pad::MappingText(m_teacher.Result()))) {
        QMessageBox::warning(this, QStringLiteral("Velmora"),
                             QStringLiteral("Could not keep the stick's buttons: Velmora's "
                                            "profile cannot be written."));
        return;
    }
    m_gamePad.Session().Reload(m_teacher.Guid());
    accept();
}

int RunPadSetupMode() {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Velmora"),
                       QStringLiteral("Velmora"));
    ui::CProfile profile(settings);
    CGamePad gamePad(profile);
    if (!gamePad.Available()) {
        ReportError(std::string("Game pads cannot be read: ") +
                    gamePad.Error().toLocal8Bit().toStdString());
        return 1;
    }
    CPadSetupDlg dialog(gamePad);
    return dialog.exec() == QDialog::Accepted ? 0 : 1;
}

}  // namespace velmora::app
