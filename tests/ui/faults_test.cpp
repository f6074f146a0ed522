#include "fileio/fileio.h"
#include "names/database.h"
#include "settings/record.h"
#include "support/folder_state.h"
#include "support/form_fixture.h"
#include "support/form_peer.h"
#include "support/list_strings.h"
#include "support/save_faults.h"
#include "support/window_parts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tavolin::test {
namespace {

using namespace Qt::StringLiterals;
using Message = ScriptedPlatform::Message;

Message CreateError(const FilePath& path) {
    return GeneralError(CreateErrorText(path));
}

// A female database that a save writes in several pieces.
std::string LargeDatabase() {
    std::string bytes;
    for (int i = 0; bytes.size() < 2 * kSaveChunkSize + 1000; ++i)
        bytes += "Name" + std::to_string(i) + "\xB3\r\n";
    return bytes;
}

class SaveFaultTest : public FormFixture {
protected:
    void SetUp() override {
        FormFixture::SetUp();
        SetProgramFile(u"fnames.dat"_s, LargeDatabase());
    }

    void CreateShownForm() {
        CreateForm();
        form_->show();
    }
    void Add(const std::string& name) { AddName(true, QString::fromLatin1(name)); }
    void LoadForeign(const std::string& bytes) { ClickLoad(ForeignFile("foreign.dat", bytes)); }

