#pragma once

// The primitives of each system besides FilePrimitives: ways of looking at
// paths, which the shared parts of the layer ask of primitives_unix.cpp or
// primitives_windows.cpp. Nothing outside src/fileio includes this.

#include "fileio/primitives.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <optional>
#include <utility>

namespace tavolin {

// The folder and the name of a path.
std::pair<QByteArray, QByteArray> SplitPath(const QByteArray& path);

// The file a path stands for once every link on its end is followed; a path
// with nothing there, or a link whose file is missing, gives the path where
// that file would be.
QByteArray FollowLinks(const QByteArray& path);

// What is at the path, its links followed or the last one looked at itself;
// `missing` when nothing is there (or no folder on the way).
struct Look {
    std::optional<FileFacts> facts;
    bool missing = false;
};
Look LookAt(const FilePath& path, bool followLinks);

// Whether this user may write the file: its mode, its access list, a
// read-only or immutable flag or a read-only file system may forbid it,
// which a rename over the file would ignore.
bool MayWrite(const FilePath& path);

// The name under which QLockFile can reach the lock file, and what has to
// stay open for that name to serve; an empty name where it cannot.
struct LockFileName {
    QString path;
    std::shared_ptr<void> folder;
};
LockFileName LockFileNameOf(const QByteArray& lockFile);

// Whether the process of this number still runs the program named (its
// file name, as QLockFile recorded it); a process of another user counts.
bool ProcessRuns(qint64 pid, const QString& application);

} // namespace tavolin
