#include "stats/statistics.h"

#include <algorithm>

namespace tavolin {

namespace {

void AppendSpaces(std::string& row, std::size_t wanted, std::size_t used) {
    if (wanted > used)
        row.append(wanted - used, ' ');
}

} // namespace

StatisticsCount CountInitial(const NameList& names, char letter) {
    const auto wanted = static_cast<unsigned char>(letter);
    // Names beginning with a to z count under their capitals only.
    if (wanted >= 'a' && wanted <= 'z')
        return 0;
    StatisticsCount count = names.firstByteCounts()[wanted];
    if (wanted >= 'A' && wanted <= 'Z')
        count += names.firstByteCounts()[wanted + ('a' - 'A')];
    return count;
}

InitialCounts CountInitials(const NameList& names) {
    InitialCounts counts{};
    for (std::size_t byte = 0; byte < counts.size(); ++byte)
        counts[byte] = CountInitial(names, static_cast<char>(byte));
    return counts;
}

std::vector<StatisticsCount> CountLengths(const NameList& names, std::size_t longest) {
    const std::vector<std::uint32_t>& kept = names.lengthCounts();
    std::size_t lengths = kept.size();
    while (lengths > 0 && kept[lengths - 1] == 0)
        --lengths;
    std::vector<StatisticsCount> counts(std::max(longest + 1, lengths));
    std::copy(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(lengths), counts.begin());
    return counts;
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
    std::vector<StatisticsCount> femaleCounts = CountLengths(female, 0);
    std::vector<StatisticsCount> maleCounts = CountLengths(male, 0);
    const std::size_t rowCount = std::max(femaleCounts.size(), maleCounts.size());
    femaleCounts.resize(rowCount);
    maleCounts.resize(rowCount);
    std::vector<std::string> rows;
    rows.reserve(rowCount);
    for (std::size_t length = 0; length < rowCount; ++length)
        rows.push_back(FormatLengthRow(length, femaleCounts[length], maleCounts[length]));
    return rows;
}

} // namespace tavolin
