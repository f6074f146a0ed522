#pragma once

// The few things the file layer asks of the system, behind one small
// interface: the layer's decisions (read_file.cpp, save_file.cpp,
// in_place_write.cpp, file_lock.cpp) are written once on top of it, and each
// system's file (primitives_unix.cpp, primitives_windows.cpp) only opens,
// reads, writes at an offset, truncates, syncs, replaces and locks.
// Primitives() is defined in a library of its own (tavolin_fileio_system),
// so that a program chooses its primitives when it is linked.

#include "fileio/attributes.h"
#include "fileio/identity.h"
#include "fileio/paths.h"

#include <QtGlobal>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace tavolin {

// What the layer asks of a file it opened or looked at.
struct FileFacts {
    FileIdentity identity;
    bool regular = false;    // a file: no folder, device, or link looked at itself
    bool link = false;       // a link (or a junction), looked at itself
    bool own = true;         // the user's own (Windows: the access list decides)
    std::uint64_t links = 1; // its hard links
};

// An open file; it is closed when it goes. A new file that never took its
// target's place is removed then, too.
class SystemFile {
public:
    SystemFile() = default;
    virtual ~SystemFile() = default;
    Q_DISABLE_COPY_MOVE(SystemFile)

    virtual std::optional<FileFacts> Facts() = 0;
    // Reads up to `size` bytes from the file's position on: how many it
    // read (0 at the end), nothing when the read failed.
    virtual std::optional<std::size_t> Read(char* into, std::size_t size) = 0;
    // Writes every byte at `offset`; false when the system refuses one.
    virtual bool WriteAt(std::string_view bytes, std::uint64_t offset) = 0;
    virtual bool Truncate(std::uint64_t size) = 0;
    // Flushes what was written to the disk.
    virtual bool Sync() = 0;
    // A new file (FilePrimitives::CreateFor) takes its target's place, which
    // reaches the disk before this returns: the identity of the file in place
    // then. Nothing when it did not, or for any other file.
    virtual std::optional<FileIdentity> Replace() { return std::nullopt; }
    // For the system's own calls on it (the attributes a new file takes over).
    virtual NativeFile Native() const = 0;
};

// What a file is opened for: reading (the first time, or anew because it
// changed since), reading a file of the user's private folder (a link at the
// path is not followed; the system refuses what is no file of the user's),
// or writing it in place.
enum class Opening { Read, ReadAnew, ReadPrivate, ReadWrite };
struct Opened {
    std::unique_ptr<SystemFile> file; // nothing when it could not be opened
    bool refused = false;             // Opening::ReadPrivate: no file of the user's
};

struct Created {
    std::unique_ptr<SystemFile> file; // nothing when it could not be created
    bool folderLocked = false;        // the folder takes no new file from this user
};

// A lock on one byte of the file far beyond its end, which keeps copies of
// the program apart and leaves every read and write free.
enum class LockResult {
    Locked,
    Busy,        // another holder has it
    NoFile,      // nothing to lock: no file yet, or none that can be read
    Unsupported, // a file system without such locks
    Failed,      // the system failed to lock
};
struct RangeLock {
    LockResult result = LockResult::NoFile;
    std::unique_ptr<SystemFile> file; // Locked: held while it is open
};

class FilePrimitives {
public:
    FilePrimitives() = default;
    virtual ~FilePrimitives() = default;
    Q_DISABLE_COPY_MOVE(FilePrimitives)

    virtual Opened Open(const FilePath& path, Opening how) = 0;
    // A new file in the folder of `target` that is to take its place:
    // readable by the user alone until it takes over the old file's mode
    // where it replaces one (`replacing`), or for good (`privateFile`).
    virtual Created CreateFor(const FilePath& target, bool replacing, bool privateFile) = 0;
    virtual RangeLock LockRange(const FilePath& target) = 0;
};

// The primitives the file layer goes through: the system's own in the
// program (tavolin_fileio_system), the tests' choice in theirs.
FilePrimitives& Primitives();
// The system's own primitives.
FilePrimitives& PlatformPrimitives();

} // namespace tavolin
