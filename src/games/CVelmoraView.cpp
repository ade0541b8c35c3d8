#include "CVelmoraView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPixmap>

#include "FrameServices.h"
#include "GameList.h"
#include "Profile.h"

// Resources of a static library must be registered by hand, and only once.
static void InitRowImageResources() {
    Q_INIT_RESOURCE(resources);
}

namespace velmora::games {

namespace {

struct Column {
    const char* header;
    const char* profileKey;
    int defaultWidth;
};
constexpr Column kColumns[] = {
    {"Game", "ColWid1", 204},
    {"Country", "ColWid2", 50},
    {"Infos", "ColWid3", 229},
};

constexpr int kImageRole = Qt::UserRole;

QString Text(std::string_view bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The strip holds both 16x16 images side by side; magenta marks the see-through pixels.
void LoadRowImages(QIcon (&images)[2]) {
    const QPixmap strip(QStringLiteral(":/velmora/rowimages.bmp"));
    for (int i = 0; i < 2; ++i) {
        QPixmap image = strip.copy(i * 16, 0, 16, 16);
        image.setMask(image.createMaskFromColor(QColor(255, 0, 255)));
        images[i] = QIcon(image);
    }
}

}  // namespace

CVelmoraView::CVelmoraView(app::CFrameServices& frame, const ProcessRunner& runner, QWidget* parent)
    : QTreeWidget(parent), m_frame(frame), m_runner(runner) {
    static const bool registered = (InitRowImageResources(), true);
    (void)registered;
    setFrameShape(QFrame::Box);
}

void CVelmoraView::OnInitialUpdate() {
    app::CProfile& profile = m_frame.Profile();
    int widths[3];
    for (int i = 0; i < 3; ++i) {
        widths[i] =
            profile.GetInt(app::kPositionSection, kColumns[i].profileKey, kColumns[i].defaultWidth);
    }

    // Report view: one selectable row at a time, headers that are not buttons, never sorted.
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSortingEnabled(false);
    setAllColumnsShowFocus(true);
    setIconSize(QSize(16, 16));
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setMinimumSectionSize(0);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    LoadRowImages(m_images);

    setColumnCount(3);
    setHeaderLabels({kColumns[0].header, kColumns[1].header, kColumns[2].header});
    for (int i = 0; i < 3; ++i) {
        setColumnWidth(i, widths[i]);
    }

    clear();
    const std::string& dir = m_frame.EmulatorDirectory();
    const CaptureResult list = m_runner.RunCaptured(emu::ListGamesCommand(dir), WindowMode::Hidden);
    if (!list.started) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Error"),
                        QStringLiteral("Could not find ZINC.EXE!"), QMessageBox::Ok, this);
        box.exec();
    }
    // The emulator path is the one the frame settled on; the help run names it alone.
    emu::Command help = emu::HelpTextCommand(dir);
    help.program = m_frame.EmulatorPath();
    m_frame.SetHelpText(m_runner.RunCaptured(help, WindowMode::Hidden).text);

    FillRows(list.text);
    m_frame.SetOutputText(kGreetingText);
}

void CVelmoraView::FillRows(const std::string& gameList) {
    const std::vector<GameRow> rows = ParseGameList(gameList);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const GameRow& row : rows) {
        auto* item = new QTreeWidgetItem({Text(row.game), Text(row.country), Text(row.infos)});
        const int image = IsGameConfigured(row.number);
        item->setData(0, kImageRole, image);
        item->setIcon(0, m_images[image]);
        items.append(item);
    }
    addTopLevelItems(items);
}

int CVelmoraView::GetSelectedRow() const {
    for (QTreeWidgetItem* item : selectedItems()) {
        return indexOfTopLevelItem(item);
    }
    return -1;
}

int CVelmoraView::IsGameConfigured(int game) const {
    return games::IsGameConfigured(m_frame.EmulatorDirectory(), game) ? kConfigured
                                                                      : kNotConfigured;
}

void CVelmoraView::SaveColumnWidths() {
    app::CProfile& profile = m_frame.Profile();
    for (int i = 0; i < 3; ++i) {
        profile.WriteInt(app::kPositionSection, kColumns[i].profileKey, columnWidth(i));
    }
}

int CVelmoraView::RowImage(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item == nullptr ? kNotConfigured : item->data(0, kImageRole).toInt();
}

void CVelmoraView::SetRowImage(int row, int image) {
    if (QTreeWidgetItem* item = topLevelItem(row)) {
        image = image == kConfigured ? kConfigured : kNotConfigured;
        item->setData(0, kImageRole, image);
        item->setIcon(0, m_images[image]);
    }
}

std::string CVelmoraView::RowGameText(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item == nullptr ? std::string() : item->text(0).toLocal8Bit().toStdString();
}

void CVelmoraView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        StartSelectedGame();
    }
}

void CVelmoraView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        StartSelectedGame();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CVelmoraView::contextMenuEvent(QContextMenuEvent* event) {
    // A right-click has already selected the row under the pointer.
    event->accept();
    ConfigureSelectedGame();
}

}  // namespace velmora::games
