#include "benchdata.h"

#include "fileio/fileio.h"
#include "namegen.h"
#include "names/database.h"

#include <QTemporaryDir>
#include <algorithm>
#include <map>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tavolin::bench {

const std::string& MillionNameBytes() {
    static const std::string kBytes = MakeDatabaseBytes(kMillion, 42);
    return kBytes;
}

const QString& MillionNameFile() {
    static const QTemporaryDir kDir;
    static const QString kPath = [] {
        QString file = kDir.filePath(QStringLiteral("fnames.dat"));
        SaveFileAtomically(file, MillionNameBytes());
        return file;
    }();
    return kPath;
}

std::unique_ptr<Database> MakeDatabase(std::size_t count, std::uint64_t seed) {
    auto database = std::make_unique<Database>();
    database->lines = LineList::FromFileBytes(MakeDatabaseBytes(count, seed));
    ParseNameLines(database->lines, database->names);
    return database;
}

const MergeCase& MergeCaseOf(std::size_t count) {
    static std::map<std::size_t, std::unique_ptr<MergeCase>> cache;
    auto& data = cache[count];
    if (data)
        return *data;
    data = std::make_unique<MergeCase>();
    data->target = MakeDatabaseBytes(count, 42);
    // The new half is made up from another seed, each name marked with a
    // suffix of its own ("q" and its number in lower-case letters; the
    // made-up names never hold a "q").
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
    data->result = std::string(lines.FileBytes());
    return *data;
}

bool BeginsWith(std::string_view name, std::string_view beginning) {
    const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; };
    return name.size() >= beginning.size() && std::equal(beginning.begin(), beginning.end(), name.begin(),
                                                         [&](char wanted, char c) { return fold(wanted) == fold(c); });
}

void ReleaseFreeMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace tavolin::bench
