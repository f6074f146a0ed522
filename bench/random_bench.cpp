#include "benchdata.h"
#include "names/random.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <string_view>

namespace tavolin::bench {
namespace {

const NameList& MillionNameList() {
    static const std::unique_ptr<Database> kDatabase = MakeDatabase(kMillion, 42);
    return kDatabase->names;
}

// Beginnings a user may type into Edit3, from many matches to none.
constexpr std::string_view kBeginnings[] = {"a", "Be", "kar", "Qx"};

void SetMatchLabel(benchmark::State& state, const NameList& names, std::string_view beginning) {
    std::size_t matches = 0;
    for (std::string_view name : names)
        matches += BeginsWith(name, beginning) ? 1 : 0;
    state.SetLabel("\"" + std::string(beginning) + "\": " + std::to_string(matches) + " matches");
}

// One filtered click: a pass over the whole list that keeps one match.
void BM_DrawWithBeginning(benchmark::State& state) {
    const NameList& names = MillionNameList();
    const std::string_view beginning = kBeginnings[state.range(0)];
    RandomSource random(1000000000);
    for (auto _ : state)
        benchmark::DoNotOptimize(DrawIndexWithBeginning(names, beginning, random));
    SetMatchLabel(state, names, beginning);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * names.size()));
}
BENCHMARK(BM_DrawWithBeginning)->DenseRange(0, std::size(kBeginnings) - 1)->Unit(benchmark::kMillisecond);

// The floor for a pass: a case-sensitive memcmp of every entry's beginning.
void BM_MemcmpPrefixPass(benchmark::State& state) {
    const NameList& names = MillionNameList();
    const std::string_view beginning = kBeginnings[state.range(0)];
    for (auto _ : state) {
        std::size_t matches = 0;
        for (std::string_view name : names)
            matches +=
                name.size() >= beginning.size() && std::memcmp(name.data(), beginning.data(), beginning.size()) == 0;
        benchmark::DoNotOptimize(matches);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * names.size()));
}
BENCHMARK(BM_MemcmpPrefixPass)->DenseRange(0, std::size(kBeginnings) - 1)->Unit(benchmark::kMillisecond);

// A click without a beginning: one number and one entry, whatever the size.
void BM_DrawWithoutBeginning(benchmark::State& state) {
    const NameList& names = MillionNameList();
    RandomSource random(1000000000);
    for (auto _ : state)
        benchmark::DoNotOptimize(names.at(random.RandomBelow(names.size())));
}
BENCHMARK(BM_DrawWithoutBeginning);

} // namespace
} // namespace tavolin::bench
