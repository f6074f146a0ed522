#include "names/random.h"

#include <array>
#include <string>

namespace tavolin {

namespace {

constexpr std::array<unsigned char, 256> MakeFoldTable() {
    std::array<unsigned char, 256> table{};
    for (std::size_t byte = 0; byte < table.size(); ++byte)
        table[byte] = static_cast<unsigned char>(byte >= 'a' && byte <= 'z' ? byte - ('a' - 'A') : byte);
    return table;
}

constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

unsigned char Fold(char byte) {
    return kFold[static_cast<unsigned char>(byte)];
}

// The beginning already folded; only the name's bytes are folded per entry.
bool BeginsWithFolded(std::string_view name, std::string_view foldedBeginning) {
    if (name.size() < foldedBeginning.size())
        return false;
    for (std::size_t i = 0; i < foldedBeginning.size(); ++i) {
        if (Fold(name[i]) != static_cast<unsigned char>(foldedBeginning[i]))
            return false;
    }
    return true;
}

std::string FoldAll(std::string_view text) {
    std::string folded(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        folded[i] = static_cast<char>(Fold(text[i]));
    return folded;
}

} // namespace

std::optional<std::size_t> DrawIndexWithBeginning(const NameList& names, std::string_view beginning,
                                                  RandomSource& random) {
    if (names.empty())
        throw ListIndexError(); // reading entry 0 of an empty list, as any draw does
    const std::string folded = FoldAll(beginning);
    // Reservoir of one: the m-th match replaces the kept one with chance
    // 1/m, which leaves every match kept with the same chance in the end.
    std::optional<std::size_t> chosen;
    std::size_t matches = 0;
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (!BeginsWithFolded(names[index], folded))
            continue;
        ++matches;
        if (random.RandomBelow(matches) == 0)
            chosen = index;
    }
    return chosen;
}

} // namespace tavolin
