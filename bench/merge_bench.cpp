#include "benchdata.h"
#include "fileio/fileio.h"
#include "names/database.h"
#include "names/merge.h"
#include "names/name_database.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <string_view>
#include <unordered_set>

namespace tavolin::bench {
namespace {

QString TempFile(const QTemporaryDir& dir) {
    return dir.filePath(QStringLiteral("fnames.dat"));
}

// The whole merge as the merge button does it: the lock and the check of the
// file, a look-up of every foreign name, the new ones appended to the names
// and raw lines, the file rewritten. The target is written and read anew
// (untimed) for every round, as the merge makes it grow, so every round also
// builds the target's index, as the first question to a freshly read list
// does.
void BM_MergeIntoDatabase(benchmark::State& state) {
    const MergeCase& data = MergeCaseOf(static_cast<std::size_t>(state.range(0)));
    QTemporaryDir dir;
    std::size_t added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SaveFileAtomically(TempFile(dir), data.target);
        auto target = std::make_unique<NameDatabase>(TempFile(dir));
        target->Read();
        target->Parse();
        state.ResumeTiming();
        added = target->Merge(data.foreignNames);
        state.PauseTiming();
        target.reset();
        ReleaseFreeMemory();
        state.ResumeTiming();
    }
    if (added != data.added)
        state.SkipWithError("unexpected number of names added");
    state.counters["added"] = static_cast<double>(added);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * data.foreignNames.size()));
}
BENCHMARK(BM_MergeIntoDatabase)->Arg(kMillion)->Unit(benchmark::kMillisecond);

// The floor: every foreign name goes into a hash set once, and the result's
// bytes are written once, the same atomic way.
void BM_MergeFloor(benchmark::State& state) {
    const MergeCase& data = MergeCaseOf(static_cast<std::size_t>(state.range(0)));
    QTemporaryDir dir;
    for (auto _ : state) {
        auto seen = std::make_unique<std::unordered_set<std::string_view>>();
        seen->reserve(data.foreignNames.size());
        for (const std::string_view name : data.foreignNames)
            seen->insert(name);
        SaveFileAtomically(TempFile(dir), data.result);
        benchmark::DoNotOptimize(seen->size());
        state.PauseTiming();
        seen.reset();
        ReleaseFreeMemory();
        state.ResumeTiming();
    }
    state.counters["added"] = static_cast<double>(data.added);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * data.foreignNames.size()));
}
BENCHMARK(BM_MergeFloor)->Arg(kMillion)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavolin::bench
