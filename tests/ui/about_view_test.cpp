#include "names/database.h"
#include "names/encoding.h"
#include "names/linelist.h"
#include "names/namelist.h"
#include "support/form_fixture.h"
#include "ui/bevel.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSize>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace tavolin::test {
namespace {

const QString kOpenCaption = QStringLiteral("Zurück");
const QString kClosedCaption = QStringLiteral("Über das Programm...");
const QString kStartCaption = QStringLiteral("Über das Programm und die Anleitung...");

struct Passage {
    const char* what;
    std::vector<const char*> lines; // UTF-8, each exactly as the user reads it
};

// Lines that the about text must hold word for word, in this order.
const Passage kQuotedPassages[] = {
    {"heading", {TAVOLIN_TITLE, ""}},
    {"database format",
     {"Eine solche Namen-Datenbank muss so aufgebaut sein: ",
      "Alles was zwischen zwei Zeichen ³ steht, das ist ein Name. ", "Zeilenumbrüche werden ignoriert. ",
      "Am Anfang sollte allerdings kein ³ stehen, dafür aber am ", "Ende. Also, z.B.:", "Jul", "ia³Brigitte", "³",
      "Paula³", "Nancy³Rebekka³P", "at", "r", "ick³", "", "Diese Datenbank enthält dann für das Programm sechs ",
      "Namen: ", "Julia, Brigitte, Paula, Nancy, Rebekka und Patrick. Die ",
      "Zeilenumbrüche werden dabei überhaupt nicht beachtet."}},
    {"farewell", {"Viel Spaß mit dem Programm!!!", "", ""}},
    {"last update", {"Letzte Aktualisierung des Programms: 14.03.2001"}},
};

// Every position at which the passage starts in the lines.
std::vector<qsizetype> Occurrences(const QStringList& lines, const Passage& passage) {
    const auto length = static_cast<qsizetype>(passage.lines.size());
    std::vector<qsizetype> found;
    for (qsizetype start = 0; start + length <= lines.size(); ++start) {
        bool equal = true;
        for (qsizetype i = 0; i < length && equal; ++i)
            equal = lines[start + i] == QString::fromUtf8(passage.lines[i]);
        if (equal)
            found.push_back(start);
    }
    return found;
}

// What the user can see of a control and what decides whether it can be used.
std::map<std::string, QString> StateOfControls(const QWidget& window) {
    std::map<std::string, QString> state;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        QString content;
        if (const auto* edit = qobject_cast<const QLineEdit*>(control))
            content = edit->text() + u'|' + QString::number(edit->cursorPosition());
        else if (const auto* button = qobject_cast<const QAbstractButton*>(control))
            content = button->text() + (button->isChecked() ? u"|checked"_s : u"|"_s);
        else if (const auto* panel = qobject_cast<const QLabel*>(control))
            content = panel->text();
        else if (const auto* group = qobject_cast<const QGroupBox*>(control))
            content = group->title();
        state[control->objectName().toStdString()] = content + (control->isEnabled() ? u"|enabled"_s : u"|disabled"_s) +
                                                     (control->isHidden() ? u"|hidden"_s : u"|shown"_s);
    }
    return state;
}

class AboutTest : public BuiltFormFixture {
protected:
    void SetUp() override {
        BuiltFormFixture::SetUp();
        if (HasFatalFailure())
            return;
        memo_ = Control<QPlainTextEdit>("Memo1");
        button4_ = Control<QPushButton>("Button4");
        bevel4_ = Control<Bevel>("Bevel4");
        ASSERT_TRUE(memo_ != nullptr && button4_ != nullptr && bevel4_ != nullptr);
    }

    QStringList AboutLines() const { return memo_->toPlainText().split(u'\n'); }

    // The memo covers the window's client width and reaches just below the
    // last bevel line.
    QRect OpenBounds() const { return {0, 0, form_->width(), bevel4_->y() + 3}; }

    void ShowWindow() {
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    }

