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
// programs ($XDG_STATE_HOME/tavolin; none: in memory only). Where the
// files are the user's, the settings are kept in the user's folder for
// settings ($XDG_CONFIG_HOME/tavolin; none: beside the databases).
struct DataFolders {
    FilePath shipped;
    FilePath user;
    FilePath recovery;
    FilePath config{};

    // The folders of the running program: the shipped one relative to the
    // executable, the user's ones from XDG_DATA_HOME, XDG_STATE_HOME and
    // XDG_CONFIG_HOME, else HOME.
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

// The settings file of the program's files in `folder`: beside them in the
// program's own folder (a build, a per-user install, a portable copy); in
// the user's folder for settings where they are in the user's data folder.
// A settings file that an older version left in the data folder is moved
// there once: a settings file already there wins and the old one stays
// untouched; where the move fails, the old one stays in use.
FilePath SettingsFilePath(const FilePath& folder, const DataFolders& folders, const QString& fileName);

// Copies every shipped file that the folder lacks into it, creating the
// folder first, and gives how many it copied. A link counts as there, even
// when its file is not; a file that was not shipped is left missing. Throws
// FileError with the create error text of the file that could not be
// written.
int CopyMissingDatabases(const FilePath& shipped, const FilePath& folder, const QStringList& files);

// The first start in the chosen folder, for the window and the command line
// alike: copies the databases the folder lacks from where the choice says,
// and from a program folder the user cannot write to the other files too
// (`settings`). Returns whether the user's databases have just moved out of
// the program folder, which the user is told once (MovedDataFolderText).
// Throws as CopyMissingDatabases does.
bool FillDataFolder(const DataFolderChoice& choice, const FilePath& programDir, const QStringList& databases,
                    const QStringList& settings);
QString MovedDataFolderText(const FilePath& programDir, const FilePath& folder);

} // namespace tavolin
