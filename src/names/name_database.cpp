#include "names/name_database.h"

#include "names/database.h"
#include "names/encoding.h"
#include "names/merge.h"

#include <algorithm>
#include <exception>
#include <utility>

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
        if (names->contains(name))
            continue; // another copy saved it meanwhile
        AppendName(file.lines, *names, name);
        unsaved->append(name);
    }
    TakeOver(file);
    names_ = std::move(names);
    unsaved_ = std::move(unsaved);
}

void NameDatabase::TakeKept() {
    NameList kept;
    recovery_.ReadInto(kept);
    for (const std::string_view name : kept) {
        if (names_->contains(name))
            continue;
        const std::size_t first = names_->size();
        AppendName(lines_, *names_, name);
        KeepUnsaved(first);
    }
}

void NameDatabase::Write() {
    // A file that holds text the lists cannot (a UTF-8 name without a place
    // in Windows-1252) is extended, never written anew.
    const NewContent content{
        lines_.FileBytes(), [this](std::string_view present) { return AppendixFor(present, *unsaved_); }, leftOut_ > 0};
    identity_ = SaveFile(path_, content, options_.faults);
    unsaved_->clear();
}

void NameDatabase::KeepUnsaved(std::size_t first) {
    for (std::size_t i = first; i < names_->size(); ++i)
        unsaved_->append((*names_)[i]);
}

void NameDatabase::KeepInRecoveryFile(std::optional<FileLock>& recoveryLock) noexcept {
    if (unsaved_->empty())
        return;
    if (!recovery_.Configured()) {
        keepError_ = "no recovery file";
        return;
    }
    try {
        if (!recoveryLock)
            recoveryLock.emplace(recovery_.Path(), FileLock::kTimeout, SaveFaultHook(), options_.whileWaiting);
        recovery_.Keep(*unsaved_);
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
        if (recovery_.Exists()) {
            recoveryLock.emplace(recovery_.Path(), FileLock::kTimeout, SaveFaultHook(), options_.whileWaiting);
            TakeKept();
        }
        const std::size_t pending = unsaved_->size();
        changed = true;
        auto result = change();
        if (write())
            Write();
        if (recoveryLock)
            recovery_.Remove();
        recovered_ = pending;
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
            if (names.Indexed() ? names.contains(name) : std::find(names.begin(), names.end(), name) != names.end())
                return IsUnsaved(name) ? AddResult::Saved : AddResult::Present;
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
            const std::size_t first = names_->size();
            const std::size_t added = AddMissingNames(foreign, *names_, lines_);
            KeepUnsaved(first);
            return added;
        },
        [] { return true; });
}

void NameDatabase::TakeOverWritten(FileContents written) {
    NameFile file = NameFileOf(std::move(written));
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
            if (!unsaved_->empty())
                Write();
            FileContents present = ReadDatabaseBytes(path_);
            const std::optional<ByteRange> entry = FirstEntryOf(present.bytes, removed);
            if (!entry)
                return std::nullopt;
            RemovedEntry result{
                removed, entry->begin, present.bytes.substr(entry->begin, entry->end - entry->begin), {}};
            present.bytes.erase(entry->begin, entry->end - entry->begin);
            result.fileAfter = present.identity = SaveFileAtomically(path_, present.bytes, options_.faults);
            TakeOverWritten(std::move(present));
            return result;
        },
        [] { return false; }, false);
}

NameDatabase::AddResult NameDatabase::Restore(const RemovedEntry& removed) {
    try {
        const bool inPlace = Update(
            [&] {
                if (identity_ != removed.fileAfter || !unsaved_->empty())
                    return false;
                FileContents present = ReadDatabaseBytes(path_);
                if (present.bytes.size() < removed.offset)
                    return false;
                present.bytes.insert(removed.offset, removed.bytes);
                present.identity = SaveFileAtomically(path_, present.bytes, options_.faults);
                TakeOverWritten(std::move(present));
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
