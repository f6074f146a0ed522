#include "fileio/common_unix.h"
#include "fileio/file_error.h"
#include "fileio/in_place_write.h"
#include "fileio/read_file.h"

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tavolin {

FileIdentity WriteInPlace(const FilePath& file, const NewContent& content, const FilePath& shown,
                          const SaveFaultHook& faults) {
    const auto fail = [&] { throw FileError(CreateErrorText(shown)); };
    const Descriptor opened(::open(file.CStr(), O_RDWR | O_CLOEXEC));
    const int fd = opened.Get();
    struct stat info {};
    if (!opened.Valid() || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        fail();
    std::string old(static_cast<std::size_t>(info.st_size), '\0');
    if (!ReadAll(fd, old, kNoSizeLimit))
        fail();
    const auto end = static_cast<off_t>(old.size());
    if (content.appendix) {
        const std::string added = content.appendix(old);
        const auto cutOff = [&] {
            if (::ftruncate(fd, end) == 0)
                ::fsync(fd);
            fail();
        };
        if (!WritePieces(fd, added, end, faults) || SaveStepFails(faults, SaveStep::Sync) || ::fsync(fd) != 0 ||
            ::fstat(fd, &info) != 0)
            cutOff();
        return IdentityFrom(info);
    }
    if (content.patch) {
        // No byte beside the patch's is written, so a crash in the middle can
        // only leave these bytes half changed.
        const NewContent::Patch& patch = *content.patch;
        const auto at = static_cast<off_t>(patch.offset);
        if (!PatchFits(old, patch))
            fail();
        if (!WritePieces(fd, patch.after, at, faults) || SaveStepFails(faults, SaveStep::Sync) || ::fsync(fd) != 0 ||
            ::fstat(fd, &info) != 0) {
            if (WriteAt(fd, patch.before, at))
                ::fsync(fd);
            fail();
        }
        return IdentityFrom(info);
    }
    const std::string_view bytes = content.whole;
    const bool extends = bytes.starts_with(old);
    const auto restore = [&] {
        if (!extends)
            WriteAt(fd, old, 0);
        if (::ftruncate(fd, end) == 0)
            ::fsync(fd);
        fail();
    };
    if (extends ? !WritePieces(fd, bytes.substr(old.size()), end, faults)
                : !WritePieces(fd, bytes, 0, faults) || ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
        restore();
    if (SaveStepFails(faults, SaveStep::Sync) || ::fsync(fd) != 0 || ::fstat(fd, &info) != 0)
        restore();
    return IdentityFrom(info);
}

} // namespace tavolin
