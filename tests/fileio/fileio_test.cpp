#include "fileio/fileio.h"
#include "support/child_process.h"
#include "support/save_faults.h"
#include "support/testfiles.h"

#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <map>
#include <sched.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tavolin {
namespace {

using test::ReadBytes;
using test::SaveStep;
using test::WriteBytes;

class FileIoTest : public ::testing::Test {
protected:
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    QStringList Entries() const {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    QByteArray Native(const char* name) const { return QFile::encodeName(Path(name)); }
    mode_t Mode(const char* name) const {
        struct stat info {};
        return ::lstat(Native(name).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
    }
    // Sets the last change of the file or link itself `seconds` back.
    void MakeOld(const char* name, int seconds) const {
        const std::array<timespec, 2> times = {timespec{0, UTIME_OMIT}, timespec{::time(nullptr) - seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, Native(name).constData(), times.data(), AT_SYMLINK_NOFOLLOW), 0) << name;
    }

    QTemporaryDir dir_;
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
    for (const QString& path : {Path("missing.dat"), dir_.path()}) {
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
        try {
            const test::ScopedSaveFaults faults([failing](SaveStep step, const FilePath&) { return step == failing; });
            SaveFileAtomically(Path("fnames.dat"), "Anna\xB3\r\nBerta\xB3\r\nEva\xB3\r\n");
            ADD_FAILURE() << "step " << static_cast<int>(failing) << " did not fail";
        } catch (const FileError& error) {
            EXPECT_EQ(QString::fromUtf8(error.what()),
                      QStringLiteral("Datei %1 kann nicht erstellt werden").arg(Path("fnames.dat")));
        }
        EXPECT_EQ(ReadBytes(Path("fnames.dat")), old);
        EXPECT_EQ(Entries(), QStringList{QStringLiteral("fnames.dat")});
    }
    SaveFileAtomically(Path("fnames.dat"), "Eva\xB3\r\n");
    EXPECT_EQ(ReadBytes(Path("fnames.dat")), "Eva\xB3\r\n");
}

// A write past the file-size limit (ulimit -f), with SIGXFSZ ignored as the
// program has it: the save must fail like any other, cut short in the middle
// of its bytes, and leave the old file and no part of the new one.
TEST_F(FileIoTest, FileSizeLimitGivesTheWriteErrorAndKeepsTheOldFile) {
    const std::string old = "Anna\xB3\r\n";
    WriteBytes(Path("fnames.dat"), old);
    const std::string large(2 * kSaveChunkSize, 'x');
    const std::string report = test::InChildProcess([&]() -> std::string {
        std::signal(SIGXFSZ, SIG_IGN); // as main() sets it up
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = kSaveChunkSize + 100;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return "skip: cannot set a file size limit";
        try {
            SaveFileAtomically(Path("fnames.dat"), large);
            return "the save went through";
        } catch (const FileError&) {
        }
        if (ReadBytes(Path("fnames.dat")) != old || Entries() != QStringList{QStringLiteral("fnames.dat")})
            return "the old file did not stay as it was";
        // The limit must really cut a write short here, or nothing was tested.
        const QByteArray probe = QFile::encodeName(Path("probe"));
        const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const ssize_t written = fd >= 0 ? ::write(fd, large.data(), large.size()) : -1;
        ::close(fd);
        ::unlink(probe.constData());
        if (written == static_cast<ssize_t>(large.size()))
            return "skip: the file size limit does not cut writes short here";
        return "";
    });
    if (report.starts_with("skip: "))
        TAVOLIN_SKIP() << report;
    EXPECT_EQ(report, "");
    SaveFileAtomically(Path("fnames.dat"), large);
    EXPECT_EQ(ReadBytes(Path("fnames.dat")), large);
}

// A file's extended attributes by name, POSIX ACLs among them.
std::map<std::string, std::string> AttributesOf(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    std::string names(4096, '\0');
    const ssize_t size = ::listxattr(native.constData(), names.data(), names.size());
    std::map<std::string, std::string> attributes;
    for (std::size_t at = 0; size > 0 && at < static_cast<std::size_t>(size); at = names.find('\0', at) + 1) {
        const std::string name = names.c_str() + at;
        std::string value(4096, '\0');
        const ssize_t length = ::getxattr(native.constData(), name.c_str(), value.data(), value.size());
        value.resize(static_cast<std::size_t>(std::max<ssize_t>(length, 0)));
        attributes[name] = value;
    }
    return attributes;
}

// What the user set on a database survives its rewrite: owner and group
// (root may give both), mode, an ACL and another extended attribute. The
// file is a new one all the same: the rewrite stayed atomic.
TEST_F(FileIoTest, SaveKeepsOwnerGroupModeAndAttributes) {
    if (::geteuid() != 0)
        TAVOLIN_SKIP() << "only root can give a file to another owner";
    const QString path = Path("fnames.dat");
    WriteBytes(path, "Anna\xB3\r\n");
    const QByteArray native = QFile::encodeName(path);
    ASSERT_EQ(::chown(native.constData(), 4321, 8765), 0);
    ASSERT_EQ(::chmod(native.constData(), 0640), 0);
    if (::setxattr(native.constData(), "user.tavolin", "kept", 4, 0) != 0)
        TAVOLIN_SKIP() << "no user attributes on this file system";
    if (QProcess::execute(QStringLiteral("setfacl"), {QStringLiteral("-m"), QStringLiteral("u:1234:rw"), path}) != 0)
        TAVOLIN_SKIP() << "setfacl is missing or the file system has no ACLs";
    const std::map<std::string, std::string> attributes = AttributesOf(path);
    ASSERT_TRUE(attributes.contains("system.posix_acl_access"));
    struct stat before {};
    ASSERT_EQ(::stat(native.constData(), &before), 0);

    SaveFileAtomically(path, "Anna\xB3\r\nEva\xB3\r\n");
    struct stat after {};
    ASSERT_EQ(::stat(native.constData(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, 4321u);
    EXPECT_EQ(after.st_gid, 8765u);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(AttributesOf(path), attributes);
    EXPECT_EQ(ReadBytes(path), "Anna\xB3\r\nEva\xB3\r\n");
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("fnames.dat")});
}

// A shared folder, another user's file: a new file would belong to the user
// who saves it, so a member of the file's group gets a new file with the
// group and mode kept; a user outside the group, who could not give a new
// file that group, gets the file rewritten in place, owner and all.
TEST_F(FileIoTest, AnotherUsersFileKeepsItsGroup) {
    if (::geteuid() != 0)
        TAVOLIN_SKIP() << "acting as another user needs root";
    const QString path = Path("fnames.dat");
    const QByteArray native = QFile::encodeName(path);
    ASSERT_EQ(::chmod(QFile::encodeName(dir_.path()).constData(), 0777), 0);
    for (const bool member : {true, false}) {
        SCOPED_TRACE(member ? "a member of the group" : "outside the group");
        WriteBytes(path, "Anna\xB3\r\n");
        ASSERT_EQ(::chown(native.constData(), 4321, 8765), 0);
        ASSERT_EQ(::chmod(native.constData(), 0666), 0);
        struct stat before {};
        ASSERT_EQ(::stat(native.constData(), &before), 0);
        EXPECT_EQ(test::InChildProcess([&]() -> std::string {
                      const gid_t group = 8765;
                      if (::setgroups(member ? 1 : 0, &group) != 0 || ::setgid(1234) != 0 || ::setuid(1234) != 0)
                          return "cannot become user 1234";
                      SaveFileAtomically(path, "Anna\xB3\r\nEva\xB3\r\n");
                      return "";
                  }),
                  "");
        struct stat after {};
        ASSERT_EQ(::stat(native.constData(), &after), 0);
        EXPECT_EQ(ReadBytes(path), "Anna\xB3\r\nEva\xB3\r\n");
        EXPECT_EQ(after.st_gid, 8765u);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_uid, member ? 1234u : 4321u);
        EXPECT_EQ(after.st_ino == before.st_ino, !member);
        EXPECT_EQ(Entries(), QStringList{QStringLiteral("fnames.dat")});
    }
}

// A database that is a link (to a sync folder, say) stays a link: the file
// it points to is replaced, beside itself.
TEST_F(FileIoTest, SaveFollowsALinkToItsFile) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("sync")));
    WriteBytes(Path("sync/fnames.dat"), "Anna\xB3\r\n");
    ASSERT_EQ(::symlink("sync/fnames.dat", QFile::encodeName(Path("fnames.dat")).constData()), 0);
    SaveFileAtomically(Path("fnames.dat"), "Eva\xB3\r\n");
    EXPECT_EQ(QFile::symLinkTarget(Path("fnames.dat")), Path("sync/fnames.dat"));
    EXPECT_EQ(ReadBytes(Path("sync/fnames.dat")), "Eva\xB3\r\n");
    EXPECT_EQ(QDir(Path("sync")).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("fnames.dat")});
}

