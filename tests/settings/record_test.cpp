#include "settings/record.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace tavolin {
namespace {

constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();

TEST(RecordIntegerTest, DecimalAndHexadecimalWithNothingBehind) {
    // clang-format off
    const std::vector<std::pair<std::string, std::int32_t>> numbers = {
        {"12", 12}, {"007", 7}, {"   12", 12}, {"+12", 12}, {"-1", -1}, {"$ff", 255}, {"0x1F", 31}, {"0X1f", 31},
        {"-$10", -16}, {" +0x10", 16}, {"2147483647", kIntMax}, {"-2147483648", kIntMin}, {"$FFFFFFFF", -1},
        {"0x80000000", kIntMin}, {"0x0000000000FF", 255}};
    // clang-format on
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(ParseRecordInteger(text), value) << '"' << text << '"';
    const std::vector<std::string> noNumbers = {"",           "   ",         "12 ",        "1 2",
                                                "\t12",       "+",           "- 1",        "--1",
                                                "$",          "0x",          "$-1",        "x10",
                                                "$G",         "12a",         "1.5",        std::string("1\0", 2),
                                                "2147483648", "-2147483649", "$100000000", "99999999999999999999999"};
    for (const std::string& text : noNumbers)
        EXPECT_EQ(ParseRecordInteger(text), std::nullopt) << '"' << text << '"';
}

TEST(RecordColorTest, OnlyTheLowestEightBitsOfAComponentCount) {
    const std::vector<std::pair<std::int32_t, int>> components = {{255, 255}, {256, 0},       {300, 44},   {-1, 255},
                                                                  {-255, 1},  {kIntMax, 255}, {kIntMin, 0}};
    for (const auto& [value, expected] : components)
        EXPECT_EQ(ColorComponent(value), expected) << value;
    const Color color = ComposeColor(300, -1, 256);
    EXPECT_EQ(color, Color{44 + 255 * 256});
    EXPECT_EQ(ComposeColor(1, 2, 3), Color{0x030201});
    EXPECT_EQ((std::vector<int>{RedOf(0x030201), GreenOf(0x030201), BlueOf(0x030201)}), (std::vector<int>{1, 2, 3}));
}

TEST(RecordSplitTest, EveryKindOfBreakEndsALineAndNulEndsTheText) {
    // clang-format off
    const std::vector<std::pair<std::string, RecordLines>> cases = {
        {"", {}}, {"12", {"12"}}, {"1\r\n2\r\n", {"1", "2"}}, {"1\r2\r", {"1", "2"}}, {"1\n2", {"1", "2"}},
        {"a\n\rb", {"a", "", "b"}}, {"a\r\r\nb", {"a", "", "b"}}, {"\r\n", {""}}, {"\n \n", {"", " "}},
        {std::string("1\r\n2\0" "3\r\n4", 9), {"1", "2"}}, {std::string("\0NOFORMAT", 9), {}},
        {"Caf\xE9 \xB3", {"Caf\xE9 \xB3"}}};
    // clang-format on
    for (const auto& [bytes, lines] : cases)
        EXPECT_EQ(SplitRecordLines(bytes), lines) << '"' << bytes << '"';
}

TEST(RecordFontTest, NameLineIsCutAndAnEmptyOneKeepsTheName) {
    const std::string forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
    EXPECT_EQ(FontNameFromLine(""), std::nullopt);
    EXPECT_EQ(FontNameFromLine(" "), " ");
    EXPECT_EQ(FontNameFromLine(forty.substr(0, 31)), forty.substr(0, 31));
    EXPECT_EQ(FontNameFromLine(forty.substr(0, 32)), forty.substr(0, 31));
    EXPECT_EQ(FontNameFromLine(forty), forty.substr(0, 31));
}

struct SizeCase {
    std::int32_t from;
    int pixelsPerInch;
    std::int32_t to;
};

TEST(RecordFontTest, SizeAndPixelHeightRoundToNearest) {
    // Halves go away from zero; a resolution that is not positive counts as 96.
    const std::vector<SizeCase> toPixels = {
        {8, 96, 11},           {12, 96, 16}, {1, 96, 1},    {0, 96, 0}, {-8, 96, -11},
        {8, 120, 13},          {1, 108, 2},  {-1, 108, -2}, {8, 0, 11}, {kIntMax, 96, kIntMax},
        {kIntMin, 96, kIntMin}};
    for (const auto& c : toPixels)
        EXPECT_EQ(PixelHeightFromPoints(c.from, c.pixelsPerInch), c.to) << c.from << " pt at " << c.pixelsPerInch;
    const std::vector<SizeCase> toPoints = {{11, 96, 8},   {13, 96, 10}, {2, 96, 2},  {-2, 96, -2},
                                            {-11, 96, -8}, {13, 120, 8}, {11, -5, 8}, {kIntMax, 1, kIntMax}};
    for (const auto& c : toPoints)
        EXPECT_EQ(PointsFromPixelHeight(c.from, c.pixelsPerInch), c.to) << c.from << " px at " << c.pixelsPerInch;
    // Pixels are finer than points here, so every size read comes back when written.
    for (int ppi : {72, 96, 120, 144})
        for (std::int32_t points = 1; points <= 300; ++points)
            ASSERT_EQ(PointsFromPixelHeight(PixelHeightFromPoints(points, ppi), ppi), points)
                << points << " at " << ppi;
    for (const auto& [requested, used] : std::vector<std::pair<std::int32_t, std::int32_t>>{
             {kIntMin, 1}, {0, 1}, {11, 11}, {kMaxFontPixelHeight + 1, kMaxFontPixelHeight}})
        EXPECT_EQ(UsableFontPixelHeight(requested), used) << requested;
}

TEST(RecordReadTest, MissingAndBadLinesThrow) {
    const RecordLines lines = {"300", "-1", "256", "", "12 ", "$10"};
    EXPECT_EQ(RecordColor(lines, 0), Color{44 + 255 * 256});
    EXPECT_EQ(RecordLine(lines, 3), "");
    EXPECT_EQ(RecordInteger(lines, 5), 16);
    EXPECT_THROW(RecordInteger(lines, 3), RecordError); // an empty line is no number
    EXPECT_THROW(RecordInteger(lines, 4), RecordError);
    EXPECT_THROW(RecordLine(lines, 6), RecordError);
    EXPECT_THROW(RecordColor(lines, 2), RecordError); // bad middle component
    EXPECT_THROW(RecordColor(lines, 5), RecordError); // runs past the end
}

TEST(RecordMarkerTest, OnlyTheExactLineIsTheMarker) {
    EXPECT_TRUE(IsNoFormatMarker("NOFORMAT"));
    for (const char* line : {"noformat", " NOFORMAT", "NOFORMAT ", "NOFORMATX", ""})
        EXPECT_FALSE(IsNoFormatMarker(line)) << '"' << line << '"';
}

TEST(RecordComposeTest, FourteenLinesBehindAnOptionalMarkerEachEndedByCrLf) {
    const SettingsRecord defaults{0, "MS Sans Serif", 8, kWhite, kSilver, kSilver};
    const RecordLines lines = ComposeRecordLines(defaults, false);
    EXPECT_EQ(lines, (RecordLines{"0", "0", "0", "MS Sans Serif", "8", "255", "255", "255", "192", "192", "192", "192",
                                  "192", "192"}));
    RecordLines marked = lines;
    marked.insert(marked.begin(), "NOFORMAT");
    EXPECT_EQ(ComposeRecordLines(defaults, true), marked);
    const SettingsRecord record{0x0000FF, "Caf\xE9", 12, 0x123456, 0x010203, 0xFFFFFF};
    EXPECT_EQ(ComposeRecordLines(record, false),
              (RecordLines{"255", "0", "0", "Caf\xE9", "12", "86", "52", "18", "3", "2", "1", "255", "255", "255"}));
    EXPECT_EQ(RecordFileBytes({}), "");
    EXPECT_EQ(RecordFileBytes({"NOFORMAT", "", "0"}), "NOFORMAT\r\n\r\n0\r\n");
}

// A record file is read up to a size far beyond any record; a larger one (a
// file of gigabytes in its place) is refused before anything is read.
TEST(RecordFileTest, FilesFarLargerThanARecordAreRefused) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tavolin.ini"));
    const std::string record = RecordFileBytes(ComposeRecordLines({}, false));
    test::WriteBytes(path, record + std::string(kMaxRecordFileBytes - record.size(), ' '));
    EXPECT_EQ(ReadRecordFile(path).size(), kRecordLineCount + 1);
    test::WriteBytes(path, record + std::string(kMaxRecordFileBytes - record.size() + 1, ' '));
    EXPECT_THROW(ReadRecordFile(path), FileError);
}

} // namespace
} // namespace tavolin
