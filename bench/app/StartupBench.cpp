// Start-up to a painted window: Velmora with 1,000 and 10,000 games against a bare Qt window
// built the same way, and against the limit: that bare window after the emulator's two runs,
// one after the other, read to the end with nothing else done. Each figure is the median over
// fresh processes of the time from main() to the first paint of the list. Velmora's runner
// pauses are set to zero, so the figures leave out the 100 ms waits before each 511-byte read
// of the emulator's output.
//
//   startup_bench <stand-in ZINC.EXE> [runs]

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeWidget>
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

namespace {

QElapsedTimer gSinceMain;

// Quits with the elapsed time once `widget` has painted for the first time.
class FirstPaint : public QObject {
public:
    // Owned by the widget it watches.
    explicit FirstPaint(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QMetaObject::invokeMethod(
                qApp,
                [] {
                    std::printf("%lld\n", static_cast<long long>(gSinceMain.nsecsElapsed() / 1000));
                    QApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

void ShowBareWindow(QWidget& window) {
    window.resize(515, 480);
    auto* list = new QTreeWidget(&window);
    list->setGeometry(0, 0, 515, 400);
    list->setHeaderLabels({"Game", "Country", "Infos"});
    new FirstPaint(list->viewport());
    window.show();
}

int RunBare(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    ShowBareWindow(window);
    return QApplication::exec();
}

// What no front end can beat: the emulator's list run, then its help run, each read to the
// end, then the bare window.
int RunLimit(int argc, char** argv, const char* emulatorDir) {
    QApplication app(argc, argv);
    const QString emulator = QString::fromLocal8Bit(emulatorDir) + QStringLiteral("/ZINC.EXE");
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--list-games")}, QStringList{}}) {
        QProcess run;
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(emulator, arguments, QIODevice::ReadOnly);
        run.waitForFinished(-1);
        if (run.readAll().isEmpty()) {
            return 1;
        }
    }
    QWidget window;
    ShowBareWindow(window);
    return QApplication::exec();
}

int RunVelmora(int argc, char** argv, const char* emulatorDir) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QTemporaryDir home;
    QSettings settings(home.filePath(QStringLiteral("profile.ini")), QSettings::IniFormat);
    velmora::ui::CProfile profile(settings);
    velmora::app::CVelmoraDoc doc;
    doc.OnNewDocument();
    velmora::games::ProcessRunner runner(std::chrono::milliseconds(0));
    const std::string executable = std::string(emulatorDir) + "/Velmora";
    velmora::snapshot::GameSnapshots snapshots(emulatorDir);
    // Catch the list's first paint however the window gets built.
    auto frame = velmora::app::OpenMainWindow(executable, profile, snapshots, runner, doc);
    new FirstPaint(frame->GetActiveView()->viewport());
    frame->GetActiveView()->viewport()->update();
    return QApplication::exec();
}

long long Median(std::vector<long long> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long long Measure(const QString& self, const QStringList& args, int games, int runs) {
    std::vector<long long> times;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZINC_STANDIN_GAMES"), QString::number(games));
        child.setProcessEnvironment(env);
        child.start(self, args);
        child.waitForFinished(-1);
        bool ok = false;
        const long long micros = child.readAllStandardOutput().trimmed().toLongLong(&ok);
        if (!ok) {
            std::fprintf(stderr, "a run of %s failed\n", qPrintable(args.join(' ')));
            return -1;
        }
        times.push_back(micros);
    }
    return Median(times);
}

}  // namespace

int main(int argc, char** argv) {
    gSinceMain.start();
    if (argc >= 2 && std::string(argv[1]) == "--bare") {
        return RunBare(argc, argv);
    }
    if (argc >= 3 && std::string(argv[1]) == "--limit") {
        return RunLimit(argc, argv, argv[2]);
    }
    if (argc >= 3 && std::string(argv[1]) == "--velmora") {
        return RunVelmora(argc, argv, argv[2]);
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <stand-in ZINC.EXE> [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc >= 3 ? std::max(1, std::atoi(argv[2])) : 15;
    QTemporaryDir dir;
    QFile::copy(QString::fromLocal8Bit(argv[1]), dir.filePath(QStringLiteral("ZINC.EXE")));
    QDir(dir.path()).mkdir(QStringLiteral("cfg"));
    const QString self = QString::fromLocal8Bit(argv[0]);

    const long long bare = Measure(self, {QStringLiteral("--bare")}, 0, runs);
    const long long limit = Measure(self, {QStringLiteral("--limit"), dir.path()}, 1000, runs);
    const long long thousand = Measure(self, {QStringLiteral("--velmora"), dir.path()}, 1000, runs);
    const long long tenThousand =
        Measure(self, {QStringLiteral("--velmora"), dir.path()}, 10000, runs);
    if (bare <= 0 || limit <= 0 || thousand <= 0 || tenThousand <= 0) {
        return 1;
    }
    std::printf("bare Qt window          %8lld us\n", bare);
    std::printf("limit, 1,000 games      %8lld us  (bare window after two emulator runs)\n", limit);
    std::printf("Velmora, 1,000 games    %8lld us  (%.2fx the limit, target <= 1.15x)\n", thousand,
                double(thousand) / double(limit));
    std::printf("Velmora, 10,000 games   %8lld us  (%.2fx the 1,000-game figure, target <= 2x)\n",
                tenThousand, double(tenThousand) / double(thousand));
    return 0;
}
