#include "names/recovery.h"

#include "names/database.h"
#include "names/linelist.h"

#include <QCryptographicHash>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace tavolin {

RecoveryFile::RecoveryFile(const FilePath& folder, const FilePath& database) : folder_(folder) {
    // Copies that reach the database through links or other spellings of its
    // path share one file.
    const QByteArray canonical = CanonicalPath(database).Native();
    const QByteArray hash = QCryptographicHash::hash(canonical, QCryptographicHash::Sha256).toHex().left(16);
    const QByteArray name = canonical.mid(canonical.lastIndexOf('/') + 1);
    path_ = FilePath::FromNative(folder.Native() + '/' + name + '-' + hash + ".recovery");
}

bool RecoveryFile::Exists() const {
    struct stat info {};
    return Configured() && ::lstat(path_.CStr(), &info) == 0;
}

void RecoveryFile::ReadInto(NameList& names) const {
    ParseNameLines(ReadNameFile(path_).lines, names);
}

void RecoveryFile::Keep(const NameList& names) const {
    NameList kept;
    if (Exists())
        ReadInto(kept);
    for (const std::string_view name : names) {
        if (!kept.contains(name))
            kept.append(name);
    }
    LineList lines;
    NameList written;
    for (const std::string_view name : kept)
        AppendName(lines, written, name);
    MakeFolders(folder_);
    SaveFileAtomically(path_, lines.FileBytes());
}

void RecoveryFile::Remove() const {
    if (::unlink(path_.CStr()) != 0 && errno != ENOENT)
        throw FileError(CreateErrorText(path_));
}

} // namespace tavolin
