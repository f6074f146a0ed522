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

// How many entries of the list have each key, key(entry) < kKeys, from one
// pass. Four tables, one for each entry of a group of four: an increment
// need not wait for that of the entry before it when both have the same key,
// which makes the pass as fast as one that only sums the lengths.
template <std::size_t kKeys, class Key>
std::array<StatisticsCount, kKeys> CountByKey(const NameList& names, Key key) {
    std::array<std::array<StatisticsCount, kKeys>, 4> partial{};
    const std::size_t size = names.size();
    std::size_t index = 0;
    for (; index + 4 <= size; index += 4) {
        ++partial[0][key(names[index])];
        ++partial[1][key(names[index + 1])];
        ++partial[2][key(names[index + 2])];
        ++partial[3][key(names[index + 3])];
    }
    for (; index < size; ++index)
        ++partial[0][key(names[index])];
    std::array<StatisticsCount, kKeys> counts{};
    for (std::size_t k = 0; k < kKeys; ++k)
        counts[k] = partial[0][k] + partial[1][k] + partial[2][k] + partial[3][k];
    return counts;
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
    // Slot 256 takes the empty entries.
    const auto all = CountByKey<257>(names, [](std::string_view name) -> std::size_t {
        return name.empty() ? 256 : static_cast<unsigned char>(name.front());
    });
    InitialCounts counts{};
    std::copy_n(all.begin(), counts.size(), counts.begin());
    // "a" to "z" count under their capitals.
    for (unsigned char lower = 'a'; lower <= 'z'; ++lower) {
        counts[lower - ('a' - 'A')] += counts[lower];
        counts[lower] = 0;
    }
    return counts;
}

LengthCounts CountLengths(const NameList& names) {
    // The lengths come from the list's offsets alone. Longer entries share
    // the last slot and are counted by their length in a second pass, which
    // only a list with such an entry needs.
    const auto shortCounts = CountByKey<kEveryLengthBelow + 1>(
        names, [](std::string_view name) { return std::min(name.size(), kEveryLengthBelow); });
    std::size_t longestShort = 0;
    for (std::size_t length = 0; length < kEveryLengthBelow; ++length) {
        if (shortCounts[length] != 0)
            longestShort = length;
    }
    LengthCounts counts;
    for (std::size_t length = 0; length <= longestShort; ++length)
        counts.emplace_back(length, shortCounts[length]);
    if (shortCounts[kEveryLengthBelow] != 0) {
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
