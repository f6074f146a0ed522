#pragma once

#include "fileio/fileio.h"
#include "names/database.h"
#include "names/gender.h"
#include "names/linelist.h"
#include "names/namelist.h"
#include "names/recovery.h"

#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tavolin {

// What a database takes from its surroundings: the folder of the recovery
// files (none: names that cannot be written are kept only in memory), and
// what runs while a lock is waited for.
struct DatabaseOptions {
    FilePath recoveryFolder;
    LockWaitHook whileWaiting;
};

// One of the program's two databases and the one owner of its file. The file
// is the truth: another running copy of the program, an editor or a sync tool
// may have changed it since this copy read or wrote it. So every change
// happens under the file's lock and on top of what the file holds then: when
// its identity differs from the one this copy knows, it is read anew, the
// names of this copy that are not saved yet and that it lacks go on top of
// it, and only then the change is made and the file written. Nothing is
// watched or polled; between changes the lists are what this copy last knew.
//
// A file that has gone meanwhile is written anew from everything this copy
// holds. A change that cannot reach the file (its lock cannot be taken, it
// cannot be read or written) is made all the same in the lists, marked
// unsaved, and its names are kept in the recovery file before the error is
// thrown; the next change of the database by any copy (or SaveUnsaved, or
// Recover at the next start) writes them with everything else and removes
// the recovery file. Once its names are in the recovery file, that file
// speaks for them: a copy that finds the file changed takes back only what
// the recovery file still holds, so that a name another copy saved and the
// player then removed does not come back.
class NameDatabase final {
public:
    explicit NameDatabase(FilePath path, DatabaseOptions options = {});
    ~NameDatabase();
    Q_DISABLE_COPY_MOVE(NameDatabase)

    const LineList& Lines() const { return lines_; }
    const NameList& Names() const { return *names_; }

    // The start-up load, in two steps, so that nothing is parsed unless both
    // databases could be read. Read replaces the raw lines only once the file
    // was read whole; it throws FileError, or ListSizeError for a file too
    // large to hold. Parse adds the names of the raw lines.
    void Read();
    void Parse();

    // Names this copy holds and its file lacks: their write failed.
    std::size_t UnsavedCount() const { return unsaved_->size(); }
    bool IsUnsaved(std::string_view name) const;
    // Whether the unsaved names are all in the recovery file.
    bool UnsavedKept() const { return keepError_.empty(); }
    const FilePath& RecoveryPath() const { return recovery_.Path(); }
    // How many names the last change wrote that an earlier one could not
    // (this copy's, or kept in the recovery file by any copy) and that the
    // file holds after it.
    std::size_t Recovered() const { return recovered_; }
    // What the user should hear of the recovery file once (see RecoveryFile).
    std::optional<std::string> TakeRecoveryNotice() { return recovery_.TakeNotice(); }

