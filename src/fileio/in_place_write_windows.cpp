#include "fileio/common_windows.h"
#include "fileio/file_error.h"
#include "fileio/in_place_write.h"
#include "fileio/read_file.h"

#include <string>

namespace tavolin {

FileIdentity WriteInPlace(const FilePath& file, const NewContent& content, const FilePath& shown,
                          const SaveFaultHook& faults) {
    const auto fail = [&] { throw FileError(CreateErrorText(shown)); };
    const Handle opened(OpenShared(file.Native(), GENERIC_READ | GENERIC_WRITE));
    const HANDLE handle = opened.Get();
    std::optional<FileFacts> facts = opened.Valid() ? FactsOf(handle) : std::nullopt;
    if (!facts || facts->Folder())
        fail();
    std::string old(static_cast<std::size_t>(facts->identity.size), '\0');
    if (!ReadAll(handle, old, kNoSizeLimit))
        fail();
    const std::uint64_t end = old.size();
    // Undoes the write and fails; what was there before is on the disk again.
    const auto undo = [&](bool putBack) {
        if (putBack)
            WriteAt(handle, old, 0);
        if (CutOff(handle, end))
            ::FlushFileBuffers(handle);
        fail();
    };
    const auto synced = [&] {
        return !SaveStepFails(faults, SaveStep::Sync) && ::FlushFileBuffers(handle) != 0 &&
               (facts = FactsOf(handle)).has_value();
    };
    if (content.appendix) {
        const std::string added = content.appendix(old);
        if (!WritePieces(handle, added, end, faults) || !synced())
            undo(false);
        return facts->identity;
    }
    if (content.patch) {
        // No byte beside the patch's is written, so a crash in the middle can
        // only leave these bytes half changed.
        const NewContent::Patch& patch = *content.patch;
        if (!PatchFits(old, patch))
            fail();
        if (!WritePieces(handle, patch.after, patch.offset, faults) || !synced()) {
            if (WriteAt(handle, patch.before, patch.offset))
                ::FlushFileBuffers(handle);
            fail();
        }
        return facts->identity;
    }
    const std::string_view bytes = content.whole;
    const bool extends = bytes.starts_with(old);
    if (extends ? !WritePieces(handle, bytes.substr(old.size()), end, faults)
                : !WritePieces(handle, bytes, 0, faults) || !CutOff(handle, bytes.size()))
        undo(!extends);
    if (!synced())
        undo(!extends);
    return facts->identity;
}

} // namespace tavolin
