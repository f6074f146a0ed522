#pragma once

// Used by SaveFile only; nothing outside src/fileio includes this.

#include "fileio/identity.h"
#include "fileio/paths.h"
#include "fileio/save_file.h"

#include <string_view>

namespace tavolin {

// The save of `target`, the file that `shown` (the path as the user named it)
// stands for. SaveFile removes the leftovers of earlier saves after it.
FileIdentity SaveTo(const FilePath& target, const NewContent& content, const FilePath& shown);

// Writes the file itself, where a new one would not do. With an appendix the
// file only grows: no byte it held is touched, so a failure, a crash or a
// power loss in the middle leaves every one of them, and a failure cuts off
// what was added. Without one (a file of a few lines) it is rewritten, and a
// failure puts the old bytes back. Throws FileError with the create error
// text of `shown` (the path as the user named it); returns the identity of
// the file written. Without an appendix, a patch is written instead of the
// whole content: only its bytes, and only where the file holds its `before`.
FileIdentity WriteInPlace(const FilePath& file, const NewContent& content, const FilePath& shown);

// Whether the patch fits the file's present bytes: another version of the
// file (changed by someone else meanwhile) would be damaged by it.
inline bool PatchFits(std::string_view present, const NewContent::Patch& patch) {
    return patch.after.size() == patch.before.size() && patch.offset <= present.size() &&
           present.substr(patch.offset, patch.before.size()) == patch.before;
}

} // namespace tavolin
