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
    EXPECT_EQ(shown.at(0xB3), QChar(0x00B3));   // the separator, "³"
    EXPECT_EQ(shown.at(0xC4), QChar(0x00C4));   // Ä
    EXPECT_EQ(shown.at(0x80), QChar(0x20AC));   // €
    EXPECT_EQ(shown.at(0x9F), QChar(0x0178));   // Ÿ
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
