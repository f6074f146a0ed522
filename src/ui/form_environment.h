#pragma once

#include "fileio/data_folder.h"
#include "fileio/fileio.h"

#include <QtGlobal>
#include <functional>

namespace tavolin {

// What the window takes from its surroundings: the executable's full path
// (its directory holds the databases and the settings file, unless that is a
// system-wide install: see dataFolders; names a database could not take are
// kept in dataFolders.recovery) and the clock.
struct FormEnvironment {
    FilePath executablePath;
    DataFolders dataFolders; // where the files go when that directory is no place for them
    std::function<qint64()> clockSeconds;

    static FormEnvironment FromApplication();
};

} // namespace tavolin
