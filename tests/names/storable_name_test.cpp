#include "names/database.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavolin {
namespace {

TEST(StorableNameTest, OnlyBytesThatSplitOrBreakANameAreRefused) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"Anna", true},
        {"", true},
        {" J\xFCrgen\x80 ", true},
        {"\xB2\xB4\xFF\x01\x7F", true},
        {"Ab\xB3Zo", false},
        {"Anna\xB3", false},
        {"Ab\rCd", false},
        {"Ab\nCd", false},
        {std::string("Ab\0Cd", 5), false},
    };
    for (const auto& [name, storable] : cases)
        EXPECT_EQ(IsStorableName(name), storable) << name;
}

} // namespace
} // namespace tavolin
