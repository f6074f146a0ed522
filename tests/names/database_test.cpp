#include "fileio/fileio.h"
#include "names/database.h"
#include "names/encoding.h"
#include "support/fault_primitives.h"
#include "support/list_strings.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavolin {
namespace {

using namespace std::string_literals;
using test::LinesOf;
using test::NamesInFile;
using test::NamesOf;
using test::ParsedNames;
using test::Strings;

struct ParseCase {
    const char* what;
    std::string bytes;
    Strings names;
};

TEST(ParseNameLinesTest, SeparatorRuleAcrossLines) {
    const std::vector<ParseCase> cases = {
        {"the about text's example",
         "Jul\r\nia\xB3"
         "Brigitte\r\n\xB3\r\nPaula\xB3\r\nNancy\xB3Rebekka\xB3P\r\nat\r\nr\r\nick\xB3\r\n",
         {"Julia", "Brigitte", "Paula", "Nancy", "Rebekka", "Patrick"}},
        {"separator at the start gives an empty name",
         "\xB3"
         "Anna\xB3",
         {"", "Anna"}},
        {"two separators give an empty name",
         "Anna\xB3\xB3"
         "Berta\xB3",
         {"Anna", "", "Berta"}},
        {"separators with only breaks between", "Anna\xB3\r\n\n\xB3", {"Anna", ""}},
        {"text behind the last separator is dropped",
         "Anna\xB3"
         "Ber",
         {"Anna"}},
        {"blanks are kept", " Anna \xB3", {" Anna "}},
        {"every kind of break is ignored", "An\rna\xB3\nEva\r\n\xB3", {"Anna", "Eva"}},
        {"empty file", "", {}},
        {"no separator at all", "Anna\r\nBerta\r\n", {}},
        {"duplicates stay",
         "Anna\xB3"
         "Anna\xB3",
         {"Anna", "Anna"}},
        {"case is kept",
         "anna\xB3"
         "ANNA\xB3",
         {"anna", "ANNA"}},
        {"NUL bytes are part of a name", "A\0na\xB3"s, {"A\0na"s}},
        {"umlauts as Windows-1252 bytes", "\xC4nne\xB3J\xF6rg\xB3", {"\xC4nne", "J\xF6rg"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParsedNames(c.bytes), c.names) << c.what;
}

TEST(ParseNameLinesTest, AppendsWithoutClearing) {
    NameList names;
    names.append("Eva");
    ParseNameLines(LineList::FromFileBytes("Anna\xB3"), names);
    ParseNameLines(LineList::FromFileBytes("Berta\xB3"), names);
    EXPECT_EQ(NamesOf(names), (Strings{"Eva", "Anna", "Berta"}));
    EXPECT_TRUE(names.contains("Berta"));
}

class WriteNameDatabaseTest : public ::testing::Test {
protected:
    QString Path() const { return dir_.filePath(QStringLiteral("fnames.dat")); }
    QTemporaryDir dir_;
};

TEST_F(WriteNameDatabaseTest, RewritesEveryLineWithCrLf) {
    // Breaks of every kind come back as CR LF, a last line gains its CR LF,
    // and an added name follows as a line of its own.
    LineList lines = LineList::FromFileBytes("Jul\nia\xB3");
    lines.append("Eva\xB3");
    WriteNameDatabase(lines, Path());
    EXPECT_EQ(test::ReadBytes(Path()), "Jul\r\nia\xB3\r\nEva\xB3\r\n");

    WriteNameDatabase(LineList::FromFileBytes("Paula\xB3Pat\rX\0Y\n\n"s), Path());
    EXPECT_EQ(test::ReadBytes(Path()), "Paula\xB3Pat\r\nX\0Y\r\n\r\n"s);
}

TEST_F(WriteNameDatabaseTest, ReadBackGivesTheSameLinesAndNames) {
    const std::string original = "Jul\r\nia\xB3"
                                 "Brigitte\r\n\xB3\r\nPaula\xB3Pat\r\n";
    test::WriteBytes(Path(), original);
    const LineList lines = ReadNameFile(Path()).lines;
    WriteNameDatabase(lines, Path());
    EXPECT_EQ(test::ReadBytes(Path()), original);
    EXPECT_EQ(NamesInFile(Path()), (Strings{"Julia", "Brigitte", "Paula"}));
}

TEST_F(WriteNameDatabaseTest, FailedRewriteLeavesTheFileAsItWas) {
    const std::string old = "Anna\xB3\r\n";
    test::WriteBytes(Path(), old);
    LineList lines = LineList::FromFileBytes(old);
    lines.append("Eva\xB3");
    {
        const test::ScopedSaveFaults faults(
            [](test::SaveStep step, const FilePath&) { return step == test::SaveStep::Write; });
        EXPECT_THROW(WriteNameDatabase(lines, Path()), FileError);
    }
    EXPECT_EQ(test::ReadBytes(Path()), old);
    WriteNameDatabase(lines, Path());
    EXPECT_EQ(test::ReadBytes(Path()), "Anna\xB3\r\nEva\xB3\r\n");
}

struct AppendCase {
    const char* what;
    std::string before;
    std::string after; // the file once Eva is added
    Strings names;     // the names list then, which must be what a new start reads
};

// An added name comes back whole at the next start, whether the file is
// written anew or extended in place in its own encoding and line breaks.
TEST(AppendNameTest, AddedNameComesBackWholeAtTheNextStart) {
    const std::vector<AppendCase> cases = {
        {"well-formed", "Anna\xB3\r\n", "Anna\xB3\r\nEva\xB3\r\n", {"Anna", "Eva"}},
        {"empty file", "", "Eva\xB3\r\n", {"Eva"}},
        {"only breaks", "\r\n\n", "\r\n\r\nEva\xB3\r\n", {"Eva"}},
        {"trailing text closed on its own line",
         "Paula\xB3Pat",
         "Paula\xB3Pat\xB3\r\nEva\xB3\r\n",
         {"Paula", "Pat", "Eva"}},
        {"trailing text over lines, then empty lines",
         "Paula\xB3P\r\nat\r\n\r\n",
         "Paula\xB3P\r\nat\xB3\r\n\r\nEva\xB3\r\n",
         {"Paula", "Pat", "Eva"}},
        {"no separator at all", "Pat", "Pat\xB3\r\nEva\xB3\r\n", {"Pat", "Eva"}},
        {"LF breaks", "Anna\xB3\nP\nat", "Anna\xB3\r\nP\r\nat\xB3\r\nEva\xB3\r\n", {"Anna", "Pat", "Eva"}},
        {"UTF-8 with a mark", "\xEF\xBB\xBFZo\xC3\xAB\xC2\xB3\n", "Zo\xEB\xB3\r\nEva\xB3\r\n", {"Zo\xEB", "Eva"}},
        {"trailing text is the name itself",
         "Paula\xB3"
         "Eva",
         "Paula\xB3"
         "Eva\xB3\r\n",
         {"Paula", "Eva"}},
    };
    for (const auto& c : cases) {
        LineList lines = LineList::FromFileBytes(DatabaseTextOf(c.before).bytes);
        NameList names;
        ParseNameLines(lines, names);
        const std::size_t first = names.size();
        EXPECT_EQ(AppendName(lines, names, "Eva"), c.after.ends_with("\r\nEva\xB3\r\n") || c.after == "Eva\xB3\r\n")
            << c.what;
        // The file extended in place, in its own encoding and breaks, reads
        // the same.
        NameList added;
        for (std::size_t i = first; i < names.size(); ++i)
            added.append(names[i]);
        const std::string extended = c.before + AppendixFor(c.before, added);
        EXPECT_EQ(StyleOf(extended).utf8, StyleOf(c.before).utf8) << c.what;
        EXPECT_EQ(StyleOf(extended).lineBreak, StyleOf(c.before).lineBreak) << c.what;
        EXPECT_EQ(ParsedNames(DatabaseTextOf(extended).bytes), c.names) << c.what;
        EXPECT_EQ(lines.FileBytes(), c.after) << c.what;
        EXPECT_EQ(NamesOf(names), c.names) << c.what;
        EXPECT_EQ(ParsedNames(lines.FileBytes()), c.names) << c.what;
        EXPECT_EQ(LinesOf(LineList::FromFileBytes(lines.FileBytes())), LinesOf(lines)) << c.what;
    }
}

} // namespace
} // namespace tavolin
