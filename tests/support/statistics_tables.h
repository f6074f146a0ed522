#pragma once

#include "names/namelist.h"
#include "stats/statistics.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>
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

// The rows of the name-length table, from a plain count of every entry's
// length: every length from 0 to that of the longest entry of either list
// below kEveryLengthBelow, then each longer length that an entry of either
// list has.
inline std::vector<std::string> LengthRows(const NameList& female, const NameList& male) {
    std::map<std::size_t, std::pair<StatisticsCount, StatisticsCount>> byLength;
    for (const std::string_view name : female)
        ++byLength[name.size()].first;
    for (const std::string_view name : male)
        ++byLength[name.size()].second;
    std::size_t longestShort = 0;
    for (const auto& [length, counts] : byLength)
        longestShort = length < kEveryLengthBelow ? length : longestShort;
    for (std::size_t length = 0; length <= longestShort; ++length)
        byLength[length]; // every shorter length has its row, empty or not
    std::vector<std::string> rows;
    rows.reserve(byLength.size());
    for (const auto& [length, counts] : byLength)
        rows.push_back(FormatLengthRow(length, counts.first, counts.second));
    return rows;
}

} // namespace tavolin::test
