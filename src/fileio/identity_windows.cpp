#include "fileio/common_windows.h"
#include "fileio/file_error.h"
#include "fileio/identity.h"
#include "fileio/paths.h"

namespace tavolin {

std::optional<FileIdentity> IdentityOf(const FilePath& path) {
    const Handle file(OpenShared(path.Native(), 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS));
    if (!file.Valid()) {
        // Not a file that is gone: a link to one that is (a drive that is not
        // connected), or something that cannot be looked at.
        if (NothingThere(::GetLastError()) && !PathInUse(path))
            return std::nullopt;
        throw FileError(OpenErrorText(path));
    }
    const std::optional<FileFacts> facts = FactsOf(file.Get());
    if (!facts || facts->Folder())
        throw FileError(OpenErrorText(path));
    return facts->identity;
}

} // namespace tavolin
