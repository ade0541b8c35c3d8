// Typing into the list of the real main window with 10,000 games: each key is timed from its
// press until the view has handled it (search, selection, scrolling), and again until the
// window has painted the result. The very first key also sets up the typed text's timer and
// is reported on its own. Searches that find nothing read every name twice and are the
// slowest. The baseline is a bare Qt list of the same rows with Qt's own search by the
// start of the row's text, sent the same keys.
//
//   QT_QPA_PLATFORM=offscreen type_to_find_bench <stand-in ZINC.EXE>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QSettings>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "CMainFrame.h"
#include "CVelmoraDoc.h"
#include "CVelmoraView.h"
#include "GameSnapshots.h"
#include "MainWindow.h"
#include "ProcessRunner.h"
#include "Profile.h"
#include "TypeToFind.h"

namespace {

struct Timing {
    long long handled = 0;  // microseconds until the view has handled the key
    long long painted = 0;  // ... until the window has painted too
};

Timing Press(QWidget& view, QChar c) {
    QElapsedTimer clock;
    clock.start();
    QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
    QApplication::sendEvent(&view, &press);
    Timing timing;
    timing.handled = clock.nsecsElapsed() / 1000;
    QApplication::processEvents();
    timing.painted = clock.nsecsElapsed() / 1000;
    QKeyEvent release(QEvent::KeyRelease, c.toUpper().unicode(), Qt::NoModifier, QString(c));
    QApplication::sendEvent(&view, &release);
    return timing;
}

// Ends the typed text at once instead of waiting out the keyboard input interval.
void EndSearchText(QWidget& view) {
    auto* timer =
        view.findChild<QTimer*>(QString::fromLatin1(velmora::games::TypeToFind::kResetTimerName));
    if (timer != nullptr && timer->isActive()) {
        QMetaObject::invokeMethod(timer, "timeout");
        timer->stop();
    }
}

void Report(const char* what, std::vector<long long> micros) {
    std::sort(micros.begin(), micros.end());
    std::printf("%-34s median %5lld us   99%% %5lld us   max %6lld us   (%zu keys)\n", what,
                micros[micros.size() / 2], micros[micros.size() * 99 / 100], micros.back(),
                micros.size());
}

// Name starts, names holding the text, game numbers, and texts that find nothing.
const char* const kTyped[] = {"zenith", "lagoon", "rusty", "ntern", "glacier",   "9999",
                              "5000",   "123",    "xyzzy", "qqqq",  "zesty yard"};

// Types every text of kTyped 20 times, each text ended before the next.
void TypeAll(QWidget& view, const char* what) {
    std::vector<long long> handled;
    std::vector<long long> painted;
    for (int round = 0; round < 20; ++round) {
        for (const char* typed : kTyped) {
            for (const char* c = typed; *c != '\0'; ++c) {
                const Timing timing = Press(view, QLatin1Char(*c));
                handled.push_back(timing.handled);
                painted.push_back(timing.painted);
            }
            EndSearchText(view);
            QApplication::processEvents();
        }
    }
    Report((std::string(what) + ", handled").c_str(), handled);
    Report((std::string(what) + ", painted").c_str(), painted);
}

// Paging down repaints the whole list as a key that jumps far does: the cost of painting.
void PageDowns(QWidget& view, const char* what) {
    std::vector<long long> painted;
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer clock;
        clock.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(&view, &press);
        QApplication::processEvents();
        painted.push_back(clock.nsecsElapsed() / 1000);
    }
    Report((std::string(what) + ", Page Down painted").c_str(), painted);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <stand-in ZINC.EXE>\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QTemporaryDir dir;
    QFile::copy(QFile::decodeName(argv[1]), dir.filePath(QStringLiteral("ZINC.EXE")));
    QDir(dir.path()).mkdir(QStringLiteral("cfg"));
    qputenv("ZINC_STANDIN_GAMES", "10000");

    QSettings settings(dir.filePath(QStringLiteral("profile.ini")), QSettings::IniFormat);
    velmora::ui::CProfile profile(settings);
    velmora::app::CVelmoraDoc doc;
    doc.OnNewDocument();
    velmora::games::ProcessRunner runner(std::chrono::milliseconds(0));
    const std::string executable =
        QFile::encodeName(dir.filePath(QStringLiteral("Velmora"))).toStdString();
    velmora::snapshot::GameSnapshots snapshots(QFile::encodeName(dir.path()).toStdString());
    auto frame = velmora::app::OpenMainWindow(executable, profile, snapshots, runner, doc);
    QWidget& view = *frame->GetActiveView();
    if (frame->GetActiveView()->RowCount() != 10000) {
        std::fprintf(stderr, "the stand-in listed %d games, not 10,000\n",
                     frame->GetActiveView()->RowCount());
        return 1;
    }
    QApplication::processEvents();

    const Timing first = Press(view, QLatin1Char('z'));
    EndSearchText(view);
    std::printf("first key:                       %5lld us handled, %lld us painted\n",
                first.handled, first.painted);
    TypeAll(view, "Velmora");
    PageDowns(view, "Velmora");

    // The same rows in a bare Qt list, the same size, placed where Velmora's list was.
    QStandardItemModel rows(0, 3);
    for (int row = 0; row < frame->GetActiveView()->RowCount(); ++row) {
        const std::string text = frame->GetActiveView()->RowGameText(row);
        rows.appendRow(new QStandardItem(QString::fromLatin1(text.data(), qsizetype(text.size()))));
    }
    QTreeView bare;
    bare.setModel(&rows);
    bare.setUniformRowHeights(true);
    bare.setRootIsDecorated(false);
    bare.setGeometry(view.mapToGlobal(QPoint(0, 0)).x(), view.mapToGlobal(QPoint(0, 0)).y(),
                     view.width(), view.height());
    frame->close();
    bare.show();
    QApplication::processEvents();
    Press(bare, QLatin1Char('z'));
    EndSearchText(bare);
    TypeAll(bare, "bare Qt list");
    PageDowns(bare, "bare Qt list");
    std::printf("target: no key over 1000 us handled\n");
    return 0;
}
