#include "namegen.h"

#include <random>

namespace tavolin::bench {

std::string MakeDatabaseBytes(std::size_t count, std::uint64_t seed) {
    static constexpr std::string_view kFirst = "ABCDEFGHIJKLMNOPRSTUVWZ\xC4\xD6\xDC";
    static constexpr std::string_view kConsonants = "bcdfghklmnprstvwz";
    static constexpr std::string_view kVowels = "aeiouy\xE4\xF6\xFC";
    std::mt19937_64 random(seed);
    const auto pick = [&](std::string_view from) { return from[random() % from.size()]; };

    std::string bytes;
    bytes.reserve(count * 11);
    std::string previous;
    for (std::size_t i = 0; i < count; ++i) {
        std::string name;
        if (!previous.empty() && random() % 20 == 0) {
            name = previous; // about one name in twenty repeats
        } else {
            const std::size_t length = 2 + random() % 13;
            name.push_back(pick(kFirst));
            while (name.size() < length)
                name.push_back(name.size() % 2 ? pick(kVowels) : pick(kConsonants));
        }
        bytes += name;
        bytes += "\xB3\r\n";
        previous = std::move(name);
    }
    return bytes;
}

} // namespace tavolin::bench
