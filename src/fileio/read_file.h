#pragma once

#include "fileio/identity.h"
#include "fileio/paths.h"

#include <cstdint>
#include <limits>
#include <string>

namespace tavolin {

struct FileContents {
    std::string bytes;
    FileIdentity identity; // of the file as it was when reading began
};

inline constexpr std::uint64_t kNoSizeLimit = std::numeric_limits<std::uint64_t>::max();

// Whether a file is read for the first time, or anew because it changed since
// it was last read or written (another program wrote it).
enum class Reading { First, Anew };

// Reads every byte of the file (NUL bytes included). A file of more than
// `maxSize` bytes throws FileTooLargeError at once, before anything is read;
// a file that cannot be opened or read throws FileError with the open error
// text.
FileContents ReadFile(const FilePath& path, std::uint64_t maxSize = kNoSizeLimit, Reading reading = Reading::First);

// Reads a file of the user's private folder as ReadFile does, without
// following a link at the path. Throws NotPrivateError when the path is no
// regular file of the user's own, or one the user may not read.
FileContents ReadPrivateFile(const FilePath& path, std::uint64_t maxSize = kNoSizeLimit);

inline std::string ReadFileBytes(const FilePath& path) {
    return ReadFile(path).bytes;
}

} // namespace tavolin
