#include "fileio/common_windows.h"
#include "fileio/file_error.h"
#include "fileio/file_lock.h"
#include "fileio/lock_wait.h"

#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

namespace tavolin {
namespace {

// Whether the process whose number a lock file holds still runs the program
// (on another machine it cannot be asked, and counts as running).
bool LockHolderRuns(const QLockFile& lock) {
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock.getLockInfo(&pid, &host, &application) || pid <= 0)
        return false;
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return true;
    const Handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid)));
    if (!process.Valid())
        return ::GetLastError() == ERROR_ACCESS_DENIED; // another user's
    DWORD exitCode = 0;
    if (::GetExitCodeProcess(process.Get(), &exitCode) != 0 && exitCode != STILL_ACTIVE)
        return false;
    // A process number used again by another program holds no lock.
    std::wstring image(32768, L'\0');
    auto size = static_cast<DWORD>(image.size());
    if (application.isEmpty() || ::QueryFullProcessImageNameW(process.Get(), 0, image.data(), &size) == 0)
        return true;
    const QString running = QFileInfo(QString::fromWCharArray(image.data(), size)).fileName();
    return running.compare(QFileInfo(application).fileName(), Qt::CaseInsensitive) == 0;
}

// Windows' locks on a file's bytes are mandatory: a locked byte can be
// neither read nor written through any other handle, the holder's own
// included. The lock is therefore taken on one byte far beyond the end of any
// database, which keeps copies of the program apart and leaves every read and
// write free.
bool LockBeyondEnd(HANDLE file) {
    OVERLAPPED at{};
    at.OffsetHigh = 0x7FFFFFFF;
    return ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0;
}

} // namespace

struct FileLock::Holding {
    std::unique_ptr<QLockFile> lockFile;
    Handle file; // the file itself, locked; Windows lets go when it is closed
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
    const DWORD attributes = ::GetFileAttributesW(Wide(lockFile).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)
        throw FileError(UnusableLockErrorText(shownLockFile, false)); // QLockFile would take it for a held lock

    LockWait wait(timeout, whileWaiting);
    // QLockFile takes the path as UTF-16, as Windows does: any folder name.
    auto lock = std::make_unique<QLockFile>(QString::fromUtf8(lockFile));
    lock->setStaleLockTime(static_cast<int>(kStaleLockTime.count()));
    for (;;) {
        if (lock->tryLock(0)) {
            holding_->lockFile = std::move(lock);
            break;
        }
        // Any other error: no lock file can be made here (permission, a
        // read-only or full drive); the lock on the file has to do.
        if (lock->error() != QLockFile::LockFailedError)
            break;
        if (!wait.Round())
            throw FileError(LockHolderRuns(*lock) ? LockedErrorText(file) : UnusableLockErrorText(shownLockFile, true));
    }

    // The file itself. A copy that replaced it meanwhile let go of the old
    // file, which is no longer the one to write: the new one is locked.
    for (;;) {
        Handle opened(OpenShared(target, GENERIC_READ));
        const std::optional<FileFacts> facts = opened.Valid() ? FactsOf(opened.Get()) : std::nullopt;
        if (!facts || facts->Folder())
            break; // no file yet, or none to be read: the save finds out
        if (LockBeyondEnd(opened.Get())) {
            const Handle named(OpenShared(target, 0));
            const std::optional<FileFacts> now = named.Valid() ? FactsOf(named.Get()) : std::nullopt;
            if (now && now->identity.device == facts->identity.device && now->identity.inode == facts->identity.inode) {
                holding_->file.Reset(opened.Release());
                break;
            }
            continue;
        }
        if (::GetLastError() != ERROR_LOCK_VIOLATION)
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
