#pragma once

#include "fileio/paths.h"

#include <chrono>
#include <functional>
#include <memory>

namespace tavolin {

// Called while a lock is waited for: with true on every round of the wait (a
// window keeps itself painted and shows that it is busy), with false once the
// wait is over.
using LockWaitHook = std::function<void(bool waiting)>;

// An exclusive lock for rewriting a file, shared by every copy of the program
// that writes it. Two locks are taken: a lock file beside the file, which a
// lock left behind by a copy that crashed does not block (its process is
// gone, or the lock is older than kStaleLockTime), and a lock on the file
// itself, which the system lets go when its holder ends. Where no lock file
// can be made at all (a folder the user cannot write to, a path too long for
// one), the lock on the file still keeps two copies apart: such a folder
// takes no new file either, so the save extends the file itself.
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
                      const LockWaitHook& whileWaiting = {});
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    // What the lock keeps open until it lets go.
    struct Holding;
    std::unique_ptr<Holding> holding_;
};

} // namespace tavolin
