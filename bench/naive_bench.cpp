// The straightforward algorithms, measured at 10,000 names next to the ones
// the program uses: a filtered draw by up to 10000 random picks, a merge that
// searches the whole target list for every foreign name, the letter table by
// one pass over each list per letter (the program counts every initial in a
// single pass over each list, when the table is shown), and a keystroke's
// check by a scan.
#include "benchdata.h"
#include "names/database.h"
#include "names/merge.h"
#include "names/random.h"
#include "stats/statistics.h"
#include "support/statistics_tables.h"

#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavolin::bench {
namespace {

constexpr std::size_t kTenThousand = 10000;

const Database& TenThousandNames(std::uint64_t seed) {
    static std::map<std::uint64_t, std::unique_ptr<Database>> cache;
    auto& database = cache[seed];
    if (!database)
        database = MakeDatabase(kTenThousand, seed);
    return *database;
}

// A common beginning, one that no name has, and one that only one entry has.
std::string_view Beginning(const NameList& names, std::int64_t which) {
    static const std::string kUnique = [&names] {
        for (const std::string_view name : names) {
            if (name.size() >= 8 && std::count_if(names.begin(), names.end(),
                                                  [&](std::string_view other) { return BeginsWith(other, name); }) == 1)
                return std::string(name);
        }
        return std::string();
    }();
    static constexpr std::string_view kFixed[] = {"a", "Qx"};
    return which < 2 ? kFixed[which] : std::string_view(kUnique);
}

// Up to 10000 random picks, each compared with the beginning; the first match
// is shown. A beginning that few names have is often missed.
std::optional<std::size_t> RejectionDraw(const NameList& names, std::string_view beginning, RandomSource& random) {
    for (int draw = 0; draw < 10000; ++draw) {
        const std::size_t index = random.RandomBelow(names.size());
        if (BeginsWith(names[index], beginning))
            return index;
    }
    return std::nullopt;
}

// Counts the clicks that show no name: "missed" is their share.
template <class Draw>
void DrawTenThousand(benchmark::State& state, Draw draw) {
    const NameList& names = TenThousandNames(42).names;
    const std::string_view beginning = Beginning(names, state.range(0));
    RandomSource random(1000000000);
    std::int64_t missed = 0;
    for (auto _ : state) {
        const std::optional<std::size_t> index = draw(names, beginning, random);
        missed += index ? 0 : 1;
        benchmark::DoNotOptimize(index);
    }
    state.counters["missed"] = static_cast<double>(missed) / static_cast<double>(state.iterations());
    // Windows-1252 bytes would not be valid text in the JSON output.
    state.SetLabel(state.range(0) < 2 ? "\"" + std::string(beginning) + "\"" : "a beginning of one entry");
}

void BM_NaiveRejectionDraw(benchmark::State& state) {
    DrawTenThousand(state, RejectionDraw);
}
BENCHMARK(BM_NaiveRejectionDraw)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_DrawWithBeginningTenThousand(benchmark::State& state) {
    DrawTenThousand(state, DrawIndexWithBeginning);
}
BENCHMARK(BM_DrawWithBeginningTenThousand)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// Every foreign name is compared with the target's names one by one from the
// first, the names added in this merge included.
std::size_t MergeBySearch(const NameList& mergeNames, NameList& names, LineList& lines, const QString& path) {
    std::size_t added = 0;
    for (const std::string_view name : mergeNames) {
        bool found = false;
        for (std::size_t i = 0; i < names.size() && !found; ++i)
            found = names[i] == name;
        if (!found && AppendName(lines, names, name))
            ++added;
    }
    WriteNameDatabase(lines, path);
    return added;
}

template <class Merge>
void MergeTenThousand(benchmark::State& state, Merge merge) {
    const MergeCase& data = MergeCaseOf(kTenThousand);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fnames.dat"));
    std::size_t added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto target = std::make_unique<Database>();
        target->lines = LineList::FromFileBytes(data.target);
        ParseNameLines(target->lines, target->names);
        state.ResumeTiming();
        added = merge(data.foreignNames, target->names, target->lines, path);
        state.PauseTiming();
        target.reset();
        state.ResumeTiming();
    }
    if (added != data.added)
        state.SkipWithError("unexpected number of names added");
}

void BM_NaiveMergeSearch(benchmark::State& state) {
    MergeTenThousand(state, MergeBySearch);
}
BENCHMARK(BM_NaiveMergeSearch)->Unit(benchmark::kMillisecond);

// The merge as the program does it, without the lock: the index, then the
// same rewrite.
std::size_t MergeByIndex(const NameList& mergeNames, NameList& names, LineList& lines, const QString& path) {
    const std::size_t added = AddMissingNames(mergeNames, names, lines);
    WriteNameDatabase(lines, path);
    return added;
}

void BM_MergeTenThousand(benchmark::State& state) {
    MergeTenThousand(state, MergeByIndex);
}
BENCHMARK(BM_MergeTenThousand)->Unit(benchmark::kMillisecond);

// One pass over each list for every letter of the table.
std::vector<std::string> LetterRowsByPasses(const NameList& female, const NameList& male) {
    std::vector<std::string> rows;
    for (const char letter : StatisticsLetters)
        rows.push_back(FormatLetterRow(letter, test::CountInitial(female, letter), test::CountInitial(male, letter)));
    return rows;
}

void BM_NaiveLetterPasses(benchmark::State& state) {
    const NameList& female = TenThousandNames(7).names;
    const NameList& male = TenThousandNames(8).names;
    for (auto _ : state)
        benchmark::DoNotOptimize(LetterRowsByPasses(female, male));
}
BENCHMARK(BM_NaiveLetterPasses)->Unit(benchmark::kMicrosecond);

void BM_LetterRowsTenThousand(benchmark::State& state) {
    const NameList& female = TenThousandNames(7).names;
    const NameList& male = TenThousandNames(8).names;
    if (LetterRows(female, male) != LetterRowsByPasses(female, male))
        state.SkipWithError("the two letter tables differ");
    for (auto _ : state)
        benchmark::DoNotOptimize(LetterRows(female, male));
}
BENCHMARK(BM_LetterRowsTenThousand)->Unit(benchmark::kMicrosecond);

// A keystroke's check by a scan from the first entry; names from all over
// the list and names it lacks.
std::vector<std::string> Probes(const NameList& names) {
    std::vector<std::string> probes;
    for (std::size_t i = 0; i < 64; ++i) {
        probes.emplace_back(names[(i * 157) % names.size()]);
        probes.push_back(probes.back() + "xq");
    }
    return probes;
}

void BM_NaiveMembershipScan(benchmark::State& state) {
    const NameList& names = TenThousandNames(7).names;
    const std::vector<std::string> probes = Probes(names);
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string& probe = probes[i++ % probes.size()];
        benchmark::DoNotOptimize(std::find(names.begin(), names.end(), probe) != names.end());
    }
}
BENCHMARK(BM_NaiveMembershipScan)->Unit(benchmark::kMicrosecond);

void BM_ContainsTenThousand(benchmark::State& state) {
    const NameList& names = TenThousandNames(7).names;
    const std::vector<std::string> probes = Probes(names);
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(names.contains(probes[i++ % probes.size()]));
}
BENCHMARK(BM_ContainsTenThousand)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tavolin::bench
