#include "fileio/save_file.h"

#include "fileio/file_lock.h"
#include "fileio/in_place_write.h"

#ifdef _WIN32
#include "fileio/common_windows.h"
#else
#include "fileio/common_unix.h"
#endif

namespace tavolin {

FileIdentity SaveFile(const FilePath& path, const NewContent& content, const SaveFaultHook& faults) {
    // A private file's path is taken as it stands: a link there is refused,
    // not followed.
    const FilePath target = content.privateFile ? path : FilePath::FromNative(FollowLinks(path.Native()));
    const FileIdentity written = SaveTo(target, content, path, faults);
    RemoveLeftoverTemporaries(target, content.locked
                                          ? std::chrono::seconds(0)
                                          : std::chrono::duration_cast<std::chrono::seconds>(FileLock::kStaleLockTime));
    return written;
}

} // namespace tavolin
