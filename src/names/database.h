#pragma once

#include "fileio/fileio.h"
#include "names/linelist.h"
#include "names/namelist.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

namespace tavolin {

inline constexpr char kSeparator = '\xB3'; // "³", ends every name in a database file

// File names of the two databases in the program's directory.
inline const QString kFemaleDatabaseFile = QStringLiteral("fnames.dat");
inline const QString kMaleDatabaseFile = QStringLiteral("mnames.dat");

// The largest database file the lists can hold (their offsets have 32 bits).
inline constexpr std::uint64_t kMaxDatabaseBytes = std::numeric_limits<std::uint32_t>::max();

// A database file as read: its raw lines as Windows-1252 text (converted from
// UTF-8 where an editor saved it so, see DatabaseTextOf), the identity of the
// file they came from, and what of a UTF-8 file could not be taken over.
struct NameFile {
    LineList lines;
    FileIdentity identity;
    std::size_t leftOutNames = 0;
    bool leftOutTrailingText = false;
};

// A database file's bytes as they are, read for the first time or anew
// because it changed. Throws as ReadNameFile does.
FileContents ReadDatabaseBytes(const FilePath& path, Reading reading = Reading::First);
// A database file's bytes as ReadNameFile reads them.
NameFile NameFileOf(FileContents contents);

// Reads a database file. Throws FileError when it cannot be opened or read,
// and ListSizeError, before reading anything, when it is larger than the
// lists can hold.
NameFile ReadNameFile(const FilePath& path, Reading reading = Reading::First);

// Reads a file to be merged: a database as ReadNameFile reads it, and a
// file without any separator as the plain name list it is (PlainListText).
// Throws as ReadNameFile does.
NameFile ReadForeignNameFile(const FilePath& path);

// Reads a database file again into the lines and names read from it before,
// which hold nothing of their own (no unsaved name, nothing left out). When
// the file only grew behind their text (another copy or program appended
// names), that text ends with a separator and all of it is plain
// Windows-1252, only the new bytes are split and parsed: their lines and
// names are appended, the names' index kept, and nothing is returned.
// Otherwise the lists stay as they are and the whole file comes back as
// ReadNameFile reads it. Throws as ReadNameFile does.
std::optional<NameFile> ReadGrownNameFile(const FilePath& path, LineList& lines, NameList& names,
                                          FileIdentity& identity);

// Appends to `names` every name of the raw lines: everything between two
// separators is a name, line breaks are ignored (a name may run across
// lines), and text behind the last separator is dropped. Lines before
// `firstLine` are skipped; they must end with a separator.
void ParseNameLines(const LineList& lines, NameList& names, std::size_t firstLine = 0);

// Text behind the last separator of the raw lines, without its line breaks:
// no name, but the next start reads it as the beginning of the next name.
std::string TrailingText(const LineList& lines);

// Adds a name to a database: to its names list, and to its raw lines as one
// line made of the name and the separator. Trailing text is first closed with
// a separator on its own line and becomes a name, so that the added name
// comes back whole at the next start and the names list stays equal to what
// the next start reads. Returns false when the name was that trailing text,
// which then is in the database once and not twice.
bool AppendName(LineList& lines, NameList& names, std::string_view name);

// Replaces the file with the raw lines, each followed by CR LF, and returns
// the identity of the file written. Throws FileError with the create error
// text; the old file then stays as it was.
FileIdentity WriteNameDatabase(const LineList& lines, const FilePath& path);

// The bytes that put names behind a database file's present content in place,
// written as the file writes its own (StyleOf): text behind its last separator
// is closed with one first, and the names follow, each on a line of its own.
// The names are those the file lacks as a copy of the program holds them;
// that copy took the closed text for a name too (AppendName), so one name
// equal to it is that text and not written again.
std::string AppendixFor(std::string_view present, const NameList& names);

// Whether a name can be kept as one name in a database file: the separator
// would split it, a line break would vanish when the file is read, and a NUL
// byte cuts the file short for readers that stop at it.
bool IsStorableName(std::string_view name);

} // namespace tavolin
