#pragma once

#include <QString>

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tavolin {

// An error of the file layer. Its text is the program's own German message
// (UTF-8), shown to the user as it stands.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Datei %s kann nicht geöffnet werden" / "... erstellt werden" with the path.
std::string OpenErrorText(const QString& path);
std::string CreateErrorText(const QString& path);

// Joins a directory and a file name with the platform's separator. A root
// directory keeps its own separator, so the result may hold a doubled one.
QString JoinPath(const QString& dir, const QString& fileName);

// The directory part of an executable's full path, without a trailing
// separator unless it is the root directory.
QString DirectoryOf(const QString& filePath);

// Reads every byte of the file (NUL bytes included). Throws FileError with
// the open error text when the file cannot be opened or read.
std::string ReadFileBytes(const QString& path);

// Replaces the file with exactly these bytes: the bytes go to a new file in
// the same folder, which is synced and then renamed over the old one. On any
// failure the old file stays as it was and FileError with the create error
// text is thrown.
void SaveFileAtomically(const QString& path, std::string_view bytes);

// The steps of SaveFileAtomically, for tests that make each step fail in turn.
enum class SaveStep { Open, Write, Flush, Sync, Commit };
using SaveFaultHook = std::function<bool(SaveStep)>; // true: fail this step
void SetSaveFaultHookForTesting(SaveFaultHook hook);

} // namespace tavolin
