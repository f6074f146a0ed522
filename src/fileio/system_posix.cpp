// What the POSIX primitives do on a system without Linux's own calls
// (system_linux.cpp): no file without a name, no rename that promises not to
// replace, no look at another process's program, no extended attributes.

#include "fileio/common_unix.h"

#include <cerrno>

namespace tavolin {

FileIdentity IdentityFrom(const struct stat& info) {
    // Whole seconds: POSIX names the fields of finer times differently on
    // every system.
    return {static_cast<std::uint64_t>(info.st_dev),
            static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtime),
            0,
            static_cast<std::int64_t>(info.st_ctime),
            0};
}

int OpenUnnamed(int, mode_t) {
    errno = EOPNOTSUPP;
    return -1;
}

bool LinkUnnamed(int, int, const char*) {
    errno = EOPNOTSUPP;
    return false;
}

int RenameNoReplace(const char*, const char*) {
    errno = ENOSYS;
    return -1;
}

std::optional<QByteArray> OwnProgramPath() {
    return std::nullopt;
}

std::optional<QByteArray> ProgramOfProcess(pid_t) {
    return std::nullopt;
}

QString NameThroughFolder(const QByteArray&, const QByteArray&, Descriptor&) {
    return {}; // the lock on the file itself has to do
}

bool CopyExtendedAttributes(const char*, int) {
    return true;
}

} // namespace tavolin
