#include "fileio/common_unix.h"
#include "fileio/file_error.h"
#include "fileio/identity.h"

#include <cerrno>
#include <sys/stat.h>

namespace tavolin {

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

} // namespace tavolin
