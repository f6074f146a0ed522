// The calls of the POSIX primitives that only Linux has; system_posix.cpp
// stands in for them elsewhere.

#include "fileio/common_unix.h"

#include <QFile>
#include <QList>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/xattr.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace tavolin {
namespace {

struct Attribute {
    QByteArray name;
    QByteArray value;
};

// The extended attributes of a file, POSIX ACLs among them. A file system
// without them has none.
std::vector<Attribute> AttributesOf(const char* path) {
    std::vector<Attribute> attributes;
    QByteArray names;
    for (int attempt = 0; attempt < 3; ++attempt) { // the list may grow between the two calls
        const ssize_t size = ::listxattr(path, nullptr, 0);
        if (size <= 0)
            return attributes;
        names.resize(size);
        if (::listxattr(path, names.data(), static_cast<std::size_t>(size)) == size)
            break;
        names.clear();
    }
    for (const QByteArray& name : names.split('\0')) {
        if (name.isEmpty())
            continue;
        const ssize_t size = ::getxattr(path, name.constData(), nullptr, 0);
        if (size < 0)
            continue;
        QByteArray value(size, '\0');
        const ssize_t got = ::getxattr(path, name.constData(), value.data(), static_cast<std::size_t>(size));
        if (got >= 0) {
            value.truncate(got);
            attributes.push_back({name, value});
        }
    }
    return attributes;
}

} // namespace

FileIdentity IdentityFrom(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev),         static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size),         static_cast<std::int64_t>(info.st_mtim.tv_sec),
            static_cast<std::int64_t>(info.st_mtim.tv_nsec), static_cast<std::int64_t>(info.st_ctim.tv_sec),
            static_cast<std::int64_t>(info.st_ctim.tv_nsec)};
}

int OpenUnnamed(int folder, mode_t mode) {
    return ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
}

bool LinkUnnamed(int fd, int folder, const char* name) {
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    return ::linkat(AT_FDCWD, self.constData(), folder, name, AT_SYMLINK_FOLLOW) == 0 ||
           ::linkat(fd, "", folder, name, AT_EMPTY_PATH) == 0;
}

int RenameNoReplace(const char* from, const char* to) {
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

std::optional<QByteArray> OwnProgramPath() {
    return LinkTarget("/proc/self/exe");
}

std::optional<QByteArray> ProgramOfProcess(pid_t pid) {
    return LinkTarget(("/proc/" + QByteArray::number(pid) + "/exe").constData());
}

QString NameThroughFolder(const QByteArray& folder, const QByteArray& name, Descriptor& held) {
    held.Reset(::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    return held.Valid() ? u"/proc/self/fd/%1/"_s.arg(held.Get()) + QFile::decodeName(name) : QString();
}

bool CopyExtendedAttributes(const char* from, int to) {
    bool kept = true;
    for (const Attribute& attribute : AttributesOf(from)) {
        if (::fsetxattr(to, attribute.name.constData(), attribute.value.constData(),
                        static_cast<std::size_t>(attribute.value.size()), 0) != 0)
            kept = false;
    }
    return kept;
}

} // namespace tavolin
