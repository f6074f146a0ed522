#pragma once

#include "fileio/paths.h"

#include <cstdint>
#include <optional>

namespace tavolin {

// What tells one version of a file from another: the file itself (device and
// inode; a file renamed over it is another one), its size and modification
// time (a program that rewrites it in place changes them), and its change
// time, which every write sets and no tool can set back (`touch -r` and
// `cp -p` put back the modification time of an edited file).
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t changedSeconds = 0;
    std::int64_t changedNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at the path (links followed), or nothing when
// there is no file there at all. A link whose file is gone, and anything that
// cannot be looked at, throws FileError with the open error text.
std::optional<FileIdentity> IdentityOf(const FilePath& path);

} // namespace tavolin
