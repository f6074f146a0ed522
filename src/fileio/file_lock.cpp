#include "fileio/file_lock.h"

#include "fileio/file_error.h"
#include "fileio/lock_wait.h"
#include "fileio/system.h"

#include <QLockFile>
#include <QSysInfo>

namespace tavolin {
namespace {

// Whether the process that a lock file names still runs (on this machine, or
// on another one, which cannot be asked).
bool LockHolderRuns(const QLockFile& lock) {
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock.getLockInfo(&pid, &host, &application) || pid <= 0)
        return false;
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return true;
    return ProcessRuns(pid, application);
}

// Whether the open file is the one the path names now.
bool SameFile(SystemFile& file, const QByteArray& path) {
    const std::optional<FileFacts> open = file.Facts();
    const Look named = LookAt(FilePath::FromNative(path), true);
    return open && named.facts && open->identity.device == named.facts->identity.device &&
           open->identity.inode == named.facts->identity.inode;
}

} // namespace

// Its members let go in the reverse order: the file itself first, then the
// lock file, then what its name reaches it through.
struct FileLock::Holding {
    std::shared_ptr<void> lockFileFolder;
    std::unique_ptr<QLockFile> lockFile;
    std::unique_ptr<SystemFile> file; // the file itself, locked
};

FileLock::FileLock(const FilePath& file, std::chrono::milliseconds timeout, const LockWaitHook& whileWaiting)
    : holding_(std::make_unique<Holding>()) {
    // Beside the file that is really written, so that copies reaching it
    // through different links share the lock.
    const QByteArray target = FollowLinks(file.Native());
    const QByteArray lockFile = target + ".lock";
    const FilePath shownLockFile = FilePath::FromNative(lockFile);
    if (const Look look = LookAt(shownLockFile, false); look.facts && (!look.facts->regular || look.facts->link))
        throw FileError(UnusableLockErrorText(shownLockFile, false)); // QLockFile would take it for a held lock

    LockWait wait(timeout, whileWaiting);
    const LockFileName name = LockFileNameOf(lockFile);
    holding_->lockFileFolder = name.folder;
    if (!name.path.isEmpty()) {
        auto lock = std::make_unique<QLockFile>(name.path);
        lock->setStaleLockTime(static_cast<int>(kStaleLockTime.count()));
        for (;;) {
            if (lock->tryLock(0)) {
                holding_->lockFile = std::move(lock);
                break;
            }
            // Any other error: no lock file can be made here (permission,
            // a read-only or full file system); the lock on the file has to do.
            if (lock->error() != QLockFile::LockFailedError)
                break;
            if (!wait.Round())
                throw FileError(LockHolderRuns(*lock) ? LockedErrorText(file)
                                                      : UnusableLockErrorText(shownLockFile, true));
        }
    }

    // The file itself. A copy that replaced it meanwhile let go of the old
    // file, which is no longer the one to write: the new one is locked.
    for (;;) {
        RangeLock lock = Primitives().LockRange(FilePath::FromNative(target));
        switch (lock.result) {
        case LockResult::Locked:
            if (SameFile(*lock.file, target)) {
                holding_->file = std::move(lock.file);
                return;
            }
            continue;
        case LockResult::NoFile:      // no file yet, or none to be read: the save finds out
        case LockResult::Unsupported: // a file system without such locks
            return;
        case LockResult::Failed:
            throw FileError(LockedErrorText(file));
        case LockResult::Busy:
            if (!wait.Round())
                throw FileError(LockedErrorText(file)); // the lock file goes with what it holds
            continue;
        }
    }
}

FileLock::~FileLock() = default;

} // namespace tavolin