    void ResizeWindow(QSize size) {
        form_->resize(size);
        QCoreApplication::processEvents();
        ASSERT_EQ(form_->size(), size);
    }

    QPlainTextEdit* memo_ = nullptr;
    QPushButton* button4_ = nullptr;
    Bevel* bevel4_ = nullptr;
};

TEST_F(AboutTest, TextHasItsLinesFromTheStart) {
    EXPECT_EQ(memo_->blockCount(), 115);
    EXPECT_EQ(AboutLines().size(), 115);
    EXPECT_TRUE(memo_->isHidden());
    EXPECT_EQ(button4_->text(), kStartCaption);
}

// At the window's design width every line of the text fits the memo in its
// font: no word stands alone on a row of its own. Blanks at a line's end
// never wrap.
TEST_F(AboutTest, NoLineWrapsAtTheDesignWidth) {
    ShowWindow();
    button4_->click();
    const QFontMetrics metrics(memo_->font());
    const int room = memo_->viewport()->width() - 2 * static_cast<int>(std::ceil(memo_->document()->documentMargin()));
    ASSERT_GT(room, 0);
    for (QString line : AboutLines()) {
        while (line.endsWith(u' '))
            line.chop(1);
        EXPECT_LE(metrics.horizontalAdvance(line), room)
            << '"' << line.toStdString() << "\" in " << QFontInfo(memo_->font()).family().toStdString();
    }
}

TEST_F(AboutTest, QuotedLinesAreExactAndInOrder) {
    const QStringList lines = AboutLines();
    qsizetype previous = -1;
    for (const Passage& passage : kQuotedPassages) {
        SCOPED_TRACE(passage.what);
        const std::vector<qsizetype> found = Occurrences(lines, passage);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_GT(found.front(), previous);
        previous = found.front();
    }
    EXPECT_EQ(Occurrences(lines, kQuotedPassages[0]).front(), 0);
    // The merging section leads straight into the format, and a blank line
    // ends the format.
    const Passage& format = kQuotedPassages[1];
    const qsizetype start = Occurrences(lines, format).front();
    const qsizetype end = start + static_cast<qsizetype>(format.lines.size());
    ASSERT_GT(start, 0);
    ASSERT_LT(end, lines.size());
    EXPECT_FALSE(lines[start - 1].isEmpty());
    EXPECT_TRUE(lines[end].isEmpty());
}

TEST_F(AboutTest, ExampleDatabaseHoldsTheSixNames) {
    const QStringList lines = AboutLines();
    const qsizetype intro = lines.indexOf(QStringLiteral("Ende. Also, z.B.:"));
    ASSERT_GE(intro, 0);
    const qsizetype blank = lines.indexOf(QString(), intro);
    ASSERT_GT(blank, intro + 1);
    const std::optional<std::string> bytes = EncodeName(lines.mid(intro + 1, blank - intro - 1).join(u'\n'));
    ASSERT_TRUE(bytes.has_value());

    NameList names;
    ParseNameLines(LineList::FromFileBytes(*bytes), names);
    const std::vector<std::string> parsed(names.begin(), names.end());
    EXPECT_EQ(parsed, (std::vector<std::string>{"Julia", "Brigitte", "Paula", "Nancy", "Rebekka", "Patrick"}));
}

TEST_F(AboutTest, AddressesAreOnlyReservedExampleDomains) {
    static const QRegularExpression kAddress(QStringLiteral(R"([\w.+-]+@([\w.-]+)|(?:https?://|www\.)([\w.-]+))"));
    static const QRegularExpression kReserved(QStringLiteral(R"(^(?:[\w-]+\.)*example\.(?:org|com|net)$)"));
    int mail = 0;
    int web = 0;
    for (auto it = kAddress.globalMatch(memo_->toPlainText()); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const bool isMail = match.hasCaptured(1);
        const QString host = match.captured(isMail ? 1 : 2);
        EXPECT_TRUE(kReserved.match(host).hasMatch()) << host.toStdString();
        ++(isMail ? mail : web);
    }
    EXPECT_GE(mail, 1); // where to send new names
    EXPECT_GE(web, 3);  // one for each contributor thanked
}

