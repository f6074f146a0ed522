#pragma once

#include "fileio/fileio.h"
#include "names/name_database.h"

#include <QtGlobal>
#include <memory>

namespace Ui {
class TForm1;
}

namespace tavolin {

class Platform;

// The two databases of the program's folder and the foreign one loaded for a
// merge: the lists that the features share. Read at start-up, counted in the
// three panels, and at close saved where an earlier write failed.
class NameDatabases final {
    Q_DISABLE_COPY_MOVE(NameDatabases)

public:
    NameDatabases(Ui::TForm1& ui, Platform& platform);
    ~NameDatabases();

    // Reads both files and shows the counts. A file that cannot be read is
    // reported and ends the program; then nothing is parsed and this returns
    // false.
    bool Load(const FilePath& programDir, const SaveFaultHook& saveFaults);
    // The program ends without its close handler.
    bool QuitRequested() const { return quitRequested_; }

    NameStore& Lists() { return *lists_; }
    const NameStore& Lists() const { return *lists_; }

    void ShowNameCounts();
    // Writes the names that are not saved yet; when some still cannot be
    // written, asks whether to close all the same. False: the window stays.
    bool SaveUnsavedOnClose();

private:
    Ui::TForm1& ui_;
    Platform& platform_;
    std::unique_ptr<NameStore> lists_;
    bool quitRequested_ = false;
};

} // namespace tavolin
