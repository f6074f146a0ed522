#include "benchdata.h"
#include "stats/statistics.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace tavolin::bench {
namespace {

// Two lists of a million names each, as read from two databases.
struct TwoLists {
    std::unique_ptr<Database> female = MakeDatabase(kMillion, 7);
    std::unique_ptr<Database> male = MakeDatabase(kMillion, 8);
};

const TwoLists& Lists() {
    static const TwoLists kLists;
    return kLists;
}

std::int64_t NameCount(const TwoLists& lists) {
    return static_cast<std::int64_t>(lists.female->names.size() + lists.male->names.size());
}

// The rows of the name-length table by the calls the statistics view makes,
// without its list widget.
std::vector<std::string> LengthRows(const NameList& female, const NameList& male) {
    LengthCounts femaleCounts = CountLengths(female);
    LengthCounts maleCounts = CountLengths(male);
    AddLengthsOf(maleCounts, femaleCounts);
    AddLengthsOf(femaleCounts, maleCounts);
    std::vector<std::string> rows;
    rows.reserve(femaleCounts.size());
    for (std::size_t row = 0; row < femaleCounts.size(); ++row)
        rows.push_back(FormatLengthRow(femaleCounts[row].first, femaleCounts[row].second, maleCounts[row].second));
    return rows;
}

void BM_LetterRows(benchmark::State& state) {
    const TwoLists& lists = Lists();
    for (auto _ : state)
        benchmark::DoNotOptimize(LetterRows(lists.female->names, lists.male->names));
    state.SetItemsProcessed(state.iterations() * NameCount(lists));
}
BENCHMARK(BM_LetterRows)->Unit(benchmark::kMillisecond);

void BM_LengthRows(benchmark::State& state) {
    const TwoLists& lists = Lists();
    for (auto _ : state)
        benchmark::DoNotOptimize(LengthRows(lists.female->names, lists.male->names));
    state.SetItemsProcessed(state.iterations() * NameCount(lists));
}
BENCHMARK(BM_LengthRows)->Unit(benchmark::kMillisecond);

// What opening the view and switching to the other table compute.
void BM_BothStatisticsTables(benchmark::State& state) {
    const TwoLists& lists = Lists();
    for (auto _ : state) {
        benchmark::DoNotOptimize(LetterRows(lists.female->names, lists.male->names));
        benchmark::DoNotOptimize(LengthRows(lists.female->names, lists.male->names));
    }
    state.SetItemsProcessed(state.iterations() * NameCount(lists));
}
BENCHMARK(BM_BothStatisticsTables)->Unit(benchmark::kMillisecond);

// The floor: one look at every name of both lists.
void BM_SumLengths(benchmark::State& state) {
    const TwoLists& lists = Lists();
    for (auto _ : state) {
        std::size_t total = 0;
        for (const NameList* list : {&lists.female->names, &lists.male->names}) {
            for (const std::string_view name : *list)
                total += name.size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * NameCount(lists));
}
BENCHMARK(BM_SumLengths)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavolin::bench
