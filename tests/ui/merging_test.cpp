#include "fileio/fileio.h"
#include "names/merge.h"
#include "support/form_fixture.h"
#include "support/form_peer.h"
#include "support/list_strings.h"
#include "ui/dialogs.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <tuple>

namespace tavolin::test {
namespace {

const QString kNothingLoaded = QStringLiteral("Keine Datei geladen");

constexpr bool kFemale = true;
constexpr bool kMale = false;

// A message box as one readable text: caption, icon and text.
std::string Box(const ScriptedPlatform::Message& message) {
    return message.caption.toStdString() + " [" + std::to_string(static_cast<int>(message.icon)) + "] " +
           message.text.toStdString();
}

std::string Success(std::size_t added, bool female) {
    return Box(MergeSuccess(added, female));
}

// Database bytes written with "|" for the separator.
std::string Db(std::string text) {
    std::replace(text.begin(), text.end(), '|', '\xB3');
    return text;
}

std::string GeneralErrorBox(const std::string& text) {
    return Box(GeneralError(text));
}

class MergeWindowTest : public FormFixture {
protected:
    // Panel8, Panel9 and whether Button6 is enabled.
    std::tuple<QString, QString, bool> MergeBand() {
        return {Control<QLabel>("Panel8")->text(), Control<QLabel>("Panel9")->text(),
                Control<QPushButton>("Button6")->isEnabled()};
    }
    Strings Shown() const {
        Strings boxes;
        for (const auto& message : platform_.messages)
            boxes.push_back(Box(message));
        return boxes;
    }
    Strings MergeNames() { return NamesOf(FormPeer::MergeNames(*form_)); }
};

TEST_F(MergeWindowTest, CancelledDialogChangesNothing) {
    CreateForm();
    ClickLoad(std::nullopt);
    ASSERT_EQ(platform_.fileRequests.size(), 1u);
    const FileDialogSpec& dialog = platform_.fileRequests[0].dialog;
    EXPECT_FALSE(platform_.fileRequests[0].save);
    EXPECT_EQ(dialog.objectName, kOpenDialog1.objectName);
    EXPECT_EQ(dialog.title, QStringLiteral("Wuzelnamen-Datenbank öffnen"));
    EXPECT_EQ(dialog.filter, QStringLiteral("Datenbanken ( *.dat )|*.dat|Alle Dateien ( *.* )|*.*"));
    EXPECT_EQ(MergeBand(), std::make_tuple(kNothingLoaded, kNothingLoaded, false));

    const QString path = ForeignFile("a.dat", "Eva\xB3");
    ClickLoad(path);
    ClickLoad(std::nullopt); // a database loaded before stays loaded
    EXPECT_EQ(MergeBand(), std::make_tuple(path, LoadedCaption(1), true));
    EXPECT_EQ(MergeNames(), Strings{"Eva"});
    EXPECT_TRUE(platform_.messages.empty());
    // A screen reader tells the two panels apart, and hears what they show.
    EXPECT_EQ(Control<QLabel>("Panel8")->accessibleName(), QStringLiteral("Geladene Datei: ") + path);
    EXPECT_EQ(Control<QLabel>("Panel9")->accessibleName(),
              QStringLiteral("Namen in der geladenen Datei: ") + LoadedCaption(1));
}

struct LoadCase {
    const char* what;
    std::string bytes;
    int count;
};

TEST_F(MergeWindowTest, LoadShowsPathAndEveryName) {
    const std::vector<LoadCase> cases = {
        {"the about text's example", Db("Jul\r\nia|Brigitte\r\n|\r\nPaula|\r\nNancy|Rebekka|P\r\nat\r\nr\r\nick|\r\n"),
         6},
        {"duplicates and empty names count", Db("Eva|Eva||Eva|"), 4},
        {"text behind the last separator is not counted", Db("Eva|Pat"), 1},
    };
    CreateForm();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = ForeignFile("foreign.dat", c.bytes);
        ClickLoad(path);
        EXPECT_EQ(MergeBand(), std::make_tuple(path, LoadedCaption(c.count), true));
        EXPECT_EQ(FormPeer::MergeNames(*form_).size(), static_cast<std::size_t>(c.count));
    }
    EXPECT_TRUE(platform_.messages.empty());
}

// Watches a widget's paints: Panel8's caption then, and how many foreign
// names were loaded at that moment.
class PaintProbe final : public QObject {
public:
    PaintProbe(QWidget* widget, TForm1& window) : widget_(widget), window_(window) { widget->installEventFilter(this); }
    std::vector<std::pair<QString, std::size_t>> paints;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget_ && event->type() == QEvent::Paint)
            paints.emplace_back(window_.findChild<QLabel*>(QStringLiteral("Panel8"))->text(),
                                FormPeer::MergeNames(window_).size());
        return false;
    }

private:
    QWidget* widget_;
    TForm1& window_;
};

