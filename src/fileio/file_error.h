#pragma once

#include "fileio/paths.h"

#include <stdexcept>
#include <string>

namespace tavolin {

// An error of the file layer. Its text is the program's own German message
// (UTF-8), shown to the user as it stands.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that is larger than its reader accepts; nothing of it was read.
class FileTooLargeError : public FileError {
public:
    using FileError::FileError;
};

// What should be a file or folder of the user's own (the recovery folder and
// its files) is something else: a link, a folder where a file belongs, a
// file of another user, a folder others may write to, or one the user cannot
// read. Nothing was read or written through it.
class NotPrivateError : public FileError {
public:
    using FileError::FileError;
};

// "Datei %s kann nicht geöffnet werden" / "... erstellt werden" with the path.
std::string OpenErrorText(const FilePath& path);
std::string CreateErrorText(const FilePath& path);
// The file is locked by another running copy of the program.
std::string LockedErrorText(const FilePath& path);
// The lock file beside a file cannot serve: it is no file of its own (a
// folder, a link), or one left behind that this user cannot remove.
std::string UnusableLockErrorText(const FilePath& lockFile, bool regularFile);
// "%s gehört nicht dir allein" style text of NotPrivateError, with the path.
std::string NotPrivateErrorText(const FilePath& path);

} // namespace tavolin
