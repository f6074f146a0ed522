#include "names/name_database.h"

#include "names/database.h"
#include "names/encoding.h"
#include "names/merge.h"

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

namespace tavolin {

NameDatabase::NameDatabase(FilePath path, DatabaseOptions options)
    : path_(std::move(path)), options_(std::move(options)),
      recovery_(options_.recoveryFolder.Empty() ? RecoveryFile() : RecoveryFile(options_.recoveryFolder, path_)),
      names_(std::make_unique<NameList>()), unsaved_(std::make_unique<NameList>()) {}

NameDatabase::~NameDatabase() = default;

void NameDatabase::TakeOver(NameFile& file) {
    lines_ = std::move(file.lines);
    identity_ = file.identity;
    leftOut_ = file.leftOutNames + (file.leftOutTrailingText ? 1 : 0);
}

void NameDatabase::Read() {
    NameFile file = ReadNameFile(path_);
    TakeOver(file);
}

void NameDatabase::Parse() {
    ParseNameLines(lines_, *names_);
}

bool NameDatabase::IsUnsaved(std::string_view name) const {
    return !unsaved_->empty() && unsaved_->contains(name);
}

void NameDatabase::Refresh() {
    const std::optional<FileIdentity> now = IdentityOf(path_);
    gone_ = !now;
    if (!now || now == identity_)
        return;
    // Usually another copy appended a few names: only those are read, and
    // the names keep their index for the next question.
    std::optional<NameFile> whole;
    if (unsaved_->empty() && leftOut_ == 0) {
        FileIdentity grownIdentity;
        whole = ReadGrownNameFile(path_, lines_, *names_, grownIdentity);
        if (!whole) {
            identity_ = grownIdentity;
            return;
        }
    }
    NameFile file = whole ? std::move(*whole) : ReadNameFile(path_, Reading::Anew);
    auto names = std::make_unique<NameList>();
    ParseNameLines(file.lines, *names);
    auto unsaved = std::make_unique<NameList>();
    for (const std::string_view name : *unsaved_) {
        // Another copy saved it meanwhile; or it is in the recovery file,
        // which brings it back unless another copy took it from there.
        if (names->contains(name) || (!kept_.empty() && kept_.contains(name)))
            continue;
        AppendName(file.lines, *names, name);
        unsaved->append(name);
    }
    TakeOver(file);
    names_ = std::move(names);
    unsaved_ = std::move(unsaved);
    kept_.clear();
}

void NameDatabase::TakeKept(std::optional<FileLock>& recoveryLock) {
    if (!recovery_.Exists() || !recovery_.CheckFolder())
        return;
    recoveryLock.emplace(recovery_.Path(), FileLock::kTimeout, options_.whileWaiting);
    NameList kept;
    recovery_.ReadInto(kept);
    if (!recovery_.Exists())
        recoveryLock.reset(); // set aside: nothing to remove
    for (const std::string_view name : kept) {
        if (names_->contains(name))
            continue;
        const std::size_t first = names_->size();
        AppendName(lines_, *names_, name);
        KeepUnsaved(first);
        kept_.append(name);
    }
}

void NameDatabase::Write() {
    // A file that holds text the lists cannot (a UTF-8 name without a place
    // in Windows-1252) is extended, never written anew.
    NewContent content{lines_.FileBytes(), [this](std::string_view present) { return AppendixFor(present, *unsaved_); },
                       leftOut_ > 0};
    content.locked = true;
    identity_ = SaveFile(path_, content);
    gone_ = false;
    unsaved_->clear();
    kept_.clear();
}

void NameDatabase::KeepUnsaved(std::size_t first) {
    for (std::size_t i = first; i < names_->size(); ++i)
        unsaved_->append((*names_)[i]);
}

void NameDatabase::Unkeep(const std::function<bool(std::string_view)>& again) {
    if (kept_.empty())
        return;
    std::vector<std::string> others;
    for (const std::string_view other : kept_) {
        if (!again(other))
            others.emplace_back(other);
    }
    if (others.size() == kept_.size())
        return;
    kept_.clear();
    for (const std::string& other : others)
        kept_.append(other);
}

void NameDatabase::KeepInRecoveryFile(std::optional<FileLock>& recoveryLock) noexcept {
    try {
        // Names kept before are in the recovery file still, or another copy
        // took them from there: they are not this copy's to keep again.
        NameList own;
        for (const std::string_view name : *unsaved_) {
            if (kept_.empty() || !kept_.contains(name))
                own.append(name);
        }
        if (own.empty()) {
            keepError_.clear();
            return;
        }
        if (!recovery_.Configured()) {
            keepError_ = "no recovery file";
            return;
        }
        if (!recoveryLock)
            recoveryLock.emplace(recovery_.Path(), FileLock::kTimeout, options_.whileWaiting);
        recovery_.Keep(own);
        for (const std::string_view name : own)
            kept_.append(name);
        keepError_.clear();
    } catch (const std::exception& error) {
        keepError_ = error.what();
    } catch (...) {
        keepError_ = "?";
    }
}

// One change of the file, on top of what it holds: under the file's lock,
// read anew when it changed, with the names of the recovery file on top.
// Commit writes what waits for the file and lets the recovery file go; a
// transaction that cannot commit keeps the unsaved names in the recovery
// file (Keep).
class NameDatabase::Transaction final {
public:
    explicit Transaction(NameDatabase& database)
        : database_(database), lock_(database.path_, FileLock::kTimeout, database.options_.whileWaiting) {
        database_.Refresh();
        database_.TakeKept(recoveryLock_);
        pending_.assign(database_.unsaved_->begin(), database_.unsaved_->end());
    }
    Q_DISABLE_COPY_MOVE(Transaction)
    ~Transaction() = default;