TEST_F(MergeWindowTest, PathIsPaintedBeforeTheFileIsRead) {
    CreateForm();
    ClickLoad(ForeignFile("old.dat", "Eva\xB3Ida\xB3"));
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    QCoreApplication::processEvents();

    // The panel with the path, and the whole window, where the dialog lay.
    PaintProbe panel(Control<QLabel>("Panel8"), *form_);
    PaintProbe window(form_.get(), *form_);
    const QString path = ForeignFile("new.dat", "Otto\xB3");
    ClickLoad(path); // no event loop runs in between: only an immediate paint is seen
    const std::pair<QString, std::size_t> beforeReading{path, 2};
    for (const PaintProbe* probe : {&panel, &window})
        EXPECT_NE(std::find(probe->paints.begin(), probe->paints.end(), beforeReading), probe->paints.end());
    EXPECT_EQ(MergeNames(), Strings{"Otto"});
}

TEST_F(MergeWindowTest, MergesIntoTheDatabaseChosenAtTheMomentOfTheMerge) {
    CreateForm();
    const QString path = ForeignFile("foreign.dat", Db("Eva|Anton|Eva|\r\nAnna||"));
    ClickLoad(path);
    const auto band = MergeBand();

    // The radio group is read when Button6 is clicked, not when the file is loaded.
    ClickMerge(false);
    EXPECT_EQ(Shown(), Strings{Success(3, kMale)});
    EXPECT_EQ(ReadBytes(ProgramFile(QStringLiteral("mnames.dat"))), Db("Anton|\r\nBernd|\r\nEva|\r\nAnna|\r\n|\r\n"));
    EXPECT_EQ(ReadBytes(ProgramFile(QStringLiteral("fnames.dat"))), kFemaleBytes);
    EXPECT_EQ(CountCaptions(), CountCaptions(3, 5));

    // The loaded database stays loaded and merges into the other one at once.
    EXPECT_EQ(MergeBand(), band);
    EXPECT_EQ(MergeNames(), (Strings{"Eva", "Anton", "Eva", "Anna", ""}));
    platform_.messages.clear();
    ClickMerge(true);
    EXPECT_EQ(Shown(), Strings{Success(3, kFemale)});
    EXPECT_EQ(ReadBytes(ProgramFile(QStringLiteral("fnames.dat"))),
              std::string(kFemaleBytes) + Db("Eva|\r\nAnton|\r\n|\r\n"));
    EXPECT_EQ(CountCaptions(), CountCaptions(6, 5));
    EXPECT_EQ(MergeBand(), band);
}

TEST_F(MergeWindowTest, OwnFemaleDatabaseAddsNothingToItselfAndFillsTheMaleOne) {
    CreateForm();
    ClickLoad(ProgramFile(QStringLiteral("fnames.dat")));
    EXPECT_EQ(MergeBand(), std::make_tuple(ProgramFile(QStringLiteral("fnames.dat")), LoadedCaption(3), true));
    ClickMerge(true);
    ClickMerge(false);
    ClickMerge(false); // again: nothing left to add
    EXPECT_EQ(Shown(), (Strings{Success(0, kFemale), Success(3, kMale), Success(0, kMale)}));
    EXPECT_EQ(ReadBytes(ProgramFile(QStringLiteral("fnames.dat"))), kFemaleBytes);
    EXPECT_EQ(ReadBytes(ProgramFile(QStringLiteral("mnames.dat"))),
              std::string(kMaleBytes) + std::string(kFemaleBytes));
    EXPECT_EQ(CountCaptions(), CountCaptions(3, 5));
}

TEST_F(MergeWindowTest, EveryMergeRewritesTheTargetEvenWithoutNewNames) {
    // Line breaks of every kind in the target come back as CR LF only if the
    // file is written.
    SetProgramFile(QStringLiteral("fnames.dat"), Db("Anna|\nBerta|\rClara|"));
    CreateForm();
    const std::string rewritten = Db("Anna|\r\nBerta|\r\nClara|\r\n");
    const QString plain = ForeignFile("plain.txt", " Anna\r\n\r\nBerta\t\n");
    ClickLoad(plain);
    EXPECT_EQ(MergeBand(), std::make_tuple(plain, LoadedCaption(2), true));
    ClickMerge(true);
    EXPECT_EQ(ReadBytes(ProgramFile(QStringLiteral("fnames.dat"))), rewritten);

    // A file changed behind the program's back is read anew and merged into,
    // not overwritten: its text (no name yet, as it has no separator) becomes
    // a name of its own before the first name added.
    ClickLoad(ForeignFile("same.dat", Db("Clara|Anna|")));
    SetProgramFile(QStringLiteral("fnames.dat"), "changed behind the program's back");
    ClickMerge(true);
    EXPECT_EQ(ReadBytes(ProgramFile(QStringLiteral("fnames.dat"))),
              Db("changed behind the program's back|\r\nClara|\r\nAnna|\r\n"));
    EXPECT_EQ(Shown(), (Strings{Success(0, kFemale), Success(2, kFemale)}));
    EXPECT_EQ(CountCaptions(), CountCaptions(3, 2));
}

