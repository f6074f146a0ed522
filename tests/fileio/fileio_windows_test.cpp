#include "fileio/fileio.h"
#include "support/testfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <windows.h>

namespace tavolin {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// A folder whose name needs UTF-16: umlauts, a dash and CJK letters.
class WindowsFileTest : public ::testing::Test {
protected:
    WindowsFileTest() { QDir(dir_.path()).mkdir(kFolder); }
    QString Path(const char* name) const { return QDir(dir_.filePath(kFolder)).filePath(QString::fromLatin1(name)); }
    QStringList Entries() const {
        return QDir(dir_.filePath(kFolder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    static DWORD Attributes(const QString& path) { return ::GetFileAttributesW(path.toStdWString().c_str()); }

    static inline const QString kFolder = QStringLiteral("Wuzels – Ä 名前");
    QTemporaryDir dir_;
};

TEST(WindowsPathTest, ProgramDirectoryKeepsBackslashesAndTheDriveRoot) {
    EXPECT_EQ(DirectoryOf(FilePath::FromNative("C:\\Spiele\\Tavolin\\tavolin.exe")).Display(),
              QStringLiteral("C:\\Spiele\\Tavolin"));
    EXPECT_EQ(JoinPath(DirectoryOf(FilePath::FromNative("C:\\tavolin.exe")), QStringLiteral("fnames.dat")).Display(),
              QStringLiteral("C:\\\\fnames.dat"));
    EXPECT_EQ(FilePath(QStringLiteral("C:/Users/Zoë/mnames.dat")).Display(),
              QStringLiteral("C:\\Users\\Zoë\\mnames.dat"));
    EXPECT_TRUE(ExecutableFilePath().Display().endsWith(QStringLiteral("\\fileio_test.exe")));
}

TEST_F(WindowsFileTest, RewriteReplacesTheFileAndKeepsItsAttributes) {
    WriteBytes(Path("fnames.dat"), "Anna\xB3\r\n");
    ASSERT_TRUE(::SetFileAttributesW(Path("fnames.dat").toStdWString().c_str(), FILE_ATTRIBUTE_HIDDEN));
    const std::optional<FileIdentity> before = IdentityOf(Path("fnames.dat"));
    ASSERT_TRUE(before);

    const FileIdentity written = SaveFileAtomically(Path("fnames.dat"), "Anna\xB3\r\nBea\xB3\r\n");
    EXPECT_EQ(ReadBytes(Path("fnames.dat")), "Anna\xB3\r\nBea\xB3\r\n");
    EXPECT_EQ(IdentityOf(Path("fnames.dat")), written);
    EXPECT_NE(written.inode, before->inode); // a new file took the old one's place
    EXPECT_NE(Attributes(Path("fnames.dat")) & FILE_ATTRIBUTE_HIDDEN, 0U);
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("fnames.dat")}); // no temporary file left

    // A file that only grows is extended where it is.
    const FileIdentity grown =
        SaveFile(Path("fnames.dat"), {{}, [](std::string_view) { return "Cleo\xB3\r\n"; }, true});
    EXPECT_EQ(grown.inode, written.inode);
    EXPECT_EQ(ReadBytes(Path("fnames.dat")), "Anna\xB3\r\nBea\xB3\r\nCleo\xB3\r\n");
}

TEST_F(WindowsFileTest, WriteProtectedFileStaysAndTheMessageNamesItsPath) {
    WriteBytes(Path("tavolin.ini"), "alt");
    ASSERT_TRUE(::SetFileAttributesW(Path("tavolin.ini").toStdWString().c_str(), FILE_ATTRIBUTE_READONLY));
    try {
        SaveFileAtomically(Path("tavolin.ini"), "neu");
        ADD_FAILURE() << "a write-protected file was replaced";
    } catch (const FileError& error) {
        EXPECT_EQ(
            QString::fromStdString(error.what()),
            QStringLiteral("Datei %1 kann nicht erstellt werden").arg(QDir::toNativeSeparators(Path("tavolin.ini"))));
    }
    EXPECT_EQ(ReadBytes(Path("tavolin.ini")), "alt");
    ::SetFileAttributesW(Path("tavolin.ini").toStdWString().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(WindowsFileTest, LockKeepsASecondWriterOutButNotItsReaders) {
    WriteBytes(Path("mnames.dat"), "Bob\xB3");
    {
        const FileLock lock(Path("mnames.dat"));
        EXPECT_TRUE(test::LockFileHeldHere(Path("mnames.dat")));
        EXPECT_EQ(ReadFileBytes(Path("mnames.dat")), "Bob\xB3");
        SaveFile(Path("mnames.dat"), {{}, [](std::string_view) { return "Carl\xB3"; }, true});
        EXPECT_THROW(FileLock(Path("mnames.dat"), std::chrono::milliseconds(200)), FileError);
    }
    {
        const FileLock again(Path("mnames.dat"), std::chrono::milliseconds(200));
        EXPECT_TRUE(test::LockFileHeldHere(Path("mnames.dat")));
    }
    EXPECT_EQ(ReadBytes(Path("mnames.dat")), "Bob\xB3"
                                             "Carl\xB3");
}

// A save killed between writing its new file and renaming it leaves the file
// behind; the next save of the database removes it once old enough, and
// nothing else beside it.
TEST_F(WindowsFileTest, LeftoversOfKilledSavesGo) {
    const char* const files[] = {"fnames.dat.tavolin-abc12.tmp", "fnames.dat.tavolin-new1.tmp", "fnames.dat.bak"};
    for (const char* name : files) {
        WriteBytes(Path(name), "x");
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        if (name != files[1])
            file.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime);
    }
    SaveFileAtomically(Path("fnames.dat"), "Anna\xB3\r\n");
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("fnames.dat"), QStringLiteral("fnames.dat.bak"),
                                      QStringLiteral("fnames.dat.tavolin-new1.tmp")}));
}

} // namespace
} // namespace tavolin
