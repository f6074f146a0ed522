#include "namegen.h"

#include "names/database.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace tavolin::bench {
namespace {

constexpr std::size_t kMillion = 1000000;

const std::string& MillionNames() {
    static const std::string bytes = MakeDatabaseBytes(kMillion, 42);
    return bytes;
}

// Splitting the bytes of a 1M-name file into raw lines and names.
void BM_SplitAndParse(benchmark::State& state) {
    const std::string& bytes = MillionNames();
    for (auto _ : state) {
        const LineList lines = LineList::FromFileBytes(bytes);
        NameList names;
        ParseNameLines(lines, names);
        benchmark::DoNotOptimize(names.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_SplitAndParse)->Unit(benchmark::kMillisecond);

// The floor: one look at every byte.
void BM_CountSeparators(benchmark::State& state) {
    const std::string& bytes = MillionNames();
    for (auto _ : state)
        benchmark::DoNotOptimize(std::count(bytes.begin(), bytes.end(), kSeparator));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_CountSeparators)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavolin::bench

BENCHMARK_MAIN();
