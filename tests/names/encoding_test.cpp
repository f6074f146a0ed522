#include "names/encoding.h"

#include <gtest/gtest.h>

namespace tavolin {
namespace {

TEST(EncodingTest, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int i = 0; i < 256; ++i)
        all.push_back(static_cast<char>(i));
    const QString shown = DecodeName(all);
    ASSERT_EQ(shown.size(), 256);
    EXPECT_EQ(shown.at(0xB3), QChar(0x00B3)); // the separator, "³"
    EXPECT_EQ(shown.at(0xC4), QChar(0x00C4)); // Ä
    EXPECT_EQ(shown.at(0x80), QChar(0x20AC)); // €
    EXPECT_EQ(shown.at(0x9F), QChar(0x0178)); // Ÿ
    EXPECT_EQ(EncodeName(shown), all);
}

TEST(EncodingTest, TextOutsideTheCodePageIsRefused) {
    EXPECT_EQ(EncodeName(QStringLiteral("J\u00F6rg \u20AC")), std::string("J\xF6rg \x80"));
    EXPECT_EQ(EncodeName(QString()), std::string());
    for (const QString& text : {QStringLiteral("Anatol\u0113"), QStringLiteral("\u2603"), QStringLiteral("A\u0142a")})
        EXPECT_FALSE(EncodeName(text).has_value()) << text.toStdString();
}

} // namespace
} // namespace tavolin

namespace tavolin {
namespace {

struct DatabaseTextCase {
    const char* what;
    std::string file;
    std::string text; // Windows-1252
    std::size_t leftOut;
    bool trailingLeftOut;
};

// Each name of a file is read on its own: valid UTF-8 before a separator
// C2 B3 is converted (a name Windows-1252 cannot hold is left out with its
// line breaks kept), anything else stays byte for byte up to its separator.
// A file put together from both kinds gives every name whole, with no "Â".
TEST(DatabaseTextTest, EachNameIsReadInItsOwnEncoding) {
    // clang-format off
    const std::vector<DatabaseTextCase> cases = {
        {"Windows-1252", "J\xF6rg\xB3Zo\xEB\xB3\r\n", "J\xF6rg\xB3Zo\xEB\xB3\r\n", 0, false},
        {"Windows-1252 before C2 B3", "J\xF6rg\xB3Ren\xE9" "e\xC2\xB3", "J\xF6rg\xB3Ren\xE9" "e\xB3", 0, false},
        {"ASCII, no separator", "Anna\r\n", "Anna\r\n", 0, false},
        {"UTF-8 cut short at its end", "Eva\xC2\xB3\xC3", "Eva\xB3\xC3", 0, false},
        {"UTF-8", "J\xC3\xB6rg\xC2\xB3\r\nZo\xC3\xAB\xC2\xB3\xE2\x82\xAC\xC2\xB3", "J\xF6rg\xB3\r\nZo\xEB\xB3\x80\xB3", 0,
         false},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" "Anna\xC2\xB3", "Anna\xB3", 0, false},
        {"a mark alone", "\xEF\xBB\xBF", "", 0, false},
        {"names Windows-1252 cannot hold", "\xC5\x81ucja\xC2\xB3\r\nEva\xC2\xB3\xE2\x98\x83\r\n\xC2\xB3Ida\xC2\xB3",
         "\r\nEva\xB3\r\nIda\xB3", 2, false},
        {"trailing text it cannot hold", "Eva\xC2\xB3Pi\xC5\x82\r\n", "Eva\xB3\r\n", 0, true},
        {"mixed", "Zo\xC3\xAB\xC2\xB3\r\nJ\xC3\xBCrgen\xC2\xB3\r\nRen\xE9" "e\xB3\r\nAnna\xC2\xB3\r\n",
         "Zo\xEB\xB3\r\nJ\xFCrgen\xB3\r\nRen\xE9" "e\xB3\r\nAnna\xB3\r\n", 0, false},
        {"a UTF-8 character ending in B3", "a\xE2\x80\xB3" "b\xC2\xB3" "Eva\xB3", "Eva\xB3", 1, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        const DatabaseText text = DatabaseTextOf(c.file);
        EXPECT_EQ(text.bytes, c.text) << c.what;
        EXPECT_EQ(text.leftOutNames, c.leftOut) << c.what;
        EXPECT_EQ(text.leftOutTrailingText, c.trailingLeftOut) << c.what;
    }
}

} // namespace
} // namespace tavolin
