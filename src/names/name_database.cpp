#include "names/name_database.h"

#include "names/database.h"
#include "names/merge.h"

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace tavolin {

NameDatabase::NameDatabase(FilePath path, SaveFaultHook faults)
    : path_(std::move(path)), faults_(std::move(faults)), names_(std::make_unique<NameList>()),
      unsaved_(std::make_unique<NameList>()) {}

NameDatabase::~NameDatabase() = default;

void NameDatabase::TakeOver(NameFile& file) {
    lines_ = std::move(file.lines);
    identity_ = file.identity;
    leftOut_ = file.leftOutNames + (file.leftOutTrailingText ? 1 : 0);
    firstLeftOut_ = std::move(file.firstLeftOut);
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
    if (SaveStepFails(faults_, SaveStep::Read))
        throw FileError(OpenErrorText(path_));
    NameFile file = ReadNameFile(path_);
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

void NameDatabase::Write() {
    if (leftOut_ > 0) {
        throw FileError(u"Datei %1 wird nicht überschrieben: %2 Name(n) darin enthalten Zeichen, die in der "
                        u"Namen-Datenbank nicht gespeichert werden können (zum Beispiel „%3“), und gingen sonst "
                        u"verloren"_s.arg(path_.Display(), QString::number(leftOut_), firstLeftOut_)
                            .toStdString());
    }
    identity_ = WriteNameDatabase(lines_, path_, faults_);
    unsaved_->clear();
}

void NameDatabase::KeepUnsaved(std::size_t first) {
    for (std::size_t i = first; i < names_->size(); ++i)
        unsaved_->append((*names_)[i]);
}

NameDatabase::AddResult NameDatabase::Add(std::string_view name) {
    const FileLock lock(path_, FileLock::kTimeout, faults_);
    Refresh();
    // Right after a re-read the list has no index yet: one look at every
    // entry costs less than building it, which the next keystroke does.
    const NameList& names = *names_;
    if (names.Indexed() ? names.contains(name) : std::find(names.begin(), names.end(), name) != names.end()) {
        if (!IsUnsaved(name))
            return AddResult::Present;
        Write();
        return AddResult::Saved;
    }
    const std::size_t first = names_->size();
    AppendName(lines_, *names_, name);
    KeepUnsaved(first);
    Write();
    return AddResult::Added;
}

std::size_t NameDatabase::Merge(const NameList& foreign) {
    const FileLock lock(path_, FileLock::kTimeout, faults_);
    Refresh();
    const std::size_t first = names_->size();
    const std::size_t added = AddMissingNames(foreign, *names_, lines_);
    KeepUnsaved(first);
    Write();
    return added;
}

void NameDatabase::SaveUnsaved() {
    if (unsaved_->empty())
        return;
    const FileLock lock(path_, FileLock::kTimeout, faults_);
    Refresh();
    if (!unsaved_->empty())
        Write();
}

} // namespace tavolin
