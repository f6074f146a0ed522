#include "support/save_faults.h"

#include <gtest/gtest.h>

namespace tavolin::test {

SaveFault::SaveFault(int failingStep) : failingStep_(failingStep) {
    SetSaveFaultHookForTesting([this](SaveStep step) {
        steps_.push_back(step);
        const bool fail = static_cast<int>(steps_.size()) == failingStep_;
        fired_ = fired_ || fail;
        return fail;
    });
}

SaveFault::~SaveFault() {
    SetSaveFaultHookForTesting({});
}

std::vector<SaveStep> SweepSaveSteps(const std::function<void(int)>& attempt,
                                     const std::function<void(int, SaveStep)>& failed) {
    // Far more steps than any save here has; a save that never gets through
    // ends the sweep with a failure instead of looping on.
    constexpr int kMaxSteps = 1000;
    for (int n = 1; n <= kMaxSteps; ++n) {
        std::vector<SaveStep> steps;
        bool fired = false;
        {
            SaveFault fault(n);
            attempt(n);
            fired = fault.fired();
            steps = fault.steps();
        }
        if (!fired)
            return steps;
        failed(n, steps.back());
        if (::testing::Test::HasFatalFailure())
            return {};
    }
    ADD_FAILURE() << "the save never went through";
    return {};
}

std::vector<SaveStep> StepsOfSave(std::size_t size) {
    std::vector<SaveStep> steps{SaveStep::Open};
    for (std::size_t done = 0; done < size; done += kSaveChunkSize)
        steps.push_back(SaveStep::Write);
    steps.insert(steps.end(), {SaveStep::Sync, SaveStep::Commit});
    return steps;
}

std::vector<SaveStep> StepsOfUpdate(std::size_t size, bool changed) {
    std::vector<SaveStep> steps{SaveStep::Lock};
    if (changed)
        steps.push_back(SaveStep::Read);
    const std::vector<SaveStep> save = StepsOfSave(size);
    steps.insert(steps.end(), save.begin(), save.end());
    return steps;
}

} // namespace tavolin::test

namespace tavolin {

void PrintTo(SaveStep step, std::ostream* out) {
    static constexpr const char* kNames[] = {"Lock", "Read", "Open", "Write", "Sync", "Commit"};
    *out << kNames[static_cast<int>(step)];
}

} // namespace tavolin
