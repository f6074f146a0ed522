#pragma once

#include "fileio/fileio.h"

#include <QtGlobal>
#include <functional>

namespace tavolin {

// Called with every checkpoint that a click of Button8 or Button9 passes; a
// test makes the work fail at a chosen point by throwing from it.
using StatisticsCheckpointHook = std::function<void(int checkpoint)>;

// What the window takes from its surroundings: the executable's full path
// (its directory holds the databases and the settings file), the clock, and
// the folder where names are kept that a database could not take (none: they
// are kept in memory only). Tests also hand in faults for the saves and the
// statistics commands; the program has none.
struct FormEnvironment {
    FilePath executablePath;
    std::function<qint64()> clockSeconds;
    SaveFaultHook saveFaults;
    StatisticsCheckpointHook statisticsCheckpoints;
    FilePath recoveryFolder;

    static FormEnvironment FromApplication();
};

} // namespace tavolin
