#include "fileio/identity.h"

#include "fileio/file_error.h"
#include "fileio/system.h"

namespace tavolin {

std::optional<FileIdentity> IdentityOf(const FilePath& path) {
    const Look look = LookAt(path, true);
    if (look.facts && look.facts->regular)
        return look.facts->identity;
    if (!look.facts && look.missing && !PathInUse(path))
        return std::nullopt;
    // Not a file that is gone: a link to one that is (a folder or drive that
    // is not there), or something that cannot be looked at.
    throw FileError(OpenErrorText(path));
}

} // namespace tavolin
