// "Velmora --start N" from a shortcut, against the limit: a bare Qt Core program that starts the
// same emulator command line in the same folder on its own standard handles and waits for it.
// Each figure is the median wall time of fresh processes, from starting the process to its end;
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

// Microseconds from starting `program` to its end; its output goes nowhere.
double TimeRun(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start();
    process.waitForFinished(-1);
    const double micros = static_cast<double>(timer.nsecsElapsed()) / 1000.0;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                     qPrintable(process.errorString()));
        std::exit(1);
    }
    return micros;
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
    qputenv("XDG_CONFIG_HOME", (root.path() + QStringLiteral("/home")).toLocal8Bit());
    qputenv("ZINC_STANDIN_SILENT", "1");

    const QString velmora = QString::fromStdString((dir / kVelmoraName).string());
    const QString self = QCoreApplication::applicationFilePath();
    const QString folder = QString::fromStdString(dir.string());
    std::printf("median of %d fresh processes, %d repetitions (microseconds)\n", runs, repetitions);
    std::printf("%-12s %14s %14s %8s\n", "repetition", "Velmora", "bare Qt Core", "ratio");
    for (int r = 0; r < repetitions; ++r) {
        std::vector<double> ours;
        std::vector<double> bare;
        for (int i = 0; i < runs; ++i) {
            ours.push_back(TimeRun(velmora, {QStringLiteral("--start"), QStringLiteral("1")}));
            bare.push_back(TimeRun(self, {QStringLiteral("--bare"), folder, QStringLiteral("1")}));
        }
        const double a = Median(ours);
        const double b = Median(bare);
        std::printf("%-12d %14.0f %14.0f %8.2f\n", r + 1, a, b, a / b);
    }
    return 0;
}
