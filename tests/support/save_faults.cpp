#include "support/save_faults.h"

#include <gtest/gtest.h>

namespace tavolin::test {

struct SaveFault::State {
    std::function<bool(int, SaveStep)> fails; // by the step's number and kind
    bool fired = false;
    std::vector<SaveStep> steps;
};

SaveFault::SaveFault(std::function<bool(const FilePath&)> concerns)
    : state_(std::make_shared<State>()),
      faults_([state = state_, concerns = std::move(concerns)](SaveStep step, const FilePath& file) {
          if (!state->fails || (concerns && !concerns(file)))
              return false;
          state->steps.push_back(step);
          const bool fail = state->fails(static_cast<int>(state->steps.size()), step);
          state->fired = state->fired || fail;
          return fail;
      }) {}

SaveFault::~SaveFault() {
    Clear();
}

void SaveFault::FailStep(int failingStep) {
    *state_ = {[failingStep](int number, SaveStep) { return number == failingStep; }, false, {}};
}

void SaveFault::FailWhen(std::function<bool(SaveStep)> fails) {
    *state_ = {[fails = std::move(fails)](int, SaveStep step) { return fails(step); }, false, {}};
}

void SaveFault::Clear() {
    *state_ = {};
}

bool SaveFault::Fired() const {
    return state_->fired;
}

const std::vector<SaveStep>& SaveFault::Steps() const {
    return state_->steps;
}

std::vector<SaveStep> SweepSaveSteps(SaveFault& fault, const std::function<void(int)>& attempt,
                                     const std::function<void(int, SaveStep)>& failed) {
    // Far more steps than any save here has; a save that never gets through
    // ends the sweep with a failure instead of looping on.
    constexpr int kMaxSteps = 1000;
    for (int n = 1; n <= kMaxSteps; ++n) {
        fault.FailStep(n);
        attempt(n);
        const bool fired = fault.Fired();
        std::vector<SaveStep> steps = fault.Steps();
        fault.Clear();
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

void PrintTo(SaveStep step, std::ostream* out) {
    static constexpr const char* kNames[] = {"Lock", "Read", "Open", "Write", "Sync", "Commit"};
    *out << kNames[static_cast<int>(step)];
}

} // namespace tavolin::test
