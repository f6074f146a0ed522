#include "names/random.h"

#include <absl/container/flat_hash_set.h>
#include <array>
#include <numeric>
#include <string>
#include <unordered_map>

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

// The positions 0 to n - 1 dealt one at a time in random order (Fisher-Yates,
// stopped whenever the caller has enough). While few are dealt only the
// positions that were swapped are remembered; once those grow to an eighth
// of all, a plain array of every position is cheaper and takes over.
class Deal final {
public:
    Deal(std::size_t n, RandomSource& random) : n_(n), random_(random) {}

    bool Done() const { return next_ == n_; }

    std::size_t Next() {
        const std::size_t pick = next_ + random_.RandomBelow(n_ - next_);
        const std::size_t dealt = At(pick);
        Put(pick, At(next_));
        if (all_.empty())
            swapped_.erase(next_); // never looked at again
        ++next_;
        return dealt;
    }

private:
    std::size_t At(std::size_t position) const {
        if (!all_.empty())
            return all_[position];
        const auto found = swapped_.find(position);
        return found == swapped_.end() ? position : found->second;
    }

    void Put(std::size_t position, std::size_t value) {
        if (!all_.empty()) {
            all_[position] = value;
            return;
        }
        swapped_[position] = value;
        if (swapped_.size() > n_ / 8) {
            all_.resize(n_);
            std::iota(all_.begin(), all_.end(), std::size_t{0});
            for (const auto& [at, moved] : swapped_)
                all_[at] = moved;
            swapped_.clear();
        }
    }

    std::size_t n_;
    RandomSource& random_;
    std::size_t next_ = 0;
    std::unordered_map<std::size_t, std::size_t> swapped_;
    std::vector<std::size_t> all_;
};

} // namespace

std::vector<std::string_view> DrawDistinctNames(const std::vector<const NameList*>& lists, std::string_view beginning,
                                                std::size_t count, RandomSource& random) {
    std::vector<std::string_view> matching;
    std::size_t entries = 0;
    if (beginning.empty()) {
        for (const NameList* list : lists)
            entries += list->size();
    } else {
        const std::string folded = FoldAll(beginning);
        for (const NameList* list : lists) {
            for (const std::string_view name : *list) {
                if (BeginsWithFolded(name, folded))
                    matching.push_back(name);
            }
        }
        entries = matching.size();
    }
    // Without a beginning the lists count as one, one after the other.
    const auto entryAt = [&](std::size_t position) {
        if (!beginning.empty())
            return matching[position];
        for (const NameList* list : lists) {
            if (position < list->size())
                return (*list)[position];
            position -= list->size();
        }
        throw ListIndexError();
    };

    std::vector<std::string_view> drawn;
    absl::flat_hash_set<std::string_view> taken;
    Deal deal(entries, random);
    while (drawn.size() < count && !deal.Done()) {
        const std::string_view name = entryAt(deal.Next());
        if (!name.empty() && taken.insert(name).second)
            drawn.push_back(name);
    }
    return drawn;
}

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
