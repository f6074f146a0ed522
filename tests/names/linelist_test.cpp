#include "names/database.h"
#include "names/linelist.h"
#include "support/list_strings.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace tavolin {
namespace {

using test::LinesOf;
using test::NamesOf;
using test::ReferenceFile;
using test::ReferenceLines;
using test::ReferenceParse;
using test::Strings;

struct SplitCase {
    const char* what;
    std::string bytes;
    Strings lines;
};

TEST(LineListTest, EveryKindOfBreakEndsALine) {
    using namespace std::string_literals;
    const std::vector<SplitCase> cases = {
        {"empty file", "", {}},
        {"last line without break", "Anna", {"Anna"}},
        {"CR LF", "Anna\r\nBerta\r\n", {"Anna", "Berta"}},
        {"CR alone", "Anna\rBerta", {"Anna", "Berta"}},
        {"LF alone", "Anna\nBerta\n", {"Anna", "Berta"}},
        {"mixed", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
        {"CR CR LF", "a\r\r\nb", {"a", "", "b"}},
        {"only a break", "\r\n", {""}},
        {"empty lines kept", "\n\n", {"", ""}},
        {"NUL is an ordinary byte", "a\0b\r\nc"s, {"a\0b"s, "c"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinesOf(LineList::FromFileBytes(c.bytes)), c.lines) << c.what;
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
        std::string("Jul\r\nia\xB3") +
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
        std::string bytes = ReferenceFile(lines);
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

TEST(LineListTest, SplitAndParseFollowTheRulesWhateverTheShape) {
    for (const std::string& bytes : SampleFiles()) {
        const Strings lines = ReferenceLines(bytes);
        const LineList copied = LineList::FromFileBytes(bytes);
        std::string owned = bytes;
        const LineList adopted = LineList::AdoptFileBytes(std::move(owned));
        for (const LineList* list : {&copied, &adopted}) {
            EXPECT_EQ(LinesOf(*list), lines) << testing::PrintToString(bytes);
            EXPECT_EQ(list->FileBytes(), ReferenceFile(lines)) << testing::PrintToString(bytes);
            NameList names;
            ParseNameLines(*list, names);
            EXPECT_EQ(NamesOf(names), ReferenceParse(lines).first) << testing::PrintToString(bytes);
        }
    }
}

TEST(LineListTest, ReadingKeepsEveryByteWhateverTheSize) {
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
            EXPECT_EQ(LinesOf(lines), ReferenceLines(bytes)) << size;
            EXPECT_EQ(lines.FileBytes(), ReferenceFile(ReferenceLines(bytes))) << size;
        }
    }
}

} // namespace
} // namespace tavolin
