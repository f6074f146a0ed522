#pragma once

#include "fileio/data_folder.h"
#include "fileio/fileio.h"

#include <QtGlobal>
#include <functional>

namespace tavolin {

// Called with every checkpoint that a click of Button8 or Button9 passes; a
// test makes the work fail at a chosen point by throwing from it.
using StatisticsCheckpointHook = std::function<void(int checkpoint)>;

// What the window takes from its surroundings: the executable's full path
// (its directory holds the databases and the settings file, unless that is a
// system-wide install: see dataFolders; names a database could not take are
// kept in dataFolders.recovery) and the clock.
// Tests also hand in faults for the saves and the statistics commands; the
// program has none.
struct FormEnvironment {
    FilePath executablePath;
    DataFolders dataFolders; // where the files go when that directory is no place for them
    std::function<qint64()> clockSeconds;
    SaveFaultHook saveFaults;
    StatisticsCheckpointHook statisticsCheckpoints;

    static FormEnvironment FromApplication();
};

} // namespace tavolin