    enum class AddResult {
        Added,   // the name is in the file now
        Present, // the file holds it already
        Saved,   // only this copy held it, unsaved; now the file does
    };
    // Throws FileError when the lock cannot be taken or the file cannot be
    // read or written; the name is then unsaved and kept (see above).
    AddResult Add(std::string_view name);
    // Adds every foreign name that the database lacks and writes the file,
    // also when none was new. Returns how many were added. Fails as Add does.
    std::size_t Merge(const NameList& foreign);
    // What a removal took out of the file, to put it back where it was.
    struct RemovedEntry {
        std::string name;
        std::size_t offset = 0;
        std::string bytes;      // the entry, its separator and line break
        FileIdentity fileAfter; // the file the removal left
        bool blanked = false;   // its bytes were overwritten with line breaks
    };
    // Takes the name out of the file: its first entry goes, every other byte
    // stays (FirstEntryOf). Where the file has to be written in place, the
    // entry's bytes are overwritten with as many line breaks instead, so that
    // no byte of another name is ever written. Names not saved yet are
    // written first, so that no later save brings the name back. Returns
    // nothing when the file does not hold it. Throws FileError when the lock
    // cannot be taken or the file cannot be read or written; the name then
    // stays where it was.
    std::optional<RemovedEntry> Remove(std::string_view name);
    // Puts a removed entry back: byte for byte where it was while the file is
    // still the one the removal left (into its blank, or inserted; where an
    // insertion would have to rewrite the file in place, behind the others),
    // else behind the others as Add does. Fails as Add does.
    AddResult Restore(const RemovedEntry& removed);
    // Writes the unsaved names, if there are any.
    void SaveUnsaved();
    // Writes the names kept in the recovery file, if there is one; returns
    // how many the file lacked. Fails as Add does.
    std::size_t Recover();

private:
    class Transaction;
    // Whether a change writes the file even when no name waits for it.
    enum class Commit { WhenNamesWait, Always };
    // Runs `change` in a Transaction and commits it. Where the file cannot
    // be reached, `offline` (when there is one) makes the change in the
    // lists alone, its names are kept, and the error is thrown; a change
    // without `offline` is not made without the file.
    template <class Change>
    auto Changed(Commit commit, const Change& change, const std::function<void()>& offline) -> decltype(change());
    // Under the lock: appends the name unless the lists hold it.
    AddResult AddToLists(std::string_view name);
    // Under the lock: puts the entry back where it was, if the file is
    // still the one the removal left and that can be done without touching
    // another name's bytes; false when it cannot.
    bool PutBack(const RemovedEntry& removed);
    // Under the lock: reads the file anew when it is not the one this copy
    // last read or wrote.
    void Refresh();
    // Under the lock: the file this copy just wrote becomes its lists.
    void TakeOverWritten();
    // Under the lock: takes the recovery file's lock and puts the kept names
    // that the file lacks on top, unsaved.
    void TakeKept(std::optional<FileLock>& recoveryLock);
    // Under the lock: writes the file and remembers the file written.
    void Write();
    // The names from `first` on were just added.
    void KeepUnsaved(std::size_t first);
    // Names the player added again are no longer taken to be in the
    // recovery file: they are this copy's own again.
    void Unkeep(const std::function<bool(std::string_view)>& again);
    // Puts the unsaved names into the recovery file; never throws.
    void KeepInRecoveryFile(std::optional<FileLock>& recoveryLock) noexcept;
    void TakeOver(NameFile& file);

    FilePath path_;
    DatabaseOptions options_;
    RecoveryFile recovery_;
    LineList lines_;
    std::unique_ptr<NameList> names_;
    std::unique_ptr<NameList> unsaved_; // in the order they were added
    NameList kept_;                     // those of them in the recovery file
    std::optional<FileIdentity> identity_;
    bool gone_ = false; // the file was missing at the last look
    // Text of a UTF-8 file that Windows-1252 cannot hold: such a file is only
    // ever extended, in its own encoding, or that text would be lost.
    std::size_t leftOut_ = 0;
    std::string keepError_;
    std::size_t recovered_ = 0;
};

// The player's adds and removals, the last of which can be taken back. An add
// counts whenever the name was taken, saved or kept for later; what changed
// nothing (a name present already, one gone already, a failed removal) leaves
// the last change as it was.
class LastChange final {
public:
    // NameDatabase::Add, remembered; throws as it does.
    NameDatabase::AddResult Add(NameDatabase& database, std::string_view name);
    // NameDatabase::Remove, remembered; returns whether the name was taken
    // out, throws as it does.
    bool Remove(NameDatabase& database, std::string_view name);
    bool CanUndo() const { return database_ != nullptr; }
    // Takes the change back with the care of the change itself: a name added
    // is removed, a name removed is put back (Restore). Returns the database
    // changed. Throws as Remove and Restore do; a failed removal stays to be
    // undone, a failed put-back is kept as every add is.
    NameDatabase* Undo();

private:
    NameDatabase* database_ = nullptr;
    std::string added_;
    std::optional<NameDatabase::RemovedEntry> removed_;
};

// The program's two databases, one per gender, side by side in one folder.
struct DatabasePair {
    explicit DatabasePair(const FilePath& folder, const DatabaseOptions& options = {})
        : female(JoinPath(folder, kFemaleDatabaseFile), options), male(JoinPath(folder, kMaleDatabaseFile), options) {}
    NameDatabase& Of(Gender gender) { return gender == Gender::Female ? female : male; }
    const NameDatabase& Of(Gender gender) const { return gender == Gender::Female ? female : male; }
    // The gender of one of the two.
    Gender GenderOf(const NameDatabase& database) const { return &database == &female ? Gender::Female : Gender::Male; }
    NameDatabase female;
    NameDatabase male;
};

} // namespace tavolin
