#pragma once

#include "fileio/fileio.h"
#include "names/name_database.h"

#include <QtGlobal>

class QLabel;

namespace tavolin {

class Platform;

// The window's keeper of the program's own two databases in the program's
// folder (the foreign database that a merge loads is Merging's). Built with
// their paths and never replaced; read at start-up, counted in the three
// panels, and at close saved where an earlier write failed. The features
// that draw, add, merge and count names are handed the databases alone.
class OwnDatabases final {
    Q_DISABLE_COPY_MOVE(OwnDatabases)

public:
    // The panels that show the counts.
    struct Controls {
        QLabel* Panel2; // female
        QLabel* Panel5; // male
        QLabel* Panel6; // both
    };

    // Reads nothing yet: see Load.
    OwnDatabases(Controls controls, Platform& platform, const FilePath& programDir, const FilePath& recoveryFolder);

    DatabasePair& Pair() { return pair_; }
    const DatabasePair& Pair() const { return pair_; }

    // Reads both files and shows the counts. A file that cannot be read is
    // reported and ends the program; then nothing is parsed and this returns
    // false.
    bool Load();
    // After the load: writes the names that an earlier run could not write
    // and kept, and tells the user what became of them.
    void RecoverKeptNames();
    // The program ends without its close handler.
    bool QuitRequested() const { return quitRequested_; }

    void ShowNameCounts();
    // Tells the user that a change wrote names an earlier one could not.
    void ReportRecovered(const NameDatabase& database);
    // Tells the user, once, of a recovery file set aside or a recovery folder
    // that cannot be used.
    void ReportRecoveryNotices();
    // Writes the names that are not saved yet; when some still cannot be
    // written, asks whether to close all the same. False: the window stays.
    bool SaveUnsavedOnClose();
    // The end of the session (a signal, the log-out): writes what can be
    // written, without asking; what cannot stays in the recovery files.
    void SaveAtSessionEnd() noexcept;

private:
    Controls controls_;
    Platform& platform_;
    DatabasePair pair_;
    bool quitRequested_ = false;
};

} // namespace tavolin