// Every way another program can change the file changes its identity; a
// file that is gone has none, and a link whose file is gone is an error
// (its sync folder may only be unmounted).
TEST_F(FileIoTest, IdentityTellsEveryChange) {
    const QString path = Path("fnames.dat");
    WriteBytes(path, "Anna\xB3\r\n");
    const QByteArray native = QFile::encodeName(path);
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"appended in place", [&] { WriteBytes(path, "Anna\xB3\r\nEva\xB3\r\n"); }},
        {"same size, another time",
         [&] {
             const std::array<timespec, 2> times = {timespec{0, UTIME_OMIT}, timespec{1000000000, 5}};
             ASSERT_EQ(::utimensat(AT_FDCWD, native.constData(), times.data(), 0), 0);
         }},
        {"replaced by another file",
         [&] {
             WriteBytes(Path("other"), "Anna\xB3\r\nIda\xB3\r\n");
             ASSERT_EQ(::rename(QFile::encodeName(Path("other")).constData(), native.constData()), 0);
         }},
        {"saved by the program", [&] { SaveFileAtomically(path, "Anna\xB3\r\nIda\xB3\r\n"); }},
        {"edited at the same size, its time put back",
         [&] {
             struct stat old {};
             ASSERT_EQ(::stat(native.constData(), &old), 0);
             std::this_thread::sleep_for(std::chrono::milliseconds(20)); // past the clock's resolution
             WriteBytes(path, "Anne\xB3\r\nIda\xB3\r\n");
             const std::array<timespec, 2> times = {old.st_atim, old.st_mtim};
             ASSERT_EQ(::utimensat(AT_FDCWD, native.constData(), times.data(), 0), 0);
         }},
    };
    for (const auto& [what, change] : changes) {
        const std::optional<FileIdentity> before = IdentityOf(path);
        ASSERT_TRUE(before) << what;
        EXPECT_EQ(IdentityOf(path), before) << what;
        change();
        EXPECT_NE(IdentityOf(path), before) << what;
        EXPECT_EQ(ReadFile(path).identity, IdentityOf(path)) << what;
    }
    const FileIdentity saved = SaveFileAtomically(path, "Eva\xB3\r\n");
    EXPECT_EQ(IdentityOf(path), saved);

    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(IdentityOf(path), std::nullopt);
    ASSERT_EQ(::symlink("unmounted/fnames.dat", native.constData()), 0);
    EXPECT_THROW(IdentityOf(path), FileError);
    EXPECT_THROW(IdentityOf(dir_.path()), FileError);
}

