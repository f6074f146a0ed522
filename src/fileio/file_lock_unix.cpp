#include "fileio/common_unix.h"
#include "fileio/file_error.h"
#include "fileio/file_lock.h"
#include "fileio/lock_wait.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tavolin {
namespace {

// Whether the descriptor and the path name the same file.
bool SameFile(int fd, const char* path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::stat(path, &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

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
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)
        return false;
    // A process number used again by another program holds no lock.
    const std::optional<QByteArray> executable = LinkTarget(("/proc/" + QByteArray::number(pid) + "/exe").constData());
    return !executable || application.isEmpty() ||
           SplitPath(*executable).second == QFile::encodeName(QFileInfo(application).fileName());
}

} // namespace

// Its members let go in the reverse order: the file itself first, then the
// lock file (which may be reached through the folder's descriptor), then the
// folder.
struct FileLock::Holding {
    Descriptor folder; // the lock file's folder, when it is reached through it
    std::unique_ptr<QLockFile> lockFile;
    Descriptor file; // the file itself, locked
};

FileLock::FileLock(const FilePath& file, std::chrono::milliseconds timeout, const SaveFaultHook& faults,
                   const LockWaitHook& whileWaiting)
    : holding_(std::make_unique<Holding>()) {
    if (SaveStepFails(faults, SaveStep::Lock))
        throw FileError(LockedErrorText(file));
    // Beside the file that is really written, so that copies reaching it
    // through different links share the lock.
    const QByteArray target = FollowLinks(file.Native());
    const QByteArray lockFile = target + ".lock";
    const FilePath shownLockFile = FilePath::FromNative(lockFile);
    struct stat info {};
    if (::lstat(lockFile.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        throw FileError(UnusableLockErrorText(shownLockFile, false)); // QLockFile would take it for a held lock

    LockWait wait(timeout, whileWaiting);
    // QLockFile takes a QString, which cannot hold a folder name that is no
    // UTF-8, nor should it: a path too long for the lock file's name is
    // reached through a descriptor of its folder too.
    QString lockPath = QFile::decodeName(lockFile);
    if (QFile::encodeName(lockPath) != lockFile || lockFile.size() >= PATH_MAX) {
        const auto [folder, name] = SplitPath(lockFile);
        holding_->folder.Reset(::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        lockPath = holding_->folder.Valid()
                       ? u"/proc/self/fd/%1/"_s.arg(holding_->folder.Get()) + QFile::decodeName(name)
                       : QString();
    }
    if (!lockPath.isEmpty()) {
        auto lock = std::make_unique<QLockFile>(lockPath);
        lock->setStaleLockTime(static_cast<int>(kStaleLockTime.count()));
        for (;;) {
            if (lock->tryLock(0)) {
                holding_->lockFile = std::move(lock);
                break;
            }
            // Any other error: no lock file can be made here (permission,
            // read-only or full file system); the lock on the file has to do.
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
        Descriptor fd(::open(target.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
            break; // no file yet, or none to be read: the save finds out
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0) {
            if (SameFile(fd.Get(), target.constData())) {
                holding_->file.Reset(fd.Release());
                break;
            }
            continue;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            break; // a file system without such locks
        if (!wait.Round())
            throw FileError(LockedErrorText(file)); // the lock file goes with what it holds
    }
}

FileLock::~FileLock() = default;

bool FileLock::Held() const {
    return holding_->lockFile != nullptr;
}

} // namespace tavolin
