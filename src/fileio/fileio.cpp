#include "fileio/fileio.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QSysInfo>
#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace tavolin {
namespace {

// Closes a POSIX descriptor when its owner leaves, whichever way.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    void Reset(int fd) {
        Close();
        fd_ = fd;
    }
    int Release() { return std::exchange(fd_, -1); }
    // Whether the descriptor closed cleanly: a file system may report a
    // failed write only here.
    bool Close() {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

FileIdentity IdentityFrom(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev),         static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size),         static_cast<std::int64_t>(info.st_mtim.tv_sec),
            static_cast<std::int64_t>(info.st_mtim.tv_nsec), static_cast<std::int64_t>(info.st_ctim.tv_sec),
            static_cast<std::int64_t>(info.st_ctim.tv_nsec)};
}

// The folder and the name of a path.
std::pair<QByteArray, QByteArray> SplitPath(const QByteArray& path) {
    const qsizetype cut = path.lastIndexOf('/');
    if (cut < 0)
        return {QByteArrayLiteral("."), path};
    return {cut == 0 ? QByteArrayLiteral("/") : path.left(cut), path.mid(cut + 1)};
}

// What a link points to, or nothing for what is no link.
std::optional<QByteArray> LinkTarget(const char* path) {
    std::array<char, PATH_MAX> target{};
    const ssize_t size = ::readlink(path, target.data(), target.size());
    if (size < 0 || size == static_cast<ssize_t>(target.size()))
        return std::nullopt;
    return QByteArray(target.data(), size);
}

// The file a path stands for once every link on its end is followed; a link
// whose file is missing gives the path where that file would be.
QByteArray FollowLinks(QByteArray path) {
    for (int depth = 0; depth < 40; ++depth) {
        std::optional<QByteArray> next = LinkTarget(path.constData());
        if (!next)
            break;
        if (!next->startsWith('/'))
            next = SplitPath(path).first + '/' + *next;
        path = *std::move(next);
    }
    return path;
}

// A write past `ulimit -f` would end the process with SIGXFSZ; ignored, it
// fails with EFBIG like any other write, and the old file stays. A handler
// someone installed is left alone.
void IgnoreFileSizeSignal() {
    struct sigaction current {};
    if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        std::signal(SIGXFSZ, SIG_IGN);
}

bool WriteAt(int fd, std::string_view bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += written;
    }
    return true;
}

// Writes the bytes from `offset` on in pieces, each one a step of the seam.
bool WritePieces(int fd, std::string_view bytes, off_t offset, const SaveFaultHook& faults) {
    for (std::size_t done = 0; done < bytes.size(); done += kSaveChunkSize) {
        const std::string_view piece = bytes.substr(done, kSaveChunkSize);
        const auto at = offset + static_cast<off_t>(done);
        if (SaveStepFails(faults, SaveStep::Write)) {
            // What a full disk does: part of the piece reaches the file.
            WriteAt(fd, piece.substr(0, piece.size() / 2), at);
            return false;
        }
        if (!WriteAt(fd, piece, at))
            return false;
    }
    return true;
}

bool ReadAll(int fd, std::string& bytes, std::uint64_t maxSize) {
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > maxSize)
                break;                          // the caller refuses what it holds by now
            bytes.resize(bytes.size() + 65536); // the file grew while we read
        }
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return true;
}

struct Attribute {
    QByteArray name;
    QByteArray value;
};

// The extended attributes of a file, POSIX ACLs among them. A file system
// without them has none.
std::vector<Attribute> AttributesOf(const char* path) {
    std::vector<Attribute> attributes;
    QByteArray names;
    for (int attempt = 0; attempt < 3; ++attempt) { // the list may grow between the two calls
        const ssize_t size = ::listxattr(path, nullptr, 0);
        if (size <= 0)
            return attributes;
        names.resize(size);
        if (::listxattr(path, names.data(), static_cast<std::size_t>(size)) == size)
            break;
        names.clear();
    }
    for (const QByteArray& name : names.split('\0')) {
        if (name.isEmpty())
            continue;
        const ssize_t size = ::getxattr(path, name.constData(), nullptr, 0);
        if (size < 0)
            continue;
        QByteArray value(size, '\0');
        const ssize_t got = ::getxattr(path, name.constData(), value.data(), static_cast<std::size_t>(size));
        if (got >= 0) {
            value.truncate(got);
            attributes.push_back({name, value});
        }
    }
    return attributes;
}

