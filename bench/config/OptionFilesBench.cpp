// Loading a game options file (reading limit, managed options stripped, white space trimmed)
// against a plain read of the same bytes. Target: at most three times the plain read.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "CGameOptionFiles.h"
#include "Contract.h"
#include "FileIo.h"

namespace {

namespace fs = std::filesystem;

// An emulator directory whose game 7 has an options file of exactly `size` bytes: option
// lines, then the managed renderer block, which lies beyond the reading limit once the file
// is longer than it.
class Emulator {
public:
    explicit Emulator(size_t size) {
        std::random_device random;
        m_dir = fs::temp_directory_path() / ("velmora-bench-" + std::to_string(random()));
        fs::create_directories(m_dir / "cfg");
        const std::string block =
            "\r\n--use-renderer-cfg-file=" + velmora::emu::RendererOptionsFile(m_dir.string(), 7) +
            "\r\n--renderer=render.dll\r\n";
        std::string text;
        for (int i = 0; text.size() + block.size() < size; ++i) {
            char line[48];
            std::snprintf(line, sizeof line, "--option-%05d=value-%d\r\n", i, i % 97);
            text += line;
        }
        text.resize(size - block.size(), ' ');
        text += block;
        m_path = velmora::emu::GameOptionsFile(m_dir.string(), 7);
        std::ofstream(m_path, std::ios::binary) << text;
    }
    ~Emulator() {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    std::string Dir() const { return m_dir.string(); }
    const std::string& Path() const { return m_path; }

private:
    fs::path m_dir;
    std::string m_path;
};

void BM_PlainRead(benchmark::State& state) {
    const Emulator emulator(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(velmora::files::ReadAll(emulator.Path()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void BM_LoadAndStrip(benchmark::State& state) {
    const Emulator emulator(static_cast<size_t>(state.range(0)));
    velmora::config::CGameOptionFiles files(emulator.Dir());
    files.m_nGame = 7;
    for (auto _ : state) {
        benchmark::DoNotOptimize(files.LoadGameOptions());
        benchmark::DoNotOptimize(files.m_strOptions.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

// 32767 bytes: all of it within the reading limit. 32768 (32 KiB): one byte beyond it, so the
// rest of the file is read and held as well.
BENCHMARK(BM_PlainRead)->Arg(32767)->Arg(32768);
BENCHMARK(BM_LoadAndStrip)->Arg(32767)->Arg(32768);

}  // namespace

BENCHMARK_MAIN();
