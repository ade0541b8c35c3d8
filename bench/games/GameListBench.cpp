// Parsing the game list against the cheapest thing that touches the same bytes: counting its
// line ends with memchr.

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "GameList.h"

namespace {

std::string MakeGameList(int games) {
    static const char* const kCountries[] = {"(Japan) ", "(USA) ", "", "(Europe) ", "(World) "};
    static const char* const kInfos[] = {"[2 players]", "[prototype]", "[1 player]", "[bootleg]"};
    std::string text = "Games known to this build:\r\n";
    for (int i = 1; i <= games; ++i) {
        text += std::to_string(i) + " Lantern Courier " + std::to_string(i % 97) + ' ' +
                kCountries[i % 5] + kInfos[i % 4] + "\r\n";
    }
    return text;
}

const std::string& GameList() {
    static const std::string text = MakeGameList(100000);
    return text;
}

void BM_CountLineEnds(benchmark::State& state) {
    const std::string& text = GameList();
    for (auto _ : state) {
        size_t lines = 0;
        const char* p = text.data();
        const char* end = p + text.size();
        while (const void* hit = std::memchr(p, '\n', static_cast<size_t>(end - p))) {
            ++lines;
            p = static_cast<const char*>(hit) + 1;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_CountLineEnds)->Unit(benchmark::kMicrosecond);

void BM_ParseGameList(benchmark::State& state) {
    const std::string& text = GameList();
    for (auto _ : state) {
        auto rows = velmora::games::ParseGameList(text);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseGameList)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
