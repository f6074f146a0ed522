#pragma once

#include "fileio/fileio.h"
#include "names/database.h"
#include "names/linelist.h"
#include "names/namelist.h"

#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tavolin {

// One of the program's two databases and the one owner of its file. The file
// is the truth: another running copy of the program, an editor or a sync tool
// may have changed it since this copy read or wrote it. So every change
// happens under the file's lock and on top of what the file holds then: when
// its identity differs from the one this copy knows, it is read anew, the
// names of this copy that are not saved yet and that it lacks go on top of
// it, and only then the change is made and the whole file written. Nothing is
// watched or polled; between changes the lists are what this copy last knew.
//
// A file that has gone meanwhile is written anew from everything this copy
// holds. A change whose write fails stays in the lists, marked unsaved, and
// the next change (or SaveUnsaved) writes it with everything else.
class NameDatabase final {
public:
    // The hook makes chosen steps of the saves fail; the program passes none.
    explicit NameDatabase(FilePath path, SaveFaultHook faults = {});
    ~NameDatabase();
    Q_DISABLE_COPY_MOVE(NameDatabase)

    const FilePath& Path() const { return path_; }
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

    enum class AddResult {
        Added,   // the name is in the file now
        Present, // the file holds it already; nothing was written
        Saved,   // only this copy held it, unsaved; now the file does
    };
    // Throws FileError when the lock cannot be taken or the changed file
    // cannot be read (nothing changes then), or when the write fails (the
    // name stays, unsaved).
    AddResult Add(std::string_view name);
    // Adds every foreign name that the database lacks and writes the file,
    // also when none was new. Returns how many were added. Fails as Add does.
    std::size_t Merge(const NameList& foreign);
    // Writes the unsaved names, if there are any.
    void SaveUnsaved();

private:
    // Under the lock: reads the file anew when it is not the one this copy
    // last read or wrote.
    void Refresh();
    // Under the lock: writes the raw lines and remembers the file written.
    void Write();
    // The names from `first` on were just added.
    void KeepUnsaved(std::size_t first);
    void TakeOver(NameFile& file);

    FilePath path_;
    SaveFaultHook faults_;
    LineList lines_;
    std::unique_ptr<NameList> names_;
    std::unique_ptr<NameList> unsaved_; // in the order they were added
    std::optional<FileIdentity> identity_;
    // Text of a UTF-8 file that Windows-1252 cannot hold: the file is not
    // overwritten while it has some, or that text would be lost.
    std::size_t leftOut_ = 0;
    QString firstLeftOut_;
};

// The lists shared by the window's handlers: the two databases and the last
// foreign database loaded, with the number of its names that were left out.
struct NameStore {
    NameStore(const FilePath& femalePath, const FilePath& malePath, const SaveFaultHook& faults = {})
        : female(femalePath, faults), male(malePath, faults) {}
    NameDatabase female;
    NameDatabase male;
    LineList MergeLines;
    NameList MergeNames;
    std::size_t mergeLeftOut = 0;
};

} // namespace tavolin
