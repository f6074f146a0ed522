#include "fileio/attributes.h"
#include "fileio/common_unix.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tavolin {

bool TakeOverAttributes(const FilePath& oldFile, NativeFile newFile) {
    struct stat old {};
    if (::stat(oldFile.CStr(), &old) != 0)
        return false;
    bool kept = true;
    // The owner only root may give; the group root or a member of it.
    if (::fchown(newFile, old.st_uid, old.st_gid) != 0 && ::fchown(newFile, static_cast<uid_t>(-1), old.st_gid) != 0)
        kept = false;
    // After the owner: a change of owner clears the set-ID bits.
    if (::fchmod(newFile, old.st_mode & 07777) != 0)
        kept = false;
    // After the mode: an ACL sets the group bits of the mode to its mask.
    return CopyExtendedAttributes(oldFile.CStr(), newFile) && kept;
}

} // namespace tavolin
