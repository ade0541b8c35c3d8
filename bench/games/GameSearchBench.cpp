// Finding a game by typing in a list of 10,000 games: one key's search against the cheapest
// thing that touches the same bytes, a plain byte search of every game text. The slowest key
// is one that finds nothing, which reads every name twice (their starts, then all of them).
// Preparing the rows happens once, when the list is filled.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "GameList.h"
#include "GameSearch.h"

namespace {

// Game lines as the emulator prints them, every fifth name in Windows-1252 and every
// seventh in UTF-8, and one game at the very end that only its name finds.
const std::string& Listing() {
    static const std::string text = [] {
        static const char* const kNames[] = {"Lantern Courier", "Caf\xe9 Racer",
                                             "Caf\xc3\xa9 Express", "\xc9toile Noire"};
        std::string listing = "Games known to this build:\r\n";
        for (int i = 1; i < 10000; ++i) {
            listing += std::to_string(i) + ' ' + kNames[(i % 5 == 0) + 2 * (i % 7 == 0)] + ' ' +
                       std::to_string(i % 97) + " (Japan) [2 players]\r\n";
        }
        return listing + "10000 Quartz Harbour (World) [1 player]\r\n";
    }();
    return text;
}

const std::vector<velmora::games::GameRow>& Rows() {
    static const std::vector<velmora::games::GameRow> rows =
        velmora::games::ParseGameList(Listing());
    return rows;
}

void BM_PlainByteSearch(benchmark::State& state) {
    const auto& rows = Rows();
    for (auto _ : state) {
        int found = -1;
        for (size_t i = 0; i < rows.size() && found < 0; ++i) {
            if (rows[i].game.find("xyzzy") != std::string_view::npos) {
                found = static_cast<int>(i);
            }
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_PlainByteSearch)->Unit(benchmark::kMicrosecond);

// Reading and folding every row, once per listing.
void BM_PrepareRows(benchmark::State& state) {
    for (auto _ : state) {
        velmora::games::GameSearchIndex index(Rows());
        benchmark::DoNotOptimize(index.RowCount());
    }
}
BENCHMARK(BM_PrepareRows)->Unit(benchmark::kMicrosecond);

// One key: the search text after it and the row current before it.
void Key(benchmark::State& state, const char* search, int current) {
    const velmora::games::GameSearchIndex index(Rows());
    for (auto _ : state) {
        benchmark::DoNotOptimize(index.Find(current, search));
    }
}
BENCHMARK_CAPTURE(Key, NothingFound, "xyzzy", 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Key, NameStartAtTheEnd, "quartz", 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Key, InsideTheLastName, "harb", 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Key, Windows1252Letter, "\xc3\xa9toile", 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Key, NumberAtTheEnd, "10000", 0)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
