#include "fileio/common_unix.h"
#include "fileio/file_error.h"
#include "fileio/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace tavolin {

FileContents ReadFile(const FilePath& path, std::uint64_t maxSize) {
    // Plain POSIX reads: the whole file goes straight into one buffer, which
    // matters for databases of millions of names.
    const Descriptor fd(::open(path.CStr(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        throw FileError(OpenErrorText(path));
    if (static_cast<std::uint64_t>(info.st_size) > maxSize)
        throw FileTooLargeError(OpenErrorText(path));

    // One byte more than the file holds: the read that meets its end then
    // needs no larger buffer, which would copy the whole file once more.
    // Room behind it (untouched, so it takes no memory) lets a few lines be
    // added to the text without copying it either.
    FileContents contents{std::string(), IdentityFrom(info)};
    constexpr std::size_t kRoomToGrow = std::size_t{64} * 1024;
    contents.bytes.reserve(static_cast<std::size_t>(info.st_size) + kRoomToGrow);
    contents.bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    if (!ReadAll(fd.Get(), contents.bytes, maxSize))
        throw FileError(OpenErrorText(path));
    if (contents.bytes.size() > maxSize)
        throw FileTooLargeError(OpenErrorText(path));
    return contents;
}

} // namespace tavolin
