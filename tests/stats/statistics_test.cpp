#include "stats/statistics.h"
#include "support/statistics_tables.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace tavolin {
namespace {

using test::CountInitial;
using test::LengthRows;

const std::string kMale = "M\xE4nnlich, "; // "Männlich, " in Windows-1252

// A list that holds the names, in order.
struct Names : NameList {
    Names(std::initializer_list<std::string> names) {
        for (const std::string& name : names)
            append(name);
    }
};

std::string Spaces(std::size_t count) {
    return std::string(count, ' '); // NOLINT(modernize-return-braced-init-list): {count, ' '} is two characters
}

// The rows byte for byte: the filling stops once the female numbers are long.
TEST(StatisticsRowTest, RowsAreLaidOutByteForByte) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {FormatLetterRow('A', 12, 7), "Weiblich, A:    12" + Spaces(10) + kMale + "A:  7"},
        {FormatLengthRow(12, 3, 0), "Weiblich, 12:    3" + Spaces(11) + kMale + "12:  0"},
        {FormatLetterRow('\xC4', 9999, 12345), "Weiblich, \xC4:    9999" + Spaces(8) + kMale + "\xC4:  12345"},
        {FormatLetterRow('Z', 10000, 3), "Weiblich, Z:    10000" + Spaces(8) + kMale + "Z:  3"},
        {FormatLetterRow('B', 4294967296, 0), "Weiblich, B:    4294967296" + Spaces(8) + kMale + "B:  0"},
        {FormatLengthRow(199, 99, 5), "Weiblich, 199:    99" + Spaces(9) + kMale + "199:  5"},
        {FormatLengthRow(5, 10000, 1), "Weiblich, 5:    10000" + Spaces(9) + kMale + "5:  1"},
        {FormatLengthRow(1000, 1, 2), "Weiblich, 1000:    1" + Spaces(9) + kMale + "1000:  2"},
    };
    for (const auto& [row, expected] : cases)
        EXPECT_EQ(row, expected);
    EXPECT_EQ(cases[0].first.size(), 43u);
    EXPECT_EQ(cases[1].first.size(), 45u);
}

// Only a to z are folded: umlauts, digits, blanks, É and empty entries count
// under no letter. The counts the list keeps give what a look at every entry
// does, also over a long list of every first byte with long and empty
// entries, and once the list is cleared and filled anew.
TEST(StatisticsCountTest, InitialsFoldOnlyAsciiLetters) {
    // "\374be" is "übe", "\337a" is "ßa".
    const Names names{"anna",     "Anton", "\xE4nne", "\xC4rger", "\xC4rger", "1a",   " Ali",
                      "\xC9mile", "",      "zora",    "\374be",   "\xDClla",  "\337a"};
    std::vector<StatisticsCount> perLetter;
    for (const char letter : StatisticsLetters)
        perLetter.push_back(CountInitials(names)[static_cast<unsigned char>(letter)]);
    std::vector<StatisticsCount> expected(29, 0);
    expected[0] = 2;  // anna, Anton
    expected[25] = 1; // zora
    expected[26] = 2; // Ärger twice
    expected[28] = 1; // Ülla
    EXPECT_EQ(perLetter, expected);

    std::mt19937 random(77);
    Names many{};
    for (int i = 0; i < 3001; ++i) {
        std::string name(i % 100 == 0 ? 250 + random() % 20 : random() % 20, 'x');
        if (!name.empty())
            name[0] = static_cast<char>(random() % 256);
        many.append(name);
    }
    const auto keptAsCounted = [](const NameList& list) {
        const InitialCounts all = CountInitials(list);
        for (int byte = 0; byte < 256; ++byte)
            EXPECT_EQ(CountInitial(list, static_cast<char>(byte)), all[byte]) << byte;
    };
    keptAsCounted(names);
    keptAsCounted(many);
    many.clear();
    many.append("bea");
    keptAsCounted(many);
    EXPECT_EQ(CountLengths(many), (LengthCounts{{0, 0}, {1, 0}, {2, 0}, {3, 1}}));
}

TEST(StatisticsTablesTest, EmptyListsGiveAllLettersAndTheZeroLength) {
    const Names none{};
    const std::vector<std::string> letters = LetterRows(none, none);
    const std::string expectedLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xC4\xD6\xDC";
    ASSERT_EQ(letters.size(), expectedLetters.size());
    for (std::size_t i = 0; i < letters.size(); ++i)
        EXPECT_EQ(letters[i], FormatLetterRow(expectedLetters[i], 0, 0)) << i;
    EXPECT_EQ(LengthRows(none, none), std::vector<std::string>{"Weiblich, 0:    0" + Spaces(12) + kMale + "0:  0"});
}

// Every entry counts under its length, however long; the length table ends
// at the longest name of either list, and lengths below 200 that no name has
// read 0.
TEST(StatisticsTablesTest, LengthsCountEveryEntry) {
    const Names female{"Anna", "alma", "Bea", "", std::string(250, 'L')};
    const Names male{"Anton", "7of9", "Bo", std::string(199, 'M')};
    const LengthCounts counts = CountLengths(female);
    EXPECT_EQ(counts, (LengthCounts{{0, 1}, {1, 0}, {2, 0}, {3, 1}, {4, 2}, {250, 1}}));
    StatisticsCount total = 0;
    for (const auto& entry : counts)
        total += entry.second;
    EXPECT_EQ(total, female.size());

    const std::vector<std::string> rows = LengthRows(female, male);
    ASSERT_EQ(rows.size(), 201u);
    const std::vector<std::vector<std::size_t>> expected = {{0, 0, 1, 0},     {2, 2, 0, 1},    {3, 3, 1, 0},
                                                            {4, 4, 2, 1},     {5, 5, 0, 1},    {6, 6, 0, 0},
                                                            {199, 199, 0, 1}, {200, 250, 1, 0}};
    for (const auto& e : expected)
        EXPECT_EQ(rows[e[0]], FormatLengthRow(e[1], e[2], e[3])) << e[0];
    EXPECT_EQ(LetterRows(female, male)[0], FormatLetterRow('A', 2, 1));
    EXPECT_EQ(LetterRows(female, male)[11], FormatLetterRow('L', 1, 0));
}

// From 200 on only the lengths that names have get a row, so a name of
// megabytes (a wrong file merged in) gives a short table.
TEST(StatisticsTablesTest, HugeNamesAddOneRowPerLength) {
    const Names female{"Eva", std::string(5'000'000, 'x'), std::string(300, 'y'), std::string(5'000'000, 'z')};
    const Names male{"Bo", std::string(300, 'w'), std::string(1000, 'v')};
    EXPECT_EQ(CountLengths(female), (LengthCounts{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {300, 1}, {5'000'000, 2}}));
    EXPECT_EQ(LengthRows(female, male),
              (std::vector<std::string>{FormatLengthRow(0, 0, 0), FormatLengthRow(1, 0, 0), FormatLengthRow(2, 0, 1),
                                        FormatLengthRow(3, 1, 0), FormatLengthRow(300, 1, 1),
                                        FormatLengthRow(1000, 0, 1), FormatLengthRow(5'000'000, 2, 0)}));

    LengthCounts counts{{0, 4}, {7, 1}};
    AddLengthsOf(LengthCounts{{0, 9}, {3, 9}, {7, 9}, {900, 9}}, counts);
    EXPECT_EQ(counts, (LengthCounts{{0, 4}, {3, 0}, {7, 1}, {900, 0}}));
}

} // namespace
} // namespace tavolin
