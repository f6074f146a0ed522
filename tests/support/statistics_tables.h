#pragma once

#include "names/namelist.h"
#include "stats/statistics.h"

#include <string>
#include <string_view>
#include <vector>

// The statistics as the tests (and the benchmarks) compute them apart from
// the window.
namespace tavolin::test {

// How many entries of the list begin with the letter once "a" to "z" are
// folded to upper case, by a look at every entry: what the counts the list
// keeps must give.
inline StatisticsCount CountInitial(const NameList& names, char letter) {
    StatisticsCount count = 0;
    for (const std::string_view name : names) {
        if (name.empty())
            continue;
        const char first =
            name.front() >= 'a' && name.front() <= 'z' ? static_cast<char>(name.front() - ('a' - 'A')) : name.front();
        count += first == letter ? 1 : 0;
    }
    return count;
}

// The rows of the name-length table as the statistics view builds them:
// every length from 0 to that of the longest entry of either list below
// kEveryLengthBelow, then each longer length that an entry of either list has.
inline std::vector<std::string> LengthRows(const NameList& female, const NameList& male) {
    LengthCounts femaleCounts = CountLengths(female);
    LengthCounts maleCounts = CountLengths(male);
    AddLengthsOf(maleCounts, femaleCounts);
    AddLengthsOf(femaleCounts, maleCounts);
    std::vector<std::string> rows;
    rows.reserve(femaleCounts.size());
    for (std::size_t row = 0; row < femaleCounts.size(); ++row)
        rows.push_back(FormatLengthRow(femaleCounts[row].first, femaleCounts[row].second, maleCounts[row].second));
    return rows;
}

} // namespace tavolin::test
