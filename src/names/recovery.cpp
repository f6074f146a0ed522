#include "names/recovery.h"

#include "names/database.h"
#include "names/linelist.h"

#include <QCryptographicHash>

namespace tavolin {

RecoveryFile::RecoveryFile(const FilePath& folder, const FilePath& database) : folder_(folder) {
    // Copies that reach the database through links or other spellings of its
    // path share one file.
    const FilePath canonical = CanonicalPath(database);
    const QByteArray hash = QCryptographicHash::hash(canonical.Native(), QCryptographicHash::Sha256).toHex().left(16);
    // The file's name: what follows its folder and the separator after it.
    const QByteArray dir = DirectoryOf(canonical).Native();
    const qsizetype separator = dir.endsWith('/') || dir.endsWith('\\') ? 0 : 1;
    const QByteArray name = canonical.Native().mid(dir.size() + separator);
    path_ = FilePath::FromNative(JoinPath(folder, {}).Native() + name + '-' + hash + ".recovery");
}

bool RecoveryFile::Exists() const {
    return Configured() && PathInUse(path_);
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
    RemoveFile(path_);
}

} // namespace tavolin
