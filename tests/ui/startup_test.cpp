#include "support/form_fixture.h"
#include "support/form_peer.h"
#include "ui/bevel.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tavolin::test {
namespace {

using Message = ScriptedPlatform::Message;

const QString kFemaleMissing = QStringLiteral("Konnte Namendatei mit den weiblichen Namen nicht öffnen.");
const QString kMaleMissing = QStringLiteral("Konnte Namendatei mit den männlichen Namen nicht öffnen.");

class StartupTest : public FormFixture {
protected:
    QStringList ProgramDirEntries() const {
        return QDir(programDir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
};

TEST_F(StartupTest, BothDatabasesReadShowsTheCounts) {
    // Empty and duplicate names count like any other.
    SetProgramFile(QStringLiteral("fnames.dat"), "Anna\xB3\xB3"
                                                 "Anna\r\nBer\xB3"
                                                 "Cl");
    CreateForm();
    EXPECT_TRUE(platform_.messages.empty());
    EXPECT_EQ(platform_.quitRequests, 0);
    EXPECT_EQ(FormPeer::ProgramDir(*form_), QDir::toNativeSeparators(programDir_.path()));
    EXPECT_EQ(form_->pos(), QPoint(0, 0));
    EXPECT_EQ(CountCaptions(), CountCaptions(3, 2));
    EXPECT_EQ(FormPeer::Databases(*form_).female.Names().size(), 3u);
    EXPECT_TRUE(FormPeer::Databases(*form_).female.Names().contains("AnnaBer"));
    EXPECT_EQ(FormPeer::Databases(*form_).female.Lines().size(), 2u); // the trailing "Cl" stays in the raw lines
}

TEST_F(StartupTest, EmptyDatabasesShowZeroCounts) {
    SetProgramFile(QStringLiteral("fnames.dat"), "");
    SetProgramFile(QStringLiteral("mnames.dat"), "");
    CreateForm();
    // Only the start name fails: there is nothing to draw it from.
    EXPECT_EQ(platform_.messages, std::vector<Message>{GeneralError("Listenindex außerhalb des zulässigen Bereichs")});
    EXPECT_EQ(CountCaptions(), CountCaptions(0, 0));
}

struct MissingCase {
    const char* what;
    bool femaleThere;
    bool maleThere;
    std::vector<QString> texts;
};

// A database that cannot be read is reported with its own box (female
// first), the other one is still read, nothing is parsed or shown, the
// program is asked to quit, and no file is written.
TEST_F(StartupTest, MissingDatabasesAreReportedAndEndTheProgram) {
    const std::vector<MissingCase> cases = {
        {"female missing", false, true, {kFemaleMissing}},
        {"male missing", true, false, {kMaleMissing}},
        {"both missing", false, false, {kFemaleMissing, kMaleMissing}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetProgramFile(QStringLiteral("fnames.dat"),
                       c.femaleThere ? std::optional<std::string_view>(kFemaleBytes) : std::nullopt);
        SetProgramFile(QStringLiteral("mnames.dat"),
                       c.maleThere ? std::optional<std::string_view>(kMaleBytes) : std::nullopt);
        const QStringList before = ProgramDirEntries();
        platform_.messages.clear();
        platform_.quitRequests = 0;
        CreateForm();

        std::vector<Message> expected;
        for (const QString& text : c.texts)
            expected.push_back({text, QStringLiteral("Fehler"), MessageIcon::Stop});
        EXPECT_EQ(platform_.messages, expected);
        EXPECT_GE(platform_.quitRequests, 1);
        EXPECT_EQ(FormPeer::Databases(*form_).female.Lines().size(), c.femaleThere ? 3u : 0u);
        EXPECT_EQ(FormPeer::Databases(*form_).male.Lines().size(), c.maleThere ? 2u : 0u);
        EXPECT_TRUE(FormPeer::Databases(*form_).female.Names().empty());
        EXPECT_TRUE(FormPeer::Databases(*form_).male.Names().empty());
        EXPECT_EQ(CountCaptions(), CountCaptions(0, 0));
        EXPECT_EQ(Control<QLineEdit>("Edit1")->text(), QString());
        EXPECT_EQ(Control<QLabel>("Panel10")->text(), QStringLiteral("Kein Name"));
        form_->close();
        EXPECT_EQ(ProgramDirEntries(), before);
        form_.reset();
    }
}

TEST_F(StartupTest, ResizeStretchesOnlyTheBevelLines) {
    CreateForm();
    const QRect button7 = Control<QPushButton>("Button7")->geometry();
    const QSize memo = Control<QPlainTextEdit>("Memo1")->size();
    const QSize list = Control<QListWidget>("ListBox1")->size();
    form_->show(); // a hidden window gets its resize events only when shown
    for (int width : {640, 300}) {
        form_->resize(width, 542);
        for (const char* name : {"Bevel1", "Bevel2", "Bevel3", "Bevel4", "Bevel5"}) {
            const auto* bevel = Control<Bevel>(name);
            EXPECT_EQ(bevel->x(), 0) << name;
            EXPECT_EQ(bevel->width(), width) << name;
            EXPECT_EQ(bevel->height(), 9) << name;
        }
        EXPECT_EQ(Control<QPushButton>("Button7")->geometry(), button7);
        EXPECT_EQ(Control<QPlainTextEdit>("Memo1")->size(), memo);
        EXPECT_EQ(Control<QListWidget>("ListBox1")->size(), list);
    }
}

TEST_F(StartupTest, FontsOfTheDescription) {
    CreateForm();
    EXPECT_EQ(form_->font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(form_->font().pixelSize(), 11);
    for (const char* name : {"Button1", "Panel2", "Panel5", "Panel6", "Button6"})
        EXPECT_TRUE(Control<QWidget>(name)->font().bold()) << name;
    for (const char* name : {"Button2", "Panel3", "Edit1", "Button7"})
        EXPECT_FALSE(Control<QWidget>(name)->font().bold()) << name;
    const QFont memo = Control<QPlainTextEdit>("Memo1")->font();
    EXPECT_TRUE(memo.bold());
    EXPECT_EQ(memo.pixelSize(), 15);
    // The statistics columns line up only in a fixed-pitch font.
    EXPECT_TRUE(QFontInfo(Control<QListWidget>("ListBox1")->font()).fixedPitch());
}

// The features go before the controls do. A control that still signals
// while the window is taken down (here Button3, clicked as the first child
// goes) must reach no handler: that one would copy the name.
TEST_F(StartupTest, NoHandlerRunsWhileTheWindowIsTakenDown) {
    CreateForm();
    auto* copy = Control<QPushButton>("Button3");
    ASSERT_NE(form_->children().front(), copy);
    QObject::connect(form_->children().front(), &QObject::destroyed, copy, [copy] { copy->click(); });
    form_.reset();
    EXPECT_TRUE(platform_.clipboard.empty());
}

} // namespace
} // namespace tavolin::test
