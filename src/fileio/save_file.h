#pragma once

#include "fileio/identity.h"
#include "fileio/paths.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tavolin {

// A save hands the bytes to the file in pieces of at most this size, so that
// a failure after part of the file was written can happen, and be tested, as
// any other.
inline constexpr std::size_t kSaveChunkSize = std::size_t{64} * 1024;

// What a save writes: the file's whole new content, and for a file that only
// ever grows by what is added to it (a name database) how to extend the file
// as it is instead: the bytes to put behind its present content.
struct NewContent {
    std::string_view whole;
    std::function<std::string(std::string_view present)> appendix; // empty: no file that only grows
    // The whole content would lose something the present file holds: the
    // file is only ever extended.
    bool appendOnly = false;
    // A change that keeps the file's size (an entry blanked out, or put back
    // into its blank): where the file has to be written in place, only these
    // bytes are written, at `offset`, and only while the file holds `before`
    // there, so that a crash in the middle cannot touch any other byte. A
    // failure puts `before` back.
    struct Patch {
        std::size_t offset = 0;
        std::string before;
        std::string after; // as long as `before`
    };
    std::optional<Patch> patch = std::nullopt;
    // A file of the user's private folder (a recovery file): a link at the
    // path is not followed, and only a regular file of the user's own is
    // replaced; anything else fails with NotPrivateError.
    bool privateFile = false;
    // The caller holds the file's FileLock, so no other save of it runs: what
    // killed saves left behind goes whatever its age, not only once older
    // than FileLock::kStaleLockTime.
    bool locked = false;
};

// Saves the file: the whole content goes to a new file in the same folder,
// which takes over the old file's owner (where the process may set it),
// group, mode, ACLs and other extended attributes, is synced and then renamed
// over the old one; the folder is synced after that. A link is followed: the
// file it points to is replaced.
//
// The file itself is written instead where a new one would not do: where it
// has other hard links (a rename would cut them off), where the folder takes
// no new file, or where a new file could not take over the group or an
// attribute. With an appendix it is then only extended, so that whatever
// happens during the write every byte it held stays; without one (a file of
// a few lines) it is rewritten and its old bytes put back on a failure.
//
// A file the user may not write (its mode or ACL protect it) is not replaced
// either. After the save, what earlier saves of the file left behind when
// they were killed between creating the new file and renaming it goes
// (RemoveLeftoverTemporaries, for files older than FileLock::kStaleLockTime).
// On any failure the file stays as it was and FileError with the
// create error text is thrown. Returns the identity of the file written.
FileIdentity SaveFile(const FilePath& path, const NewContent& content);

// Replaces the file with exactly these bytes, as SaveFile does.
inline FileIdentity SaveFileAtomically(const FilePath& path, std::string_view bytes) {
    NewContent content;
    content.whole = bytes;
    return SaveFile(path, content);
}

} // namespace tavolin
