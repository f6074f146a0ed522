#pragma once

// Used by SaveFile only; nothing outside src/fileio includes this.

#include "fileio/identity.h"
#include "fileio/paths.h"
#include "fileio/save_file.h"
#include "fileio/save_steps.h"

namespace tavolin {

// Writes the file itself, where a new one would not do. With an appendix the
// file only grows: no byte it held is touched, so a failure, a crash or a
// power loss in the middle leaves every one of them, and a failure cuts off
// what was added. Without one (a file of a few lines) it is rewritten, and a
// failure puts the old bytes back. Throws FileError with the create error
// text of `shown` (the path as the user named it); returns the identity of
// the file written.
FileIdentity WriteInPlace(const FilePath& file, const NewContent& content, const FilePath& shown,
                          const SaveFaultHook& faults);

} // namespace tavolin
