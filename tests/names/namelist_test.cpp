#include "names/database.h"
#include "names/listsize.h"
#include "names/namelist.h"
#include "support/list_strings.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace tavolin {
namespace {

using test::NamesOf;
using test::Strings;

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

// The index is built by the first question and follows every append after
// it, whichever way the names came in.
TEST(NameListTest, MembershipFollowsAppendsBeforeAndAfterTheFirstQuestion) {
    NameList names;
    names.append("Anna");
    ParseNameLines(LineList::FromFileBytes("Berta\xB3"), names);
    EXPECT_TRUE(names.contains("Berta"));
    EXPECT_FALSE(names.contains("Clara"));
    names.append("Clara");
    ParseNameLines(LineList::FromFileBytes("Dora\xB3"
                                           "Anna\xB3"),
                   names);
    for (const char* name : {"Anna", "Berta", "Clara", "Dora"})
        EXPECT_TRUE(names.contains(name)) << name;
    EXPECT_FALSE(names.contains("Eva"));
    EXPECT_EQ(NamesOf(names), (Strings{"Anna", "Berta", "Clara", "Dora", "Anna"}));
    names.clear();
    EXPECT_FALSE(names.contains("Anna"));
    names.append("Eva");
    EXPECT_TRUE(names.contains("Eva"));
    EXPECT_FALSE(names.contains("Anna"));
}

// Names of every length, copied in several at once; the list's bytes end
// where its last name ends.
TEST(NameListTest, AppenderCopiesNamesOfEveryLength) {
    const std::string text = "0123456789abcdefghijklmnopqrstuvwxyz";
    NameList names;
    Strings expected;
    {
        NameList::Appender appender(names, 2 * text.size() * text.size());
        for (std::size_t length = 0; length <= text.size(); ++length) {
            const std::string_view name = std::string_view(text).substr(text.size() - length);
            appender.AddFromText(name, text.data() + text.size()); // none of these has 16 bytes behind it
            appender.AddFromText(std::string_view(text).substr(0, length), text.data() + text.size());
            expected.emplace_back(name);
            expected.push_back(text.substr(0, length));
        }
    }
    names.append("Ende");
    expected.push_back("Ende");
    EXPECT_EQ(NamesOf(names), expected);
    EXPECT_TRUE(names.contains("Ende"));
    EXPECT_TRUE(names.contains(text));
    EXPECT_FALSE(names.contains(text + "Ende"));
}

// An entry of the list may be appended to it, also when the list must move
// its bytes to make room.
TEST(NameListTest, AnEntryCanBeAppendedToItsOwnList) {
    NameList names;
    names.append("Anna");
    for (int i = 0; i < 200; ++i)
        names.append(names[names.size() - 1]);
    names.append(names[0].substr(1));
    ASSERT_EQ(names.size(), 202u);
    for (std::size_t i = 0; i < 201; ++i)
        EXPECT_EQ(names[i], "Anna") << i;
    EXPECT_EQ(names[201], "nna");
}

TEST(NameListTest, OffsetsBeyondFourGibibytesAreRefused) {
    constexpr std::uint64_t kLast = std::numeric_limits<std::uint32_t>::max();
    EXPECT_EQ(ListOffset(0), 0u);
    EXPECT_EQ(ListOffset(kLast), kLast);
    for (const std::uint64_t offset : {kLast + 1, kLast * 2})
        EXPECT_THROW(ListOffset(offset), ListSizeError) << offset;
    try {
        ListOffset(kLast + 1);
    } catch (const ListSizeError& error) {
        EXPECT_STREQ(error.what(), "Die Namen-Datenbank ist zu groß");
    }
}

} // namespace
} // namespace tavolin
