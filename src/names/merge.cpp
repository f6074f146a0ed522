#include "names/merge.h"

#include "names/database.h"

#include <cassert>
#include <utility>

namespace tavolin {

void LoadMergeDatabase(const QString& path, LineList& mergeLines, NameList& mergeNames) {
    // Read first: a file that cannot be read must not cost the database loaded before.
    LineList lines = ReadNameFile(path);
    mergeLines = std::move(lines);
    mergeNames.clear();
    ParseNameLines(mergeLines, mergeNames);
}

std::size_t AddMissingNames(const NameList& mergeNames, NameList& names, LineList& lines) {
    // The foreign names are views into their own list, which must not move
    // while the target grows.
    assert(&mergeNames != &names);
    std::size_t added = 0;
    for (const std::string_view name : mergeNames) {
        // The index holds every name added so far in this merge as well, so
        // later occurrences of a name find its first copy, as a search of the
        // whole list would.
        if (names.contains(name))
            continue;
        if (AppendName(lines, names, name))
            ++added;
    }
    return added;
}

std::size_t MergeIntoDatabase(const NameList& mergeNames, NameList& names, LineList& lines, const QString& path) {
    const std::size_t added = AddMissingNames(mergeNames, names, lines);
    WriteNameDatabase(lines, path);
    return added;
}

} // namespace tavolin
