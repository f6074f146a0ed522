#include "fileio/attributes.h"
#include "fileio/common.h"
#include "fileio/common_unix.h"
#include "fileio/file_error.h"
#include "fileio/in_place_write.h"
#include "fileio/save_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tavolin {
namespace {

// The new file of a rewrite: without a name (O_TMPFILE) where the file system
// allows, so that a crash leaves nothing behind, else under a hidden name
// (TemporaryName) that tells which file it was for.
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
        if (name_.isEmpty() && !Link(target))
            return false;
        if (::renameat(folder_, name_.constData(), folder_, target.constData()) != 0)
            return false;
        name_.clear();
        // The bytes are synced already; a file system that reports a failed
        // write only when the file is closed reports it here all the same.
        return ::fstat(fd_.Get(), &written) == 0 && fd_.Close();
    }

private:
    bool Link(const QByteArray& target) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_.Get());
        for (int attempt = 0; attempt < 100; ++attempt) {
            QByteArray name = TemporaryName(target);
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

// Whether this user may write the file: its mode, its ACL, an immutable flag
// or a read-only file system may forbid it. A rename over the file would
// ignore all of them.
bool MayWrite(const char* path) {
    return ::faccessat(AT_FDCWD, path, W_OK, AT_EACCESS) == 0 || (errno != EACCES && errno != EPERM && errno != EROFS);
}

} // namespace

FileIdentity SaveTo(const FilePath& target, const NewContent& content, const FilePath& shown,
                    const SaveFaultHook& faults) {
    const auto fail = [&] { throw FileError(CreateErrorText(shown)); };
    const auto [folderPath, name] = SplitPath(target.Native());
    struct stat old {};
    const bool exists = (content.privateFile ? ::lstat(target.CStr(), &old) : ::stat(target.CStr(), &old)) == 0;
    if (content.privateFile && exists && (!S_ISREG(old.st_mode) || old.st_uid != ::geteuid()))
        throw NotPrivateError(NotPrivateErrorText(shown));
    const bool regular = exists && S_ISREG(old.st_mode); // only a file can be written in place
    if (regular && !MayWrite(target.CStr()))
        fail(); // protected by its owner: neither replaced nor written
    const auto inPlace = [&] {
        if (content.privateFile)
            fail(); // only ever a new file of the user's own
        return WriteInPlace(target, content, shown, faults);
    };
    if (regular && (content.appendOnly || old.st_nlink > 1))
        return inPlace(); // a new file would lose what it holds, or cut off its other links
    const Descriptor folder(::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.Valid() || SaveStepFails(faults, SaveStep::Open))
        fail();

    NewFile file(folder.Get(), name, exists || content.privateFile ? 0600 : 0666);
    if (!file.Valid()) {
        // A folder the user may not write to can still hold a file he may.
        const bool folderLocked = file.Error() == EACCES || file.Error() == EPERM;
        if (!regular || !folderLocked)
            fail();
        return inPlace();
    }
    // A private file takes nothing over from the old one: it stays 0600.
    if (exists && !content.privateFile && !TakeOverAttributes(target, file.Fd()) && regular) {
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

} // namespace tavolin
