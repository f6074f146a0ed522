#include "fileio/fileio.h"
#include "namegen.h"
#include "names/database.h"
#include "names/encoding.h"

#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace tavolin::bench {
namespace {

constexpr std::size_t kMillion = 1000000;

struct Database {
    LineList lines;
    NameList names;
};

std::unique_ptr<Database> MakeDatabase(std::size_t count) {
    auto database = std::make_unique<Database>();
    database->lines = LineList::FromFileBytes(MakeDatabaseBytes(count, 7));
    ParseNameLines(database->lines, database->names);
    return database;
}

const Database& MillionNameDatabase() {
    static const std::unique_ptr<Database> database = MakeDatabase(kMillion);
    return *database;
}

// What a user types: names from all over the list and names it lacks, so
// that neither the hit nor the miss path is favoured.
std::vector<std::string> Probes(const NameList& names) {
    std::vector<std::string> probes;
    for (std::size_t i = 0; i < 64; ++i) {
        probes.emplace_back(names[(i * 15619) % names.size()]);
        probes.push_back(probes.back() + "xq");
    }
    return probes;
}

// The membership test that Edit2Change runs on every keystroke.
void BM_ContainsInMillionNames(benchmark::State& state) {
    const NameList& names = MillionNameDatabase().names;
    const std::vector<std::string> probes = Probes(names);
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(names.contains(probes[i++ % probes.size()]));
}
BENCHMARK(BM_ContainsInMillionNames);

// The yardstick: one look-up in the standard library's hash set.
void BM_UnorderedSetLookup(benchmark::State& state) {
    const NameList& names = MillionNameDatabase().names;
    std::unordered_set<std::string> set;
    set.reserve(names.size());
    for (const std::string_view name : names)
        set.emplace(name);
    const std::vector<std::string> probes = Probes(names);
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(set.find(probes[i++ % probes.size()]) != set.end());
}
BENCHMARK(BM_UnorderedSetLookup);

// What a keystroke would cost if it scanned the list: the names it lacks run
// through all million entries.
void BM_LinearScanOfMillionNames(benchmark::State& state) {
    const NameList& names = MillionNameDatabase().names;
    const std::vector<std::string> probes = Probes(names);
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string& probe = probes[i++ % probes.size()];
        benchmark::DoNotOptimize(std::find(names.begin(), names.end(), probe) != names.end());
    }
}
BENCHMARK(BM_LinearScanOfMillionNames)->Unit(benchmark::kMillisecond);

// A whole keystroke's check of typed text: encoding, the storable test and
// the look-up, for a short name and for the longest text the field takes.
void BM_TypedTextCheck(benchmark::State& state) {
    const NameList& names = MillionNameDatabase().names;
    const QString typed = QString(static_cast<qsizetype>(state.range(0)), u'\u00E4');
    for (auto _ : state) {
        const std::optional<std::string> bytes = EncodeName(typed);
        benchmark::DoNotOptimize(bytes && IsStorableName(*bytes) && names.contains(*bytes));
    }
}
BENCHMARK(BM_TypedTextCheck)->Arg(8)->Arg(200);

// Adding a name to a database of a million names: the append and the atomic
// rewrite of the whole file (written, synced and renamed over the old one).
void BM_AddToMillionNameDatabase(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = JoinPath(dir.path(), QStringLiteral("fnames.dat"));
    const std::unique_ptr<Database> database = MakeDatabase(kMillion);
    WriteNameDatabase(database->lines, path);
    std::size_t added = 0;
    for (auto _ : state) {
        const std::string name = "Neu" + std::to_string(added++);
        AppendName(database->lines, database->names, name);
        WriteNameDatabase(database->lines, path);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * database->lines.fileBytes().size()));
}
BENCHMARK(BM_AddToMillionNameDatabase)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace tavolin::bench
