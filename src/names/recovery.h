#pragma once

#include "fileio/fileio.h"
#include "names/namelist.h"

#include <optional>
#include <string>

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
//
// The folder and the file are the user's alone: a folder others may write to
// or that belongs to someone else is not used, and the file is never reached
// through a link. What stands at the file's path and is no readable file of
// the user's (a folder, a link, another user's file, one too large to be a
// list of kept names) never blocks the database: it is renamed aside, once,
// and a new file takes its place. Notice() tells the user about it.
class RecoveryFile final {
public:
    RecoveryFile() = default; // none: names are kept nowhere
    RecoveryFile(const FilePath& folder, const FilePath& database);

    bool Configured() const { return !path_.Empty(); }
    const FilePath& Path() const { return path_; }
    bool Exists() const;

    // Whether the folder can be used; when it cannot, the file is no longer
    // configured and the notice says why.
    bool CheckFolder();
    // Appends the names kept, in the order they were kept. A file that
    // cannot serve is set aside and holds nothing. Throws FileError when the
    // file cannot be read for another reason.
    void ReadInto(NameList& names);
    // Keeps these names besides those kept already (each name once). Throws
    // FileError when the file cannot be written; what it held stays.
    void Keep(const NameList& names);
    void Remove() const;

    // What the user should hear of once: a file set aside, a folder not
    // used (UTF-8 text), or nothing.
    std::optional<std::string> TakeNotice() { return std::exchange(notice_, std::nullopt); }

private:
    void SetAside(const std::string& why);

    FilePath folder_;
    FilePath path_;
    std::optional<std::string> notice_;
};

} // namespace tavolin
