#pragma once

#include "fileio/fileio.h"
#include "names/namelist.h"

namespace tavolin {

// Names that a database could not take when they were added, kept in a small
// file of the user's until it can, the way an editor keeps a swap file: a
// name the program accepted is on disk even when its database is not
// written, and survives however the program ends. There is one such file per
// database, named after a hash of the database's path, in a folder of the
// user's own ($XDG_STATE_HOME/tavolin). It is a name database file itself (a
// user can merge it by hand), written whole, synced and renamed into place,
// so that a crash leaves the old one or the new one.
//
// Every copy of the program that uses the database shares the file: a copy
// that takes names from it holds its lock (FileLock on Path()) until they are
// in the database and the file is removed, after the database's own lock.
class RecoveryFile final {
public:
    RecoveryFile() = default; // none: names are kept nowhere
    RecoveryFile(const FilePath& folder, const FilePath& database);

    bool Configured() const { return !path_.Empty(); }
    const FilePath& Path() const { return path_; }
    bool Exists() const;

    // Appends the names kept, in the order they were kept. Throws FileError
    // when the file cannot be read.
    void ReadInto(NameList& names) const;
    // Keeps these names besides those kept already (each name once). Throws
    // FileError when the file cannot be written; what it held stays.
    void Keep(const NameList& names) const;
    void Remove() const;

private:
    FilePath folder_;
    FilePath path_;
};

} // namespace tavolin
