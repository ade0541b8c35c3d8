// "Velmora --start N" from a shortcut, against the limit: a bare Qt Core program that starts the
// same emulator command line in the same folder on its own standard handles and waits for it.
// Each figure is the median of fresh processes: the wall time from starting the process to its
// end, and (on Linux) the processor time it and its emulator used, which a busy machine inflates
// far less;
// the two kinds alternate, so a machine that is busy with other work weighs on both alike.
//
//   start_bench <Velmora> <stand-in ZINC.EXE> [runs per kind, 20] [repetitions, 3]
//   start_bench --bare <emulator folder> <game>     (the limit itself, run by the bench)

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

#ifdef _WIN32
constexpr const char* kVelmoraName = "Velmora.exe";
#else
constexpr const char* kVelmoraName = "Velmora";
#endif

int Bare(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[2]);
    const QString game = QString::fromLocal8Bit(argv[3]);
    QProcess emulator;
    emulator.setProgram(dir + QStringLiteral("/ZINC.EXE"));
    emulator.setArguments(
        {game,
         QStringLiteral("--use-config-file=") + dir +
             QStringLiteral("/cfg/Velmora%1.cfg").arg(game.toInt(), 3, 10, QLatin1Char('0'))});
    emulator.setWorkingDirectory(dir);
    emulator.setProcessChannelMode(QProcess::ForwardedChannels);
    emulator.setInputChannelMode(QProcess::ForwardedInputChannel);
    emulator.start();
    if (!emulator.waitForStarted(-1)) {
        return 1;
    }
    emulator.waitForFinished(-1);
    return emulator.exitCode();
}

struct Timing {
    double wall = 0;  // microseconds from the start to the end
    double cpu = 0;   // microseconds of processor time, its children's included (0 where unknown)
};

double ChildrenCpu() {
#ifndef _WIN32
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e6 +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
#else
    return 0;
#endif
}

// One run of `program`; its output goes nowhere.
Timing TimeRun(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    const double cpuBefore = ChildrenCpu();
    QElapsedTimer timer;
    timer.start();
    process.start();
    process.waitForFinished(-1);
    const Timing timing{static_cast<double>(timer.nsecsElapsed()) / 1000.0,
                        ChildrenCpu() - cpuBefore};
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                     qPrintable(process.errorString()));
        std::exit(1);
    }
    return timing;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--bare") {
        return Bare(argc, argv);
    }
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: start_bench <Velmora> <stand-in ZINC.EXE> [runs] [repetitions]\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 20;
    const int repetitions = argc > 4 ? std::max(1, std::atoi(argv[4])) : 3;

    // An emulator folder with game 1 configured, and a profile and plugin store of its own.
    QTemporaryDir root;
    const std::filesystem::path dir = std::filesystem::path(root.path().toStdString()) / "zinc";
    std::filesystem::create_directories(dir / "cfg");
    std::filesystem::copy_file(argv[1], dir / kVelmoraName);
    std::filesystem::copy_file(argv[2], dir / "ZINC.EXE");
    std::ofstream(dir / "cfg" / "Velmora001.cfg") << "--show-fps\r\n";
    // As after OK in the Configure game dialog: the plugins' settings saved with the game.
    std::ofstream(dir / "cfg" / "Velmora001_registry.cfg", std::ios::binary)
        << "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vision Thing\\PSEmu Pro\\Renderer]\r\n"
           "\"Width\"=dword:00000280\r\n\"Height\"=dword:000001e0\r\n";
    qputenv("XDG_CONFIG_HOME", (root.path() + QStringLiteral("/home")).toLocal8Bit());
    qputenv("ZINC_STANDIN_SILENT", "1");

    const QString velmora = QString::fromStdString((dir / kVelmoraName).string());
    const QString self = QCoreApplication::applicationFilePath();
    const QString folder = QString::fromStdString(dir.string());
    std::printf("median of %d fresh processes, %d repetitions (microseconds)\n", runs, repetitions);
    std::printf("%-10s %12s %12s %6s   %12s %12s %6s\n", "", "wall Velmora", "wall bare", "ratio",
                "cpu Velmora", "cpu bare", "ratio");
    for (int r = 0; r < repetitions; ++r) {
        std::vector<double> ourWall, bareWall, ourCpu, bareCpu;
        for (int i = 0; i < runs; ++i) {
            const Timing ours = TimeRun(velmora, {QStringLiteral("--start"), QStringLiteral("1")});
            const Timing bare =
                TimeRun(self, {QStringLiteral("--bare"), folder, QStringLiteral("1")});
            ourWall.push_back(ours.wall);
            bareWall.push_back(bare.wall);
            ourCpu.push_back(ours.cpu);
            bareCpu.push_back(bare.cpu);
        }
        const double a = Median(ourWall);
        const double b = Median(bareWall);
        const double c = Median(ourCpu);
        const double d = Median(bareCpu);
        std::printf("%-10d %12.0f %12.0f %6.2f   %12.0f %12.0f %6.2f\n", r + 1, a, b, a / b, c, d,
                    d > 0 ? c / d : 0.0);
    }
    return 0;
}
