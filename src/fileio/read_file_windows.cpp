#include "fileio/common.h"
#include "fileio/common_windows.h"
#include "fileio/file_error.h"
#include "fileio/read_file.h"

namespace tavolin {

FileContents ReadFile(const FilePath& path, std::uint64_t maxSize) {
    const Handle file(OpenShared(path.Native(), GENERIC_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN));
    const std::optional<FileFacts> facts = file.Valid() ? FactsOf(file.Get()) : std::nullopt;
    if (!facts || facts->Folder())
        throw FileError(OpenErrorText(path));
    return ReadWhole(path, facts->identity, maxSize,
                     [&](std::string& bytes) { return ReadAll(file.Get(), bytes, maxSize); });
}

FileContents ReadPrivateFile(const FilePath& path, std::uint64_t maxSize) {
    // A link or junction at the path is opened itself, not what it points to,
    // and a folder is opened too, to be told apart. The owner is not asked:
    // the user's local application data is his alone by its access list.
    const Handle file(
        OpenShared(path.Native(), GENERIC_READ, OPEN_EXISTING,
                   FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS));
    if (!file.Valid() && ::GetLastError() == ERROR_ACCESS_DENIED)
        throw NotPrivateError(NotPrivateErrorText(path));
    const std::optional<FileFacts> facts = file.Valid() ? FactsOf(file.Get()) : std::nullopt;
    if (!facts)
        throw FileError(OpenErrorText(path));
    if (facts->Folder() || (facts->attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        throw NotPrivateError(NotPrivateErrorText(path));
    return ReadWhole(path, facts->identity, maxSize,
                     [&](std::string& bytes) { return ReadAll(file.Get(), bytes, maxSize); });
}

} // namespace tavolin
