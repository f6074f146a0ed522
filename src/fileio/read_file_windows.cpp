#include "fileio/common_windows.h"
#include "fileio/file_error.h"
#include "fileio/read_file.h"

namespace tavolin {

FileContents ReadFile(const FilePath& path, std::uint64_t maxSize) {
    const Handle file(OpenShared(path.Native(), GENERIC_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN));
    const std::optional<FileFacts> facts = file.Valid() ? FactsOf(file.Get()) : std::nullopt;
    if (!facts || facts->Folder())
        throw FileError(OpenErrorText(path));
    const auto size = static_cast<std::uint64_t>(facts->identity.size);
    if (size > maxSize)
        throw FileTooLargeError(OpenErrorText(path));
    // One byte more than the file holds: the read that meets its end then
    // needs no larger buffer; room behind it lets lines be added in place.
    FileContents contents{std::string(), facts->identity};
    constexpr std::size_t kRoomToGrow = std::size_t{64} * 1024;
    contents.bytes.reserve(static_cast<std::size_t>(size) + kRoomToGrow);
    contents.bytes.resize(static_cast<std::size_t>(size) + 1);
    if (!ReadAll(file.Get(), contents.bytes, maxSize))
        throw FileError(OpenErrorText(path));
    if (contents.bytes.size() > maxSize)
        throw FileTooLargeError(OpenErrorText(path));
    return contents;
}

} // namespace tavolin
