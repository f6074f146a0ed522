#include "benchdata.h"
#include "fileio/fileio.h"
#include "names/database.h"
#include "names/encoding.h"
#include "names/name_database.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace tavolin::bench {
namespace {

const Database& MillionNameDatabase() {
    static const std::unique_ptr<Database> kDatabase = [] {
        auto made = MakeDatabase(kMillion, 7);
        made->names.contains(""); // the index, as after the first keystroke
        return made;
    }();
    return *kDatabase;
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

// The first keystroke after the start: the question builds the index of a
// freshly read list.
void BM_FirstContains(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto database = MakeDatabase(kMillion, 7);
        state.ResumeTiming();
        benchmark::DoNotOptimize(database->names.contains("Anna"));
        state.PauseTiming();
        database.reset();
        ReleaseFreeMemory();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstContains)->Unit(benchmark::kMillisecond);

// The yardstick: every name into a standard hash set of views, once.
void BM_UnorderedSetBuild(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto database = MakeDatabase(kMillion, 7);
        state.ResumeTiming();
        auto set = std::make_unique<std::unordered_set<std::string_view>>();
        set->reserve(database->names.size());
        for (const std::string_view name : database->names)
            set->insert(name);
        benchmark::DoNotOptimize(set->contains("Anna"));
        state.PauseTiming();
        set.reset();
        database.reset();
        ReleaseFreeMemory();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UnorderedSetBuild)->Unit(benchmark::kMillisecond);

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

FilePath MillionNamePath(const QTemporaryDir& dir) {
    return JoinPath(dir.path(), QStringLiteral("fnames.dat"));
}

// A database of a million names in a file of its own, read as the start-up
// reads it, its index built as after the first keystroke, with a folder for
// recovery files as the program has: every save looks whether one is there.
std::unique_ptr<NameDatabase> MillionNameDatabaseFile(const QTemporaryDir& dir) {
    const FilePath path = MillionNamePath(dir);
    WriteNameDatabase(MillionNameDatabase().lines, path);
    auto database =
        std::make_unique<NameDatabase>(path, DatabaseOptions{JoinPath(dir.path(), QStringLiteral("state")), {}});
    database->Read();
    database->Parse();
    database->Names().contains("");
    return database;
}

// Adding a name to a database of a million names as the add button does:
// the lock, the check that the file is still the one last written, the append
// and the atomic rewrite of the whole file (written, synced, renamed over the
// old one, the folder synced).
void BM_AddToMillionNameDatabase(benchmark::State& state) {
    QTemporaryDir dir;
    const std::unique_ptr<NameDatabase> database = MillionNameDatabaseFile(dir);
    std::size_t added = 0;
    for (auto _ : state) {
        if (database->Add("Neu" + std::to_string(added++)) != NameDatabase::AddResult::Added) {
            state.SkipWithError("the name was not added");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * database->Lines().FileBytes().size()));
}
BENCHMARK(BM_AddToMillionNameDatabase)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same add after another program appended a name to the file (as an
// editor or a second copy does): the file is read and parsed anew first.
void BM_AddAfterOutsideChange(benchmark::State& state) {
    QTemporaryDir dir;
    const std::unique_ptr<NameDatabase> database = MillionNameDatabaseFile(dir);
    const QByteArray path = MillionNamePath(dir).Native();
    std::size_t added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string outside = "Aussen" + std::to_string(added) + "\xB3\r\n";
        const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
        const bool appended = fd >= 0 && ::write(fd, outside.data(), outside.size()) == std::ssize(outside);
        if (fd >= 0)
            ::close(fd);
        ReleaseFreeMemory(); // the lists read anew fault their pages in, as in the read floor
        state.ResumeTiming();
        if (!appended || database->Add("Neu" + std::to_string(added++)) != NameDatabase::AddResult::Added) {
            state.SkipWithError("the name was not added");
            break;
        }
    }
    if (database->Names().size() != kMillion + 2 * added)
        state.SkipWithError("the outside names were not read");
}
BENCHMARK(BM_AddAfterOutsideChange)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: the same bytes written once to a new file with plain system
// calls, synced and renamed over the old one (the folder is not synced).
void BM_WriteSyncRename(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = JoinPath(dir.path(), QStringLiteral("fnames.dat")).Native().toStdString();
    const std::string temporary = path + ".new";
    const std::string_view bytes = MillionNameDatabase().lines.FileBytes();
    for (auto _ : state) {
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        std::size_t written = 0;
        while (fd >= 0 && written < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
            if (n <= 0)
                break;
            written += static_cast<std::size_t>(n);
        }
        if (fd < 0 || written != bytes.size() || ::fsync(fd) != 0 || ::close(fd) != 0 ||
            std::rename(temporary.c_str(), path.c_str()) != 0) {
            state.SkipWithError("writing failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_WriteSyncRename)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace tavolin::bench
