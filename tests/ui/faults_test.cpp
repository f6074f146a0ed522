#include "fileio/fileio.h"
#include "names/database.h"
#include "settings/record.h"
#include "support/folder_state.h"
#include "support/form_fixture.h"
#include "support/list_strings.h"
#include "support/save_faults.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

namespace tavolin::test {
namespace {

using namespace Qt::StringLiterals;
using Message = ScriptedPlatform::Message;
using Strings = std::vector<std::string>;

Message CreateError(const QString& path) {
    return {QString::fromUtf8(CreateErrorText(path)) + u'.', u"Tavolin 4.2"_s, MessageIcon::Stop};
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
        ASSERT_TRUE(foreignDir.isValid());
        SetProgramFile(u"fnames.dat"_s, LargeDatabase());
    }
    void TearDown() override {
        SetSaveFaultHookForTesting({});
        FormFixture::TearDown();
    }

    void Add(const std::string& name) {
        Control<QRadioButton>("RadioButton1")->click();
        Control<QLineEdit>("Edit2")->setText(QString::fromLatin1(name));
        Control<QPushButton>("Button2")->click();
    }
    void LoadForeign(const std::string& bytes) {
        const QString path = foreignDir.filePath(u"foreign.dat"_s);
        WriteBytes(path, bytes);
        platform.fileAnswers.push_back(path);
        Control<QPushButton>("Button5")->click();
    }
    void MergeIntoFemale() {
        Control<QRadioButton>("RadioGroup2Item0")->setChecked(true);
        Control<QPushButton>("Button6")->click();
    }
    QString FemaleCount() { return Control<QLabel>("Panel2")->text(); }
    static Message MergeSuccess(int added) {
        return {u"Die Verschmelzung der Datenbanken war erfolgreich. Es wurde(n) "_s + QString::number(added) +
                    u" neue(r) Name(n) in die weibliche Namen-Datenbank eingetragen."_s,
                u"Erfolgreich"_s, MessageIcon::Information};
    }

    // The female file holds exactly the lists in memory: the next start reads
    // every name the program knows.
    void ExpectFemaleFileHoldsTheLists() {
        const QString path = form->FemaleDatabasePath();
        EXPECT_EQ(ReadBytes(path), form->Lists().FemaleLines.fileBytes());
        NameList reread;
        ParseNameLines(ReadNameFile(path), reread);
        EXPECT_EQ(NamesOf(reread), NamesOf(form->Lists().FemaleNames));
    }

