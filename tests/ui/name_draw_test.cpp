#include "names/encoding.h"
#include "support/form_fixture.h"
#include "support/form_peer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>

namespace tavolin::test {
namespace {

using Message = ScriptedPlatform::Message;

const QString kFemale = QStringLiteral("Weiblicher Name");
const QString kMale = QStringLiteral("Männlicher Name");
const Message kListIndexMessage = GeneralError("Listenindex außerhalb des zulässigen Bereichs");
constexpr const char* kFemaleItem = "RadioGroup1Item0";
constexpr const char* kMaleItem = "RadioGroup1Item1";
constexpr const char* kEitherItem = "RadioGroup1Item2";

std::string Database(std::initializer_list<std::string_view> names) {
    std::string bytes;
    for (std::string_view name : names)
        bytes.append(name).append("\xB3\r\n");
    return bytes;
}

// What Edit1 and Panel10 show.
struct Shown {
    QString name;
    QString gender;
    bool operator==(const Shown&) const = default;
    bool operator<(const Shown& other) const { return std::tie(name, gender) < std::tie(other.name, other.gender); }
};

class RandomNameTest : public FormFixture {
protected:
    QLineEdit* Edit1() { return Control<QLineEdit>("Edit1"); }
    Shown Display() { return {Edit1()->text(), Control<QLabel>("Panel10")->text()}; }
    Shown Click(const char* item, const QString& beginning) {
        Control<QRadioButton>(item)->setChecked(true);
        Control<QLineEdit>("Edit3")->setText(beginning);
        Control<QPushButton>("Button1")->click();
        return Display();
    }
    // The gender text of the list that holds the name.
    QString GenderOf(const QString& name) {
        const std::string bytes = EncodeName(name).value();
        return FormPeer::Databases(*form_).female.Names().contains(bytes) ? kFemale
               : FormPeer::Databases(*form_).male.Names().contains(bytes) ? kMale
                                                                          : QString();
    }
};

// The clock's second seeds the generator once: the same second gives the
// same start name, and over many seconds every name of both lists comes up.
TEST_F(RandomNameTest, StartNameIsSeededFromTheClock) {
    int clockCalls = 0; // outlives every window built here
    const auto startAt = [&](qint64 seconds) {
        clockCalls = 0;
        const auto clock = [&clockCalls, seconds] { return ++clockCalls, seconds; };
        form_ = std::make_unique<TForm1>(platform_,
                                         FormEnvironment{ProgramFile(QStringLiteral("tavolin")), dataFolders_, clock});
        EXPECT_EQ(clockCalls, 1);
        Shown start = Display();
        EXPECT_EQ(start.gender, GenderOf(start.name)) << start.name.toStdString();
        return start;
    };
    std::map<qint64, Shown> byClock;
    std::set<Shown> seen;
    for (qint64 seconds = 1000000000; seconds < 1000000060; ++seconds)
        seen.insert(byClock[seconds] = startAt(seconds));
    EXPECT_EQ(seen.size(), 5u); // Anna, Berta, Clara, Anton, Bernd
    for (qint64 seconds : {1000000000, 1000000017, 1000000059})
        EXPECT_EQ(startAt(seconds), byClock[seconds]) << seconds;
    EXPECT_TRUE(platform_.messages.empty());
}

// The start name fails after the counts are shown; the field stays empty.
TEST_F(RandomNameTest, StartNameFromAnEmptyListIsAListIndexError) {
    SetProgramFile(QStringLiteral("fnames.dat"), "");
    SetProgramFile(QStringLiteral("mnames.dat"), "no separator");
    CreateForm();
    EXPECT_EQ(platform_.messages, std::vector<Message>{kListIndexMessage});
    EXPECT_EQ(Control<QLabel>("Panel6")->text(), QStringLiteral("0 Wuzelnamen insgesamt in der Datenbank"));
    EXPECT_EQ(Display(), (Shown{QString(), QStringLiteral("Kein Name")}));
}

// Without a beginning every click shows a name of the chosen list ("Egal":
// each list about half the time), and Panel10 names the list holding it.
TEST_F(RandomNameTest, ClickWithoutBeginningDrawsFromTheChosenList) {
    CreateForm();
    const std::vector<std::tuple<const char*, int, int>> cases = {
        {kFemaleItem, 1000, 1000}, {kMaleItem, 0, 0}, {kEitherItem, 400, 600}};
    for (const auto& [item, femaleLow, femaleHigh] : cases) {
        int female = 0;
        for (int i = 0; i < 1000; ++i) {
            const Shown shown = Click(item, QString());
            ASSERT_EQ(shown.gender, GenderOf(shown.name)) << item << ' ' << shown.name.toStdString();
            female += shown.gender == kFemale;
        }
        EXPECT_GE(female, femaleLow) << item;
        EXPECT_LE(female, femaleHigh) << item;
    }
}

// Each row: a beginning and every name its clicks may show; none means the
// display keeps what it showed before.
TEST_F(RandomNameTest, BeginningRestrictsTheDraw) {
    SetProgramFile(QStringLiteral("fnames.dat"),
                   Database({"Anna", "ANDREA", "andreas", "Berta", "\xC4nne", " Ben", "Bj\xF6rk"}));
    SetProgramFile(QStringLiteral("mnames.dat"), Database({"Xaver"}));
    const std::vector<std::pair<QString, std::set<QString>>> cases = {
        {QStringLiteral("an"), {QStringLiteral("Anna"), QStringLiteral("ANDREA"), QStringLiteral("andreas")}},
        {QStringLiteral("ä"), {}},
        {QStringLiteral("Ä"), {QStringLiteral("Änne")}},
        {QStringLiteral("bjö"), {QStringLiteral("Björk")}},
        {QStringLiteral(" "), {QStringLiteral(" Ben")}},
        {QStringLiteral("Andreasberta"), {}},
        {QStringLiteral("Ω"), {}}, // not in Windows-1252
    };
    CreateForm();
    for (const auto& [beginning, names] : cases) {
        // A name of the other list first, so that no unchanged display can
        // pass for a drawn name.
        const Shown before = Click(kMaleItem, QString());
        std::set<QString> drawn;
        for (int i = 0; i < 300; ++i) {
            const Shown shown = Click(kFemaleItem, beginning);
            if (names.empty())
                ASSERT_EQ(shown, before) << beginning.toStdString();
            else
                ASSERT_EQ(shown.gender, kFemale) << beginning.toStdString();
            drawn.insert(shown.name);
        }
        EXPECT_EQ(drawn, names.empty() ? std::set<QString>{before.name} : names) << beginning.toStdString();
    }
    EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(RandomNameTest, UniqueMatchAmongManyIsFoundOnEveryClick) {
    std::string female;
    for (int i = 0; i < 5000; ++i)
        female.append(i == 3217 ? std::string("Zora") : "Name" + std::to_string(i)).append("\xB3");
    SetProgramFile(QStringLiteral("fnames.dat"), female);
    CreateForm();
    for (int i = 0; i < 200; ++i) {
        Edit1()->clear();
        ASSERT_EQ(Click(kFemaleItem, QStringLiteral("zo")), (Shown{QStringLiteral("Zora"), kFemale})) << i;
    }
}

// "Egal" finds a name that only one list has, whichever way the coin falls;
// when both lists have one, the coin decides.
TEST_F(RandomNameTest, EitherListFallsBackToTheListThatMatches) {
    SetProgramFile(QStringLiteral("fnames.dat"), Database({"Anna", "Berta"}));
    SetProgramFile(QStringLiteral("mnames.dat"), Database({"Anton", "Xaver"}));
    CreateForm();
    int female = 0;
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(Click(kEitherItem, QStringLiteral("x")), (Shown{QStringLiteral("Xaver"), kMale}));
        ASSERT_EQ(Click(kEitherItem, QStringLiteral("BE")), (Shown{QStringLiteral("Berta"), kFemale}));
        const Shown shown = Click(kEitherItem, QStringLiteral("an"));
        ASSERT_EQ(shown.gender, GenderOf(shown.name));
        female += shown.gender == kFemale;
    }
    EXPECT_GE(female, 400);
    EXPECT_LE(female, 600);
}

// A draw from the empty list, with or without a beginning, shows the error
// and changes neither the display nor the focus; the male list still works.
TEST_F(RandomNameTest, DrawFromAnEmptyListIsAListIndexError) {
    SetProgramFile(QStringLiteral("fnames.dat"), "");
    CreateForm();
    ActivateWindow();
    for (const QString& beginning : {QString(), QStringLiteral("a")}) {
        const Shown before = Click(kMaleItem, QString());
        ASSERT_EQ(before.gender, kMale);
        platform_.messages.clear();
        Control<QLineEdit>("Edit3")->setFocus();
        EXPECT_EQ(Click(kFemaleItem, beginning), before);
        EXPECT_EQ(platform_.messages, std::vector<Message>{kListIndexMessage});
        EXPECT_TRUE(Control<QLineEdit>("Edit3")->hasFocus());
    }
}

// "Egal" takes an empty list as one without a match: the other list stands in,
// for the start name too. Only when neither list has names does the click
// fail.
TEST_F(RandomNameTest, EitherListStandsInForAnEmptyOne) {
    struct Case {
        const char* what;
        std::string female;
        std::string male;
        const char* beginning;
        std::optional<Shown> shown; // nothing: the display stays as it was
        bool error;
    };
    const Shown xaver{QStringLiteral("Xaver"), kMale};
    const Shown anna{QStringLiteral("Anna"), kFemale};
    const Case cases[] = {
        {"female empty", "", Database({"Xaver"}), "", xaver, false},
        {"female empty, beginning", "", Database({"Anton", "Xaver"}), "x", xaver, false},
        {"female empty, no match", "", Database({"Anton"}), "q", std::nullopt, false},
        {"male empty", Database({"Anna"}), "", "", anna, false},
        {"male empty, beginning", Database({"Berta", "Anna"}), "", "an", anna, false},
        {"both empty", "", "", "", std::nullopt, true},
        {"both empty, beginning", "", "", "a", std::nullopt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetProgramFile(QStringLiteral("fnames.dat"), c.female);
        SetProgramFile(QStringLiteral("mnames.dat"), c.male);
        platform_.messages.clear();
        CreateForm();
        EXPECT_EQ(platform_.messages.size(), c.error ? 1u : 0u); // the start name
        for (int i = 0; i < 40; ++i) {
            const Shown before = Display();
            platform_.messages.clear();
            EXPECT_EQ(Click(kEitherItem, QString::fromLatin1(c.beginning)), c.shown.value_or(before));
            EXPECT_EQ(platform_.messages, c.error ? std::vector<Message>{kListIndexMessage} : std::vector<Message>{});
        }
        form_.reset();
    }
}

// After every click, a new name or not, Edit1 has the focus and its whole
// text is selected.
TEST_F(RandomNameTest, ClickLeavesTheNameSelectedInTheFocusedField) {
    CreateForm();
    ActivateWindow();
    for (const QString& beginning : {QString(), QStringLiteral("b"), QStringLiteral("q")}) {
        Control<QLineEdit>("Edit3")->setText(beginning);
        Control<QLineEdit>("Edit3")->setFocus();
        QTest::mouseClick(Control<QPushButton>("Button1"), Qt::LeftButton);
        EXPECT_TRUE(Edit1()->hasFocus()) << beginning.toStdString();
        EXPECT_FALSE(Edit1()->text().isEmpty());
        EXPECT_EQ(Edit1()->selectedText(), Edit1()->text()) << beginning.toStdString();
    }
}

// The copy takes the text as the user left it, then the caret stands at its
// end with nothing selected; an empty field copies nothing.
TEST_F(RandomNameTest, CopyTakesTheEditedTextOfTheNameField) {
    CreateForm();
    ActivateWindow();
    Edit1()->setFocus();
    Edit1()->end(false);
    QTest::keyClicks(Edit1(), QStringLiteral("-Marie"));
    const QString edited = Edit1()->text();
    Control<QLineEdit>("Edit3")->setFocus();
    QTest::mouseClick(Control<QPushButton>("Button3"), Qt::LeftButton);
    EXPECT_EQ(platform_.clipboard, std::vector<QString>{edited});
    EXPECT_TRUE(edited.endsWith(QStringLiteral("-Marie")) && edited.size() > 6);
    EXPECT_TRUE(Edit1()->hasFocus());
    EXPECT_FALSE(Edit1()->hasSelectedText());
    EXPECT_EQ(Edit1()->cursorPosition(), edited.size());

    Edit1()->clear();
    Control<QPushButton>("Button3")->click();
    EXPECT_EQ(platform_.clipboard.size(), 1u);
}

} // namespace
} // namespace tavolin::test
