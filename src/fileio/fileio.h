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
// The lock file beside a file cannot serve: it is no file of its own (a
// folder, a link), or one left behind that this user cannot remove.
std::string UnusableLockErrorText(const FilePath& lockFile, bool regularFile);

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

// What tells one version of a file from another: the file itself (device and
// inode; a file renamed over it is another one), its size and modification
// time (a program that rewrites it in place changes them), and its change
// time, which every write sets and no tool can set back (`touch -r` and
// `cp -p` put back the modification time of an edited file).
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t changedSeconds = 0;
    std::int64_t changedNanoseconds = 0;
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

// What a save writes: the file's whole new content, and for a file that only
// ever grows by what is added to it (a name database) how to extend the file
// as it is instead: the bytes to put behind its present content.
struct NewContent {
    std::string_view whole;
    std::function<std::string(std::string_view present)> appendix; // empty: no file that only grows
    // The whole content would lose something the present file holds: the
    // file is only ever extended.
    bool appendOnly = false;
};

// Saves the file: the whole content goes to a new file in the same folder,
// which takes over the old file's owner (where the process may set it),
// group, mode, ACLs and other extended attributes, is synced and then renamed
// over the old one; the folder is synced after that. A link is followed: the
// file it points to is replaced.
//
// The file itself is written instead where a new one would not do: where it
// has other hard links (a rename would cut them off), where the folder takes
// no new file, or where a new file could not take over the group or an
// attribute. With an appendix it is then only extended, so that whatever
// happens during the write every byte it held stays; without one (a file of
// a few lines) it is rewritten and its old bytes put back on a failure.
//
// A file the user may not write (its mode or ACL protect it) is not replaced
// either. On any failure the file stays as it was and FileError with the
// create error text is thrown. Returns the identity of the file written.
FileIdentity SaveFile(const FilePath& path, const NewContent& content, const SaveFaultHook& faults = {});

// Replaces the file with exactly these bytes, as SaveFile does.
inline FileIdentity SaveFileAtomically(const FilePath& path, std::string_view bytes, const SaveFaultHook& faults = {}) {
    return SaveFile(path, NewContent{bytes, {}, false}, faults);
}

// SaveFileAtomically hands the bytes to the new file in pieces of at most this
// size, so that a failure after part of the file was written is one of its
// steps too.
inline constexpr std::size_t kSaveChunkSize = std::size_t{64} * 1024;

// Called while a lock is waited for: with true on every round of the wait (a
// window keeps itself painted and shows that it is busy), with false once the
// wait is over.
using LockWaitHook = std::function<void(bool waiting)>;

// An exclusive lock for rewriting a file, shared by every copy of the program
// that writes it. Two locks are taken: a lock file beside the file, which a
// lock left behind by a copy that crashed does not block (its process is
// gone, or the lock is older than kStaleLockTime), and a lock on the file
// itself (flock), which the system lets go when its holder ends. Where no
// lock file can be made at all (a folder the user cannot write to, a path
// too long for one), the lock on the file still keeps two copies apart: such
// a folder takes no new file either, so the save extends the file itself.
class FileLock final {
public:
    // A short wait: another copy's save takes a moment, and the window waits
    // for it.
    static constexpr std::chrono::milliseconds kTimeout{3000};
    static constexpr std::chrono::milliseconds kStaleLockTime{120000};

    // Waits up to `timeout` for the lock. Throws FileError with the locked
    // error text when another running copy holds it all that time, and with
    // the unusable lock text at once when the lock file is no file, or after
    // the wait when it is a file that no running copy holds and that cannot
    // be removed.
    explicit FileLock(const FilePath& file, std::chrono::milliseconds timeout = kTimeout,
                      const SaveFaultHook& faults = {}, const LockWaitHook& whileWaiting = {});
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Whether the lock file is held (the lock on the file itself is held
    // wherever the file exists).
    bool Held() const { return lock_ != nullptr; }

private:
    int folder_ = -1; // the lock file's folder, when it is reached through it
    std::unique_ptr<QLockFile> lock_;
    int file_ = -1; // the file itself, locked
};

} // namespace tavolin
