#include "fileio/data_folder.h"

#include "fileio/file_error.h"
#include "fileio/read_file.h"
#include "fileio/save_file.h"

#include <algorithm>
#include <string>

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

} // namespace tavolin
