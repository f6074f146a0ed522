#pragma once

#include "fileio/fileio.h"

#include <functional>

namespace tavolin::test {

// The steps of the file layer that a test can make fail, each one call of its
// primitives: taking the lock on a file (Lock), reading a database anew that
// changed (Read), creating a save's new file (Open), each piece of at most
// kSaveChunkSize bytes written (Write; none for an empty file), the sync
// (Sync) and the replacement of the old file (Commit). A failed step goes the
// way of a failed system call: a failed Write writes nothing of its piece,
// and what the layer does on the file after a failure to undo it is no step.
enum class SaveStep { Lock, Read, Open, Write, Sync, Commit };

// Asked at every step with the file it concerns (the file locked, read,
// saved or written in place); true fails the step.
using StepFaults = std::function<bool(SaveStep, const FilePath& file)>;

// While it lives, the test programs' primitives (which wrap the system's own)
// ask `faults` at every step; the one made before it asks again once it is
// gone.
class ScopedSaveFaults final {
public:
    explicit ScopedSaveFaults(StepFaults faults);
    ~ScopedSaveFaults();
    ScopedSaveFaults(const ScopedSaveFaults&) = delete;
    ScopedSaveFaults& operator=(const ScopedSaveFaults&) = delete;

private:
    StepFaults faults_;
    const StepFaults* before_;
};

// Whether the file is a recovery file, whose steps some tests leave alone.
bool IsRecoveryFile(const FilePath& file);

} // namespace tavolin::test