// After a failed load the band tells what is loaded: the file loaded before,
// with its path and count, or nothing. A file that is no database (a program
// picked by mistake) and one far too large are refused at once.
TEST_F(MergeWindowTest, UnloadableFileKeepsWhatWasLoadedBefore) {
    ASSERT_TRUE(QDir(foreignDir_.path()).mkdir(QStringLiteral("folder.dat")));
    const QString folder = QDir::toNativeSeparators(foreignDir_.filePath(QStringLiteral("folder.dat")));
    const QString removed = ForeignFile("removed.dat", "Otto\xB3");
    QFile::remove(removed);
    const QString binary = ForeignFile("tavolin", std::string("\x7F"
                                                              "ELF\0\0Otto\xB3",
                                                              10));
    const QString huge = ForeignFile("huge.dat", "");
    ASSERT_TRUE(QFile::resize(huge, qint64{5} << 30)); // sparse: nothing is written
    const std::vector<std::pair<QString, std::string>> unloadable = {
        {folder, OpenErrorText(folder)},
        {removed, OpenErrorText(removed)},
        {binary, NoDatabaseErrorText(binary)},
        {huge, "Die Namen-Datenbank ist zu groß"},
    };
    CreateForm();
    for (const bool loadedBefore : {false, true}) {
        for (const auto& [path, error] : unloadable) {
            SCOPED_TRACE(path.toStdString() + (loadedBefore ? " after a load" : " first"));
            platform_.messages.clear();
            if (loadedBefore)
                ClickLoad(ForeignFile("good.dat", "Eva\xB3"));
            const auto band = MergeBand();
            const Strings names = MergeNames();
            const std::string lines(FormPeer::MergeLines(*form_).FileBytes());
            ClickLoad(path);
            EXPECT_EQ(Shown(), Strings{GeneralErrorBox(error)});
            EXPECT_EQ(MergeBand(), band);
            EXPECT_EQ(MergeNames(), names);
            EXPECT_EQ(FormPeer::MergeLines(*form_).FileBytes(), lines);
        }
    }
    // The database loaded before can still be merged.
    platform_.messages.clear();
    ClickMerge(false);
    EXPECT_EQ(Shown(), Strings{Success(1, kMale)});
}

// A database an editor saved as UTF-8 merges its names as the program keeps
// them; those it cannot keep are left out and counted in the message, which
// stays as it was when none is.
TEST_F(MergeWindowTest, Utf8FileMergesWhatCanBeStored) {
    CreateForm();
    ClickLoad(ForeignFile("utf8.dat", "Zo\xC3\xAB\xC2\xB3\r\n\xC5\x81ucja\xC2\xB3\r\nJ\xC3\xB6rg\xC2\xB3\r\n"));
    EXPECT_EQ(MergeNames(), (Strings{"Zo\xEB", "J\xF6rg"}));
    ClickMerge(true);
    const std::string leftOut = " 1 Name(n) der geladenen Datei wurde(n) ausgelassen, weil sie Zeichen enthalten, die "
                                "in der Namen-Datenbank nicht gespeichert werden können.";
    EXPECT_EQ(Shown(), Strings{Success(2, kFemale).append(leftOut)});
    EXPECT_EQ(ReadBytes(ProgramFile(QStringLiteral("fnames.dat"))),
              std::string(kFemaleBytes) + Db("Zo\xEB|\r\nJ\xF6rg|\r\n"));

    platform_.messages.clear();
    ClickLoad(ForeignFile("bom.dat", "\xEF\xBB\xBF"
                                     "Anna\xC2\xB3Zo\xC3\xAB\xC2\xB3Ida\xC2\xB3"));
    ClickMerge(true);
    EXPECT_EQ(Shown(), Strings{Success(1, kFemale)});
}

TEST_F(MergeWindowTest, FailedRewriteShowsTheErrorAndKeepsTheNamesForLater) {
    CreateForm();
    ClickLoad(ForeignFile("foreign.dat", Db("Eva|Anna|")));
    saveFault_.FailWhen([](SaveStep step) { return step == SaveStep::Open; });
    ClickMerge(true);
    saveFault_.Clear();
    EXPECT_EQ(Shown(), Strings{GeneralErrorBox(CreateErrorText(FormPeer::FemaleDatabasePath(*form_)))});
    EXPECT_EQ(ReadBytes(ProgramFile(QStringLiteral("fnames.dat"))), kFemaleBytes);
    EXPECT_EQ(CountCaptions(), CountCaptions(3, 2)); // not refreshed
    EXPECT_TRUE(FormPeer::Databases(*form_).female.Names().contains("Eva"));

    platform_.messages.clear();
    ClickMerge(true);
    EXPECT_EQ(Shown(), (Strings{Success(0, kFemale), Box(Recovered(1))}));
    EXPECT_EQ(ReadBytes(ProgramFile(QStringLiteral("fnames.dat"))), std::string(kFemaleBytes) + "Eva\xB3\r\n");
    EXPECT_EQ(CountCaptions(), CountCaptions(4, 2));
}

} // namespace
} // namespace tavolin::test
