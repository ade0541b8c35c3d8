// A game watched by its process id and ended: politely, then for good. The stand-in runs
// detached, as a game started without its output shown does.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <chrono>
#include <filesystem>
#include <thread>

#include "TempDir.h"
#include "WatchedProcess.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace velmora::games {
namespace {

using namespace std::chrono_literals;

// Polls until `done` holds; false when it still does not after half a minute.
template <typename Predicate>
bool Eventually(Predicate done) {
    for (int tries = 0; tries < 3000; ++tries) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

TEST(WatchedProcess, WatchesAGameByItsIdAndEndsItPolitelyThenForGood) {
    const struct {
        const char* name;
        bool ignoresPolitely;
    } cases[] = {{"a game that ends when asked", false}, {"one that will not", true}};
    for (const auto& c : cases) {
        test::TempDir dir;
        const std::string ready = (dir.Path() / "ready").string();
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ZINC_STANDIN_WAIT_FOR",
                           QString::fromStdString((dir.Path() / "gate").string()));
        environment.insert("ZINC_STANDIN_NOTIFY", QString::fromStdString(ready));
        environment.insert("ZINC_STANDIN_IGNORE_TERM", c.ignoresPolitely ? "1" : "0");
        process.setProcessEnvironment(environment);
        process.setProgram(QStringLiteral(VELMORA_STANDIN_PATH));
        process.setArguments({QStringLiteral("7")});
        qint64 id = 0;
        ASSERT_TRUE(process.startDetached(&id)) << c.name;
        ASSERT_TRUE(Eventually([&] { return std::filesystem::exists(ready); })) << c.name;

        WatchedProcess child(id);
        EXPECT_EQ(child.ProcessId(), id);
        EXPECT_TRUE(child.IsRunning()) << c.name;
        child.EndPolitely();
#ifndef _WIN32  // a console program on Windows has no window to ask
        if (!c.ignoresPolitely) {
            EXPECT_TRUE(Eventually([&] { return !child.IsRunning(); })) << c.name;
            continue;
        }
#endif
        EXPECT_TRUE(child.IsRunning()) << c.name;
        child.EndForGood();
        EXPECT_TRUE(Eventually([&] { return !child.IsRunning(); })) << c.name;
    }
}

TEST(WatchedProcess, AnIdNobodyHasRunsNothing) {
    EXPECT_FALSE(WatchedProcess(0).IsRunning());
    EXPECT_FALSE(WatchedProcess(0x7ffffff0).IsRunning());
}

TEST(WatchedProcess, AGameThatEndedButWasNotCollectedHasEnded) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps no ended processes for their parents to collect";
#else
    // A grandchild whose parent never collects it, as a game started detached may be when
    // nobody reaps orphans.
    int link[2];
    ASSERT_EQ(pipe(link), 0);
    const pid_t parent = fork();
    ASSERT_GE(parent, 0);
    if (parent == 0) {
        const pid_t game = fork();
        if (game == 0) {
            _exit(0);
        }
        (void)!write(link[1], &game, sizeof game);
        pause();
        _exit(0);
    }
    pid_t game = 0;
    ASSERT_EQ(read(link[0], &game, sizeof game), static_cast<ssize_t>(sizeof game));
    close(link[0]);
    close(link[1]);
    EXPECT_TRUE(Eventually([&] { return !WatchedProcess(game).IsRunning(); }));
    kill(parent, SIGKILL);
    waitpid(parent, nullptr, 0);
#endif
}

}  // namespace
}  // namespace velmora::games
