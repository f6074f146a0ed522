#include "fileio/fileio.h"
#include "namegen.h"
#include "names/database.h"
#include "names/merge.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_set>

namespace tavolin::bench {
namespace {

// A database of `count` names and a foreign one of as many, whose first half
// are names of the database and whose second half are new: made up from
// another seed, each marked with a suffix of its own ("q" and its number in
// lower-case letters; the made-up names never hold a "q").
struct MergeData {
    std::string target;
    std::string foreign;
    NameList foreignNames;
    std::string result; // the target file after the merge
    std::size_t added = 0;
};

const MergeData& Data(std::size_t count) {
    static std::map<std::size_t, std::unique_ptr<MergeData>> cache;
    auto& data = cache[count];
    if (!data) {
        data = std::make_unique<MergeData>();
        data->target = MakeDatabaseBytes(count, 42);
        data->foreign = MakeDatabaseBytes(count / 2, 42);
        std::size_t number = 0;
        for (const char c : MakeDatabaseBytes(count - count / 2, 4711)) {
            if (c == kSeparator) {
                data->foreign += 'q';
                for (std::size_t n = number++; n > 0; n /= 26)
                    data->foreign += static_cast<char>('a' + n % 26);
            }
            data->foreign += c;
        }
        ParseNameLines(LineList::FromFileBytes(data->foreign), data->foreignNames);
        LineList lines = LineList::FromFileBytes(data->target);
        NameList names;
        ParseNameLines(lines, names);
        for (const std::string_view name : data->foreignNames) {
            if (!names.contains(name)) {
                AppendName(lines, names, name);
                ++data->added;
            }
        }
        data->result = std::string(lines.fileBytes());
    }
    return *data;
}

QString TempFile(const QTemporaryDir& dir) {
    return dir.filePath(QStringLiteral("fnames.dat"));
}

// The whole merge: look up every foreign name, append the new ones to the
// names and raw lines, rewrite the file. The target is read anew (untimed)
// for every round, as the merge makes it grow.
void BM_MergeIntoDatabase(benchmark::State& state) {
    const MergeData& data = Data(static_cast<std::size_t>(state.range(0)));
    QTemporaryDir dir;
    std::size_t added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LineList lines = LineList::FromFileBytes(data.target);
        NameList names;
        ParseNameLines(lines, names);
        state.ResumeTiming();
        added = MergeIntoDatabase(data.foreignNames, names, lines, TempFile(dir));
    }
    if (added != data.added)
        state.SkipWithError("unexpected number of names added");
    state.counters["added"] = static_cast<double>(added);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * data.foreignNames.size()));
}
BENCHMARK(BM_MergeIntoDatabase)->Arg(250000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The floor: every foreign name goes into a hash set once, and the result's
// bytes are written once, the same atomic way.
void BM_MergeFloor(benchmark::State& state) {
    const MergeData& data = Data(static_cast<std::size_t>(state.range(0)));
    QTemporaryDir dir;
    for (auto _ : state) {
        std::unordered_set<std::string_view> seen;
        seen.reserve(data.foreignNames.size());
        for (const std::string_view name : data.foreignNames)
            seen.insert(name);
        SaveFileAtomically(TempFile(dir), data.result);
        benchmark::DoNotOptimize(seen.size());
    }
    state.counters["added"] = static_cast<double>(data.added);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * data.foreignNames.size()));
}
BENCHMARK(BM_MergeFloor)->Arg(250000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavolin::bench
