#pragma once

#include "fileio/fileio.h"
#include "support/fault_primitives.h"

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

namespace tavolin::test {

// Makes steps of the file layer fail (see ScopedSaveFaults), of the files
// that `concerns` picks (every file unless given). While it lives, the chosen
// steps fail and every step of those files is recorded, the failing one
// included; it fails nothing until told.
class SaveFault final {
public:
    explicit SaveFault(std::function<bool(const FilePath&)> concerns = {});
    ~SaveFault();
    SaveFault(const SaveFault&) = delete;
    SaveFault& operator=(const SaveFault&) = delete;

    // From now on the Nth step fails (counted from 1, across saves).
    void FailStep(int failingStep);
    // From now on every step fails that the test picks.
    void FailWhen(std::function<bool(SaveStep)> fails);
    void Clear();

    bool Fired() const;
    const std::vector<SaveStep>& Steps() const;

private:
    struct State;
    std::shared_ptr<State> state_;
    ScopedSaveFaults faults_;
};

// Makes each step of a save fail in turn through `fault`: runs `attempt(n)`
// with step n failing for n = 1, 2, ... until an attempt saves without
// reaching its failing step; `failed(n, step)` checks what an attempt whose
// step failed left behind, with nothing failing. Returns the steps of the save
// that went through.
std::vector<SaveStep> SweepSaveSteps(SaveFault& fault, const std::function<void(int)>& attempt,
                                     const std::function<void(int, SaveStep)>& failed);

// The steps of one save of `size` bytes, in order.
std::vector<SaveStep> StepsOfSave(std::size_t size);
// The steps of an add or a merge: the lock, the read of a file that changed
// (when it did), and the save.
std::vector<SaveStep> StepsOfUpdate(std::size_t size, bool changed);

// Readable steps in failure messages.
void PrintTo(SaveStep step, std::ostream* out);

} // namespace tavolin::test
