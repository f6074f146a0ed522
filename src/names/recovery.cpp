#include "names/recovery.h"

#include "names/database.h"
#include "names/linelist.h"

#include <QCryptographicHash>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tavolin {

namespace {

// The file begins with a line that tells a person which database its names
// belong to; the names follow as in a database file.
constexpr std::string_view kHeader = "# Tavolin: ";

} // namespace

RecoveryFile::RecoveryFile(const FilePath& folder, const FilePath& database)
    : folder_(folder), database_(CanonicalPath(database)) {
    // Copies that reach the database through links or other spellings of its
    // path share one file.
    const QByteArray hash =
        QCryptographicHash::hash(database_.Native(), QCryptographicHash::Sha256).toHex().left(16);
    const QByteArray name = database_.Native().mid(database_.Native().lastIndexOf('/') + 1);
    path_ = FilePath::FromNative(folder.Native() + '/' + name + '-' + hash + ".recovery");
}

bool RecoveryFile::Exists() const {
    struct stat info {};
    return Configured() && ::lstat(path_.CStr(), &info) == 0;
}

void RecoveryFile::ReadInto(NameList& names) const {
    std::string bytes = ReadFile(path_, kMaxDatabaseBytes).bytes;
    if (bytes.starts_with(kHeader))
        bytes.erase(0, std::min(bytes.size(), bytes.find('\n') + 1));
    ParseNameLines(LineList::FromFileBytes(bytes), names);
}

void RecoveryFile::Keep(const NameList& names) const {
    NameList kept;
    if (Exists())
        ReadInto(kept);
    for (const std::string_view name : names) {
        if (!kept.contains(name))
            kept.append(name);
    }
    std::string bytes(kHeader);
    bytes += database_.Native().toStdString();
    std::replace_if(bytes.begin(), bytes.end(), [](char c) { return c == '\r' || c == '\n'; }, '?');
    bytes += "\r\n";
    for (const std::string_view name : kept) {
        bytes += name;
        bytes += kSeparator;
        bytes += "\r\n";
    }
    MakeFolders(folder_);
    SaveFileAtomically(path_, bytes);
}

void RecoveryFile::Remove() const {
    if (::unlink(path_.CStr()) != 0 && errno != ENOENT)
        throw FileError(CreateErrorText(path_));
}

} // namespace tavolin
