#include "namegen.h"
#include "names/database.h"
#include "stats/statistics.h"

#include <benchmark/benchmark.h>

namespace tavolin::bench {
namespace {

// Two lists of a million names each, as read from two databases.
struct TwoLists {
    NameList female;
    NameList male;

    TwoLists() {
        ParseNameLines(LineList::FromFileBytes(MakeDatabaseBytes(1000000, 7)), female);
        ParseNameLines(LineList::FromFileBytes(MakeDatabaseBytes(1000000, 8)), male);
    }
};

const TwoLists& Lists() {
    static const TwoLists lists;
    return lists;
}

void BM_LetterRows(benchmark::State& state) {
    const TwoLists& lists = Lists();
    for (auto _ : state)
        benchmark::DoNotOptimize(LetterRows(lists.female, lists.male));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lists.female.size() + lists.male.size()));
}
BENCHMARK(BM_LetterRows)->Unit(benchmark::kMillisecond);

void BM_LengthRows(benchmark::State& state) {
    const TwoLists& lists = Lists();
    for (auto _ : state)
        benchmark::DoNotOptimize(LengthRows(lists.female, lists.male));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lists.female.size() + lists.male.size()));
}
BENCHMARK(BM_LengthRows)->Unit(benchmark::kMillisecond);

// The floor: one look at every name of both lists.
void BM_SumLengths(benchmark::State& state) {
    const TwoLists& lists = Lists();
    for (auto _ : state) {
        std::size_t total = 0;
        for (const NameList* list : {&lists.female, &lists.male}) {
            for (const std::string_view name : *list)
                total += name.size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lists.female.size() + lists.male.size()));
}
BENCHMARK(BM_SumLengths)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavolin::bench
