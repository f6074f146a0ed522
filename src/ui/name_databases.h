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
    bool Load(const FilePath& programDir, const FilePath& recoveryFolder, const SaveFaultHook& saveFaults);
    // After the load: writes the names that an earlier run could not write
    // and kept, and tells the user what became of them.
    void RecoverKeptNames();
    // The program ends without its close handler.
    bool QuitRequested() const { return quitRequested_; }

    NameStore& Lists() { return *lists_; }
    const NameStore& Lists() const { return *lists_; }

    void ShowNameCounts();
    // Tells the user that a change wrote names an earlier one could not.
    void ReportRecovered(const NameDatabase& database);
    // Writes the names that are not saved yet; when some still cannot be
    // written, asks whether to close all the same. False: the window stays.
    bool SaveUnsavedOnClose();
    // The end of the session (a signal, the log-out): writes what can be
    // written, without asking; what cannot stays in the recovery files.
    void SaveAtSessionEnd() noexcept;

private:
    Ui::TForm1& ui_;
    Platform& platform_;
    std::unique_ptr<NameStore> lists_;
    bool quitRequested_ = false;
};

} // namespace tavolin
