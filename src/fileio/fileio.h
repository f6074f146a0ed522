#pragma once

#include <QString>

#include <cstddef>
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

// SaveFileAtomically hands the bytes to the new file in pieces of at most this
// size, so that a failure after part of the file was written is one of its
// steps too.
inline constexpr std::size_t kSaveChunkSize = 64 * 1024;

// The steps of SaveFileAtomically, for tests that make each step fail in turn:
// creating the new file, each piece of bytes (none for an empty file), the
// flush of Qt's buffer, the sync to disk, and the replacement of the old file.
// A failed Write step writes half of its piece before it fails, as a short
// write does.
enum class SaveStep { Open, Write, Flush, Sync, Commit };
using SaveFaultHook = std::function<bool(SaveStep)>; // true: fail this step
void SetSaveFaultHookForTesting(SaveFaultHook hook);

} // namespace tavolin