// Runs the checks in a child process that has no privilege over the files
// (a user namespace without a mapping): permission bits hold, also for root.
std::string WithoutPrivilege(const std::function<std::string()>& checks) {
    return test::InChildProcess([&]() -> std::string {
        if (::unshare(CLONE_NEWUSER) != 0)
            return "skip: no user namespace here (" + std::string(std::strerror(errno)) + ")";
        return checks();
    });
}

// A database with a second hard link is written in place, so both links
// see the names: only extended, and a failed write cuts off what it added.
// (An unwritable folder and a protected file: e2e.never_lose_*.)
TEST_F(FileIoTest, LinkedFileIsExtendedInPlace) {
    const QString path = Path("fnames.dat");
    const std::string old = "Anna\xB3\nBerta\xB3\n";
    const NewContent grow{"whole\r\n", [](std::string_view present) { return std::string(present.size(), 'x'); }};
    WriteBytes(path, old);
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(Path("link.dat")).constData()), 0);
    SaveFile(path, grow);
    EXPECT_EQ(ReadBytes(Path("link.dat")), old + std::string(old.size(), 'x'));
    const std::string twice = ReadBytes(path);
    int writes = 0;
    {
        const test::ScopedSaveFaults faults(
            [&](SaveStep step, const FilePath&) { return step == SaveStep::Write && ++writes == 2; });
        EXPECT_THROW(SaveFile(path, {{}, [](std::string_view) { return std::string(3 * kSaveChunkSize, 'y'); }}),
                     FileError);
    }
    EXPECT_EQ(ReadBytes(path), twice);

    // A rewrite that does not extend it, failing at any step, puts the old
    // bytes back.
    test::SaveFault fault;
    const auto rewrite = [&](int) {
        try {
            SaveFile(path, NewContent{"Eva\xB3\n" + std::string(2 * kSaveChunkSize, 'z'), {}});
        } catch (const FileError&) {
        }
    };
    test::SweepSaveSteps(fault, rewrite, [&](int, SaveStep) { EXPECT_EQ(ReadBytes(Path("link.dat")), twice); });
}

