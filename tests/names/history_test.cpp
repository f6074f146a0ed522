#include "support/history.h"

#include <gtest/gtest.h>
#include <rapidcheck.h>
#include <rapidcheck/gtest.h>

namespace rc {

template <>
struct Arbitrary<tavolin::test::HistoryStep> {
    static Gen<tavolin::test::HistoryStep> arbitrary() { // NOLINT(readability-identifier-naming): RapidCheck's name
        using tavolin::test::HistoryStep;
        // Most commands go through; some fail at one of their first steps.
        const auto fail = gen::weightedElement<std::uint8_t>({{12, 0}, {2, 1}, {2, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}});
        return gen::map(gen::tuple(gen::inRange(0, static_cast<int>(HistoryStep::Kind::Count)), gen::inRange(0, 3),
                                   gen::inRange(0, 8), fail, fail, gen::weightedElement<bool>({{5, false}, {1, true}})),
                        [](const auto& t) {
                            const auto& [kind, copy, name, failing, failingRecovery, kill] = t;
                            return HistoryStep{static_cast<HistoryStep::Kind>(kind),
                                               static_cast<std::uint8_t>(copy),
                                               static_cast<std::uint8_t>(name),
                                               failing,
                                               failingRecovery,
                                               kill};
                        });
    }
};

} // namespace rc

namespace tavolin::test {
namespace {

using K = HistoryStep::Kind;

// Random histories of three copies, other programs and failures; a broken
// promise is shrunk to a short history and printed as steps for the list
// below.
RC_GTEST_PROP(NameHistory, EveryHistoryKeepsWhatThePlayerWasTold, ()) {
    const auto steps = *rc::gen::container<std::vector<HistoryStep>>(rc::gen::arbitrary<HistoryStep>());
    const bool big = *rc::gen::weightedElement<bool>({{7, false}, {1, true}});
    if (const std::optional<std::string> broken = RunHistory(steps, big)) {
        const std::string message = *broken + (big ? " (big file)\n" : "\n") + Describe(steps);
        RC_FAIL(message);
    }
}

// Histories that broke a promise once, shrunk.
TEST(NameHistory, FoundBefore) {
    const std::vector<std::pair<bool, std::vector<HistoryStep>>> found = {
        // A's name is kept (busy lock); B saves it and the player removes it in B.
        {false, {{K::Add, 0, 4, 1}, {K::Add, 1, 5}, {K::Remove, 1, 4}, {K::Add, 0, 6}}},
        // An add fails, then the undo.
        {false, {{K::Add, 0, 4}, {K::Add, 0, 5, 1}, {K::Undo, 0, 0}}},
        // A removal that finds nothing to do while names wait in the recovery file.
        {false, {{K::Add, 1, 5}, {K::Add, 0, 4, 1}, {K::SameSizeEdit, 0, 0}, {K::Remove, 1, 0}, {K::Kill, 0, 0}}},
        // A folder in the recovery file's place.
        {false, {{K::Add, 0, 4, 1}, {K::BreakRecovery, 0, 0}, {K::Add, 1, 5}}},
        // The file deleted, then an add of a name the copy knows.
        {false, {{K::Add, 1, 0}, {K::Delete, 0, 0}, {K::Add, 1, 0}}},
        // A removal while the file is gone.
        {false, {{K::Add, 1, 5}, {K::Delete, 0, 0}, {K::Remove, 1, 0}}},
        // A kept name saved and removed by another copy, then a failed refresh keeps it again.
        {false, {{K::Add, 0, 2, 2}, {K::Remove, 1, 2, 0, 5}, {K::Add, 0, 0, 2}}},
        // A name taken again by the player after another copy saved and removed it.
        {true,
         {{K::Remove, 0, 1},
          {K::Add, 1, 1, 6},
          {K::Add, 0, 0, 4, 2},
          {K::Remove, 0, 1, 0, 5},
          {K::Add, 1, 1, 1, 3},
          {K::Add, 1, 0, 0, 1}}},
        // The same with a merge that fails, after another copy saved and removed the name.
        {true,
         {{K::Remove, 0, 0},
          {K::Add, 0, 0, 3, 6},
          {K::Add, 0, 3, 4},
          {K::Remove, 1, 0},
          {K::MergeDatabase, 0, 0, 2, 4}}},
        // A plain UTF-8 list with "ó".
        {false, {{K::MergeList, 0, 3}}},
    };
    for (const auto& [big, steps] : found)
        EXPECT_EQ(RunHistory(steps, big), std::nullopt) << Describe(steps);
    // A removal and its undo in place (a second hard link), killed at each step.
    for (std::uint8_t step = 1; step < 8; ++step) {
        for (const auto& steps : {std::vector<HistoryStep>{{K::HardLink, 0, 0}, {K::Remove, 0, 1, step, 0, true}},
                                  {{K::HardLink, 0, 0}, {K::Remove, 0, 1}, {K::Undo, 0, 0, step, 0, true}}})
            EXPECT_EQ(RunHistory(steps, true), std::nullopt) << Describe(steps);
    }
}

} // namespace
} // namespace tavolin::test