    void Commit(NameDatabase::Commit commit) {
        // Whatever the change did, names waiting to be written are written
        // before the recovery file that keeps them goes, and a file that is
        // gone is written anew.
        if (commit == NameDatabase::Commit::Always || !database_.unsaved_->empty() || database_.gone_)
            database_.Write();
        if (recoveryLock_)
            database_.recovery_.Remove();
        database_.recovered_ =
            static_cast<std::size_t>(std::count_if(pending_.begin(), pending_.end(), [this](std::string_view name) {
                return database_.names_->contains(name);
            }));
        database_.keepError_.clear();
    }
    void Keep() noexcept { database_.KeepInRecoveryFile(recoveryLock_); }

private:
    NameDatabase& database_;
    const FileLock lock_;
    std::optional<FileLock> recoveryLock_;
    std::vector<std::string> pending_; // unsaved when the change began
};

template <class Change>
auto NameDatabase::Changed(Commit commit, const Change& change, const std::function<void()>& offline)
    -> decltype(change()) {
    recovered_ = 0;
    std::optional<Transaction> transaction;
    try {
        transaction.emplace(*this);
    } catch (...) {
        // The change is made on what this copy knows, and its names are
        // kept until the file takes them.
        if (offline) {
            try {
                offline();
            } catch (...) {
                // What could not be added is not kept either; the error that
                // stopped the change is the one the user hears of.
            }
        }
        std::optional<FileLock> recoveryLock;
        KeepInRecoveryFile(recoveryLock);
        throw;
    }
    try {
        auto result = change();
        transaction->Commit(commit);
        return result;
    } catch (...) {
        transaction->Keep();
        throw;
    }
}

NameDatabase::AddResult NameDatabase::AddToLists(std::string_view name) {
    // Right after a re-read the list has no index yet: one look at every
    // entry costs less than building it, which the next keystroke does.
    const NameList& names = *names_;
    if (names.Indexed() ? names.contains(name) : std::find(names.begin(), names.end(), name) != names.end()) {
        if (!IsUnsaved(name))
            return AddResult::Present;
        // The player's again, whatever became of it in the recovery file.
        Unkeep([&](std::string_view kept) { return kept == name; });
        return AddResult::Saved;
    }
    const std::size_t first = names_->size();
    AppendName(lines_, *names_, name);
    KeepUnsaved(first);
    return AddResult::Added;
}

NameDatabase::AddResult NameDatabase::Add(std::string_view name) {
    const auto add = [&] { return AddToLists(name); };
    return Changed(Commit::WhenNamesWait, add, add);
}

std::size_t NameDatabase::Merge(const NameList& foreign) {
    const auto merge = [&] {
        Unkeep([&](std::string_view kept) { return foreign.contains(kept); });
        const std::size_t first = names_->size();
        const std::size_t added = AddMissingNames(foreign, *names_, lines_);
        KeepUnsaved(first);
        return added;
    };
    return Changed(Commit::Always, merge, merge);
}

void NameDatabase::TakeOverWritten() {
    NameFile file = ReadNameFile(path_);
    auto names = std::make_unique<NameList>();
    ParseNameLines(file.lines, *names);
    TakeOver(file);
    names_ = std::move(names);
}

std::optional<NameDatabase::RemovedEntry> NameDatabase::Remove(std::string_view name) {
    const std::string removed(name); // the name may be a view into the lists
    return Changed(
        Commit::WhenNamesWait,
        [&]() -> std::optional<RemovedEntry> {
            if (!names_->contains(removed))
                return std::nullopt;
            if (!unsaved_->empty() || gone_)
                Write(); // and a file that is gone is written anew first
            const std::string present = ReadDatabaseBytes(path_).bytes;
            const std::optional<ByteRange> entry = FirstEntryOf(present, removed);
            if (!entry)
                return std::nullopt;
            RemovedEntry result{removed, entry->begin, present.substr(entry->begin, entry->end - entry->begin), {}};
            std::string erased = present;
            erased.erase(entry->begin, result.bytes.size());
            NewContent content;
            content.whole = erased;
            content.patch = NewContent::Patch{entry->begin, result.bytes, std::string(result.bytes.size(), '\n')};
            content.locked = true;
            SaveFile(path_, content);
            TakeOverWritten();
            result.fileAfter = *identity_;
            result.blanked = static_cast<std::size_t>(result.fileAfter.size) == present.size();
            return result;
        },
        {});
}

bool NameDatabase::PutBack(const RemovedEntry& removed) {
    if (identity_ != removed.fileAfter || !unsaved_->empty() || gone_)
        return false;
    const std::string present = ReadDatabaseBytes(path_).bytes;
    if (present.size() < removed.offset)
        return false;
    std::string whole = present;
    NewContent content;
    NameList name;
    if (removed.blanked) {
        std::string blank(removed.bytes.size(), '\n');
        if (present.compare(removed.offset, blank.size(), blank) != 0)
            return false;
        whole.replace(removed.offset, blank.size(), removed.bytes);
        content.patch = NewContent::Patch{removed.offset, std::move(blank), removed.bytes};
    } else {
        // Inserted into a new file; a file written in place only grows at
        // its end.
        whole.insert(removed.offset, removed.bytes);
        name.append(removed.name);
        content.appendix = [&name](std::string_view bytes) { return AppendixFor(bytes, name); };
    }
    content.whole = whole;
    content.locked = true;
    SaveFile(path_, content);
    TakeOverWritten();
    return true;
}

NameDatabase::AddResult NameDatabase::Restore(const RemovedEntry& removed) {
    // Decided under one lock: where the entry cannot go back where it was,
    // it is added behind the others as every name is.
    return Changed(
        Commit::WhenNamesWait,
        [&] {
            try {
                if (PutBack(removed))
                    return AddResult::Added;
            } catch (const FileError&) {
                // Added below, and kept until the file takes it.
            }
            return AddToLists(removed.name);
        },
        [&] { AddToLists(removed.name); });
}

NameDatabase::AddResult LastChange::Add(NameDatabase& database, std::string_view name) {
    const std::string added(name); // the name may be a view into the lists
    const auto remember = [&] {
        database_ = &database;
        added_ = added;
        removed_.reset();
    };
    NameDatabase::AddResult result{};
    try {
        result = database.Add(added);
    } catch (...) {
        if (database.IsUnsaved(added))
            remember(); // taken, and kept until the file takes it
        throw;
    }
    if (result != NameDatabase::AddResult::Present)
        remember();
    return result;
}

bool LastChange::Remove(NameDatabase& database, std::string_view name) {
    std::optional<NameDatabase::RemovedEntry> removed = database.Remove(name);
    if (!removed)
        return false;
    database_ = &database;
    removed_ = std::move(removed);
    return true;
}

NameDatabase* LastChange::Undo() {
    NameDatabase* const database = database_;
    if (database && !removed_)
        database->Remove(added_); // a failed removal stays to be undone
    database_ = nullptr;
    if (database && removed_)
        database->Restore(*std::exchange(removed_, std::nullopt));
    return database;
}

void NameDatabase::SaveUnsaved() {
    if (!unsaved_->empty())
        Changed(
            Commit::WhenNamesWait, [] { return 0; }, [] {});
}

std::size_t NameDatabase::Recover() {
    if (!recovery_.Exists())
        return 0;
    Changed(
        Commit::WhenNamesWait, [] { return 0; }, [] {});
    return recovered_;
}

} // namespace tavolin
