#include "names/recovery.h"

#include "names/database.h"
#include "names/linelist.h"
#include "names/listsize.h"

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

bool RecoveryFile::CheckFolder() {
    if (!Configured())
        return false;
    try {
        MakePrivateFolder(folder_);
        return true;
    } catch (const NotPrivateError& error) {
        notice_ = QStringLiteral("Tavolin sichert Namen, die nicht gespeichert werden können, in dieser Sitzung nur im "
                                 "Speicher: %1.")
                      .arg(QString::fromUtf8(error.what()))
                      .toStdString();
        path_ = FilePath();
        return false;
    }
}

void RecoveryFile::SetAside(const std::string& why) {
    const FilePath aside = RenameAside(path_);
    const QString text =
        aside.Empty() ? QStringLiteral("Die Wiederherstellungsdatei %1 ist unbrauchbar (%2) und lässt sich nicht "
                                       "umbenennen; Tavolin sichert ungespeicherte Namen in dieser Sitzung nur "
                                       "im Speicher.")
                            .arg(path_.Display(), QString::fromUtf8(why))
                      : QStringLiteral("Die Wiederherstellungsdatei %1 war unbrauchbar (%2). Tavolin hat sie in "
                                       "%3 umbenannt und legt bei Bedarf eine neue an.")
                            .arg(path_.Display(), QString::fromUtf8(why), aside.Display());
    notice_ = text.toStdString();
    if (aside.Empty())
        path_ = FilePath();
}

void RecoveryFile::ReadInto(NameList& names) {
    FileContents contents;
    try {
        contents = ReadPrivateFile(path_, kMaxDatabaseBytes);
    } catch (const NotPrivateError& error) {
        SetAside(error.what());
        return;
    } catch (const FileTooLargeError&) {
        SetAside(ListSizeError().what());
        return;
    }
    ParseNameLines(NameFileOf(std::move(contents)).lines, names);
}

void RecoveryFile::Keep(const NameList& names) {
    if (!CheckFolder())
        throw FileError(notice_.value_or(std::string()));
    NameList kept;
    if (Exists())
        ReadInto(kept);
    if (!Configured())
        throw FileError(notice_.value_or(std::string()));
    for (const std::string_view name : names) {
        if (!kept.contains(name))
            kept.append(name);
    }
    LineList lines;
    NameList written;
    for (const std::string_view name : kept)
        AppendName(lines, written, name);
    NewContent content;
    content.whole = lines.FileBytes();
    content.privateFile = true;
    SaveFile(path_, content);
}

void RecoveryFile::Remove() const {
    RemoveFile(path_);
}

} // namespace tavolin
