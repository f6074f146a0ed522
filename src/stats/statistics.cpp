#include "stats/statistics.h"

#include <algorithm>
#include <array>
#include <map>

namespace tavolin {

namespace {

void AppendSpaces(std::string& row, std::size_t wanted, std::size_t used) {
    if (wanted > used)
        row.append(wanted - used, ' ');
}

} // namespace

InitialCounts CountInitials(const NameList& names) {
    InitialCounts counts{};
    std::copy_n(names.EntriesByFirstByte().begin(), counts.size(), counts.begin());
    // "a" to "z" count under their capitals.
    for (unsigned char lower = 'a'; lower <= 'z'; ++lower) {
        counts[lower - ('a' - 'A')] += counts[lower];
        counts[lower] = 0;
    }
    return counts;
}

LengthCounts CountLengths(const NameList& names) {
    static_assert(kEveryLengthBelow <= NameList::kCountedLengths);
    const NameList::CountsByLength& byLength = names.EntriesByLength();
    std::size_t longestShort = 0;
    for (std::size_t length = 0; length < kEveryLengthBelow; ++length) {
        if (byLength[length] != 0)
            longestShort = length;
    }
    LengthCounts counts;
    for (std::size_t length = 0; length <= longestShort; ++length)
        counts.emplace_back(length, byLength[length]);
    // Longer entries are counted by their length in a pass over the list,
    // which only a list with such an entry needs.
    if (std::any_of(byLength.begin() + kEveryLengthBelow, byLength.end(), [](auto count) { return count != 0; })) {
        std::map<std::size_t, StatisticsCount> longCounts;
        for (const std::string_view name : names) {
            if (name.size() >= kEveryLengthBelow)
                ++longCounts[name.size()];
        }
        counts.insert(counts.end(), longCounts.begin(), longCounts.end());
    }
    return counts;
}

void AddLengthsOf(const LengthCounts& other, LengthCounts& counts) {
    LengthCounts joined;
    joined.reserve(counts.size() + other.size());
    auto own = counts.begin();
    for (const auto& [length, count] : other) {
        for (; own != counts.end() && own->first < length; ++own)
            joined.push_back(*own);
        if (own != counts.end() && own->first == length)
            joined.push_back(*own++);
        else
            joined.emplace_back(length, 0);
    }
    joined.insert(joined.end(), own, counts.end());
    counts = std::move(joined);
}

std::string FormatLetterRow(char letter, StatisticsCount female, StatisticsCount male) {
    const std::string femaleText = std::to_string(female);
    std::string row = "Weiblich, ";
    row += letter;
    row += ":    ";
    row += femaleText;
    row.append(8, ' ');
    AppendSpaces(row, 4, femaleText.size());
    row += "M\xE4nnlich, ";
    row += letter;
    row += ":  ";
    row += std::to_string(male);
    return row;
}

std::string FormatLengthRow(std::size_t length, StatisticsCount female, StatisticsCount male) {
    const std::string lengthText = std::to_string(length);
    const std::string femaleText = std::to_string(female);
    std::string row = "Weiblich, ";
    row += lengthText;
    row += ":    ";
    row += femaleText;
    row.append(9, ' ');
    AppendSpaces(row, 5, femaleText.size() + lengthText.size());
    row += "M\xE4nnlich, ";
    row += lengthText;
    row += ":  ";
    row += std::to_string(male);
    return row;
}

std::vector<std::string> LetterRows(const NameList& female, const NameList& male) {
    const InitialCounts femaleCounts = CountInitials(female);
    const InitialCounts maleCounts = CountInitials(male);
    std::vector<std::string> rows;
    rows.reserve(StatisticsLetters.size());
    for (const char letter : StatisticsLetters) {
        const auto index = static_cast<unsigned char>(letter);
        rows.push_back(FormatLetterRow(letter, femaleCounts[index], maleCounts[index]));
    }
    return rows;
}

} // namespace tavolin
