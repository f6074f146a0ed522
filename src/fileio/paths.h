#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>

namespace tavolin {

// A path as the bytes the system knows the file by. A folder unpacked from
// another system may have a name that is no UTF-8 at all; a QString cannot
// hold those bytes, so the program's own files are addressed this way.
class FilePath final {
public:
    FilePath() = default;
    // Paths that Qt hands over (the dialogs, QDir) are UTF-8 file names; a
    // QString stands for a path wherever one is asked for, as
    // std::filesystem::path takes a std::string.
    FilePath(const QString& path); // NOLINT(google-explicit-constructor)
    static FilePath FromNative(QByteArray bytes);

    const QByteArray& Native() const { return native_; }
    const char* CStr() const { return native_.constData(); }
    bool Empty() const { return native_.isEmpty(); }
    // The path for messages: its bytes read as UTF-8, or as Windows-1252
    // where they are no UTF-8.
    QString Display() const;

    bool operator==(const FilePath&) const = default;

private:
    QByteArray native_;
};

// Joins a directory and a file name with the platform's separator. A root
// directory keeps its own separator, so the result may hold a doubled one.
FilePath JoinPath(const FilePath& dir, const QString& fileName);

// The directory part of an executable's full path, without a trailing
// separator unless it is the root directory.
FilePath DirectoryOf(const FilePath& filePath);

// The running executable's full path, byte for byte as the system has it.
FilePath ExecutableFilePath();

// The one path of the file that a path stands for: links on its end
// followed, its folder without links, "." or "..". A folder that cannot be
// resolved is kept as it is.
FilePath CanonicalPath(const FilePath& path);

// Makes the folder and every folder above it that is missing, each only for
// the user. Throws FileError with the create error text of the folder.
void MakeFolders(const FilePath& folder);

// Makes the folder as MakeFolders does and makes sure that it is the user's
// alone: a real folder (no link), owned by the user, that nobody else may
// write to (a folder of the user's with a wider mode is set to 0700). Throws
// NotPrivateError when it is not and cannot be made so. (Windows: the user's
// local application data is private by its access list; only MakeFolders.)
void MakePrivateFolder(const FilePath& folder);

// Renames what is at the path (a file, a folder, a link itself) to a free
// name beside it, the path followed by ".beiseite", ".beiseite-2", ...
// Returns the new path, or an empty one when it could not be renamed.
FilePath RenameAside(const FilePath& path);

// Removes what saves of this file left behind when they were killed between
// creating their new file and renaming it over the file: files in its folder
// named as the save names its new files, whose last change is at least
// `minAge` ago. Never throws; what cannot be removed stays.
void RemoveLeftoverTemporaries(const FilePath& file, std::chrono::seconds minAge);

// Whether anything is at the path: a file, a folder, or a link, even one
// whose file is gone.
bool PathInUse(const FilePath& path);

// Removes the file or link at the path; nothing there is no error. Throws
// FileError with the create error text when it stays.
void RemoveFile(const FilePath& path);

} // namespace tavolin
