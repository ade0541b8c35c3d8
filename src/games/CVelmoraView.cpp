#include "CVelmoraView.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

#include "FrameServices.h"
#include "GameList.h"
#include "Profile.h"

namespace velmora::games {

namespace {

struct Column {
    const char* profileKey;
    int defaultWidth;
};
constexpr Column kColumns[] = {
    {"ColWid1", 204},
    {"ColWid2", 50},
    {"ColWid3", 229},
};

}  // namespace

CVelmoraView::CVelmoraView(ui::CFrameServices& frame, ProcessRunner& runner,
                           snapshot::GameSnapshots& snapshots, QWidget* parent)
    : QTreeView(parent),
      m_frame(frame),
      m_runner(runner),
      m_snapshots(snapshots),
      m_model(new GameListModel(this)) {
    setFrameShape(QFrame::Box);
    setAccessibleName(QStringLiteral("Games"));
    setModel(m_model);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CVelmoraView::SelectionChanged);
}

void CVelmoraView::StartGameListRun() {
    m_listRun = m_runner.StartCaptured(
        emu::ListGamesCommand(m_frame.EmulatorPath(), m_frame.EmulatorDirectory()),
        WindowMode::Hidden);
}

void CVelmoraView::OnInitialUpdate() {
    ui::CProfile& profile = m_frame.Profile();
    int widths[3];
    for (int i = 0; i < 3; ++i) {
        widths[i] =
            profile.GetInt(ui::kPositionSection, kColumns[i].profileKey, kColumns[i].defaultWidth);
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

    for (int i = 0; i < 3; ++i) {
        setColumnWidth(i, widths[i]);
    }

    m_model->Clear();
    CollectHelpText();  // an earlier update's help run ends before the next list run starts
    if (!m_listRun.IsPending()) {
        StartGameListRun();
    }
    CaptureResult list = m_runner.Collect(m_listRun);
    if (!list.started) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Error"),
                        QStringLiteral("Could not find ZINC.EXE!"), QMessageBox::Ok, this);
        box.exec();
    }
    // Only the Configure game dialog needs the help text. Its run, started only now that the
    // list run has ended, goes on while the rows are made and the window first paints.
    m_helpRun = m_runner.StartCaptured(
        emu::HelpTextCommand(m_frame.EmulatorPath(), m_frame.EmulatorDirectory()),
        WindowMode::Hidden);
    // Collected once the event loop runs, the window shown: the wait runs the event loop, so
    // the list paints meanwhile. (Waiting for a first paint instead waits for ever where the
    // window is never exposed.)
    QTimer::singleShot(0, this, &CVelmoraView::CollectHelpText);

    const std::string& dir = m_frame.EmulatorDirectory();
    m_model->SetListing(std::move(list.text), [configured = ConfiguredGames(dir)](int game) {
        return configured.IsConfigured(game);
    });
    m_frame.SetOutputText(kGreetingText);
}

void CVelmoraView::CollectHelpText() {
    if (m_helpRun.IsPending()) {
        m_frame.SetHelpText(m_runner.Collect(m_helpRun).text);
    }
}

void CVelmoraView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                               const QList<int>& roles) {
    QTreeView::dataChanged(topLeft, bottomRight, roles);
    // Qt tells a screen reader only that the table's data changed, which AT-SPI does not pass
    // on: one that keeps a cell's description would go on reading "Not configured" after OK.
    if (!QAccessible::isActive() || !roles.contains(Qt::AccessibleDescriptionRole) ||
        topLeft.column() > GameListModel::kGame) {
        return;
    }
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface* table = list != nullptr ? list->tableInterface() : nullptr;
    for (int row = topLeft.row(); table != nullptr && row <= bottomRight.row(); ++row) {
        if (QAccessibleInterface* cell = table->cellAt(row, GameListModel::kGame)) {
            QAccessibleEvent event(cell, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&event);
        }
    }
}

int CVelmoraView::GetSelectedRow() const {
    int first = -1;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        if (first < 0 || index.row() < first) {
            first = index.row();
        }
    }
    return first;
}

void CVelmoraView::SelectRow(int row) {
    if (row < 0 || row >= RowCount()) {
        clearSelection();
        return;
    }
    const QModelIndex index = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int CVelmoraView::IsGameConfigured(int game) const {
    return games::IsGameConfigured(m_frame.EmulatorDirectory(), game) ? 1 : 0;
}

void CVelmoraView::SaveColumnWidths() {
    ui::CProfile& profile = m_frame.Profile();
    for (int i = 0; i < 3; ++i) {
        profile.WriteInt(ui::kPositionSection, kColumns[i].profileKey, columnWidth(i));
    }
}

void CVelmoraView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        StartSelectedGame();
    }
}

void CVelmoraView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            StartSelectedGame();
            return;
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QTreeView::keyPressEvent(event);
            // Ctrl moves only the focus rectangle, as in the platform's list.
            if (!event->modifiers().testFlag(Qt::ControlModifier)) {
                SelectCurrentRow();
            }
            return;
        default:
            QTreeView::keyPressEvent(event);
    }
}

void CVelmoraView::SelectCurrentRow() {
    // Qt selects a row only when the key moves the focus rectangle; the platform's list also
    // selects the row the rectangle already sits on, as on the first key after start-up.
    const QModelIndex current = currentIndex();
    if (current.isValid() && !selectionModel()->isRowSelected(current.row(), QModelIndex())) {
        selectionModel()->select(current,
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
}

void CVelmoraView::contextMenuEvent(QContextMenuEvent* event) {
    // A right-click has already selected the row under the pointer.
    event->accept();
    ConfigureSelectedGame();
}

}  // namespace velmora::games
