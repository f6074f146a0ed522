#include "fileio/common.h"
#include "fileio/common_unix.h"
#include "fileio/file_error.h"
#include "fileio/read_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavolin {

FileContents ReadFile(const FilePath& path, std::uint64_t maxSize) {
    // Plain POSIX reads: the whole file goes straight into one buffer, which
    // matters for databases of millions of names.
    const Descriptor fd(::open(path.CStr(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        throw FileError(OpenErrorText(path));
    return ReadWhole(path, IdentityFrom(info), maxSize,
                     [&](std::string& bytes) { return ReadAll(fd.Get(), bytes, maxSize); });
}

FileContents ReadPrivateFile(const FilePath& path, std::uint64_t maxSize) {
    // A link at the path is not followed (ELOOP), whoever put it there; what
    // the user may not read is no file of his own either.
    const Descriptor fd(::open(path.CStr(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
    const int error = errno;
    if (!fd.Valid() && (error == ELOOP || error == EACCES || error == EPERM))
        throw NotPrivateError(NotPrivateErrorText(path));
    struct stat info {};
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0)
        throw FileError(OpenErrorText(path));
    if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        throw NotPrivateError(NotPrivateErrorText(path));
    return ReadWhole(path, IdentityFrom(info), maxSize,
                     [&](std::string& bytes) { return ReadAll(fd.Get(), bytes, maxSize); });
}

} // namespace tavolin
