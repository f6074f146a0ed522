#include "benchdata.h"
#include "fileio/fileio.h"
#include "names/database.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>

namespace tavolin::bench {
namespace {

// Reading a 1M-name database as the start-up does: the file's bytes, split
// into raw lines, parsed into names. The lists are freed, and their memory
// handed back to the system, outside the timing, so that every round starts
// as a fresh process does: with memory it has not touched yet.
void BM_ReadSplitParse(benchmark::State& state) {
    const QString& path = MillionNameFile();
    std::size_t count = 0;
    for (auto _ : state) {
        auto lines = std::make_unique<LineList>(ReadNameFile(path).lines);
        auto names = std::make_unique<NameList>();
        ParseNameLines(*lines, *names);
        state.PauseTiming();
        count = names->size();
        lines.reset();
        names.reset();
        ReleaseFreeMemory();
        state.ResumeTiming();
    }
    if (count != kMillion)
        state.SkipWithError("unexpected number of names");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * MillionNameBytes().size()));
}
BENCHMARK(BM_ReadSplitParse)->Unit(benchmark::kMillisecond);

// The floor: the same read, and one memchr call per separator.
void BM_ReadCountSeparators(benchmark::State& state) {
    const QString& path = MillionNameFile();
    std::size_t count = 0;
    for (auto _ : state) {
        auto bytes = std::make_unique<std::string>(ReadFileBytes(path));
        count = 0;
        const char* pos = bytes->data();
        const char* const end = pos + bytes->size();
        while (const void* hit = std::memchr(pos, kSeparator, static_cast<std::size_t>(end - pos))) {
            ++count;
            pos = static_cast<const char*>(hit) + 1;
        }
        benchmark::DoNotOptimize(count);
        state.PauseTiming();
        bytes.reset();
        ReleaseFreeMemory();
        state.ResumeTiming();
    }
    if (count != kMillion)
        state.SkipWithError("unexpected number of separators");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * MillionNameBytes().size()));
}
BENCHMARK(BM_ReadCountSeparators)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavolin::bench

BENCHMARK_MAIN();