// Where a database is written in place (a second hard link), a patch writes
// its bytes only: a failure at any step puts them back, and a patch that no
// longer fits the file writes nothing.
TEST_F(FileIoTest, PatchInPlaceWritesOnlyItsBytes) {
    const std::string old = "Anna\xB3\r\nBerta\xB3\r\nCleo\xB3\r\n";
    const auto blank = [](std::string before) {
        return NewContent{"whole", {}, false, NewContent::Patch{7, std::move(before), "\r\n\r\n\r\n\r\n"}};
    };
    WriteBytes(Path("fnames.dat"), old);
    ASSERT_EQ(::link(Native("fnames.dat").constData(), Native("link.dat").constData()), 0);
    test::SaveFault fault;
    const auto save = [&](int) {
        try {
            SaveFile(Path("fnames.dat"), blank("Berta\xB3\r\n"));
        } catch (const FileError&) {
            return;
        }
        EXPECT_FALSE(fault.Fired()) << "a failed step gave no error";
    };
    const auto kept = [&](int, SaveStep) { EXPECT_EQ(ReadBytes(Path("link.dat")), old); };
    EXPECT_EQ(test::SweepSaveSteps(fault, save, kept), (std::vector<SaveStep>{SaveStep::Write, SaveStep::Sync}));
    const std::string blanked = "Anna\xB3\r\n\r\n\r\n\r\n\r\nCleo\xB3\r\n";
    EXPECT_EQ(ReadBytes(Path("link.dat")), blanked);
    for (const char* before : {"Berta\xB3\r\n", "\r\n"}) // no longer there; not as long as the blank
        EXPECT_THROW(SaveFile(Path("fnames.dat"), blank(before)), FileError);
    EXPECT_EQ(ReadBytes(Path("link.dat")), blanked);
}

// A private file is a regular file of the user's own, made 0600, or it is
// refused: a link at its path (whose file stays as it is), a folder, another
// user's file. A private folder is the user's own and made 0700, or refused.
TEST_F(FileIoTest, PrivateFilesAndFoldersAreTheUsersAlone) {
    if (::geteuid() != 0)
        TAVOLIN_SKIP() << "only root can give a file to another owner";
    const NewContent content{"neu", {}, false, std::nullopt, true};
    for (const char* name : {"target.dat", "other.dat"})
        WriteBytes(Path(name), "alt");
    for (const char* name : {"folder.dat", "own"})
        ASSERT_TRUE(QDir().mkdir(Path(name)));
    for (const auto& [name, mode] :
         {std::pair{"target.dat", 0644}, std::pair{"folder.dat", 0777}, std::pair{"own", 0755}})
        ASSERT_EQ(::chmod(Native(name).constData(), mode), 0) << name;
    for (const char* name : {"other.dat", "folder.dat"})
        ASSERT_EQ(::chown(Native(name).constData(), 12345, 12345), 0);
    ASSERT_EQ(::symlink("target.dat", Native("link.dat").constData()), 0);
    ASSERT_EQ(::symlink("own", Native("own.link").constData()), 0);
    for (const char* name : {"link.dat", "own", "other.dat"}) {
        EXPECT_THROW(SaveFile(Path(name), content), NotPrivateError) << name;
        EXPECT_THROW(ReadPrivateFile(Path(name)), NotPrivateError) << name;
    }
    for (const char* name : {"own.link", "target.dat", "folder.dat"})
        EXPECT_THROW(MakePrivateFolder(Path(name)), NotPrivateError) << name;
    EXPECT_EQ(ReadBytes(Path("target.dat")) + ReadBytes(Path("other.dat")), "altalt");
    for (const char* name : {"own", "made/new"}) {
        MakePrivateFolder(Path(name));
        EXPECT_EQ(Mode(name), 0700u) << name;
    }
    EXPECT_EQ(Mode("folder.dat"), 0777u);
    for (const char* name : {"target.dat", "new.dat"}) {
        SaveFile(Path(name), content);
        EXPECT_EQ(ReadPrivateFile(Path(name)).bytes, "neu");
        EXPECT_THROW(ReadPrivateFile(Path(name), 2), FileTooLargeError);
        EXPECT_EQ(Mode(name), 0600u);
    }
    ASSERT_EQ(::link(Native("new.dat").constData(), Native("second.dat").constData()), 0);
    EXPECT_THROW(SaveFile(Path("new.dat"), content), FileError); // never written in place
    EXPECT_TRUE(QString::fromStdString(NotPrivateErrorText(Path("own"))).startsWith(Path("own")));
}

