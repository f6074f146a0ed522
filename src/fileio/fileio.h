#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

class QLockFile;

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

// "Datei %s kann nicht geöffnet werden" / "... erstellt werden" with the path.
std::string OpenErrorText(const FilePath& path);
std::string CreateErrorText(const FilePath& path);
// The file is locked by another running copy of the program.
std::string LockedErrorText(const FilePath& path);

// Joins a directory and a file name with the platform's separator. A root
// directory keeps its own separator, so the result may hold a doubled one.
FilePath JoinPath(const FilePath& dir, const QString& fileName);

// The directory part of an executable's full path, without a trailing
// separator unless it is the root directory.
FilePath DirectoryOf(const FilePath& filePath);

// The running executable's full path, byte for byte as the system has it.
FilePath ExecutableFilePath();

// What tells one version of a file from another: the file itself (device and
// inode; a file renamed over it is another one) and its size and
// modification time (a program that rewrites it in place changes them).
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at the path (links followed), or nothing when
// there is no file there at all. A link whose file is gone, and anything that
// cannot be looked at, throws FileError with the open error text.
std::optional<FileIdentity> IdentityOf(const FilePath& path);

struct FileContents {
    std::string bytes;
    FileIdentity identity; // of the file as it was when reading began
};

inline constexpr std::uint64_t kNoSizeLimit = std::numeric_limits<std::uint64_t>::max();

// Reads every byte of the file (NUL bytes included). A file of more than
// `maxSize` bytes throws FileTooLargeError at once, before anything is read;
// a file that cannot be opened or read throws FileError with the open error
// text.
FileContents ReadFile(const FilePath& path, std::uint64_t maxSize = kNoSizeLimit);
std::string ReadFileBytes(const FilePath& path);

// The steps of a guarded rewrite, for tests that make each step fail in turn:
// taking the lock, reading the file anew when it changed, creating the new
// file, each piece of bytes (none for an empty file), the sync to disk, and
// the replacement of the old file. A failed Write step writes half of its
// piece before it fails, as a short write does. The writers take the hook as
// a parameter; the program passes none.
enum class SaveStep { Lock, Read, Open, Write, Sync, Commit };
using SaveFaultHook = std::function<bool(SaveStep)>; // true: fail this step
// Whether the hook makes this step fail; for the steps of the layers above.
inline bool SaveStepFails(const SaveFaultHook& faults, SaveStep step) {
    return faults && faults(step);
}

// Replaces the file with exactly these bytes: the bytes go to a new file in
// the same folder, which takes over the old file's owner (where the process
// may set it), group, mode, ACLs and other extended attributes, is synced and
// then renamed over the old one; the folder is synced after that. A link is
// followed: the file it points to is replaced. Where the folder takes no new
// file, or the new file could not take over the group or an attribute, but
// the file itself can be written, it is rewritten in place instead. On any
// failure the old file stays as it was and FileError with the create error
// text is thrown. Returns the identity of the file written.
FileIdentity SaveFileAtomically(const FilePath& path, std::string_view bytes, const SaveFaultHook& faults = {});

// SaveFileAtomically hands the bytes to the new file in pieces of at most this
// size, so that a failure after part of the file was written is one of its
// steps too.
inline constexpr std::size_t kSaveChunkSize = std::size_t{64} * 1024;

// An exclusive lock for rewriting a file, shared by every copy of the program
// that writes it: a lock file beside it, which a lock left behind by a copy
// that crashed does not block (its process is gone, or the lock is older
// than kStaleLockTime). Where no lock file can be made at all (a folder the
// user cannot write to), nothing is held and the caller goes on unlocked: the
// rewrite then happens in place, and the identity check before it still
// catches a change made in between.
class FileLock final {
public:
    static constexpr std::chrono::milliseconds kTimeout{10000};
    static constexpr std::chrono::milliseconds kStaleLockTime{120000};

    // Waits up to `timeout` for the lock; throws FileError with the locked
    // error text when another copy holds it all that time.
    explicit FileLock(const FilePath& file, std::chrono::milliseconds timeout = kTimeout,
                      const SaveFaultHook& faults = {});
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return lock_ != nullptr; }

private:
    int folder_ = -1; // the lock file's folder, when it is reached through it
    std::unique_ptr<QLockFile> lock_;
};

} // namespace tavolin
