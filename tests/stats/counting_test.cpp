#include "stats/statistics.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace tavolin {
namespace {

// Every first byte, long names (beyond 255 bytes) and empty ones included,
// counted as a name-by-name look would count them.
TEST(CountingTest, InitialsOfEveryKind) {
    std::mt19937 random(77);
    NameList names;
    std::vector<std::string> all;
    for (int i = 0; i < 3000; ++i) {
        const std::size_t length = i % 100 == 0 ? 250 + random() % 20 : random() % 20;
        std::string name(length, 'x');
        if (!name.empty())
            name[0] = static_cast<char>(random() % 256);
        names.append(name);
        all.push_back(name);
    }
    const InitialCounts initials = CountInitials(names);
    for (int byte = 0; byte < 256; ++byte) {
        StatisticsCount expected = 0;
        for (const std::string& name : all) {
            const int first = name.empty() ? -1 : static_cast<unsigned char>(name[0]);
            expected += first == byte || (byte >= 'A' && byte <= 'Z' && first == byte + ('a' - 'A')) ? 1 : 0;
        }
        if (byte >= 'a' && byte <= 'z')
            expected = 0; // counted under the capital
        EXPECT_EQ(initials[static_cast<std::size_t>(byte)], expected) << byte;
    }
}

} // namespace
} // namespace tavolin