// Gives the new file what the user set on the old one: its owner (only root
// may), its group (root, or a member of it), its mode and its attributes.
// Returns false when the group, the mode or an attribute could not be kept.
bool TakeOver(int fd, const struct stat& old, const std::vector<Attribute>& attributes) {
    bool kept = true;
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0)
        kept = false;
    // After the owner: a change of owner clears the set-ID bits.
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        kept = false;
    // After the mode: an ACL sets the group bits of the mode to its mask.
    for (const Attribute& attribute : attributes) {
        if (::fsetxattr(fd, attribute.name.constData(), attribute.value.constData(),
                        static_cast<std::size_t>(attribute.value.size()), 0) != 0)
            kept = false;
    }
    return kept;
}

// A name for the new file in the folder of `name` that is hidden and unique.
QByteArray TemporaryName(const QByteArray& name) {
    return '.' + name + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
}

// The new file of a rewrite: without a name (O_TMPFILE) where the file system
// allows, so that a crash leaves nothing behind, else under a hidden name.
class NewFile final {
public:
    NewFile(int folder, const QByteArray& name, mode_t mode) : folder_(folder) {
        fd_.Reset(::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
        error_ = errno;
        if (fd_.Valid() || (error_ != EOPNOTSUPP && error_ != EISDIR && error_ != EINVAL))
            return;
        for (int attempt = 0; attempt < 100 && !fd_.Valid(); ++attempt) {
            name_ = TemporaryName(name);
            fd_.Reset(::openat(folder, name_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
            error_ = errno;
            if (!fd_.Valid() && error_ != EEXIST)
                break;
        }
        if (!fd_.Valid())
            name_.clear();
    }
    ~NewFile() { Discard(); }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    int Fd() const { return fd_.Get(); }
    bool Valid() const { return fd_.Valid(); }
    // Why the file could not be created (an errno value).
    int Error() const { return error_; }

    void Discard() {
        fd_.Close();
        if (!name_.isEmpty())
            ::unlinkat(folder_, name_.constData(), 0);
        name_.clear();
    }

    // Gives the file a name and renames it over `target`; fills `written`
    // with the file as it is then (the rename sets its change time).
    bool Commit(const QByteArray& target, struct stat& written) {
        if (name_.isEmpty() && !Link())
            return false;
        if (::renameat(folder_, name_.constData(), folder_, target.constData()) != 0)
            return false;
        name_.clear();
        // The bytes are synced already; a file system that reports a failed
        // write only when the file is closed reports it here all the same.
        return ::fstat(fd_.Get(), &written) == 0 && fd_.Close();
    }

private:
    bool Link() {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_.Get());
        for (int attempt = 0; attempt < 100; ++attempt) {
            QByteArray name = TemporaryName(QByteArrayLiteral("tavolin"));
            if (::linkat(AT_FDCWD, self.constData(), folder_, name.constData(), AT_SYMLINK_FOLLOW) == 0 ||
                ::linkat(fd_.Get(), "", folder_, name.constData(), AT_EMPTY_PATH) == 0) {
                name_ = std::move(name);
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    int folder_;
    Descriptor fd_;
    int error_ = 0;
    QByteArray name_; // empty while the file has none
};

// Writes an open file in place, where a new file would not do. With an
// appendix the file only grows: no byte it held is touched, so a failure, a
// crash or a power loss in the middle leaves every one of them, and a failure
// cuts off what was added. Without one (a file of a few lines) it is
// rewritten, and a failure puts the old bytes back.
FileIdentity WriteInPlace(int fd, const NewContent& content, const FilePath& shown, const SaveFaultHook& faults) {
    const auto fail = [&] { throw FileError(CreateErrorText(shown)); };
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        fail();
    std::string old(static_cast<std::size_t>(info.st_size), '\0');
    if (::lseek(fd, 0, SEEK_SET) != 0 || !ReadAll(fd, old, kNoSizeLimit))
        fail();
    const auto end = static_cast<off_t>(old.size());
    if (content.appendix) {
        const std::string added = content.appendix(old);
        const auto cutOff = [&] {
            if (::ftruncate(fd, end) == 0)
                ::fsync(fd);
            fail();
        };
        if (!WritePieces(fd, added, end, faults) || SaveStepFails(faults, SaveStep::Sync) || ::fsync(fd) != 0 ||
            ::fstat(fd, &info) != 0)
            cutOff();
        return IdentityFrom(info);
    }
    const std::string_view bytes = content.whole;
    const bool extends = bytes.starts_with(old);
    const auto restore = [&] {
        if (!extends)
            WriteAt(fd, old, 0);
        if (::ftruncate(fd, end) == 0)
            ::fsync(fd);
        fail();
    };
    if (extends ? !WritePieces(fd, bytes.substr(old.size()), end, faults)
                : !WritePieces(fd, bytes, 0, faults) || ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
        restore();
    if (SaveStepFails(faults, SaveStep::Sync) || ::fsync(fd) != 0 || ::fstat(fd, &info) != 0)
        restore();
    return IdentityFrom(info);
}

// Whether this user may write the file: its mode, its ACL, an immutable flag
// or a read-only file system may forbid it. A rename over the file would
// ignore all of them.
bool MayWrite(const char* path) {
    return ::faccessat(AT_FDCWD, path, W_OK, AT_EACCESS) == 0 || (errno != EACCES && errno != EPERM && errno != EROFS);
}

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

// The rounds of a wait for a lock, up to a deadline.
class LockWait final {
public:
    LockWait(std::chrono::milliseconds timeout, const LockWaitHook& hook)
        : deadline_(std::chrono::steady_clock::now() + timeout), hook_(hook) {}
    ~LockWait() {
        if (waited_ && hook_)
            hook_(false);
    }
    LockWait(const LockWait&) = delete;
    LockWait& operator=(const LockWait&) = delete;

    // Waits a moment; false once the deadline has passed.
    bool Round() {
        if (std::chrono::steady_clock::now() >= deadline_)
            return false;
        waited_ = true;
        if (hook_)
            hook_(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return true;
    }

private:
    std::chrono::steady_clock::time_point deadline_;
    const LockWaitHook& hook_;
    bool waited_ = false;
};

} // namespace

FilePath::FilePath(const QString& path) : native_(QFile::encodeName(path)) {}

FilePath FilePath::FromNative(QByteArray bytes) {
    FilePath path;
    path.native_ = std::move(bytes);
    return path;
}

QString FilePath::Display() const {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(native_);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows1252("windows-1252");
    return windows1252.decode(native_);
}

std::string OpenErrorText(const FilePath& path) {
    return u"Datei %1 kann nicht geöffnet werden"_s.arg(path.Display()).toStdString();
}

std::string CreateErrorText(const FilePath& path) {
    return u"Datei %1 kann nicht erstellt werden"_s.arg(path.Display()).toStdString();
}

std::string UnusableLockErrorText(const FilePath& lockFile, bool regularFile) {
    const QString text =
        regularFile
            ? u"Die Sperrdatei %1 stammt von keinem laufenden Tavolin und kann nicht entfernt werden, deshalb "
              u"kann Tavolin die Namen-Datenbank nicht sicher speichern. Entferne sie (notfalls als ihr Besitzer "
              u"oder Administrator); Tavolin legt sie beim Speichern selbst wieder an"_s
            : u"Die Sperrdatei %1 ist keine gewöhnliche Datei (sondern etwa ein Ordner oder eine Verknüpfung), "
              u"deshalb kann Tavolin die Namen-Datenbank nicht sicher speichern. Entferne sie; Tavolin legt sie "
              u"beim Speichern selbst wieder an"_s;
    return text.arg(lockFile.Display()).toStdString();
}

std::string LockedErrorText(const FilePath& path) {
    return u"Datei %1 wird gerade von einem anderen laufenden Tavolin gespeichert und bleibt gesperrt"_s
        .arg(path.Display())
        .toStdString();
}

FilePath JoinPath(const FilePath& dir, const QString& fileName) {
    return FilePath::FromNative(dir.Native() + '/' + QFile::encodeName(fileName));
}

FilePath DirectoryOf(const FilePath& filePath) {
    const QByteArray& native = filePath.Native();
    const qsizetype cut = native.lastIndexOf('/');
    if (cut < 0)
        return {};
    if (cut == 0 || (cut == 2 && native.at(1) == ':'))
        return FilePath::FromNative(native.left(cut + 1)); // a root keeps its separator
    return FilePath::FromNative(native.left(cut));
}

FilePath ExecutableFilePath() {
    // QCoreApplication::applicationFilePath() decodes the path to a QString,
    // which loses every byte of a folder name that is no UTF-8.
    if (std::optional<QByteArray> path = LinkTarget("/proc/self/exe"))
        return FilePath::FromNative(*std::move(path));
    return {QCoreApplication::applicationFilePath()};
}

FilePath CanonicalPath(const FilePath& path) {
    const QByteArray target = FollowLinks(path.Native());
    const auto [folder, name] = SplitPath(target);
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.constData(), nullptr), &std::free);
    if (!real)
        return FilePath::FromNative(target);
    QByteArray resolved(real.get());
    if (!resolved.endsWith('/'))
        resolved += '/';
    return FilePath::FromNative(resolved + name);
}

void MakeFolders(const FilePath& folder) {
    const QByteArray& native = folder.Native();
    for (qsizetype cut = native.indexOf('/', 1);; cut = native.indexOf('/', cut + 1)) {
        const QByteArray part = cut < 0 ? native : native.left(cut);
        if (!part.isEmpty() && ::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            throw FileError(CreateErrorText(folder));
        if (cut < 0)
            break;
    }
    struct stat info {};
    if (::stat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        throw FileError(CreateErrorText(folder));
}

std::optional<FileIdentity> IdentityOf(const FilePath& path) {
    struct stat info {};
    if (::stat(path.CStr(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            throw FileError(OpenErrorText(path));
        return IdentityFrom(info);
    }
    if ((errno == ENOENT || errno == ENOTDIR) && ::lstat(path.CStr(), &info) != 0)
        return std::nullopt;
    // Not a file that is gone: a link to one that is (a folder that is not
    // mounted), or something that cannot be looked at.
    throw FileError(OpenErrorText(path));
}

FileContents ReadFile(const FilePath& path, std::uint64_t maxSize) {
    // Plain POSIX reads: the whole file goes straight into one buffer, which
    // matters for databases of millions of names.
    Descriptor fd(::open(path.CStr(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        throw FileError(OpenErrorText(path));
    if (static_cast<std::uint64_t>(info.st_size) > maxSize)
        throw FileTooLargeError(OpenErrorText(path));

    // One byte more than the file holds: the read that meets its end then
    // needs no larger buffer, which would copy the whole file once more.
    // Room behind it (untouched, so it takes no memory) lets a few lines be
    // added to the text without copying it either.
    FileContents contents{std::string(), IdentityFrom(info)};
    constexpr std::size_t kRoomToGrow = std::size_t{64} * 1024;
    contents.bytes.reserve(static_cast<std::size_t>(info.st_size) + kRoomToGrow);
    contents.bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    if (!ReadAll(fd.Get(), contents.bytes, maxSize))
        throw FileError(OpenErrorText(path));
    if (contents.bytes.size() > maxSize)
        throw FileTooLargeError(OpenErrorText(path));
    return contents;
}

std::string ReadFileBytes(const FilePath& path) {
    return ReadFile(path).bytes;
}

FileIdentity SaveFile(const FilePath& path, const NewContent& content, const SaveFaultHook& faults) {
    IgnoreFileSizeSignal();
    const auto fail = [&] { throw FileError(CreateErrorText(path)); };
    const QByteArray target = FollowLinks(path.Native());
    const auto [folderPath, name] = SplitPath(target);
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    const bool regular = exists && S_ISREG(old.st_mode); // only a file can be written in place
    if (regular && !MayWrite(target.constData()))
        fail(); // protected by its owner: neither replaced nor written
    const auto inPlace = [&] {
        Descriptor file(::open(target.constData(), O_RDWR | O_CLOEXEC));
        if (!file.Valid())
            fail();
        return WriteInPlace(file.Get(), content, path, faults);
    };
    if (regular && (content.appendOnly || old.st_nlink > 1))
        return inPlace(); // a new file would lose what it holds, or cut off its other links
    Descriptor folder(::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.Valid() || SaveStepFails(faults, SaveStep::Open))
        fail();

    NewFile file(folder.Get(), name, exists ? 0600 : 0666);
    if (!file.Valid()) {
        // A folder the user may not write to can still hold a file he may.
        const bool folderLocked = file.Error() == EACCES || file.Error() == EPERM;
        if (!regular || !folderLocked)
            fail();
        return inPlace();
    }
    if (exists && !TakeOver(file.Fd(), old, AttributesOf(target.constData())) && regular) {
        // A new file would lose the group or an attribute (another user's
        // file in a shared folder): writing the file itself keeps them all.
        file.Discard();
        return inPlace();
    }
    struct stat written {};
    if (!WritePieces(file.Fd(), content.whole, 0, faults) || SaveStepFails(faults, SaveStep::Sync) ||
        ::fsync(file.Fd()) != 0 || SaveStepFails(faults, SaveStep::Commit) || !file.Commit(name, written))
        fail();
    // The rename itself survives a power cut only once the folder is synced.
    // If that fails the new file is in place all the same; the caller treats
    // the save as failed and writes again.
    if (::fsync(folder.Get()) != 0)
        fail();
    return IdentityFrom(written);
}

FileLock::FileLock(const FilePath& file, std::chrono::milliseconds timeout, const SaveFaultHook& faults,
                   const LockWaitHook& whileWaiting) {
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
        folder_ = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        lockPath = folder_ < 0 ? QString() : u"/proc/self/fd/%1/"_s.arg(folder_) + QFile::decodeName(name);
    }
    if (!lockPath.isEmpty()) {
        auto lock = std::make_unique<QLockFile>(lockPath);
        lock->setStaleLockTime(static_cast<int>(kStaleLockTime.count()));
        for (;;) {
            if (lock->tryLock(0)) {
                lock_ = std::move(lock);
                break;
            }
            // Any other error: no lock file can be made here (permission,
            // read-only or full file system); the lock on the file has to do.
            if (lock->error() != QLockFile::LockFailedError)
                break;
            if (!wait.Round()) {
                const bool held = LockHolderRuns(*lock);
                if (folder_ >= 0)
                    ::close(folder_);
                throw FileError(held ? LockedErrorText(file) : UnusableLockErrorText(shownLockFile, true));
            }
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
                file_ = fd.Release();
                break;
            }
            continue;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            break; // a file system without such locks
        if (!wait.Round()) {
            lock_.reset();
            if (folder_ >= 0)
                ::close(folder_);
            throw FileError(LockedErrorText(file));
        }
    }
}

FileLock::~FileLock() {
    if (file_ >= 0)
        ::close(file_); // lets go of the lock on the file
    lock_.reset();      // removes the lock file
    if (folder_ >= 0)
        ::close(folder_);
}

} // namespace tavolin
