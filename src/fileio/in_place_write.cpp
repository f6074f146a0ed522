#include "fileio/in_place_write.h"

#include "fileio/common.h"
#include "fileio/file_error.h"
#include "fileio/read_file.h"

#include <string>

namespace tavolin {

FileIdentity WriteInPlace(const FilePath& path, const NewContent& content, const FilePath& shown) {
    const auto fail = [&] { throw FileError(CreateErrorText(shown)); };
    const Opened opened = Primitives().Open(path, Opening::ReadWrite);
    SystemFile* const file = opened.file.get();
    std::optional<FileFacts> facts = file ? file->Facts() : std::nullopt;
    if (!facts || !facts->regular)
        fail();
    std::string old(static_cast<std::size_t>(facts->identity.size), '\0');
    if (!ReadAll(*file, old, kNoSizeLimit))
        fail();
    const std::uint64_t end = old.size();
    // Undoes the write and fails; what was there before is on the disk again.
    const auto undo = [&](bool putBack) {
        if (putBack)
            file->WriteAt(old, 0);
        if (file->Truncate(end))
            file->Sync();
        fail();
    };
    const auto synced = [&] { return file->Sync() && (facts = file->Facts()).has_value(); };
    if (content.appendix) {
        const std::string added = content.appendix(old);
        if (!WritePieces(*file, added, end) || !synced())
            undo(false);
        return facts->identity;
    }
    if (content.patch) {
        // No byte beside the patch's is written, so a crash in the middle can
        // only leave these bytes half changed.
        const NewContent::Patch& patch = *content.patch;
        if (!PatchFits(old, patch))
            fail();
        if (!WritePieces(*file, patch.after, patch.offset) || !synced()) {
            if (file->WriteAt(patch.before, patch.offset))
                file->Sync();
            fail();
        }
        return facts->identity;
    }
    const std::string_view bytes = content.whole;
    const bool extends = bytes.starts_with(old);
    if (extends ? !WritePieces(*file, bytes.substr(old.size()), end)
                : !WritePieces(*file, bytes, 0) || !file->Truncate(bytes.size()))
        undo(!extends);
    if (!synced())
        undo(!extends);
    return facts->identity;
}

} // namespace tavolin