    // The female file holds exactly the lists in memory: the next start reads
    // every name the program knows.
    void ExpectFemaleFileHoldsTheLists() {
        const QString path = FormPeer::FemaleDatabasePath(*form_);
        EXPECT_EQ(ReadBytes(path), FormPeer::Databases(*form_).female.Lines().FileBytes());
        EXPECT_EQ(NamesInFile(path), NamesOf(FormPeer::Databases(*form_).female.Names()));
    }
};

// What a failed step of an add or a merge reports through the general
// error display: the lock held by another copy, the changed file that cannot
// be read, or the file that cannot be written.
std::string ErrorTextOf(SaveStep step, const FilePath& path) {
    return step == SaveStep::Lock   ? LockedErrorText(path)
           : step == SaveStep::Read ? OpenErrorText(path)
                                    : CreateErrorText(path);
}

Message ErrorOf(SaveStep step, const FilePath& path) {
    return GeneralError(ErrorTextOf(step, path));
}

// Another program appends a name to the file before every add, so an add
// takes the lock, reads the changed file and saves; each of these steps
// fails in turn (the save's: the creation of the new file, each piece
// written, sync, the replacement). The file stays byte for byte as the other
// program left it, with no leftover (no lock file either); the error reaches
// the general error display and the window goes on. Wherever it failed, the
// name is kept, unsaved and in the recovery file; the next add writes every
// name, the other program's included, says so and removes the recovery file.
TEST_F(SaveFaultTest, EveryFailingStepOfAnAddKeepsTheFileAndEveryName) {
    CreateShownForm();
    platform_.messages.clear();
    const QString path = FormPeer::FemaleDatabasePath(*form_);
    std::string before;
    FolderState folder;
    QStringList count;
    std::vector<SaveStep> failed;
    const std::vector<SaveStep> steps = SweepSaveSteps(
        saveFault_,
        [&](int n) {
            WriteBytes(path, ReadBytes(path) + "Outside" + std::to_string(n) + "\xB3\r\n");
            before = ReadBytes(path);
            folder = StateOf(programDir_.path());
            count = CountCaptions();
            Add("Fault" + std::to_string(n));
        },
        [&](int n, SaveStep step) {
            const std::string tag = std::to_string(n);
            SCOPED_TRACE("step " + tag);
            failed.push_back(step);
            EXPECT_EQ(ReadBytes(path), before);
            EXPECT_EQ(StateOf(programDir_.path()), folder);
            EXPECT_EQ(platform_.messages,
                      std::vector<Message>{
                          KeptError(ErrorTextOf(step, path), FormPeer::Databases(*form_).female.RecoveryPath())});
            EXPECT_TRUE(FormPeer::Databases(*form_).female.Names().contains("Fault" + tag));
            EXPECT_EQ(FormPeer::Databases(*form_).female.UnsavedCount(), 1u);
            EXPECT_EQ(RecoveryFiles().size(), 1);
            EXPECT_EQ(CountCaptions(), count);
            EXPECT_TRUE(form_->isVisible());

            platform_.messages.clear();
            Add("Next" + tag);
            EXPECT_EQ(platform_.messages, std::vector<Message>{Recovered(1)});
            platform_.messages.clear();
            EXPECT_TRUE(RecoveryFiles().isEmpty());
            ExpectFemaleFileHoldsTheLists();
            for (const std::string& name : {"Outside" + tag, "Next" + tag})
                EXPECT_TRUE(FormPeer::Databases(*form_).female.Names().contains(name)) << name;
        });
    EXPECT_EQ(steps, StepsOfUpdate(FormPeer::Databases(*form_).female.Lines().FileBytes().size(), true));
    EXPECT_EQ(failed, steps);
    EXPECT_GE(std::count(steps.begin(), steps.end(), SaveStep::Write), 3);
    EXPECT_TRUE(platform_.messages.empty());
    ExpectFemaleFileHoldsTheLists();
}

// The same for a merge into a file nobody changed: no success box, the
// counts stay, and the next merge writes the names the failed one kept.
TEST_F(SaveFaultTest, EveryFailingStepOfAMergeKeepsTheOldFile) {
    CreateShownForm();
    platform_.messages.clear();
    const QString path = FormPeer::FemaleDatabasePath(*form_);
    std::string before;
    FolderState folder;
    QStringList count;
    std::vector<SaveStep> failed;
    const std::vector<SaveStep> steps = SweepSaveSteps(
        saveFault_,
        [&](int n) {
            const std::string tag = std::to_string(n);
            LoadForeign("Name1\xB3Merged" + tag + "a\xB3\r\nMerged" + tag + "b\xB3");
            before = ReadBytes(path);
            folder = StateOf(programDir_.path());
            count = CountCaptions();
            ClickMerge(true);
        },
        [&](int n, SaveStep step) {
            SCOPED_TRACE("step " + std::to_string(n));
            failed.push_back(step);
            EXPECT_EQ(ReadBytes(path), before);
            EXPECT_EQ(StateOf(programDir_.path()), folder);
            EXPECT_EQ(platform_.messages, std::vector<Message>{ErrorOf(step, path)});
            EXPECT_EQ(CountCaptions(), count);
            for (const char* suffix : {"a", "b"})
                EXPECT_TRUE(FormPeer::Databases(*form_).female.Names().contains("Merged" + std::to_string(n) + suffix));
            EXPECT_EQ(RecoveryFiles().size(), 1);

            platform_.messages.clear();
            ClickMerge(true);
            EXPECT_EQ(platform_.messages, (std::vector<Message>{MergeSuccess(0), Recovered(2)}));
            EXPECT_TRUE(RecoveryFiles().isEmpty());
            platform_.messages.clear();
            EXPECT_EQ(CountCaptions(), CountCaptions(FormPeer::Databases(*form_).female.Names().size(), 2));
            ExpectFemaleFileHoldsTheLists();
        });
    EXPECT_EQ(steps, StepsOfUpdate(FormPeer::Databases(*form_).female.Lines().FileBytes().size(), false));
    EXPECT_EQ(failed, steps);
    EXPECT_EQ(platform_.messages, std::vector<Message>{MergeSuccess(2)});
    ExpectFemaleFileHoldsTheLists();
}

// Names whose write failed are written when the window closes. When that
// fails too, the close asks, with how many names of which database are not
// saved and where they are kept: "Nein" keeps the window open (the user can
// make room), "Ja" closes knowingly, and the next start writes them.
TEST_F(SaveFaultTest, UnsavedNamesAreSavedOrAskedForAtCloseAndWrittenAtTheNextStart) {
    const auto failingOpen = [this] { saveFault_.FailWhen([](SaveStep step) { return step == SaveStep::Open; }); };
    CreateShownForm();
    const QString female = FormPeer::FemaleDatabasePath(*form_);
    const QString male = FormPeer::MaleDatabasePath(*form_);
    const auto kept = [&](const QString& database, int count, const char* which) {
        const QString file =
            QDir(RecoveryFolder()).filePath(RecoveryFiles().filter(QFileInfo(database).fileName()).value(0));
        return u"Nicht gespeichert: %1 Name(n) der %2 Namen-Datenbank (Datei %3 kann nicht erstellt werden). Sie "
               u"sind in %4 gesichert; Tavolin trägt sie beim nächsten Start ein."_s.arg(count)
                   .arg(QString::fromUtf8(which), database, file);
    };
    LoadForeign("Otto\xB3Udo\xB3");
    failingOpen();
    Add("Eva");
    ClickMerge(false);
    platform_.messages.clear();
    platform_.yesNoAnswers = {false};
    EXPECT_FALSE(form_->close());
    EXPECT_TRUE(form_->isVisible());
    const Message question{kept(female, 1, "weiblichen") + u'\n' + kept(male, 2, "männlichen") +
                               u"\n\nTrotzdem beenden?"_s,
                           u"Namen nicht gespeichert"_s, MessageIcon::Exclamation};
    EXPECT_EQ(platform_.questions, std::vector<Message>{question});
    EXPECT_TRUE(platform_.messages.empty());
    EXPECT_FALSE(Exists(SettingsPath()));

    saveFault_.Clear();
    platform_.questions.clear();
    EXPECT_TRUE(form_->close());
    EXPECT_TRUE(platform_.questions.empty());
    ExpectFemaleFileHoldsTheLists();
    EXPECT_EQ(ReadBytes(male), std::string(kMaleBytes) + "Otto\xB3\r\nUdo\xB3\r\n");
    EXPECT_TRUE(Exists(SettingsPath()));
    EXPECT_TRUE(RecoveryFiles().isEmpty());

    CreateShownForm();
    failingOpen();
    Add("Ida");
    Control<QAction>("Ws")->trigger(); // no settings to write either
    platform_.yesNoAnswers = {true};
    EXPECT_TRUE(form_->close());
    EXPECT_EQ(platform_.questions.size(), 1u);
    EXPECT_FALSE(form_->isVisible());
    saveFault_.Clear();
    EXPECT_EQ(ReadBytes(female).find("Ida"), std::string::npos);

    platform_.messages.clear();
    CreateShownForm();
    EXPECT_EQ(platform_.messages, std::vector<Message>{Recovered(1)});
    EXPECT_NE(ReadBytes(female).find("Ida\xB3"), std::string::npos);
    EXPECT_TRUE(RecoveryFiles().isEmpty());
    ExpectFemaleFileHoldsTheLists();
}

// The settings file written at close: a failing step keeps the old file and
// is reported, and the window closes all the same; a close that gets through
// writes the record.
TEST_F(SaveFaultTest, EveryFailingStepOfTheSettingsAtCloseKeepsTheOldFile) {
    const QString path = SettingsPath();
    // Ignored at the start, so the record written at close differs from it.
    const std::string old = "NOFORMAT\r\n1\r\n2\r\n3\r\nArial\r\n12\r\n";
    WriteBytes(path, old);
    CreateShownForm();
    const FilePath shownPath = JoinPath(FormPeer::ProgramDir(*form_), kSettingsFile);
    const FolderState folder = StateOf(programDir_.path());
    std::vector<SaveStep> failed;
    const std::vector<SaveStep> steps = SweepSaveSteps(
        saveFault_, [&](int) { form_->close(); },
        [&](int n, SaveStep step) {
            SCOPED_TRACE("step " + std::to_string(n));
            failed.push_back(step);
            EXPECT_FALSE(form_->isVisible());
            form_->show();
            EXPECT_EQ(ReadBytes(path), old);
            EXPECT_EQ(StateOf(programDir_.path()), folder);
            EXPECT_EQ(platform_.messages, std::vector<Message>{CreateError(shownPath)});
            platform_.messages.clear();
        });
    const std::string record = FileOf(kDefaultRecord);
    EXPECT_EQ(steps, StepsOfSave(record.size()));
    EXPECT_EQ(failed, steps);
    EXPECT_FALSE(form_->isVisible());
    EXPECT_EQ(ReadBytes(path), record);
    EXPECT_TRUE(platform_.messages.empty());
}

// Makes a folder immutable (chattr +i) while it lives: then nobody, root
// included, can create, rename or remove a file in it.
class ImmutableFolder final {
public:
    explicit ImmutableFolder(const QString& path)
        : fd_(::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY)) {
        if (fd_ < 0 || ::ioctl(fd_, FS_IOC_GETFLAGS, &flags_) != 0) {
            failure_ = std::strerror(errno);
            return;
        }
        int immutable = flags_ | FS_IMMUTABLE_FL;
        if (::ioctl(fd_, FS_IOC_SETFLAGS, &immutable) != 0)
            failure_ = std::strerror(errno);
        else
            set_ = true;
    }
    ~ImmutableFolder() { Release(); }
    ImmutableFolder(const ImmutableFolder&) = delete;
    ImmutableFolder& operator=(const ImmutableFolder&) = delete;