// What is in the way is renamed to a free name beside it: a link as itself.
TEST_F(FileIoTest, RenameAsideTakesAFreeName) {
    WriteBytes(Path("x.beiseite"), "alt");
    ASSERT_EQ(::symlink("x.beiseite", Native("x").constData()), 0);
    EXPECT_EQ(RenameAside(Path("x")), FilePath(Path("x.beiseite-2")));
    EXPECT_EQ(QFile::symLinkTarget(Path("x.beiseite-2")), Path("x.beiseite"));
    EXPECT_EQ(ReadBytes(Path("x.beiseite")), "alt");
    EXPECT_TRUE(RenameAside(Path("x")).Empty());
}

// What killed saves of the file left behind goes with its next save, once
// old enough; no link, no other name (a backup of the user's). The names of older versions go only
// once no save of theirs can still be writing them.
TEST_F(FileIoTest, LeftoversOfKilledSavesGo) {
    for (const char* name : {".fnames.dat.tavolin-abc12.tmp", ".fnames.dat.tavolin-abc12345.tmp", ".fnames.dat.bak",
                             ".tavolin.old1", ".fnames.dat.tavolin-new1.tmp", ".tavolin.new1"})
        WriteBytes(Path(name), "x");
    ASSERT_EQ(::symlink(".fnames.dat.bak", Native(".fnames.dat.tavolin-lnk1.tmp").constData()), 0);
    for (const char* name : {".fnames.dat.tavolin-abc12.tmp", ".fnames.dat.tavolin-abc12345.tmp", ".fnames.dat.bak",
                             ".tavolin.old1", ".fnames.dat.tavolin-lnk1.tmp"})
        MakeOld(name, 1000);
    SaveFileAtomically(Path("fnames.dat"), "Anna\xB3\r\n");
    QStringList entries = {QStringLiteral(".fnames.dat.bak"),
                           QStringLiteral(".fnames.dat.tavolin-abc12345.tmp"),
                           QStringLiteral(".fnames.dat.tavolin-lnk1.tmp"),
                           QStringLiteral(".fnames.dat.tavolin-new1.tmp"),
                           QStringLiteral(".tavolin.new1"),
                           QStringLiteral("fnames.dat")};
    EXPECT_EQ(Entries(), entries);
    RemoveLeftoverTemporaries(Path("fnames.dat"), std::chrono::seconds(0));
    entries.removeAt(3);
    EXPECT_EQ(Entries(), entries);
}

// One copy holds the lock, another waits and gives up with its message; a
// lock left behind by a copy that crashed is taken over at once.
TEST_F(FileIoTest, LockIsExclusiveAndOutlivesNoCrash) {
    const QString path = Path("fnames.dat");
    {
        const FileLock first(path);
        EXPECT_TRUE(test::LockFileHeldHere(path));
        try {
            const FileLock second(path, std::chrono::milliseconds(100));
            ADD_FAILURE() << "a second lock was taken";
        } catch (const FileError& error) {
            EXPECT_EQ(error.what(), LockedErrorText(path));
        }
    }
    EXPECT_TRUE(Entries().isEmpty());
    EXPECT_EQ(test::InChildProcess([&]() -> std::string {
                  auto* crashed = new QLockFile(path + QStringLiteral(".lock")); // never unlocked
                  return crashed->tryLock(0) ? "" : "no lock";
              }),
              "");
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("fnames.dat.lock")});
    const FileLock third(path, std::chrono::milliseconds(100));
    EXPECT_TRUE(test::LockFileHeldHere(path));
}

