#include "fileio/data_folder.h"

#include "fileio/file_error.h"
#include "fileio/read_file.h"
#include "fileio/save_file.h"

#include <algorithm>
#include <string>

using namespace Qt::StringLiterals;

namespace tavolin {
namespace {

// Whether anything of these names is in the folder, a link to nothing too.
bool HoldsAny(const FilePath& folder, const QStringList& files) {
    return !folder.Empty() && std::any_of(files.begin(), files.end(),
                                          [&](const QString& file) { return PathInUse(JoinPath(folder, file)); });
}

} // namespace

DataFolderChoice ChooseDataFolder(const FilePath& programDir, const DataFolders& folders,
                                  const QStringList& databases) {
    if (folders.user.Empty())
        return {programDir, {}};
    const bool besideProgram = HoldsAny(programDir, databases);
    if ((besideProgram || !HoldsAny(folders.shipped, databases)) && FolderWritable(programDir))
        return {programDir, {}};
    return {folders.user, besideProgram ? programDir : folders.shipped};
}

FilePath SettingsFilePath(const FilePath& folder, const DataFolders& folders, const QString& fileName) {
    FilePath old = JoinPath(folder, fileName);
    if (folders.config.Empty() || folder != folders.user)
        return old;
    FilePath settings = JoinPath(folders.config, fileName);
    if (PathInUse(settings))
        return settings;
    try {
        MakeFolders(folders.config);
        if (!PathInUse(old))
            return settings;
        // A copy first: until it is complete, the old file is the only one.
        SaveFileAtomically(settings, ReadFileBytes(old));
    } catch (const FileError&) {
        return old;
    }
    try {
        RemoveFile(old);
    } catch (const FileError&) {
        // Both hold the same settings; the new place is read from now on.
    }
    return settings;
}

int CopyMissingDatabases(const FilePath& shipped, const FilePath& folder, const QStringList& files) {
    int copied = 0;
    for (const QString& database : files) {
        const FilePath target = JoinPath(folder, database);
        // A link counts as there, even when its file is not (a sync folder
        // that is not mounted right now): copying a database over it would
        // hide the user's.
        if (PathInUse(target))
            continue;
        std::string bytes;
        try {
            bytes = ReadFileBytes(JoinPath(shipped, database));
        } catch (const FileError&) {
            continue; // reading the database at start-up reports it missing
        }
        try {
            MakeFolders(folder);
        } catch (const FileError&) {
            throw FileError(CreateErrorText(target)); // the file is what the user misses
        }
        SaveFileAtomically(target, bytes);
        ++copied;
    }
    return copied;
}

bool FillDataFolder(const DataFolderChoice& choice, const FilePath& programDir, const QStringList& databases,
                    const QStringList& settings) {
    if (choice.copyFrom.Empty())
        return false;
    const int copied = CopyMissingDatabases(choice.copyFrom, choice.folder, databases);
    if (choice.copyFrom != programDir)
        return false; // a system-wide install's shipped files: nothing of the user's moved
    CopyMissingDatabases(choice.copyFrom, choice.folder, settings);
    return copied > 0;
}

QString MovedDataFolderText(const FilePath& programDir, const FilePath& folder) {
    return u"In den Ordner des Programms (%1) kann Tavolin nicht schreiben. Deine Namen-Datenbanken und "
           u"Einstellungen liegen deshalb ab jetzt in %2."_s.arg(programDir.Display(), folder.Display());
}

} // namespace tavolin
