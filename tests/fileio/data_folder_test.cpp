#include "fileio/data_folder.h"
#include "support/immutable_folder.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavolin {
namespace {

using namespace Qt::StringLiterals;
using test::ReadBytes;
using test::WriteBytes;

const QStringList kDatabases{u"fnames.dat"_s, u"mnames.dat"_s};

// The program's folder while a database lies there (a dangling link too) or
// while it is writable and nothing was shipped elsewhere; else the user's: a
// system-wide install, also for root, who may write to /usr/bin, and a folder
// that not even root may write to.
TEST(DataFolderTest, ProgramFolderUnlessInstalledSystemWideOrUnwritable) {
    QTemporaryDir root;
    const QString program = root.filePath(u"bin"_s);
    const DataFolders folders{root.filePath(u"share"_s), root.filePath(u"home/tavolin"_s)};
    ASSERT_TRUE(QDir().mkpath(program) && QDir().mkpath(folders.shipped.Display()));
    const auto chosen = [&] { return ChooseDataFolder(program, folders, kDatabases); };
    EXPECT_EQ(chosen(), FilePath(program));
    WriteBytes(root.filePath(u"share/mnames.dat"_s), "Anton\xB3\r\n");
    EXPECT_EQ(chosen(), folders.user);
    ASSERT_EQ(::symlink("unmounted/fnames.dat", QFile::encodeName(program + u"/fnames.dat"_s).constData()), 0);
    EXPECT_EQ(chosen(), FilePath(program));

    ASSERT_TRUE(QFile::remove(program + u"/fnames.dat"_s) && QFile::remove(root.filePath(u"share/mnames.dat"_s)));
    test::ImmutableFolder lock(program);
    if (!lock.Failure().empty())
        GTEST_SKIP() << "cannot make a folder immutable here (" << lock.Failure() << "): needs root and chattr +i";
    EXPECT_FALSE(FolderWritable(program));
    EXPECT_EQ(chosen(), folders.user);
}

// Each shipped database that the user's folder lacks is copied into it, the
// folder made private to the user; what the user has is never replaced.
TEST(DataFolderTest, CopiesOnlyWhatTheUsersFolderLacks) {
    QTemporaryDir root;
    const QString shipped = root.path();
    const QString user = root.filePath(u"home/.local/share/tavolin"_s);
    WriteBytes(shipped + u"/fnames.dat"_s, "Anna\xB3\r\n");
    CopyMissingDatabases(shipped, user, kDatabases);
    EXPECT_EQ(QDir(user).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{kDatabases[0]});
    struct stat folder {};
    EXPECT_TRUE(::stat(QFile::encodeName(user).constData(), &folder) == 0 && (folder.st_mode & 0777) == 0700);

    WriteBytes(user + u"/fnames.dat"_s, "Eva\xB3\r\n");
    WriteBytes(shipped + u"/mnames.dat"_s, "Anton\xB3\r\n");
    CopyMissingDatabases(shipped, user, kDatabases);
    EXPECT_EQ(ReadBytes(user + u"/fnames.dat"_s), "Eva\xB3\r\n");
    EXPECT_EQ(ReadBytes(user + u"/mnames.dat"_s), "Anton\xB3\r\n");
    EXPECT_THROW(CopyMissingDatabases(shipped, user + u"/fnames.dat/tavolin"_s, kDatabases), FileError);
}

} // namespace
} // namespace tavolin
