#include "fileio/fileio.h"
#include "names/database.h"
#include "names/encoding.h"
#include "names/merge.h"
#include "names/name_database.h"
#include "support/list_strings.h"
#include "support/reference_names.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace tavolin {
namespace {

using test::NamesOf;
using test::ReferenceMerge;
using test::ReferenceMergeOf;
using test::Strings;

class MergeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    // A foreign database loaded from a file, as the window loads it.
    void LoadForeign(std::string_view bytes) {
        test::WriteBytes(Path("foreign.dat"), bytes);
        LoadMergeDatabase(Path("foreign.dat"), mergeLines_, mergeNames_);
    }
    // A target database file as the start-up reads it.
    void SetTarget(std::string_view bytes) {
        test::WriteBytes(Path("fnames.dat"), bytes);
        target_ = std::make_unique<NameDatabase>(Path("fnames.dat"));
        target_->Read();
        target_->Parse();
    }
    std::size_t Merge() { return target_->Merge(mergeNames_); }

    QTemporaryDir dir_;
    LineList mergeLines_;
    NameList mergeNames_;
    std::unique_ptr<NameDatabase> target_;
};

struct MergeCase {
    const char* what;
    std::string target;
    std::string foreign;
    std::size_t added;
    std::string file;    // the target file after the merge
    Strings targetNames; // the target's names after the merge
};

