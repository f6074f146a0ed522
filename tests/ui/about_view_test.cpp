#include "names/database.h"
#include "names/encoding.h"
#include "names/linelist.h"
#include "names/namelist.h"
#include "support/form_fixture.h"
#include "support/form_peer.h"
#include "ui/bevel.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QFileInfo>
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

    // The text of the open view.
    QString AboutText() {
        if (memo_->isHidden())
            button4_->click();
        return memo_->toPlainText();
    }
    QStringList AboutLines() { return AboutText().split(u'\n'); }

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

// The memo shows the text shipped with the program whole, blanks at the
// ends of lines included; it starts with the window's title.
TEST_F(AboutTest, ShowsTheShippedTextByteForByte) {
    QFile shipped(u":/ui/about.txt"_s);
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QByteArray bytes = shipped.readAll();
    EXPECT_TRUE(memo_->isHidden());
    EXPECT_EQ(button4_->text(), kStartCaption);
    EXPECT_EQ((AboutText() + u'\n').toUtf8(), bytes);
    EXPECT_TRUE(bytes.startsWith(TAVOLIN_TITLE "\n\n"));
    EXPECT_EQ(memo_->blockCount(), bytes.count('\n')); // a line of the memo for every line of the text
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

// Section by section the text names the commands it explains by the
// captions they show, then the two files the program reads.
TEST_F(AboutTest, NamesTheCommandsByTheirCaptionsInTheOrderOfItsSections) {
    QStringList quoted;
    static const QRegularExpression kQuote(u"„([^“]*)“"_s);
    for (auto it = kQuote.globalMatch(AboutText()); it.hasNext();)
        quoted << it.next().captured(1).simplified();
    QStringList captions;
    for (const char* name : {"Button1", "Button3", "RadioGroup1Item2", "RadioGroup1Item2", "Panel4", "Panel3",
                             "Button2", "Button5", "RadioGroup2", "Button6", "Ws", "Button7", "Button9", "Button8"}) {
        const auto* action = form_->findChild<QAction*>(QString::fromLatin1(name));
        QString caption = action != nullptr ? action->text() : ShownText(Control<QWidget>(name));
        caption.remove(u'&');
        if (caption.endsWith(u':'))
            caption.chop(1);
        captions << caption;
    }
    captions << QFileInfo(FormPeer::FemaleDatabasePath(*form_)).fileName()
             << QFileInfo(FormPeer::MaleDatabasePath(*form_)).fileName();
    EXPECT_EQ(quoted, captions);
}

// The example database parses to the names the text says it holds.
TEST_F(AboutTest, ExampleDatabaseHoldsTheNamesTheTextLists) {
    const QStringList lines = AboutLines();
    const auto intro =
        std::find_if(lines.begin(), lines.end(), [](const QString& line) { return line.endsWith(u"z.B.:"_s); });
    ASSERT_NE(intro, lines.end());
    const auto blank = std::find(intro, lines.end(), QString());
    ASSERT_NE(blank, lines.end());
    const std::optional<std::string> bytes = EncodeName(QStringList(intro + 1, blank).join(u'\n'));
    ASSERT_TRUE(bytes.has_value());
    NameList names;
    ParseNameLines(LineList::FromFileBytes(*bytes), names);
    QStringList parsed;
    for (const std::string_view name : names)
        parsed << DecodeName(name);

    static const QRegularExpression kListed(u"Namen: \\n(.*)\\. "_s);
    const QString listed = kListed.match(AboutText()).captured(1);
    EXPECT_EQ(parsed, listed.split(QRegularExpression(u", | und "_s)));
    EXPECT_EQ(parsed.size(), 6);
}

TEST_F(AboutTest, AddressesAreOnlyReservedExampleDomains) {
    static const QRegularExpression kAddress(QStringLiteral(R"([\w.+-]+@([\w.-]+)|(?:https?://|www\.)([\w.-]+))"));
    static const QRegularExpression kReserved(QStringLiteral(R"(^(?:[\w-]+\.)*example\.(?:org|com|net)$)"));
    int mail = 0;
    int web = 0;
    for (auto it = kAddress.globalMatch(AboutText()); it.hasNext();) {
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