    QTemporaryDir foreignDir;
};

// Each step of the rewrite after an add fails in turn (the creation of the
// new file, each piece written, flush, sync, the replacement): the old file
// stays byte for byte with no leftover, the error reaches the general error
// display, the window goes on, and the next add writes every name it knows.
TEST_F(SaveFaultTest, EveryFailingStepOfAnAddKeepsTheOldFile) {
    CreateForm();
    form->show();
    platform.messages.clear();
    const QString path = form->FemaleDatabasePath();
    std::string before;
    FolderState folder;
    QString count;
    std::vector<SaveStep> failed;
    const std::vector<SaveStep> steps = SweepSaveSteps(
        [&](int n) {
            before = ReadBytes(path);
            folder = StateOf(programDir.path());
            count = FemaleCount();
            Add("Fault" + std::to_string(n));
        },
        [&](int n, SaveStep step) {
            SCOPED_TRACE("step " + std::to_string(n));
            failed.push_back(step);
            EXPECT_EQ(ReadBytes(path), before);
            EXPECT_EQ(StateOf(programDir.path()), folder);
            EXPECT_EQ(platform.messages, std::vector<Message>{CreateError(path)});
            EXPECT_TRUE(form->Lists().FemaleNames.contains("Fault" + std::to_string(n)));
            EXPECT_EQ(FemaleCount(), count);
            EXPECT_TRUE(form->isVisible());

            platform.messages.clear();
            Add("Next" + std::to_string(n));
            EXPECT_TRUE(platform.messages.empty());
            ExpectFemaleFileHoldsTheLists();
        });
    EXPECT_EQ(steps, StepsOfSave(form->Lists().FemaleLines.fileBytes().size()));
    EXPECT_EQ(failed, steps);
    EXPECT_GE(std::count(steps.begin(), steps.end(), SaveStep::Write), 3);
    EXPECT_TRUE(platform.messages.empty());
    ExpectFemaleFileHoldsTheLists();
}

// The same for the rewrite after a merge: no success box, the counts stay,
// and the next merge writes the names the failed one added.
TEST_F(SaveFaultTest, EveryFailingStepOfAMergeKeepsTheOldFile) {
    CreateForm();
    form->show();
    platform.messages.clear();
    const QString path = form->FemaleDatabasePath();
    std::string before;
    FolderState folder;
    QString count;
    std::vector<SaveStep> failed;
    const std::vector<SaveStep> steps = SweepSaveSteps(
        [&](int n) {
            const std::string tag = std::to_string(n);
            LoadForeign("Name1\xB3Merged" + tag + "a\xB3\r\nMerged" + tag + "b\xB3");
            before = ReadBytes(path);
            folder = StateOf(programDir.path());
            count = FemaleCount();
            MergeIntoFemale();
        },
        [&](int n, SaveStep step) {
            SCOPED_TRACE("step " + std::to_string(n));
            failed.push_back(step);
            EXPECT_EQ(ReadBytes(path), before);
            EXPECT_EQ(StateOf(programDir.path()), folder);
            EXPECT_EQ(platform.messages, std::vector<Message>{CreateError(path)});
            EXPECT_EQ(FemaleCount(), count);
            for (const char* suffix : {"a", "b"})
                EXPECT_TRUE(form->Lists().FemaleNames.contains("Merged" + std::to_string(n) + suffix));

            platform.messages.clear();
            MergeIntoFemale();
            EXPECT_EQ(platform.messages, std::vector<Message>{MergeSuccess(0)});
            platform.messages.clear();
            EXPECT_EQ(FemaleCount(),
                      QString::number(form->Lists().FemaleNames.size()) + u" weibliche Wuzelnamen in der Datenbank"_s);
            ExpectFemaleFileHoldsTheLists();
        });
    EXPECT_EQ(steps, StepsOfSave(form->Lists().FemaleLines.fileBytes().size()));
    EXPECT_EQ(failed, steps);
    EXPECT_EQ(platform.messages, std::vector<Message>{MergeSuccess(2)});
    ExpectFemaleFileHoldsTheLists();
}

// The settings file written at close: a failing step keeps the old file and
// the window open; the close that gets through writes the record.
TEST_F(SaveFaultTest, EveryFailingStepOfTheSettingsAtCloseKeepsTheOldFile) {
    const QString path = ProgramFile(u"tavolin.ini"_s);
    // Ignored at the start, so the record written at close differs from it.
    const std::string old = "NOFORMAT\r\n1\r\n2\r\n3\r\nArial\r\n12\r\n";
    WriteBytes(path, old);
    CreateForm();
    form->show();
    const QString shownPath = JoinPath(form->ProgramDir(), kSettingsFile);
    const FolderState folder = StateOf(programDir.path());
    std::vector<SaveStep> failed;
    const std::vector<SaveStep> steps =
        SweepSaveSteps([&](int) { form->close(); },
                       [&](int n, SaveStep step) {
                           SCOPED_TRACE("step " + std::to_string(n));
                           failed.push_back(step);
                           EXPECT_TRUE(form->isVisible());
                           EXPECT_EQ(ReadBytes(path), old);
                           EXPECT_EQ(StateOf(programDir.path()), folder);
                           EXPECT_EQ(platform.messages, std::vector<Message>{CreateError(shownPath)});
                           platform.messages.clear();
                       });
    const std::string record = RecordFileBytes(
        {"0", "0", "0", "MS Sans Serif", "8", "255", "255", "255", "192", "192", "192", "192", "192", "192"});
    EXPECT_EQ(steps, StepsOfSave(record.size()));
    EXPECT_EQ(failed, steps);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(ReadBytes(path), record);
    EXPECT_TRUE(platform.messages.empty());
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
    const std::string& failure() const { return failure_; }
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

// A real place where nothing can be written, as root too: every write the
// program makes there fails with its message, nothing in the folder changes,
// and once the folder is writable again the next writes bring everything to
// disk.
TEST_F(SaveFaultTest, ImmutableProgramFolderRefusesEveryWrite) {
    CreateForm();
    form->show();
    platform.messages.clear();
    LoadForeign("Merged\xB3");
    const FolderState folder = StateOf(programDir.path());

    ImmutableFolder lock(programDir.path());
    if (!lock.failure().empty())
        GTEST_SKIP() << "cannot make the temporary folder immutable here (" << lock.failure()
                     << "): needs root (CAP_LINUX_IMMUTABLE) and a file system with chattr +i";
    if (QFile probe(ProgramFile(u"probe"_s)); probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        GTEST_SKIP() << "a file could still be created in the immutable folder";
    }

    Add("Eva");
    MergeIntoFemale();
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    const Message female = CreateError(form->FemaleDatabasePath());
    EXPECT_EQ(platform.messages,
              (std::vector<Message>{female, female, CreateError(JoinPath(form->ProgramDir(), kSettingsFile))}));
    EXPECT_EQ(StateOf(programDir.path()), folder);

    lock.Release();
    platform.messages.clear();
    Add("Ida");
    EXPECT_TRUE(platform.messages.empty());
    const NameList& names = form->Lists().FemaleNames;
    for (const char* name : {"Eva", "Merged", "Ida"})
        EXPECT_TRUE(names.contains(name)) << name;
    ExpectFemaleFileHoldsTheLists();
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(Exists(ProgramFile(u"tavolin.ini"_s)));
}

} // namespace
} // namespace tavolin::test
