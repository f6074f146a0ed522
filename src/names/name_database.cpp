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
      recovery_(options_.recoveryFolder.Empty()
                    ? RecoveryFile()
                    : RecoveryFile(options_.recoveryFolder, path_, options_.recoveryFaults)),
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
    if (SaveStepFails(options_.faults, SaveStep::Read))
        throw FileError(OpenErrorText(path_));
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
    NameFile file = whole ? std::move(*whole) : ReadNameFile(path_);
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
    recoveryLock.emplace(recovery_.Path(), FileLock::kTimeout, recovery_.Faults(), options_.whileWaiting);
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
    identity_ = SaveFile(path_, content, options_.faults);
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
            recoveryLock.emplace(recovery_.Path(), FileLock::kTimeout, recovery_.Faults(), options_.whileWaiting);
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

template <class Change>
auto NameDatabase::Update(const Change& change, const std::function<bool()>& write, bool inMemory)
    -> decltype(change()) {
    std::optional<FileLock> recoveryLock;
    bool changed = false;
    try {
        const FileLock lock(path_, FileLock::kTimeout, options_.faults, options_.whileWaiting);
        Refresh();
        TakeKept(recoveryLock);
        const std::vector<std::string> pending(unsaved_->begin(), unsaved_->end());
        changed = true;
        auto result = change();
        // Whatever the change did, names waiting to be written are written
        // before the recovery file that keeps them goes, and a file that is
        // gone is written anew.
        if (write() || !unsaved_->empty() || gone_)
            Write();
        if (recoveryLock)
            recovery_.Remove();
        recovered_ = static_cast<std::size_t>(std::count_if(
            pending.begin(), pending.end(), [this](std::string_view name) { return names_->contains(name); }));
        keepError_.clear();
        return result;
    } catch (...) {
        // The change is made on what this copy knows, and its names are
        // kept until the file takes them.
        recovered_ = 0;
        if (!changed && inMemory) {
            try {
                change();
            } catch (...) {
                // What could not be added is not kept either; the error that
                // stopped the change is the one the user hears of.
            }
        }
        KeepInRecoveryFile(recoveryLock);
        throw;
    }
}

NameDatabase::AddResult NameDatabase::Add(std::string_view name) {
    return Update(
        [&] {
            // Right after a re-read the list has no index yet: one look at
            // every entry costs less than building it, which the next
            // keystroke does.
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
        },
        [this] { return !unsaved_->empty(); });
}

std::size_t NameDatabase::Merge(const NameList& foreign) {
    return Update(
        [&] {
            Unkeep([&](std::string_view kept) { return foreign.contains(kept); });
            const std::size_t first = names_->size();
            const std::size_t added = AddMissingNames(foreign, *names_, lines_);
            KeepUnsaved(first);
            return added;
        },
        [] { return true; });
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
    return Update(
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
            SaveFile(path_, content, options_.faults);
            TakeOverWritten();
            result.fileAfter = *identity_;
            result.blanked = static_cast<std::size_t>(result.fileAfter.size) == present.size();
            return result;
        },
        [] { return false; }, false);
}

NameDatabase::AddResult NameDatabase::Restore(const RemovedEntry& removed) {
    try {
        const bool inPlace = Update(
            [&] {
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
                    // Inserted into a new file; a file written in place only
                    // grows at its end.
                    whole.insert(removed.offset, removed.bytes);
                    name.append(removed.name);
                    content.appendix = [&name](std::string_view bytes) { return AppendixFor(bytes, name); };
                }
                content.whole = whole;
                content.locked = true;
                SaveFile(path_, content, options_.faults);
                TakeOverWritten();
                return true;
            },
            [] { return false; }, false);
        if (inPlace)
            return AddResult::Added;
    } catch (const FileError&) {
        // Added below as every name: kept until the file takes it.
    }
    return Add(removed.name);
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
        Update([] { return 0; }, [this] { return !unsaved_->empty(); });
}

std::size_t NameDatabase::Recover() {
    if (!recovery_.Exists())
        return 0;
    Update([] { return 0; }, [this] { return !unsaved_->empty(); });
    return recovered_;
}

} // namespace tavolin
