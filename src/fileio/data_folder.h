#pragma once

#include "fileio/fileio.h"

#include <QString>
#include <QStringList>

namespace tavolin {

// Where a copy of the program may keep its databases and settings file
// besides its own folder: the folder of the shipped databases of a
// system-wide install (<prefix>/share/tavolin beside <prefix>/bin), and the
// user's own folder for the program's data ($XDG_DATA_HOME/tavolin). Names a
// database could not take are kept in the user's folder for the state of
// programs ($XDG_STATE_HOME/tavolin; none: in memory only).
struct DataFolders {
    FilePath shipped;
    FilePath user;
    FilePath recovery;

    // The folders of the running program: the shipped one relative to the
    // executable, the user's ones from XDG_DATA_HOME and XDG_STATE_HOME,
    // else HOME.
    static DataFolders ForExecutable(const FilePath& executablePath);
};

// Whether this process may create files in the folder: asked of the system
// for the effective user, so that root is refused a read-only mount or an
// immutable folder as anybody else is.
bool FolderWritable(const FilePath& folder);

// The folder that holds the program's files, and the one to fill it from
// at the first start (none: nothing to copy). The program's own folder where
// it can be written and the databases lie beside it (a build, a per-user
// install, a portable copy), or nothing was shipped for it elsewhere.
// Otherwise the user's folder: for a system-wide install, root's too (nobody
// wants names written into /usr/bin), filled from the shipped folder; for a
// program folder the user cannot write to, filled from that folder.
struct DataFolderChoice {
    FilePath folder;
    FilePath copyFrom;
};
DataFolderChoice ChooseDataFolder(const FilePath& programDir, const DataFolders& folders, const QStringList& databases);

// Copies every shipped file that the folder lacks into it, creating the
// folder first, and gives how many it copied. A link counts as there, even
// when its file is not; a file that was not shipped is left missing. Throws
// FileError with the create error text of the file that could not be
// written.
int CopyMissingDatabases(const FilePath& shipped, const FilePath& folder, const QStringList& files);

} // namespace tavolin