// A lock file that cannot serve is named at once, not taken for another
// running copy: a folder or a link in its place, or a file left behind that
// cannot be removed. Where no lock file can be made, the file itself is
// locked: a second copy still waits and gives up.
TEST_F(FileIoTest, LockFileThatCannotServeIsNamedAndTheFileItselfIsLocked) {
    const QString path = Path("fnames.dat");
    const FilePath lockFile(path + QStringLiteral(".lock"));
    const auto failure = [&] {
        try {
            const FileLock lock(path, std::chrono::milliseconds(100));
            return std::string("locked");
        } catch (const FileError& error) {
            return std::string(error.what());
        }
    };
    WriteBytes(path, "Anna\xB3\r\n");
    ASSERT_EQ(::mkdir(lockFile.CStr(), 0700), 0);
    EXPECT_EQ(failure(), UnusableLockErrorText(lockFile, false));
    ASSERT_EQ(::rmdir(lockFile.CStr()), 0);
    ASSERT_EQ(::symlink("nowhere", lockFile.CStr()), 0);
    EXPECT_EQ(failure(), UnusableLockErrorText(lockFile, false));
    ASSERT_EQ(::unlink(lockFile.CStr()), 0);

    const QByteArray folder = QFile::encodeName(dir_.path());
    ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
    const std::string report = WithoutPrivilege([&]() -> std::string {
        std::string failures;
        {
            const FileLock first(path);
            if (test::LockFileHeldHere(path))
                return "skip: a lock file could be made";
            if (failure() != LockedErrorText(path))
                failures += "a second copy took the lock; ";
        }
        if (failure() != "locked")
            failures += "the lock was kept; ";
        return failures;
    });
    ::chmod(folder.constData(), 0700);
    if (report.starts_with("skip: "))
        TAVOLIN_SKIP() << report;
    EXPECT_EQ(report, "");

    WriteBytes(lockFile.Display(), "999999999\ntavolin\n" + QSysInfo::machineHostName().toStdString() + "\n");
    ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
    EXPECT_EQ(WithoutPrivilege(failure), UnusableLockErrorText(lockFile, true));
    ::chmod(folder.constData(), 0700);
}

// A folder unpacked from another system whose name holds the Windows-1252
// byte E4 ("ä"), which no QString can hold: its files are read, saved and
// locked by the bytes of their path, and messages show the name decoded.
TEST_F(FileIoTest, FolderNameThatIsNoUtf8IsReachedByItsBytes) {
    const QByteArray folder = QFile::encodeName(dir_.path()) + "/Spiel\xE4";
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    const FilePath path = FilePath::FromNative(folder + "/fnames.dat");
    EXPECT_EQ(path.Display(), dir_.path() + QStringLiteral("/Spiel\u00E4/fnames.dat"));
    EXPECT_NE(FilePath(path.Display()), path);

    SaveFileAtomically(path, "Anna\xB3\r\n");
    EXPECT_EQ(ReadFile(path).bytes, "Anna\xB3\r\n");
    EXPECT_TRUE(IdentityOf(path));
    const QByteArray lockFile = folder + "/fnames.dat.lock";
    struct stat info {};
    {
        const FileLock lock(path);
        EXPECT_TRUE(test::LockFileHeldHere(path));
        EXPECT_EQ(::stat(lockFile.constData(), &info), 0);
        EXPECT_THROW(FileLock(path, std::chrono::milliseconds(50)), FileError);
    }
    EXPECT_NE(::stat(lockFile.constData(), &info), 0);
    std::filesystem::remove_all(folder.constData()); // QTemporaryDir cannot name it
}

TEST_F(FileIoTest, SaveIntoMissingFolderFails) {
    const QString path = Path("no/such/folder/fnames.dat");
    EXPECT_THROW(SaveFileAtomically(path, "x"), FileError);
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
} // namespace tavolin
