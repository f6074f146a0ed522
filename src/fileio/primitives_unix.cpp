// The file layer's primitives on a POSIX system; the calls only Linux has are
// in system_linux.cpp.

#include "fileio/common.h"
#include "fileio/common_unix.h"
#include "fileio/system.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tavolin {
namespace {

FileFacts FactsFrom(const struct stat& info) {
    return {IdentityFrom(info), S_ISREG(info.st_mode), S_ISLNK(info.st_mode), info.st_uid == ::geteuid(),
            static_cast<std::uint64_t>(info.st_nlink)};
}

class PosixFile : public SystemFile {
public:
    explicit PosixFile(int fd) : fd_(fd) {}

    std::optional<FileFacts> Facts() override {
        struct stat info {};
        if (::fstat(fd_.Get(), &info) != 0)
            return std::nullopt;
        return FactsFrom(info);
    }
    std::optional<std::size_t> Read(char* into, std::size_t size) override {
        for (;;) {
            const ssize_t got = ::read(fd_.Get(), into, size);
            if (got >= 0)
                return static_cast<std::size_t>(got);
            if (errno != EINTR)
                return std::nullopt;
        }
    }
    bool WriteAt(std::string_view bytes, std::uint64_t offset) override {
        while (!bytes.empty()) {
            const ssize_t written = ::pwrite(fd_.Get(), bytes.data(), bytes.size(), static_cast<off_t>(offset));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            bytes.remove_prefix(static_cast<std::size_t>(written));
            offset += static_cast<std::uint64_t>(written);
        }
        return true;
    }
    bool Truncate(std::uint64_t size) override { return ::ftruncate(fd_.Get(), static_cast<off_t>(size)) == 0; }
    bool Sync() override { return ::fsync(fd_.Get()) == 0; }
    NativeFile Native() const override { return fd_.Get(); }

protected:
    Descriptor fd_;
};

// The new file of a save: without a name (OpenUnnamed) where the file system
// allows, so that a crash leaves nothing behind, else under a hidden name
// (TemporaryName) that tells which file it was for.
class NewPosixFile final : public PosixFile {
public:
    NewPosixFile(int folder, QByteArray target, mode_t mode)
        : PosixFile(OpenUnnamed(folder, mode)), folder_(folder), target_(std::move(target)) {
        error_ = errno;
        if (fd_.Valid() || (error_ != EOPNOTSUPP && error_ != EISDIR && error_ != EINVAL))
            return;
        for (int attempt = 0; attempt < 100 && !fd_.Valid(); ++attempt) {
            name_ = TemporaryName(target_);
            fd_.Reset(::openat(folder, name_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
            error_ = errno;
            if (!fd_.Valid() && error_ != EEXIST)
                break;
        }
        if (!fd_.Valid())
            name_.clear();
    }
    ~NewPosixFile() override {
        fd_.Close();
        if (!name_.isEmpty())
            ::unlinkat(folder_.Get(), name_.constData(), 0);
    }

    bool Valid() const { return fd_.Valid(); }
    // Why the file could not be created (an errno value).
    int Error() const { return error_; }

    // Gives the file a name and renames it over the target; the identity is
    // the file's as it is then (the rename sets its change time). The rename
    // itself survives a power cut only once the folder is synced.
    std::optional<FileIdentity> Replace() override {
        if (name_.isEmpty() && !Link())
            return std::nullopt;
        if (::renameat(folder_.Get(), name_.constData(), folder_.Get(), target_.constData()) != 0)
            return std::nullopt;
        name_.clear();
        // The bytes are synced already; a file system that reports a failed
        // write only when the file is closed reports it here all the same.
        struct stat written {};
        if (::fstat(fd_.Get(), &written) != 0 || !fd_.Close() || ::fsync(folder_.Get()) != 0)
            return std::nullopt; // in place all the same: the caller writes again
        return IdentityFrom(written);
    }

private:
    bool Link() {
        for (int attempt = 0; attempt < 100; ++attempt) {
            QByteArray name = TemporaryName(target_);
            if (LinkUnnamed(fd_.Get(), folder_.Get(), name.constData())) {
                name_ = std::move(name);
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    Descriptor folder_;
    QByteArray target_; // its name in the folder
    int error_ = 0;
    QByteArray name_; // empty while the file has none
};

class PosixPrimitives final : public FilePrimitives {
public:
    Opened Open(const FilePath& path, Opening how) override {
        int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
        if (how == Opening::ReadPrivate)
            flags |= O_NOFOLLOW;
        else if (how == Opening::ReadWrite)
            flags = O_RDWR | O_CLOEXEC;
        const int fd = ::open(path.CStr(), flags);
        if (fd < 0) {
            // A link (ELOOP), or what the user may not read, is no file of
            // his own.
            const bool refused = how == Opening::ReadPrivate && (errno == ELOOP || errno == EACCES || errno == EPERM);
            return {nullptr, refused};
        }
        return {std::make_unique<PosixFile>(fd), false};
    }

    Created CreateFor(const FilePath& target, bool replacing, bool privateFile) override {
        const auto [folderPath, name] = SplitPath(target.Native());
        const int folder = ::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0)
            return {};
        auto file = std::make_unique<NewPosixFile>(folder, name, replacing || privateFile ? 0600 : 0666);
        if (!file->Valid())
            return {nullptr, file->Error() == EACCES || file->Error() == EPERM};
        return {std::move(file), false};
    }

    RangeLock LockRange(const FilePath& target) override {
        auto file = std::make_unique<PosixFile>(::open(target.CStr(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        const std::optional<FileFacts> facts = file->Native() >= 0 ? file->Facts() : std::nullopt;
        if (!facts || !facts->regular)
            return {};
        if (::flock(file->Native(), LOCK_EX | LOCK_NB) == 0)
            return {LockResult::Locked, std::move(file)};
        return {errno == EWOULDBLOCK || errno == EINTR ? LockResult::Busy : LockResult::Unsupported, nullptr};
    }
};

} // namespace

FilePrimitives& PlatformPrimitives() {
    static PosixPrimitives primitives;
    return primitives;
}

Look LookAt(const FilePath& path, bool followLinks) {
    struct stat info {};
    if ((followLinks ? ::stat(path.CStr(), &info) : ::lstat(path.CStr(), &info)) == 0)
        return {FactsFrom(info), false};
    return {std::nullopt, errno == ENOENT || errno == ENOTDIR};
}

bool MayWrite(const FilePath& path) {
    return ::faccessat(AT_FDCWD, path.CStr(), W_OK, AT_EACCESS) == 0 ||
           (errno != EACCES && errno != EPERM && errno != EROFS);
}

LockFileName LockFileNameOf(const QByteArray& lockFile) {
    // QLockFile takes a QString, which cannot hold a folder name that is no
    // UTF-8, nor should it: a path too long for the lock file's name is
    // reached through a descriptor of its folder too.
    LockFileName name{QFile::decodeName(lockFile), nullptr};
    if (QFile::encodeName(name.path) != lockFile || lockFile.size() >= PATH_MAX) {
        const auto [folder, file] = SplitPath(lockFile);
        auto held = std::make_shared<Descriptor>();
        name.path = NameThroughFolder(folder, file, *held);
        name.folder = std::move(held);
    }
    return name;
}

bool ProcessRuns(qint64 pid, const QString& application) {
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)
        return false;
    // A process number used again by another program holds no lock.
    const std::optional<QByteArray> executable = ProgramOfProcess(static_cast<pid_t>(pid));
    return !executable || application.isEmpty() ||
           SplitPath(*executable).second == QFile::encodeName(QFileInfo(application).fileName());
}

} // namespace tavolin
