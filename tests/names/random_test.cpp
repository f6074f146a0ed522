#include "names/random.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace tavolin {
namespace {

constexpr std::uint64_t kSeed = 1000000000;

std::vector<std::size_t> Sequence(RandomSource& random, std::size_t bound) {
    std::vector<std::size_t> values(60000);
    std::generate(values.begin(), values.end(), [&] { return random.RandomBelow(bound); });
    return values;
}

// Below the bound, every value about equally often, 0 for 0, and the seed
// alone fixes the sequence.
TEST(RandomSourceTest, UniformBelowTheBoundAndFixedByTheSeed) {
    RandomSource random(kSeed);
    EXPECT_EQ(random.RandomBelow(0), 0u);
    std::vector<int> counts(6);
    for (std::size_t value : Sequence(random, counts.size()))
        ++counts.at(value);
    for (int count : counts)
        EXPECT_NEAR(count, 10000, 1000);

    RandomSource same(kSeed);
    RandomSource other(kSeed + 1);
    random.Seed(kSeed);
    const std::vector<std::size_t> sequence = Sequence(random, 1000);
    EXPECT_EQ(Sequence(same, 1000), sequence);
    EXPECT_NE(Sequence(other, 1000), sequence);
}

// Only the bytes a to z are compared as their capitals.
TEST(DrawWithBeginningTest, FoldsOnlyTheAsciiLetters) {
    const std::vector<std::tuple<const char*, const char*, bool>> cases = {
        {"Anna", "an", true},
        {"ANDREA", "an", true},
        {"andreas", "an", true},
        {"aNnA", "AnN", true},
        {"Berta", "an", false},
        {"\xC4nne", "\xE4", false}, // "Änne" and "ä": umlauts keep their case
        {"\xC4nne", "\xC4", true},
        {"\xDF"
         "a",
         "SS", false},        // "ß" is not "SS"
        {"[ben", "{", false}, // differ only in the bit that folds letters
        {" Ben", " ", true},
        {"Ben", " ", false},
        {"An", "Anna", false},  // shorter than the beginning
        {"Anna", "aNNA", true}, // the beginning is the whole name
        {"Anna", "Anna ", false},
    };
    RandomSource random(kSeed);
    for (const auto& [name, beginning, matches] : cases) {
        NameList one;
        one.append(name);
        EXPECT_EQ(DrawIndexWithBeginning(one, beginning, random).has_value(), matches)
            << '"' << name << "\" / \"" << beginning << '"';
    }
}

// Every matching entry equally likely (a duplicate counts twice), a unique
// match found every time, nothing for no match, an error for an empty list.
TEST(DrawWithBeginningTest, ChoosesUniformlyAmongTheMatches) {
    NameList names;
    for (const char* name : {"Anna", "Berta", "Anna", "Andrea", "Clara", "anke", "Zora"})
        names.append(name);
    RandomSource random(kSeed);
    std::map<std::size_t, int> counts;
    for (int i = 0; i < 40000; ++i)
        ++counts[DrawIndexWithBeginning(names, "A", random).value()];
    EXPECT_EQ(counts.size(), 4u);
    for (std::size_t index : {0u, 2u, 3u, 5u})
        EXPECT_NEAR(counts[index], 10000, 1000) << index;
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(DrawIndexWithBeginning(names, "zo", random), std::optional<std::size_t>(6));
    for (const char* beginning : {"x", "\xE4", "Annabella"})
        EXPECT_EQ(DrawIndexWithBeginning(names, beginning, random), std::nullopt) << beginning;
    EXPECT_THROW(DrawIndexWithBeginning(NameList(), "a", random), ListIndexError);
}

} // namespace
} // namespace tavolin
