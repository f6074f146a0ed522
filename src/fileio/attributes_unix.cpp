#include "fileio/attributes.h"

#include <QByteArray>
#include <QList>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

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

bool TakeOverAttributes(const FilePath& oldFile, NativeFile newFile) {
    struct stat old {};
    if (::stat(oldFile.CStr(), &old) != 0)
        return false;
    bool kept = true;
    // The owner only root may give; the group root or a member of it.
    if (::fchown(newFile, old.st_uid, old.st_gid) != 0 && ::fchown(newFile, static_cast<uid_t>(-1), old.st_gid) != 0)
        kept = false;
    // After the owner: a change of owner clears the set-ID bits.
    if (::fchmod(newFile, old.st_mode & 07777) != 0)
        kept = false;
    // After the mode: an ACL sets the group bits of the mode to its mask.
    for (const Attribute& attribute : AttributesOf(oldFile.CStr())) {
        if (::fsetxattr(newFile, attribute.name.constData(), attribute.value.constData(),
                        static_cast<std::size_t>(attribute.value.size()), 0) != 0)
            kept = false;
    }
    return kept;
}

} // namespace tavolin
