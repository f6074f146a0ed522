#include "names/namelist.h"

#include <gtest/gtest.h>
#include <string>

namespace tavolin {
namespace {

TEST(NameListTest, MembershipIsExactAndFollowsAppends) {
    NameList names;
    EXPECT_FALSE(names.contains(""));
    names.append("Anna");
    names.append("");
    names.append("Anna"); // a duplicate stays a separate entry
    EXPECT_EQ(names.size(), 3u);
    EXPECT_EQ(names[2], "Anna");
    EXPECT_TRUE(names.contains("Anna"));
    EXPECT_TRUE(names.contains(""));
    for (const char* other : {"anna", "ANNA", "Anna ", " Anna", "Ann", "Annaa", "Ann\xE4"})
        EXPECT_FALSE(names.contains(other)) << other;
    names.clear();
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(names.contains("Anna"));
}

// The index is rebuilt as it grows; every name must stay findable and the
// entries must keep their order and bytes.
TEST(NameListTest, LargeListKeepsOrderAndIndex) {
    NameList names;
    constexpr int kCount = 200000;
    for (int i = 0; i < kCount; ++i)
        names.append("N" + std::to_string(i % (kCount / 2))); // every name twice
    ASSERT_EQ(names.size(), static_cast<std::size_t>(kCount));
    for (int i = 0; i < kCount; i += 997) {
        EXPECT_EQ(names[static_cast<std::size_t>(i)], "N" + std::to_string(i % (kCount / 2)));
        EXPECT_TRUE(names.contains("N" + std::to_string(i / 2)));
    }
    EXPECT_FALSE(names.contains("N" + std::to_string(kCount)));
    EXPECT_FALSE(names.contains("N"));
}

TEST(NameListTest, ReadingBehindTheEndIsAListIndexError) {
    NameList names;
    try {
        names.at(0);
        ADD_FAILURE() << "no error";
    } catch (const ListIndexError& error) {
        EXPECT_STREQ(error.what(), "Listenindex außerhalb des zulässigen Bereichs");
    }
    names.append("Eva");
    EXPECT_EQ(names.at(0), "Eva");
    EXPECT_THROW(names.at(1), ListIndexError);
}

} // namespace
} // namespace tavolin
