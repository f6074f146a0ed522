#include "names/database.h"
#include "names/listsize.h"
#include "support/list_strings.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace tavolin {
namespace {

using test::LinesOf;
using test::NamesOf;

using Strings = std::vector<std::string>;

// The file format's rules, one byte at a time, to hold the lists against.
Strings SplitByRule(std::string_view bytes) {
    Strings lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            line += bytes[i];
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

Strings ParseByRule(const Strings& lines) {
    Strings names;
    std::string accumulator;
    for (const std::string& line : lines) {
        for (const char byte : line) {
            if (byte == kSeparator) {
                names.push_back(accumulator);
                accumulator.clear();
            } else {
                accumulator += byte;
            }
        }
    }
    return names;
}

std::string JoinWithCrLf(const Strings& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// Files of every shape the split meets: breaks and separators on both sides
// of every 16-byte boundary, lines longer than 16 bytes, texts that do and do
// not end with a break, CR LF throughout or a single lone CR or LF in it.
Strings SampleFiles() {
    Strings files = {
        "",
        "\r\n",
        std::string(15, 'a') + "\r\n" + std::string(20, 'b') + "\xB3\r\n", // CR as the 16th byte, LF the 17th
        std::string(15, 'a') + "\r" + std::string(20, 'b') + "\xB3\r\n",   // a lone CR as the 16th byte
        std::string(16, 'a') + "\n" + std::string(20, 'b') + "\xB3\r\n",   // an LF alone behind a block
        std::string(15, 'a') + "\r" + "b\xB3\r\n",                         // the same near the end
        std::string(16, 'a') + "\n" + "b\xB3\r\n",
        std::string(14, 'a') + "\xB3\r\n" + std::string(40, 'b') + "\xB3\r\n", // a name longer than 16 bytes
        "Anna\xB3\r\nBerta\xB3\r\nClara\xB3",                                  // no break at the end
        "Anna\xB3\r\nBerta\xB3\r\nClara\xB3\r",                                // a CR at the very end
        "Jul\r\nia\xB3"
        "Brigitte\r\n\xB3\r\nPaula\xB3\r\nNancy\xB3Rebekka\xB3P\r\nat\r\nr\r\nick\xB3\r\n",
    };
    // Made-up files: CR LF ones, and the same with one break changed.
    std::mt19937 random(20240611);
    const std::string alphabet = "ab\xC4\xB3\xB3 ";
    for (int file = 0; file < 300; ++file) {
        Strings lines(random() % 12);
        for (std::string& line : lines) {
            line.resize(random() % 34);
            for (char& byte : line)
                byte = alphabet[random() % alphabet.size()];
        }
        std::string bytes = JoinWithCrLf(lines);
        if (file % 3 == 1 && !bytes.empty())
            bytes.erase(bytes.size() - 1 - random() % 2, 1); // no final LF, or a CR left alone
        if (file % 3 == 2 && !bytes.empty()) {
            // An LF alone, two LFs, or a CR alone.
            const std::size_t at = bytes.find('\r', random() % bytes.size());
            if (at != std::string::npos)
                bytes[at + random() % 2] = "x\n"[random() % 2];
        }
        files.push_back(bytes);
    }
    return files;
}

TEST(LargeDatabaseTest, SplitAndParseFollowTheRulesWhateverTheShape) {
    for (const std::string& bytes : SampleFiles()) {
        const Strings lines = SplitByRule(bytes);
        const LineList copied = LineList::FromFileBytes(bytes);
        std::string owned = bytes;
        const LineList adopted = LineList::AdoptFileBytes(std::move(owned));
        for (const LineList* list : {&copied, &adopted}) {
            EXPECT_EQ(LinesOf(*list), lines) << testing::PrintToString(bytes);
            EXPECT_EQ(list->fileBytes(), JoinWithCrLf(lines)) << testing::PrintToString(bytes);
            NameList names;
            ParseNameLines(*list, names);
            EXPECT_EQ(NamesOf(names), ParseByRule(lines)) << testing::PrintToString(bytes);
        }
    }
}

TEST(LargeDatabaseTest, ReadingKeepsEveryByteWhateverTheSize) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fnames.dat"));
    for (const std::size_t size : {0, 1, 16, 4095, 4096, 65535, 65536, 65537, 300000}) {
        std::string bytes;
        for (std::size_t i = 0; bytes.size() < size; ++i)
            bytes += "N" + std::to_string(i) + "\xB3\r\n";
        bytes.resize(size);
        for (const bool crLf : {true, false}) {
            if (!crLf && size > 0)
                bytes[size / 2] = '\n';
            test::WriteBytes(path, bytes);
            const LineList lines = ReadNameFile(path).lines;
            EXPECT_EQ(LinesOf(lines), SplitByRule(bytes)) << size;
            EXPECT_EQ(lines.fileBytes(), JoinWithCrLf(SplitByRule(bytes))) << size;
        }
    }
}

// The index is built by the first question and follows every append after
// it, whichever way the names came in.
TEST(LargeDatabaseTest, MembershipFollowsAppendsBeforeAndAfterTheFirstQuestion) {
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
TEST(LargeDatabaseTest, AppenderCopiesNamesOfEveryLength) {
    const std::string text = "0123456789abcdefghijklmnopqrstuvwxyz";
    NameList names;
    Strings expected;
    {
        NameList::Appender appender(names, 2 * text.size() * text.size());
        for (std::size_t length = 0; length <= text.size(); ++length) {
            const std::string_view name = std::string_view(text).substr(text.size() - length);
            appender.addFromText(name, text.data() + text.size()); // none of these has 16 bytes behind it
            appender.addFromText(std::string_view(text).substr(0, length), text.data() + text.size());
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
TEST(LargeDatabaseTest, AnEntryCanBeAppendedToItsOwnList) {
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

TEST(LargeDatabaseTest, OffsetsBeyondFourGibibytesAreRefused) {
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
