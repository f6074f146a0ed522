#include "names/encoding.h"
#include "stats/statistics.h"
#include "support/form_fixture.h"
#include "support/form_peer.h"
#include "support/statistics_tables.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <tuple>

namespace tavolin::test {
namespace {

const QString kLengths = QStringLiteral("Zu den Namenlängen...");
const QString kLetters = QStringLiteral("Zu den Anfangsbuchstaben...");

// ListBox1, Button8, Button9, Button4 shown; captions of Button7, Button8 and
// (while shown) Button9.
using View = std::tuple<bool, bool, bool, bool, QString, QString, QString>;
const View kClosed{false, false, false, true, QStringLiteral("Statistiken"), QStringLiteral("Aktualisieren"), {}};
View Open(const QString& button9) {
    return {true, true, true, false, QStringLiteral("Schließen"), QStringLiteral("Aktualisieren"), button9};
}

enum class Table { Letters, Lengths };

class StatisticsViewTest : public BuiltFormFixture {
protected:
    void Click(const char* button) { Control<QPushButton>(button)->click(); }
    bool Shown(const char* name) { return Control<QWidget>(name)->isVisibleTo(form_.get()); }
    QString Text(const char* button) { return Control<QPushButton>(button)->text(); }
    QListWidget* List() { return Control<QListWidget>("ListBox1"); }
    void AddFemale(const std::string& name) { AddName(true, QString::fromLatin1(name)); }
    View Current() {
        return {Shown("ListBox1"),
                Shown("Button8"),
                Shown("Button9"),
                Shown("Button4"),
                Text("Button7"),
                Text("Button8"),
                Shown("Button9") ? Text("Button9") : QString()};
    }
    QStringList Rows() {
        QStringList rows;
        for (int i = 0; i < List()->count(); ++i)
            rows << List()->item(i)->text();
        return rows;
    }
    QStringList Expected(Table table) {
        const NameList& female = FormPeer::Databases(*form_).female.Names();
        const NameList& male = FormPeer::Databases(*form_).male.Names();
        QStringList rows;
        for (const std::string& row : table == Table::Letters ? LetterRows(female, male) : LengthRows(female, male))
            rows << DecodeName(row);
        return rows;
    }
};

// A closed list keeps its rows; opening always starts on the letters.
TEST_F(StatisticsViewTest, EveryTransitionOfTheView) {
    const QString aboutCaption = Text("Button4");
    const std::vector<std::tuple<const char*, View, Table>> steps = {
        {"Button7", Open(kLengths), Table::Letters}, {"Button9", Open(kLetters), Table::Lengths},
        {"Button8", Open(kLetters), Table::Lengths}, {"Button9", Open(kLengths), Table::Letters},
        {"Button8", Open(kLengths), Table::Letters}, {"Button9", Open(kLetters), Table::Lengths},
        {"Button7", kClosed, Table::Lengths},        {"Button7", Open(kLengths), Table::Letters},
    };
    for (const auto& [button, view, table] : steps) {
        SCOPED_TRACE(button);
        Click(button);
        EXPECT_EQ(Current(), view);
        EXPECT_EQ(Rows(), Expected(table));
    }
    EXPECT_EQ(Text("Button4"), aboutCaption);
    EXPECT_TRUE(platform_.messages.empty());
    EXPECT_EQ(Rows()[0], QStringLiteral("Weiblich, A:    1           Männlich, A:  1"));
    EXPECT_EQ(List()->sizeHintForRow(0), 15);
    EXPECT_TRUE(List()->font().fixedPitch());
}

// Button8 counts the lists as they are now, without touching a caption.
TEST_F(StatisticsViewTest, RefreshCountsNamesAddedSinceTheTableWasBuilt) {
    Click("Button7");
    AddFemale("alberta");
    EXPECT_NE(Rows(), Expected(Table::Letters));
    Click("Button8");
    EXPECT_EQ(Rows(), Expected(Table::Letters));
    Click("Button9");
    AddFemale(std::string(200, 'x')); // as long as Edit2 takes
    Click("Button8");
    EXPECT_EQ(Rows(), Expected(Table::Lengths));
    EXPECT_EQ(Rows().size(), 9); // lengths 0 to 7 ("alberta"), then 200
    EXPECT_EQ(Rows().back(), DecodeName(FormatLengthRow(200, 1, 0)));
    EXPECT_EQ(Current(), Open(kLetters));
}

// Over the about view the list covers the memo, which stays visible; closing
// brings the about view back with its button.
TEST_F(StatisticsViewTest, OpensOverTheAboutView) {
    Click("Button4"); // the about view
    Click("Button7");
    EXPECT_EQ(Current(), Open(kLengths));
    EXPECT_TRUE(Shown("Memo1"));
    EXPECT_EQ(form_->childAt(20, 20)->parentWidget(), List()); // the list's viewport
    Click("Button7");
    EXPECT_EQ(Current(), kClosed);
    EXPECT_TRUE(Shown("Memo1"));
    EXPECT_EQ(Text("Button4"), QStringLiteral("Zurück"));
    EXPECT_TRUE(Shown("Button4"));
    Click("Button4"); // and the about view closes as usual
    EXPECT_FALSE(Shown("Memo1"));
    EXPECT_EQ(Text("Button4"), QStringLiteral("Über das Programm..."));
}

// A failure at any checkpoint is reported with its number; what was done
// stays done (rows appended, a caption switched) and the view stays open.
TEST_F(StatisticsViewTest, FailuresReportTheLastCheckpoint) {
    std::vector<int> lengthRows; // the longest name has 5 characters: six rows
    for (int row = 0; row < 6; ++row)
        lengthRows.insert(lengthRows.end(), {18, 21, 22});
    const auto withRows = [&](std::vector<int> start) {
        start.insert(start.end(), lengthRows.begin(), lengthRows.end());
        return start;
    };
    struct Case {
        std::vector<const char*> clicks; // the last one is made to fail
        std::vector<int> checkpoints;    // what it passes when nothing fails
        int clearedFrom;                 // the first checkpoint after the list is cleared
        int switchedFrom;                // the first checkpoint after Button9's caption is set
    };
    const std::vector<Case> cases = {
        {{"Button7", "Button8"}, {0}, 99, 99},
        {{"Button7", "Button9", "Button8"}, withRows({0, 2, 3, 5, 6, 7, 9, 13, 14, 17}), 3, 99},
        {{"Button7", "Button9"}, withRows({0, 2, 3, 4, 5, 6, 7, 9, 13, 14, 17}), 3, 4},
        {{"Button7", "Button9", "Button9"}, {0, 1}, 99, 99},
    };
    for (const Case& c : cases) {
        for (std::size_t failAt = 0; failAt <= c.checkpoints.size(); ++failAt) {
            SCOPED_TRACE(testing::Message() << c.clicks.size() << " clicks, failing at " << failAt);
            if (Shown("ListBox1"))
                Click("Button7");
            for (std::size_t i = 0; i + 1 < c.clicks.size(); ++i)
                Click(c.clicks[i]);
            const QStringList rowsBefore = Rows();
            const QString captionBefore = Text("Button9");
            platform_.messages.clear();
            std::vector<int> passed;
            statisticsCheckpoint_ = [&](int checkpoint) {
                passed.push_back(checkpoint);
                if (passed.size() == failAt + 1)
                    throw std::bad_alloc();
            };
            Click(c.clicks.back());
            statisticsCheckpoint_ = nullptr;
            if (failAt == c.checkpoints.size()) {
                EXPECT_EQ(passed, c.checkpoints);
                EXPECT_TRUE(platform_.messages.empty());
                continue;
            }
            const int failed = c.checkpoints[failAt];
            EXPECT_EQ(platform_.messages,
                      (std::vector<ScriptedPlatform::Message>{{QStringLiteral("Fehlernummer%1").arg(failed),
                                                               QStringLiteral("Fehler"), MessageIcon::Stop}}));
            if (failed < c.clearedFrom) {
                EXPECT_EQ(Rows(), rowsBefore);
            } else {
                EXPECT_EQ(Rows().size(), std::count(passed.begin(), passed.end(), 22));
            }
            EXPECT_EQ(Current(), Open(failed < c.switchedFrom ? captionBefore : kLetters));
        }
    }
}

} // namespace
} // namespace tavolin::test
