#pragma once

#include "fileio/fileio.h"
#include "names/linelist.h"
#include "names/namelist.h"

#include <cstddef>
#include <string>

namespace tavolin {

// "Datei %s ist keine Namen-Datenbank ..." for a file that holds NUL bytes.
std::string NoDatabaseErrorText(const FilePath& path);

// Loads a foreign database: its raw lines replace `mergeLines`, and
// `mergeNames` is refilled with its names (duplicates and empty names as
// they occur); a UTF-8 file is read as such (DatabaseTextOf), a plain list
// of names as one name per line (ReadForeignNameFile). Returns how many
// of its names were left out because they cannot be stored. Throws FileError
// with the open error text when the file cannot be read, FileError with
// NoDatabaseErrorText when it holds NUL bytes (a program or a picture, no
// text), and ListSizeError, before reading, when it is too large; both lists
// are then left as they were.
std::size_t LoadMergeDatabase(const FilePath& path, LineList& mergeLines, NameList& mergeNames);

// Adds to a database's names and raw lines every foreign name that the names
// do not hold yet, in the foreign order (with AppendName); a name that occurs
// several times is added once. Returns how many foreign names were added.
std::size_t AddMissingNames(const NameList& mergeNames, NameList& names, LineList& lines);

} // namespace tavolin
