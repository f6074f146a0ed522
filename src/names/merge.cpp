#include "names/merge.h"

#include "names/database.h"

#include <QString>
#include <cassert>
#include <cstring>
#include <utility>

using namespace Qt::StringLiterals;

namespace tavolin {

std::string NoDatabaseErrorText(const FilePath& path) {
    return u"Datei %1 ist keine Namen-Datenbank (sie enthält Null-Bytes)"_s.arg(path.Display()).toStdString();
}

std::size_t LoadMergeDatabase(const FilePath& path, LineList& mergeLines, NameList& mergeNames) {
    // Read first: a file that cannot be read must not cost the database loaded before.
    NameFile file = ReadForeignNameFile(path);
    const std::string_view text = file.lines.FileBytes();
    if (std::memchr(text.data(), '\0', text.size()) != nullptr)
        throw FileError(NoDatabaseErrorText(path));
    mergeLines = std::move(file.lines);
    mergeNames.clear();
    ParseNameLines(mergeLines, mergeNames);
    return file.leftOutNames;
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

} // namespace tavolin