TEST_F(MergeTest, AddsTheMissingNamesAndRewritesTheFile) {
    // (Names right behind a separator avoid the letters A to F, which would
    // continue its hex escape.)
    const std::string longName(300, 'x');
    // clang-format off
    const std::vector<MergeCase> cases = {
        {"new names follow in foreign order",
         "Nora\xB3\r\nOlga\xB3\r\n", "Rita\xB3Nora\xB3\r\nLena\xB3", 2,
         "Nora\xB3\r\nOlga\xB3\r\nRita\xB3\r\nLena\xB3\r\n", {"Nora", "Olga", "Rita", "Lena"}},
        {"a repeated foreign name is added once",
         "Nora\xB3", "Ida\xB3Ida\xB3\nIda\xB3", 1,
         "Nora\xB3\r\nIda\xB3\r\n", {"Nora", "Ida"}},
        {"an empty name is merged like others",
         "Nora\xB3", "\xB3Ida\xB3\xB3", 2,
         "Nora\xB3\r\n\xB3\r\nIda\xB3\r\n", {"Nora", "", "Ida"}},
        {"an empty name the target holds is not added",
         "Nora\xB3\xB3", "\xB3", 0,
         "Nora\xB3\xB3\r\n", {"Nora", ""}},
        {"no case folding",
         "Nora\xB3", "nora\xB3NORA\xB3Nora\xB3", 2,
         "Nora\xB3\r\nnora\xB3\r\nNORA\xB3\r\n", {"Nora", "nora", "NORA"}},
        {"no trimming",
         "Nora\xB3", "Nora \xB3 Nora\xB3", 2,
         "Nora\xB3\r\nNora \xB3\r\n Nora\xB3\r\n", {"Nora", "Nora ", " Nora"}},
        {"a name across line ends is merged whole",
         "Nora\xB3", "Jul\r\ni\na\xB3", 1,
         "Nora\xB3\r\nJulia\xB3\r\n", {"Nora", "Julia"}},
        {"text behind the last separator is not merged",
         "Nora\xB3", "Ida\xB3Pat", 1,
         "Nora\xB3\r\nIda\xB3\r\n", {"Nora", "Ida"}},
        {"a file without separator is a list: a name a line, blanks trimmed, UTF-8 or not",
         "Nora\xB3", "\xEF\xBB\xBF Ida \r\n\t\r\n\rJ\xC3\xB6rg\t\nJ\xF6rg\n\xC2\rNora\r\nLe na", 4,
         "Nora\xB3\r\nIda\xB3\r\nJ\xF6rg\xB3\r\n\xC2\r\n\xB3\r\nLe na\xB3\r\n",
         {"Nora", "Ida", "J\xF6rg", "\xC2", "Le na"}},
        {"nothing new still rewrites the file",
         "Nora\xB3\nOlga\xB3", "Olga\xB3Nora\xB3", 0,
         "Nora\xB3\r\nOlga\xB3\r\n", {"Nora", "Olga"}},
        {"an empty target",
         "", "Ida\xB3", 1,
         "Ida\xB3\r\n", {"Ida"}},
        {"bytes beyond ASCII are compared as they are",
         "J\xF6rg\xB3", "J\xD6RG\xB3J\xF6rg\xB3", 1,
         "J\xF6rg\xB3\r\nJ\xD6RG\xB3\r\n", {"J\xF6rg", "J\xD6RG"}},
        {"names longer than the edit field takes",
         "Nora\xB3", longName + "\xB3", 1,
         "Nora\xB3\r\n" + longName + "\xB3\r\n", {"Nora", longName}},
        {"trailing text is closed before the first added name",
         "Paula\xB3P\r\nat\r\n", "Ida\xB3Rita\xB3", 2,
         "Paula\xB3P\r\nat\xB3\r\nIda\xB3\r\nRita\xB3\r\n", {"Paula", "Pat", "Ida", "Rita"}},
        {"the closed trailing text is found by later names",
         "Paula\xB3Pat", "Ida\xB3Pat\xB3", 1,
         "Paula\xB3Pat\xB3\r\nIda\xB3\r\n", {"Paula", "Pat", "Ida"}},
        {"a foreign name equal to the trailing text is there once",
         "Paula\xB3Pat", "Pat\xB3Ida\xB3", 1,
         "Paula\xB3Pat\xB3\r\nIda\xB3\r\n", {"Paula", "Pat", "Ida"}},
        {"trailing text stays open when nothing is added",
         "Paula\xB3Pat", "Paula\xB3", 0,
         "Paula\xB3Pat\r\n", {"Paula"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetTarget(c.target);
        LoadForeign(c.foreign);
        const Strings foreignBefore = NamesOf(mergeNames_);
        EXPECT_EQ(Merge(), c.added);
        EXPECT_EQ(test::ReadBytes(Path("fnames.dat")), c.file);
        EXPECT_EQ(target_->Lines().FileBytes(), c.file);
        EXPECT_EQ(NamesOf(target_->Names()), c.targetNames);
        EXPECT_EQ(NamesOf(mergeNames_), foreignBefore);
    }
}

// A line that cannot be stored is counted; the list's text reads back as read.
TEST_F(MergeTest, PlainListCountsWhatCannotBeStored) {
    test::WriteBytes(Path("list.txt"), "Ida\n\xE5\xB0\x8F\n\xC2\r\n");
    EXPECT_EQ(LoadMergeDatabase(Path("list.txt"), mergeLines_, mergeNames_), 1u);
    EXPECT_EQ(DatabaseTextOf(std::string(mergeLines_.FileBytes())).bytes, mergeLines_.FileBytes());
    // A null byte anywhere, the last one too, makes it no database; the
    // names loaded before stay.
    EXPECT_THROW(LoadForeign(std::string("Ida\xB3Rita\xB3\0", 10)), FileError);
    EXPECT_EQ(NamesOf(mergeNames_), (Strings{"Ida", "\xC2"}));
}

// Small databases from a tiny alphabet, so that duplicates, empty names,
// names across line ends, case and blanks, and trailing text all occur often.
std::string RandomDatabase(std::mt19937& random) {
    static constexpr std::string_view kAlphabet = "aA b\xB3\xB3\r\n";
    std::string bytes(random() % 16, ' ');
    for (char& c : bytes)
        c = kAlphabet[random() % kAlphabet.size()];
    // Without any separator the file is a plain list, read otherwise.
    return bytes.find('\xB3') == std::string::npos ? bytes + '\xB3' : bytes;
}

TEST_F(MergeTest, EqualsTheSearchOfTheWholeListForRandomDatabases) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 300; ++round) {
        const std::string targetBytes = RandomDatabase(random);
        const std::string foreign = RandomDatabase(random);
        SCOPED_TRACE(::testing::PrintToString(targetBytes) + " <- " + ::testing::PrintToString(foreign));
        const ReferenceMerge expected = ReferenceMergeOf(targetBytes, foreign);
        SetTarget(targetBytes);
        LoadForeign(foreign);
        ASSERT_EQ(Merge(), expected.added);
        ASSERT_EQ(NamesOf(target_->Names()), expected.names);
        ASSERT_EQ(test::ReadBytes(Path("fnames.dat")), expected.file);
    }
}

} // namespace
} // namespace tavolin
