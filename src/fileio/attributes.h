#pragma once

// Used by the save's implementations only; nothing outside src/fileio
// includes this.

#include "fileio/paths.h"

namespace tavolin {

// An open file as the system knows it: a handle on Windows, a descriptor
// elsewhere.
#ifdef _WIN32
using NativeFile = void*;
#else
using NativeFile = int;
#endif

// Gives a new file, open as `newFile`, what the user set on the file it is to
// replace (links followed): its owner (where the process may set it), its
// group (where the user is in it), its mode, its ACLs and its other extended
// attributes. Returns false when the group, the mode or an attribute could
// not be kept, or the old file could not be looked at.
bool TakeOverAttributes(const FilePath& oldFile, NativeFile newFile);

} // namespace tavolin