TEST_F(AboutTest, EachOpeningTakesTheWindowsCurrentSize) {
    ShowWindow();
    const QSize sizes[] = {form_->size(), {700, 600}, {300, 400}, {452, 900}};
    for (const QSize size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        ResizeWindow(size);
        memo_->setGeometry(7, 9, 11, 13); // whatever the last opening left
        button4_->click();
        EXPECT_FALSE(memo_->isHidden());
        EXPECT_EQ(memo_->geometry(), OpenBounds());
        EXPECT_EQ(button4_->text(), kOpenCaption);
        button4_->click();
        EXPECT_TRUE(memo_->isHidden());
        EXPECT_EQ(button4_->text(), kClosedCaption);
    }
}

TEST_F(AboutTest, OpensDownToTheLastBevelLineBeforeTheWindowIsShown) {
    button4_->click();
    EXPECT_FALSE(memo_->isHidden());
    EXPECT_EQ(memo_->geometry(), QRect(0, 0, form_->width(), 499));
}

TEST_F(AboutTest, ResizeWhileOpenLeavesTheMemoUntilReopened) {
    ShowWindow();
    button4_->click();
    const QRect opened = memo_->geometry();
    ResizeWindow({640, 560});
    EXPECT_EQ(memo_->geometry(), opened);
    EXPECT_EQ(bevel4_->width(), 640);

    button4_->click();
    button4_->click();
    EXPECT_EQ(memo_->geometry(), OpenBounds());
    EXPECT_EQ(memo_->width(), 640);
}

// The controls under the memo are out of reach while it is open (no Tab
// stop, nothing a screen reader sees) and come back as they were.
TEST_F(AboutTest, ControlsUnderTheMemoAreOutOfReachAndComeBackAsTheyWere) {
    ActivateWindow();
    Control<QLineEdit>("Edit1")->setText(QStringLiteral("Ölke"));
    Control<QLineEdit>("Edit3")->setText(QStringLiteral("Ö"));
    Control<QPushButton>("Button7")->setFocus();
    const auto before = StateOfControls(*form_);
    const std::vector<std::string> closedCycle = TabCycle();

    button4_->click();
    for (const QWidget* control : form_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const std::string name = control->objectName().toStdString();
        const bool bottomRow = control->y() > bevel4_->y();
        if (control != memo_ && !qobject_cast<const Bevel*>(control) && !control->isWindow()) {
            EXPECT_EQ(control->isHidden(), !bottomRow || before.at(name).endsWith(u"|hidden"_s)) << name;
        }
    }
    EXPECT_EQ(TabCycle(false, "Button4"), (std::vector<std::string>{"Button4", "Memo1", "Button7"}));

    button4_->click();
    auto after = StateOfControls(*form_);
    after["Button4"] = before.at("Button4"); // its caption is the shorter one now
    EXPECT_EQ(after, before);
    EXPECT_EQ(TabCycle(), closedCycle);
}

// While the statistics view lies over the about view, Button4 is hidden; the
// view is carried by the memo alone and comes back with the button.
TEST_F(AboutTest, HidingAndShowingButton4KeepsTheView) {
    for (const bool open : {true, false}) {
        SCOPED_TRACE(open ? "about view open" : "about view closed");
        if (open)
            button4_->click();
        const QString caption = button4_->text();
        button4_->hide();
        EXPECT_EQ(memo_->isHidden(), !open);
        button4_->show();
        EXPECT_EQ(button4_->text(), caption);
        EXPECT_EQ(memo_->isHidden(), !open);

        button4_->click();
        EXPECT_EQ(memo_->isHidden(), open);
        EXPECT_EQ(button4_->text(), open ? kClosedCaption : kOpenCaption);
        if (!open) {
            EXPECT_EQ(memo_->geometry(), OpenBounds());
            button4_->click();
        }
    }
}

} // namespace
} // namespace tavolin::test