    // Why the folder could not be made immutable; empty when it was.
    const std::string& Failure() const { return failure_; }
    void Release() {
        if (set_)
            ::ioctl(fd_, FS_IOC_SETFLAGS, &flags_);
        set_ = false;
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
    int flags_ = 0;
    bool set_ = false;
    std::string failure_;
};

// A folder that takes no new file, as root too (immutable: nothing can be
// created, renamed or removed in it), with databases that can still be
// written: adds and merges rewrite them in place, so every database keeps
// its inode and nothing new appears in the folder (no lock file can be made
// there either). Only the settings file, which is not there yet, cannot be
// written: the close says so and the window closes; a close after the folder
// takes files again writes it.
TEST_F(SaveFaultTest, ImmutableProgramFolderIsWrittenInPlace) {
    CreateShownForm();
    platform_.messages.clear();
    LoadForeign("Merged\xB3");
    const QString path = FormPeer::FemaleDatabasePath(*form_);
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    FolderState folder = StateOf(programDir_.path());

    ImmutableFolder lock(programDir_.path());
    if (!lock.Failure().empty())
        TAVOLIN_SKIP() << "cannot make the temporary folder immutable here (" << lock.Failure()
                       << "): needs root (CAP_LINUX_IMMUTABLE) and a file system with chattr +i";
    if (QFile probe(ProgramFile(u"probe"_s)); probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        TAVOLIN_SKIP() << "a file could still be created in the immutable folder";
    }

    Add("Eva");
    ClickMerge(true);
    EXPECT_TRUE(form_->close());
    EXPECT_FALSE(form_->isVisible());
    EXPECT_EQ(platform_.messages,
              (std::vector<Message>{MergeSuccess(1),
                                    ErrorOf(SaveStep::Commit, JoinPath(FormPeer::ProgramDir(*form_), kSettingsFile))}));
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    folder[kFemaleDatabaseFile.toStdString()] = StateOf(programDir_.path())[kFemaleDatabaseFile.toStdString()];
    EXPECT_EQ(StateOf(programDir_.path()), folder);
    for (const char* name : {"Eva", "Merged"})
        EXPECT_TRUE(FormPeer::Databases(*form_).female.Names().contains(name)) << name;
    ExpectFemaleFileHoldsTheLists();

    lock.Release();
    platform_.messages.clear();
    form_->show();
    EXPECT_TRUE(form_->close());
    EXPECT_TRUE(platform_.messages.empty());
    EXPECT_TRUE(Exists(SettingsPath()));
}

// The user's folder holds the files for a system-wide install (databases
// shipped elsewhere, none beside the program), also for root, and for a
// program folder nobody may write to; the first start copies what the user
// lacks, naming a folder it cannot make, and never a file the user has.
// Files copied out of the program folder are announced once.
TEST_F(SaveFaultTest, SystemWideOrUnwritableProgramFolderLeavesTheFilesToTheUser) {
    SetProgramFile(u"fnames.dat"_s, std::nullopt);
    SetProgramFile(u"mnames.dat"_s, std::nullopt);
    const QString shipped = dataFolders_.shipped.Display();
    const QString user = dataFolders_.user.Display();
    ASSERT_TRUE(QDir().mkpath(shipped));
    WriteBytes(shipped + u"/mnames.dat"_s, kMaleBytes);
    WriteBytes(dataRoot_.filePath(u"home"_s), ""); // a file where the home folder belongs
    CreateForm();
    ASSERT_FALSE(platform_.messages.empty());
    EXPECT_EQ(platform_.messages.front(), CreateError(JoinPath(dataFolders_.user, kMaleDatabaseFile)));

    ASSERT_TRUE(QFile::remove(dataRoot_.filePath(u"home"_s)) && QDir().mkpath(user));
    WriteBytes(user + u"/fnames.dat"_s, "Eva\xB3\r\n");
    CreateForm();
    EXPECT_EQ(FormPeer::ProgramDir(*form_), user);
    EXPECT_EQ(CountCaptions(), CountCaptions(1, 2));
    EXPECT_TRUE(StateOf(programDir_.path()).empty());
    SetProgramFile(u"fnames.dat"_s, kFemaleBytes);
    WriteBytes(SettingsPath(), "0\r\n");
    {
        ImmutableFolder lock(programDir_.path());
        if (!lock.Failure().empty())
            TAVOLIN_SKIP() << "cannot make the program folder immutable (" << lock.Failure() << "): needs root";
        platform_.messages.clear();
        CreateForm();
        EXPECT_EQ(FormPeer::ProgramDir(*form_), user);
        EXPECT_EQ(CountCaptions(), CountCaptions(1, 2));
        EXPECT_TRUE(platform_.messages.empty());
        ASSERT_TRUE(QFile::remove(user + u"/fnames.dat"_s));
        for (int start = 0; start < 2; ++start) {
            CreateForm();
            EXPECT_EQ(CountCaptions(), CountCaptions(3, 2));
            EXPECT_EQ(ReadBytes(user + u"/tavolin.ini"_s), "0\r\n");
            ASSERT_EQ(platform_.messages.size(), 1u);
            EXPECT_TRUE(platform_.messages[0].text.contains(user)) << platform_.messages[0].text.toStdString();
        }
    }
    SetProgramFile(u"fnames.dat"_s, std::nullopt);
    ASSERT_TRUE(QDir(shipped).removeRecursively());
    ImmutableFolder lock(programDir_.path());
    CreateForm();
    EXPECT_EQ(FormPeer::ProgramDir(*form_), user);
}

} // namespace
} // namespace tavolin::test
