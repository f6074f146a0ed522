#include "stats/statistics.h"

#include <algorithm>
#include <array>
#include <map>

namespace tavolin {

namespace {

// The first byte of an entry as the letter table sees it.
unsigned char FoldedInitial(std::string_view name) {
    const auto first = static_cast<unsigned char>(name.front());
    return first >= 'a' && first <= 'z' ? static_cast<unsigned char>(first - ('a' - 'A')) : first;
}

void AppendSpaces(std::string& row, std::size_t wanted, std::size_t used) {
    if (wanted > used)
        row.append(wanted - used, ' ');
}

} // namespace

StatisticsCount CountInitial(const NameList& names, char letter) {
    const auto wanted = static_cast<unsigned char>(letter);
    StatisticsCount count = 0;
    for (const std::string_view name : names) {
        if (!name.empty() && FoldedInitial(name) == wanted)
            ++count;
    }
    return count;
}

InitialCounts CountInitials(const NameList& names) {
    InitialCounts counts{};
    for (const std::string_view name : names) {
        if (!name.empty())
            ++counts[FoldedInitial(name)];
    }
    return counts;
}

LengthCounts CountLengths(const NameList& names) {
    std::array<StatisticsCount, kEveryLengthBelow> shortCounts{};
    std::size_t longestShort = 0;
    std::map<std::size_t, StatisticsCount> longCounts;
    for (const std::string_view name : names) {
        if (name.size() < kEveryLengthBelow) {
            ++shortCounts[name.size()];
            longestShort = std::max(longestShort, name.size());
        } else {
            ++longCounts[name.size()];
        }
    }
    LengthCounts counts;
    for (std::size_t length = 0; length <= longestShort; ++length)
        counts.emplace_back(length, shortCounts[length]);
    counts.insert(counts.end(), longCounts.begin(), longCounts.end());
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

std::vector<std::string> LengthRows(const NameList& female, const NameList& male) {
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

} // namespace tavolin
