#include "fileio/read_file.h"

#include "fileio/common.h"
#include "fileio/file_error.h"
#include "fileio/primitives.h"

namespace tavolin {
namespace {

// Reads the open file, which `identity` describes, into one buffer sized for
// it: the whole file goes straight into it, which matters for databases of
// millions of names.
FileContents ReadWhole(const FilePath& path, SystemFile& file, const FileIdentity& identity, std::uint64_t maxSize) {
    const auto size = static_cast<std::uint64_t>(identity.size);
    if (size > maxSize)
        throw FileTooLargeError(OpenErrorText(path));
    // One byte more than the file holds: the read that meets its end then
    // needs no larger buffer, which would copy the whole file once more.
    // Room behind it (untouched, so it takes no memory) lets a few lines be
    // added to the text without copying it either.
    FileContents contents{std::string(), identity};
    constexpr std::size_t kRoomToGrow = std::size_t{64} * 1024;
    contents.bytes.reserve(static_cast<std::size_t>(size) + kRoomToGrow);
    contents.bytes.resize(static_cast<std::size_t>(size) + 1);
    if (!ReadAll(file, contents.bytes, maxSize))
        throw FileError(OpenErrorText(path));
    if (contents.bytes.size() > maxSize)
        throw FileTooLargeError(OpenErrorText(path));
    return contents;
}

} // namespace

FileContents ReadFile(const FilePath& path, std::uint64_t maxSize, Reading reading) {
    const Opened opened = Primitives().Open(path, reading == Reading::Anew ? Opening::ReadAnew : Opening::Read);
    const std::optional<FileFacts> facts = opened.file ? opened.file->Facts() : std::nullopt;
    if (!facts || !facts->regular)
        throw FileError(OpenErrorText(path));
    return ReadWhole(path, *opened.file, facts->identity, maxSize);
}

FileContents ReadPrivateFile(const FilePath& path, std::uint64_t maxSize) {
    // A link at the path is not followed, whoever put it there; what the
    // user may not read is no file of his own either.
    const Opened opened = Primitives().Open(path, Opening::ReadPrivate);
    if (opened.refused)
        throw NotPrivateError(NotPrivateErrorText(path));
    const std::optional<FileFacts> facts = opened.file ? opened.file->Facts() : std::nullopt;
    if (!facts)
        throw FileError(OpenErrorText(path));
    if (!facts->regular || facts->link || !facts->own)
        throw NotPrivateError(NotPrivateErrorText(path));
    return ReadWhole(path, *opened.file, facts->identity, maxSize);
}

} // namespace tavolin
