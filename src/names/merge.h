#pragma once

#include "names/linelist.h"
#include "names/namelist.h"

#include <QString>
#include <cstddef>

namespace tavolin {

// Loads a foreign database: its raw lines replace `mergeLines`, and
// `mergeNames` is refilled with its names (duplicates and empty names as
// they occur). Throws FileError with the open error text when the file cannot
// be read; both lists are then left as they were.
void LoadMergeDatabase(const QString& path, LineList& mergeLines, NameList& mergeNames);

// Adds to a database's names and raw lines every foreign name that the names
// do not hold yet, in the foreign order (with AppendName); a name that occurs
// several times is added once. Returns how many foreign names were added.
std::size_t AddMissingNames(const NameList& mergeNames, NameList& names, LineList& lines);

// AddMissingNames, then the database file is rewritten, also when nothing was
// added. Returns how many foreign names were added. A failing rewrite throws
// FileError with the create error text; the names added stay in the lists and
// go to the file with its next successful write.
std::size_t MergeIntoDatabase(const NameList& mergeNames, NameList& names, LineList& lines, const QString& path);

} // namespace tavolin
