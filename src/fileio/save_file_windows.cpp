#include "fileio/attributes.h"
#include "fileio/common.h"
#include "fileio/common_windows.h"
#include "fileio/file_error.h"
#include "fileio/in_place_write.h"
#include "fileio/save_file.h"

namespace tavolin {
FileIdentity SaveTo(const FilePath& target, const NewContent& content, const FilePath& shown,
                    const SaveFaultHook& faults) {
    const auto fail = [&] { throw FileError(CreateErrorText(shown)); };
    const auto [folder, name] = SplitPath(target.Native());
    // A private file's link or junction is looked at itself, and refused.
    const DWORD ownLink = content.privateFile ? FILE_FLAG_OPEN_REPARSE_POINT : 0;
    std::optional<FileFacts> old;
    if (const Handle file(OpenShared(target.Native(), 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | ownLink));
        file.Valid())
        old = FactsOf(file.Get());
    else if (!NothingThere(::GetLastError()))
        fail();
    if (content.privateFile && old && (old->Folder() || (old->attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0))
        throw NotPrivateError(NotPrivateErrorText(shown));
    const bool regular = old && !old->Folder(); // only a file can be written in place
    if (regular) {
        // Protected by the user (read-only) or by its access list: neither
        // replaced nor written. ReplaceFileW would only ask to delete it.
        const Handle writable(OpenShared(target.Native(), GENERIC_WRITE));
        if ((old->attributes & FILE_ATTRIBUTE_READONLY) != 0 || !writable.Valid())
            fail();
    }
    const auto inPlace = [&] {
        if (content.privateFile)
            fail(); // only ever a new file
        return WriteInPlace(target, content, shown, faults);
    };
    if (regular && (content.appendOnly || old->links > 1))
        return inPlace(); // a new file would lose what it holds, or cut off its other links
    if (SaveStepFails(faults, SaveStep::Open))
        fail();

    QByteArray temporary;
    Handle file;
    for (int attempt = 0; attempt < 100 && !file.Valid(); ++attempt) {
        temporary = folder + (folder.endsWith('\\') ? "" : "\\") + TemporaryName(name);
        file.Reset(OpenShared(temporary, GENERIC_WRITE | DELETE | WRITE_DAC | READ_CONTROL, CREATE_NEW));
        if (!file.Valid() && ::GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (!file.Valid()) {
        // A folder the user may not write to can still hold a file he may.
        if (!regular || ::GetLastError() != ERROR_ACCESS_DENIED)
            fail();
        return inPlace();
    }
    const auto discard = [&] {
        file.Close();
        ::DeleteFileW(Wide(temporary).c_str());
    };
    // A private file takes nothing over from the old one.
    if (old && !content.privateFile && !TakeOverAttributes(target, file.Get()) && regular) {
        // A new file would lose an attribute or the access list: writing the
        // file itself keeps them all.
        discard();
        return inPlace();
    }
    if (!WritePieces(file.Get(), content.whole, 0, faults) || SaveStepFails(faults, SaveStep::Sync) ||
        ::FlushFileBuffers(file.Get()) == 0 || !file.Close() || SaveStepFails(faults, SaveStep::Commit)) {
        discard();
        fail();
    }
    // ReplaceFileW keeps what the old file had that a new one lacks (its
    // creation time, streams, object ID, the access list once more); a
    // file that was not there is moved into place. Both reach the disk
    // before they return.
    const std::wstring wideTarget = Wide(target.Native());
    const std::wstring wideTemporary = Wide(temporary);
    if (old ? ::ReplaceFileW(wideTarget.c_str(), wideTemporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                             nullptr, nullptr) == 0
            : ::MoveFileExW(wideTemporary.c_str(), wideTarget.c_str(), MOVEFILE_WRITE_THROUGH) == 0) {
        discard();
        fail();
    }
    const Handle written(OpenShared(target.Native(), 0));
    const std::optional<FileFacts> now = written.Valid() ? FactsOf(written.Get()) : std::nullopt;
    if (!now)
        fail();
    return now->identity;
}

} // namespace tavolin
