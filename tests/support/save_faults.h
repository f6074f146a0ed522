#pragma once

#include "fileio/fileio.h"

#include <functional>
#include <ostream>
#include <vector>

namespace tavolin::test {

// While it lives, the Nth step of the saves that follow fails (counted from
// 1, across saves), and every step they reach is recorded, the failing one
// included.
class SaveFault final {
public:
    explicit SaveFault(int failingStep);
    ~SaveFault();
    SaveFault(const SaveFault&) = delete;
    SaveFault& operator=(const SaveFault&) = delete;

    bool fired() const { return fired_; }
    const std::vector<SaveStep>& steps() const { return steps_; }

private:
    int failingStep_;
    bool fired_ = false;
    std::vector<SaveStep> steps_;
};

// Makes each step of a save fail in turn: runs `attempt(n)` with step n
// failing for n = 1, 2, ... until an attempt saves without reaching its
// failing step; `failed(n, step)` checks what an attempt whose step failed
// left behind. Returns the steps of the save that went through.
std::vector<SaveStep> SweepSaveSteps(const std::function<void(int)>& attempt,
                                     const std::function<void(int, SaveStep)>& failed);

// The steps of one save of `size` bytes, in order.
std::vector<SaveStep> StepsOfSave(std::size_t size);
// The steps of an add or a merge: the lock, the read of a file that changed
// (when it did), and the save.
std::vector<SaveStep> StepsOfUpdate(std::size_t size, bool changed);

} // namespace tavolin::test

namespace tavolin {
// Readable steps in failure messages.
void PrintTo(SaveStep step, std::ostream* out);
} // namespace tavolin
