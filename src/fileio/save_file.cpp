#include "fileio/save_file.h"

#include "fileio/common.h"
#include "fileio/file_error.h"
#include "fileio/file_lock.h"
#include "fileio/in_place_write.h"
#include "fileio/system.h"

namespace tavolin {

FileIdentity SaveTo(const FilePath& target, const NewContent& content, const FilePath& shown) {
    const auto fail = [&] { throw FileError(CreateErrorText(shown)); };
    // A private file's link (or junction) is looked at itself, and refused.
    const Look old = LookAt(target, !content.privateFile);
    if (!old.facts && !old.missing)
        fail();
    const bool exists = old.facts.has_value();
    if (content.privateFile && exists && (!old.facts->regular || old.facts->link || !old.facts->own))
        throw NotPrivateError(NotPrivateErrorText(shown));
    const bool regular = exists && old.facts->regular; // only a file can be written in place
    if (regular && !MayWrite(target))
        fail(); // protected by its owner: neither replaced nor written
    const auto inPlace = [&] {
        if (content.privateFile)
            fail(); // only ever a new file of the user's own
        return WriteInPlace(target, content, shown);
    };
    if (regular && (content.appendOnly || old.facts->links > 1))
        return inPlace(); // a new file would lose what it holds, or cut off its other links

    Created created = Primitives().CreateFor(target, exists, content.privateFile);
    if (!created.file) {
        // A folder the user may not write to can still hold a file he may.
        if (!regular || !created.folderLocked)
            fail();
        return inPlace();
    }
    // A private file takes nothing over from the old one.
    if (exists && !content.privateFile && !TakeOverAttributes(target, created.file->Native()) && regular) {
        // A new file would lose the group, an attribute or the access list
        // (another user's file in a shared folder): writing the file itself
        // keeps them all.
        created.file.reset();
        return inPlace();
    }
    std::optional<FileIdentity> written;
    if (!WritePieces(*created.file, content.whole, 0) || !created.file->Sync() || !(written = created.file->Replace()))
        fail();
    return *written;
}

FileIdentity SaveFile(const FilePath& path, const NewContent& content) {
    // A private file's path is taken as it stands: a link there is refused,
    // not followed.
    const FilePath target = content.privateFile ? path : FilePath::FromNative(FollowLinks(path.Native()));
    const FileIdentity written = SaveTo(target, content, path);
    RemoveLeftoverTemporaries(target, content.locked
                                          ? std::chrono::seconds(0)
                                          : std::chrono::duration_cast<std::chrono::seconds>(FileLock::kStaleLockTime));
    return written;
}

} // namespace tavolin
