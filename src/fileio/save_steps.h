#pragma once

#include <cstddef>
#include <functional>

namespace tavolin {

// The steps of a guarded rewrite, for tests that make each step fail in turn:
// taking the lock, reading the file anew when it changed, creating the new
// file, each piece of bytes (none for an empty file), the sync to disk, and
// the replacement of the old file. A step the hook fails goes the way of a
// failed system call: a failed Write step writes nothing of its piece. (A
// piece cut short is a real limit's to show: RLIMIT_FSIZE, a full disk.) The
// writers take the hook as a parameter; the program passes none.
enum class SaveStep { Lock, Read, Open, Write, Sync, Commit };
using SaveFaultHook = std::function<bool(SaveStep)>; // true: fail this step
// Whether the hook makes this step fail; for the steps of the layers above.
inline bool SaveStepFails(const SaveFaultHook& faults, SaveStep step) {
    return faults && faults(step);
}

// A save hands the bytes to the file in pieces of at most this size, so that
// a failure after part of the file was written is one of its steps too.
inline constexpr std::size_t kSaveChunkSize = std::size_t{64} * 1024;

} // namespace tavolin
