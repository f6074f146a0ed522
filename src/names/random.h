#pragma once

#include "names/namelist.h"

#include <cstdint>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

namespace tavolin {

// The program's one source of chance. It is seeded once per run; a fixed seed
// gives the same sequence, which the tests rely on.
class RandomSource final {
public:
    explicit RandomSource(std::uint64_t seed = 0) : engine_(seed) {}

    void Seed(std::uint64_t seed) { engine_.seed(seed); }

    // A uniformly distributed integer from 0 to n - 1; 0 when n is 0.
    std::size_t RandomBelow(std::size_t n) {
        if (n == 0)
            return 0;
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(engine_);
    }

private:
    std::mt19937_64 engine_;
};

// The index of an entry of the list that begins with the beginning, each such
// entry equally likely (a name that is in the list twice counts twice), or
// nothing when none does. The bytes a to z compare as their upper-case
// letters, every other byte (umlauts, ß) exactly; an entry shorter than the
// beginning never begins with it. It looks at every entry once, so a rare name is
// never missed, and draws a random number only for the entries that match.
// An empty list has no entry to draw: ListIndexError, as for any draw.
std::optional<std::size_t> DrawIndexWithBeginning(const NameList& names, std::string_view beginning,
                                                  RandomSource& random);

// Up to `count` different names from the lists, all of them when fewer
// differ, each in random order: every pick takes each entry not taken yet
// equally likely, a name that is there twice counts twice, and a name
// already picked or an empty entry is passed over. With a beginning only the
// entries that begin with it (compared as DrawIndexWithBeginning compares)
// take part, found in one pass over the lists; without one only the entries
// picked are looked at, so that a few names of a million come at once.
std::vector<std::string_view> DrawDistinctNames(const std::vector<const NameList*>& lists, std::string_view beginning,
                                                std::size_t count, RandomSource& random);

} // namespace tavolin
