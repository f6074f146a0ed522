#include "fileio/fileio.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace tavolin {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class FileIoTest : public ::testing::Test {
protected:
    void TearDown() override { SetSaveFaultHookForTesting({}); }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QStringList Entries() const {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir dir;
};

TEST(PathTest, ProgramDirectoryAndJoinedPaths) {
    EXPECT_EQ(DirectoryOf(QStringLiteral("/opt/tavolin/tavolin")), QStringLiteral("/opt/tavolin"));
    // A program in the root keeps the root's separator; the joined path then
    // holds a doubled one, which the file system accepts.
    EXPECT_EQ(DirectoryOf(QStringLiteral("/tavolin")), QStringLiteral("/"));
    EXPECT_EQ(JoinPath(QStringLiteral("/"), QStringLiteral("fnames.dat")), QStringLiteral("//fnames.dat"));
    EXPECT_EQ(JoinPath(QStringLiteral("/opt/t"), QStringLiteral("mnames.dat")), QStringLiteral("/opt/t/mnames.dat"));
}

TEST_F(FileIoTest, ReadsEveryByteIncludingNul) {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(static_cast<char>(i));
    bytes += std::string("behind\0the\0nul", 14);
    WriteBytes(Path("all.dat"), bytes);
    EXPECT_EQ(ReadFileBytes(Path("all.dat")), bytes);
    WriteBytes(Path("empty.dat"), "");
    EXPECT_EQ(ReadFileBytes(Path("empty.dat")), "");
}

TEST_F(FileIoTest, ReadFailuresNameTheFullPath) {
    for (const QString& path : {Path("missing.dat"), dir.path()}) {
        try {
            ReadFileBytes(path);
            ADD_FAILURE() << "no error for " << path.toStdString();
        } catch (const FileError& error) {
            EXPECT_EQ(QString::fromUtf8(error.what()), QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(path));
        }
    }
}

TEST_F(FileIoTest, SaveReplacesTheWholeFile) {
    WriteBytes(Path("db.dat"), "old content that is longer\r\n");
    SaveFileAtomically(Path("db.dat"), "new\r\n");
    EXPECT_EQ(ReadBytes(Path("db.dat")), "new\r\n");
    SaveFileAtomically(Path("fresh.dat"), "");
    EXPECT_EQ(ReadBytes(Path("fresh.dat")), "");
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("db.dat"), QStringLiteral("fresh.dat")}));
}

// Each step of a save fails in turn: the old bytes must stay, no temporary
// file may be left behind, the error must name the file, and the next save
// must work.
TEST_F(FileIoTest, EveryFailedStepKeepsTheOldFile) {
    const std::string old = "Anna\xB3\r\nBerta\xB3\r\n";
    WriteBytes(Path("fnames.dat"), old);
    for (SaveStep failing : {SaveStep::Open, SaveStep::Write, SaveStep::Sync, SaveStep::Commit}) {
        SetSaveFaultHookForTesting([failing](SaveStep step) { return step == failing; });
        try {
            SaveFileAtomically(Path("fnames.dat"), "Anna\xB3\r\nBerta\xB3\r\nEva\xB3\r\n");
            ADD_FAILURE() << "step " << static_cast<int>(failing) << " did not fail";
        } catch (const FileError& error) {
            EXPECT_EQ(QString::fromUtf8(error.what()),
                      QStringLiteral("Datei %1 kann nicht erstellt werden").arg(Path("fnames.dat")));
        }
        EXPECT_EQ(ReadBytes(Path("fnames.dat")), old);
        EXPECT_EQ(Entries(), QStringList{QStringLiteral("fnames.dat")});
    }
    SetSaveFaultHookForTesting({});
    SaveFileAtomically(Path("fnames.dat"), "Eva\xB3\r\n");
    EXPECT_EQ(ReadBytes(Path("fnames.dat")), "Eva\xB3\r\n");
}

// Lets files grow to `limit` bytes only while it lives; a write across the
// limit then stops short and the next one fails with EFBIG, as a full disk
// does with ENOSPC.
class FileSizeLimit final {
public:
    explicit FileSizeLimit(rlim_t limit) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{limit, saved_.rlim_max};
        set_ = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool set() const { return set_; }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
    bool set_ = false;
};

// A real short write in the middle of a save: the old file stays and no part
// of the new one is left.
TEST_F(FileIoTest, RealShortWriteKeepsTheOldFile) {
    const std::string old = "Anna\xB3\r\n";
    WriteBytes(Path("fnames.dat"), old);
    const std::string large(2 * kSaveChunkSize, 'x');
    {
        FileSizeLimit limit(kSaveChunkSize + 100);
        ASSERT_TRUE(limit.set());
        // The limit must really cut a write short here, or nothing is tested.
        const QByteArray probe = QFile::encodeName(Path("probe"));
        const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        const ssize_t written = ::write(fd, large.data(), large.size());
        ::close(fd);
        ::unlink(probe.constData());
        if (written == static_cast<ssize_t>(large.size()))
            GTEST_SKIP() << "the file size limit does not cut writes short here";

        EXPECT_THROW(SaveFileAtomically(Path("fnames.dat"), large), FileError);
    }
    EXPECT_EQ(ReadBytes(Path("fnames.dat")), old);
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("fnames.dat")});
    SaveFileAtomically(Path("fnames.dat"), large);
    EXPECT_EQ(ReadBytes(Path("fnames.dat")), large);
}

TEST_F(FileIoTest, SaveIntoMissingFolderFails) {
    const QString path = Path("no/such/folder/fnames.dat");
    EXPECT_THROW(SaveFileAtomically(path, "x"), FileError);
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
} // namespace tavolin
