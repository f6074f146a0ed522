#include "fileio/fileio.h"
#include "names/database.h"
#include "names/name_database.h"
#include "support/list_strings.h"
#include "support/save_faults.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tavolin {
namespace {

using test::NamesInFile;
using test::NamesOf;
using test::ReadBytes;
using test::SaveFault;
using test::SaveStep;
using test::Strings;
using test::WriteBytes;
using AddResult = NameDatabase::AddResult;

class NameDatabaseTest : public ::testing::Test {
protected:
    QString Path() const { return dir_.filePath(QStringLiteral("fnames.dat")); }
    // A copy of the program that starts now; without a recovery folder, as
    // for copies of different users, it keeps unsaved names to itself.
    std::unique_ptr<NameDatabase> Start(bool recovery = true) const {
        const FilePath folder = recovery ? FilePath(dir_.filePath(QStringLiteral("state"))) : FilePath();
        auto database = std::make_unique<NameDatabase>(Path(), DatabaseOptions{folder, {}});
        database->Read();
        database->Parse();
        return database;
    }
    void FailingCommits() {
        fault_.FailWhen([](SaveStep step) { return step == SaveStep::Commit; });
    }

    QTemporaryDir dir_;
    SaveFault fault_{[](const FilePath& file) { return !test::IsRecoveryFile(file); }};
};

// Two copies on one file, adds and a merge interleaved: every name of both
// is in the file, and each copy knows the other's names once it writes.
TEST_F(NameDatabaseTest, TwoCopiesKeepEachOthersNames) {
    WriteBytes(Path(), "Anna\xB3\r\n");
    const auto a = Start();
    const auto b = Start();
    Strings expected = {"Anna", "Alpha1", "Beta1", "Alpha2", "Beta2"};
    EXPECT_EQ(a->Add("Alpha1"), AddResult::Added);
    EXPECT_EQ(b->Add("Beta1"), AddResult::Added);
    EXPECT_EQ(a->Add("Alpha2"), AddResult::Added);
    EXPECT_EQ(b->Add("Beta2"), AddResult::Added);
    NameList thousand;
    for (int i = 0; i < 1000; ++i) {
        thousand.append("Merged" + std::to_string(i));
        expected.push_back("Merged" + std::to_string(i));
    }
    EXPECT_EQ(a->Merge(thousand), 1000u);
    EXPECT_EQ(b->Add("Beta3"), AddResult::Added);
    expected.push_back("Beta3");
    EXPECT_EQ(b->Add("Alpha1"), AddResult::Present);

    EXPECT_EQ(NamesInFile(Path()), expected);
    EXPECT_EQ(NamesOf(b->Names()), expected);
    EXPECT_EQ(b->Lines().FileBytes(), ReadBytes(Path()));
}

struct OutsideChange {
    const char* what;
    std::function<void(const QString&)> change;
    std::string file; // after the add of "Neu"
};

// Whatever another program did to the file since this copy wrote it, the
// next add writes on top of that. A file that is gone is written anew from
// everything this copy holds.
TEST_F(NameDatabaseTest, OutsideChangesAreTheBaseOfTheNextChange) {
    const auto replace = [](const QString& path, std::string_view bytes) {
        WriteBytes(path + QStringLiteral(".new"), bytes);
        // Over the file, as a rename does on Linux and MoveFileEx on Windows.
        std::error_code error;
        std::filesystem::rename((path + QStringLiteral(".new")).toStdU16String(), path.toStdU16String(), error);
        ASSERT_FALSE(error) << error.message();
    };
    const std::vector<OutsideChange> cases = {
        {"an editor appends in place", [](const QString& path) { WriteBytes(path, ReadBytes(path) + "Ida\xB3\r\n"); },
         "Anna\xB3\r\nEva\xB3\r\nIda\xB3\r\nNeu\xB3\r\n"},
        {"a name appended over two lines", [](const QString& path) { WriteBytes(path, ReadBytes(path) + "Id\na\xB3"); },
         "Anna\xB3\r\nEva\xB3\r\nId\r\na\xB3\r\nNeu\xB3\r\n"},
        {"a UTF-8 name appended",
         [](const QString& path) { WriteBytes(path, ReadBytes(path) + "Zo\xC3\xAB\xC2\xB3\r\n"); },
         "Anna\xB3\r\nEva\xB3\r\nZo\xEB\xB3\r\nNeu\xB3\r\n"},
        {"a sync tool puts another version in its place", [&](const QString& path) { replace(path, "Otto\xB3"); },
         "Otto\xB3\r\nNeu\xB3\r\n"},
        {"an editor saves it as UTF-8",
         [&](const QString& path) {
             replace(path, "\xEF\xBB\xBF"
                           "Anna\xC2\xB3\r\nZo\xC3\xAB\xC2\xB3\r\n");
         },
         "Anna\xB3\r\nZo\xEB\xB3\r\nNeu\xB3\r\n"},
        {"it was removed", [](const QString& path) { QFile::remove(path); }, "Anna\xB3\r\nEva\xB3\r\nNeu\xB3\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(Path(), "Anna\xB3\r\n");
        const auto database = Start();
        ASSERT_EQ(database->Add("Eva"), AddResult::Added);
        c.change(Path());
        EXPECT_EQ(database->Add("Neu"), AddResult::Added);
        EXPECT_EQ(ReadBytes(Path()), c.file);
        EXPECT_EQ(NamesOf(database->Names()), NamesInFile(Path()));
    }
    // An append that ends the name the file left open (its lines so far
    // belong to it) is no name of its own.
    WriteBytes(Path(), "Anna\xB3\r\nCl\r\n");
    const auto database = Start();
    WriteBytes(Path(), ReadBytes(Path()) + "ara\xB3\r\n");
    EXPECT_EQ(database->Add("Neu"), AddResult::Added);
    EXPECT_EQ(NamesOf(database->Names()), NamesInFile(Path()));
}

// A name whose write failed stays, unsaved, and goes on top of every later
// version of the file: a second add of it saves it, and a name that another
// copy saved meanwhile is not written twice.
TEST_F(NameDatabaseTest, UnsavedNamesGoOnTopOfEveryLaterVersion) {
    WriteBytes(Path(), "Anna\xB3\r\n");
    const auto a = Start(false);
    const auto b = Start(false);
    FailingCommits();
    EXPECT_THROW(a->Add("Eva"), FileError);
    fault_.Clear();
    EXPECT_EQ(ReadBytes(Path()), "Anna\xB3\r\n");
    EXPECT_EQ(a->UnsavedCount(), 1u);
    EXPECT_TRUE(a->IsUnsaved("Eva"));

    EXPECT_EQ(b->Add("Ida"), AddResult::Added);
    EXPECT_EQ(a->Add("Eva"), AddResult::Saved);
    EXPECT_EQ(NamesInFile(Path()), (Strings{"Anna", "Ida", "Eva"}));
    EXPECT_EQ(a->UnsavedCount(), 0u);

    FailingCommits();
    EXPECT_THROW(a->Add("Otto"), FileError);
    fault_.Clear();
    EXPECT_EQ(b->Add("Otto"), AddResult::Added);
    a->SaveUnsaved();
    EXPECT_EQ(a->UnsavedCount(), 0u);
    EXPECT_EQ(NamesInFile(Path()), (Strings{"Anna", "Ida", "Eva", "Otto"}));
    EXPECT_EQ(NamesOf(a->Names()), NamesInFile(Path()));
}

// A change that cannot reach the file (another copy holds the lock, the
// write fails) keeps its names in the recovery file at once: the next change
// by any copy writes them and removes it.
TEST_F(NameDatabaseTest, NamesThatCannotBeWrittenAreKeptUntilAnyCopyCan) {
    WriteBytes(Path(), "Anna\xB3\r\n");
    const auto a = Start();
    {
        const FileLock other(Path());
        EXPECT_THROW(a->Add("Eva"), FileError);
    }
    EXPECT_TRUE(a->IsUnsaved("Eva"));
    EXPECT_TRUE(a->UnsavedKept());
    EXPECT_EQ(NamesInFile(a->RecoveryPath()), Strings{"Eva"});

    const auto b = Start();
    EXPECT_EQ(b->Add("Ida"), AddResult::Added);
    EXPECT_EQ(b->Recovered(), 1u);
    EXPECT_FALSE(QFile::exists(a->RecoveryPath().Display()));
    EXPECT_EQ(a->Add("Otto"), AddResult::Added);
    EXPECT_EQ(a->Recovered(), 0u); // b wrote it already
    EXPECT_EQ(NamesInFile(Path()), (Strings{"Anna", "Eva", "Ida", "Otto"}));
}

// The program's own file saved by an editor as UTF-8 reads as Windows-1252.
// While it holds a name Windows-1252 cannot hold, it is never written anew
// (that name would be lost) but extended in its own encoding and line breaks;
// once the user has changed that name, the next change writes it anew.
TEST_F(NameDatabaseTest, Utf8FileIsExtendedWhileAWriteWouldLoseAName) {
    WriteBytes(Path(), "Anna\xC2\xB3\n\xC5\x81ucja\xC2\xB3\n");
    const auto database = Start();
    EXPECT_EQ(NamesOf(database->Names()), Strings{"Anna"});
    EXPECT_EQ(database->Add("Zo\xEB"), AddResult::Added);
    EXPECT_EQ(ReadBytes(Path()), "Anna\xC2\xB3\n\xC5\x81ucja\xC2\xB3\nZo\xC3\xAB\xC2\xB3\n");
    EXPECT_EQ(NamesOf(database->Names()), (Strings{"Anna", "Zo\xEB"}));

    WriteBytes(Path(), "Anna\xC2\xB3\r\nLucja\xC2\xB3\r\nZo\xC3\xAB\xC2\xB3\r\n");
    EXPECT_EQ(database->Add("Eva"), AddResult::Added);
    EXPECT_EQ(ReadBytes(Path()), "Anna\xB3\r\nLucja\xB3\r\nZo\xEB\xB3\r\nEva\xB3\r\n");
}

// A name taken out leaves every other byte of the file as it was, whatever
// wrote the file meanwhile; a name whose write failed comes back neither from
// a later save nor from the recovery file; undo takes a change back.
TEST_F(NameDatabaseTest, RemovalTakesOutOnlyThatEntryForGood) {
    // clang-format off
    const std::vector<std::array<std::string, 3>> cases = {  // file, name, file after
        {"Anna\xB3\r\nEva\xB3\r\nIda\xB3", "Eva", "Anna\xB3\r\nIda\xB3"},
        {"Eva\xB3\nAnna\xB3" "Eva\xB3Ida\xB3\n", "Eva", "Anna\xB3" "Eva\xB3Ida\xB3\n"},
        {"Anna\xB3\nE\r\nva\xB3\nIda\xB3", "Eva", "Anna\xB3\nIda\xB3"},
        {"\xEF\xBB\xBFZo\xC3\xAB\xC2\xB3\n\xC5\x81ucja\xC2\xB3\n", "Zo\xEB", "\xEF\xBB\xBF\xC5\x81ucja\xC2\xB3\n"},
        {"Anna\xB3" "Eva", "Eva", "Anna\xB3" "Eva"},
    };
    // clang-format on
    for (const auto& [file, name, after] : cases) {
        WriteBytes(Path(), "Anna\xB3\r\n");
        const auto database = Start();
        WriteBytes(Path(), file);
        const auto removed = database->Remove(name);
        EXPECT_EQ(removed.has_value(), file != after) << file;
        EXPECT_EQ(ReadBytes(Path()), after);
        EXPECT_EQ(NamesOf(database->Names()), NamesInFile(Path()));
        if (removed) { // put back where it was
            EXPECT_EQ(database->Restore(*removed), NameDatabase::AddResult::Added);
            EXPECT_EQ(ReadBytes(Path()), file);
        }
    }
    // With a second link the entry is blanked in place, and the undo writes
    // it back into its blank.
    const std::string linkedFile = "Anna\xB3\r\nEva\xB3\r\nIda\xB3\r\n";
    WriteBytes(Path(), linkedFile);
    std::filesystem::create_hard_link(Path().toStdU16String(), (Path() + QStringLiteral("2")).toStdU16String());
    const auto linked = Start();
    const auto blanked = linked->Remove("Eva");
    ASSERT_TRUE(blanked);
    EXPECT_EQ(NamesInFile(Path()), (Strings{"Anna", "Ida"}));
    EXPECT_EQ(linked->Restore(*blanked), NameDatabase::AddResult::Added);
    EXPECT_EQ(ReadBytes(Path()), linkedFile);
    QFile::remove(Path() + QStringLiteral("2"));

    WriteBytes(Path(), "Anna\xB3\r\n");
    const auto a = Start();
    FailingCommits();
    EXPECT_THROW(a->Add("Eva"), FileError);
    fault_.Clear();
    LastChange last;
    EXPECT_TRUE(last.Remove(*a, "Eva"));
    a->SaveUnsaved();
    EXPECT_EQ(Start()->Recover(), 0u);
    EXPECT_EQ(ReadBytes(Path()), "Anna\xB3\r\n");
    Start()->Add("Ida"); // changed meanwhile: the name comes back behind the others
    EXPECT_EQ(last.Undo(), a.get());
    EXPECT_FALSE(last.CanUndo());
    EXPECT_EQ(ReadBytes(Path()), "Anna\xB3\r\nIda\xB3\r\nEva\xB3\r\n");

    // Under a lock another copy holds, an undo waits once and keeps the name.
    int waits = 0;
    NameDatabase c(Path(), {.recoveryFolder = FilePath(dir_.filePath(QStringLiteral("state"))),
                            .whileWaiting = [&](bool waiting) { waits += waiting ? 0 : 1; }});
    c.Read();
    c.Parse();
    ASSERT_TRUE(last.Remove(c, "Ida"));
    {
        const FileLock other(Path());
        EXPECT_THROW(last.Undo(), FileError);
    }
    EXPECT_EQ(waits, 1);
    EXPECT_TRUE(c.IsUnsaved("Ida") && c.UnsavedKept());
}

} // namespace
} // namespace tavolin
