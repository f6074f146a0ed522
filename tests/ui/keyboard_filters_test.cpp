#include "support/form_fixture.h"
#include "support/form_peer.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace tavolin::test {
namespace {

using Names = std::vector<std::string>;

// The Tab stops of the window as it starts: the controls of the tab order
// that are visible, enabled and take the focus, each radio group by its
// selected button.
const Names kStartCycle = {"Edit1",  "Button1",          "Edit2",        "Button3", "Button4",
                           "Edit3",  "RadioGroup1Item2", "RadioButton1", "Button5", "RadioGroup2Item0",
                           "Button7"};

Names With(Names cycle, const std::string& after, const std::string& name) {
    cycle.insert(std::find(cycle.begin(), cycle.end(), after) + 1, name);
    return cycle;
}

Names Replaced(Names cycle, const std::string& from, const std::string& to) {
    std::replace(cycle.begin(), cycle.end(), from, to);
    return cycle;
}

class KeyboardTest : public BuiltFormFixture {
protected:
    void SetUp() override {
        BuiltFormFixture::SetUp();
        if (!HasFatalFailure())
            ActivateWindow();
    }

    // Presses Alt with the key where the focus is. A button's accelerator
    // shows the button pressed for a moment before it clicks; this waits for
    // the click.
    void Alt(Qt::Key key, Qt::KeyboardModifiers more = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier | more);
        const QList<QPushButton*> buttons = form_->findChildren<QPushButton*>();
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return std::none_of(buttons.begin(), buttons.end(), [](const QPushButton* b) { return b->isDown(); });
        }));
    }

    // Clicks a control with the mouse near its left end, where a radio
    // button has its circle (its far end is no part of it).
    void Click(const char* name) {
        auto* control = Control<QWidget>(name);
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(6, control->height() / 2));
    }

    // Presses the mouse on a control and lets it go outside it: the control
    // takes the focus, but nothing is clicked.
    void PressAndSlipOff(const char* name) {
        auto* control = Control<QWidget>(name);
        QTest::mousePress(control, Qt::LeftButton, {}, QPoint(6, control->height() / 2));
        QTest::mouseRelease(control, Qt::LeftButton, {}, QPoint(-40, control->height() / 2));
    }

    std::string FocusedName() const {
        const QWidget* focused = QApplication::focusWidget();
        return focused == nullptr ? std::string() : focused->objectName().toStdString();
    }
};

TEST_F(KeyboardTest, AltUDrawsAndAltPCopiesFromAnyControl) {
    for (const char* from : {"Edit3", "Button7", "RadioButton1"}) {
        SCOPED_TRACE(from);
        auto* edit1 = Control<QLineEdit>("Edit1");
        edit1->setText(u"kein Name"_s);
        Control<QWidget>(from)->setFocus(Qt::TabFocusReason);

        Alt(Qt::Key_U);
        const QStringList names = {u"Anna"_s, u"Berta"_s, u"Clara"_s, u"Anton"_s, u"Bernd"_s};
        EXPECT_TRUE(names.contains(edit1->text())) << edit1->text().toStdString();
        EXPECT_EQ(FocusedName(), "Edit1"); // a drawn name is ready to be copied

        Control<QWidget>(from)->setFocus(Qt::TabFocusReason);
        platform_.clipboard.clear();
        Alt(Qt::Key_P);
        EXPECT_EQ(platform_.clipboard, std::vector<QString>{edit1->text()});
    }
    EXPECT_EQ(Control<QLineEdit>("Edit3")->text(), QString());
}

TEST_F(KeyboardTest, AltAFocusesTheSelectedNameFor) {
    for (const char* item : {"RadioGroup1Item0", "RadioGroup1Item1", "RadioGroup1Item2"}) {
        SCOPED_TRACE(item);
        Click(item);
        Control<QWidget>("Button7")->setFocus(Qt::TabFocusReason);
        Alt(Qt::Key_A);
        EXPECT_EQ(FocusedName(), item);
        EXPECT_TRUE(Control<QRadioButton>(item)->isChecked());
    }
    // An item pressed and released outside itself took the focus but not the
    // selection; Alt+A still goes to the selected item.
    PressAndSlipOff("RadioGroup1Item0");
    Control<QWidget>("Button7")->setFocus(Qt::TabFocusReason);
    Alt(Qt::Key_A);
    EXPECT_EQ(FocusedName(), "RadioGroup1Item2");
    // A selection made by the program counts as well.
    Control<QRadioButton>("RadioGroup1Item1")->setChecked(true);
    Control<QWidget>("Button7")->setFocus(Qt::TabFocusReason);
    Alt(Qt::Key_A);
    EXPECT_EQ(FocusedName(), "RadioGroup1Item1");
}

// Button2 carries "H&inzufügen" only while it is still disabled: the first
// change of Edit2 replaces the caption by one without the mark. Alt+I is
// bound to the button exactly as long as the mark is there.
TEST_F(KeyboardTest, AltIAddsOnlyWhileTheCaptionCarriesTheMark) {
    auto* edit2 = Control<QLineEdit>("Edit2");
    auto* button2 = Control<QPushButton>("Button2");
    const std::string fileBefore = ReadBytes(ProgramFile(u"fnames.dat"_s));
    edit2->setFocus(Qt::TabFocusReason);

    Alt(Qt::Key_I); // the built state: disabled, nothing happens
    EXPECT_EQ(edit2->text(), QString());
    EXPECT_EQ(button2->text(), u"H&inzufügen"_s);
    EXPECT_FALSE(button2->isEnabled());

    QTest::keyClicks(edit2, u"Dora"_s);
    EXPECT_EQ(button2->text(), u"Hinzufügen"_s);
    ASSERT_TRUE(button2->isEnabled());
    Alt(Qt::Key_I); // no accelerator any more: no add, and no "i" typed
    EXPECT_EQ(edit2->text(), u"Dora"_s);
    EXPECT_FALSE(FormPeer::Databases(*form_).female.Names().contains("Dora"));
    EXPECT_EQ(ReadBytes(ProgramFile(u"fnames.dat"_s)), fileBefore);

    // With the mark back on an enabled button, Alt+I clicks it.
    {
        const QSignalBlocker quiet(edit2);
        edit2->setText(u"Emma"_s);
    }
    button2->setText(u"H&inzufügen"_s);
    Alt(Qt::Key_I);
    EXPECT_TRUE(FormPeer::Databases(*form_).female.Names().contains("Emma"));
}

// The start name is selected, ready for Ctrl+C; an emptied field adds
// nothing; one Ctrl+Z after an add takes it back, typed text or not;
// Shift+F10 opens the field's menu, which shows the undo's shortcut.
TEST_F(KeyboardTest, StartNameReadyNoEmptyNameOneCtrlZShiftF10) {
    EXPECT_EQ(Control<QLineEdit>("Edit1")->selectedText(), Control<QLineEdit>("Edit1")->text());
    auto* edit2 = Control<QLineEdit>("Edit2");
    edit2->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(edit2, u"Dx"_s);
    QTest::keyClick(edit2, Qt::Key_Backspace);
    QTest::keyClick(edit2, Qt::Key_Backspace);
    EXPECT_FALSE(Control<QPushButton>("Button2")->isEnabled());

    const std::string before = ReadBytes(ProgramFile(u"fnames.dat"_s));
    QTest::keyClicks(edit2, u"Dora"_s);
    QTest::keyClick(Control<QPushButton>("Button2"), Qt::Key_Return);
    ASSERT_NE(ReadBytes(ProgramFile(u"fnames.dat"_s)), before);
    edit2->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit2, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ReadBytes(ProgramFile(u"fnames.dat"_s)), before);
    EXPECT_EQ(edit2->text(), u"Dora"_s);

    QTest::keyClick(edit2, Qt::Key_F10, Qt::ShiftModifier);
    const std::unique_ptr<QMenu> menu(edit2->findChild<QMenu*>());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->findChild<QAction*>(u"UndoNameChange"_s)->shortcut(), QKeySequence(QKeySequence::Undo));
}

TEST_F(KeyboardTest, AltWithAnUnboundLetterTypesNothing) {
    for (const char* name : {"Edit1", "Edit2", "Edit3"}) {
        SCOPED_TRACE(name);
        auto* edit = Control<QLineEdit>(name);
        edit->setText(u"Ol"_s);
        edit->setFocus(Qt::TabFocusReason);
        edit->end(false);
        for (const Qt::Key key : {Qt::Key_I, Qt::Key_X, Qt::Key_E})
            Alt(key);
        Alt(Qt::Key_E, Qt::ShiftModifier);
        EXPECT_EQ(edit->text(), u"Ol"_s);
        QTest::keyClicks(edit, u"ga"_s); // plain letters still type
        EXPECT_EQ(edit->text(), u"Olga"_s);
    }
}

TEST_F(KeyboardTest, TabVisitsTheVisibleEnabledControlsInTabOrder) {
    struct CycleRow {
        const char* what;
        std::function<void()> act;
        Names cycle; // from its first stop
    };
    // Each state of the window with the Tab stops it must have.
    const CycleRow rows[] = {
        {"start", [] {}, kStartCycle},
        {"a new name typed: Button2 enabled", [this] { QTest::keyClicks(Control<QLineEdit>("Edit2"), u"Dora"_s); },
         With(kStartCycle, "Edit2", "Button2")},
        {"a known name typed: Button2 disabled", [this] { QTest::keyClicks(Control<QLineEdit>("Edit2"), u"Anna"_s); },
         kStartCycle},
        {"a foreign database loaded: Button6 enabled",
         [this] { ClickLoad(ForeignFile("foreign.dat", "Zora\xB3\r\n")); },
         With(kStartCycle, "RadioGroup2Item0", "Button6")},
        // A view keeps the keyboard to itself and the bottom row.
        {"about view", [this] { Control<QPushButton>("Button4")->click(); }, {"Button4", "Memo1", "Button7"}},
        {"statistics view",
         [this] { Control<QPushButton>("Button7")->click(); },
         {"Button7", "ListBox1", "Button8", "Button9"}},
        {"statistics over the about view",
         [this] {
             Control<QPushButton>("Button4")->click();
             Control<QPushButton>("Button7")->click();
         },
         {"Button7", "ListBox1", "Button8", "Button9"}},
        {"statistics view closed again",
         [this] {
             Control<QPushButton>("Button7")->click();
             Control<QPushButton>("Button7")->click();
         },
         kStartCycle},
        {"other selections clicked",
         [this] {
             for (const char* name : {"RadioGroup1Item0", "RadioButton2", "RadioGroup2Item1"})
                 Click(name);
         },
         // The click on RadioButton2 works out the state of Button2: no
         // name typed, nothing to add.
         Replaced(
             Replaced(Replaced(kStartCycle, "RadioGroup1Item2", "RadioGroup1Item0"), "RadioButton1", "RadioButton2"),
             "RadioGroup2Item0", "RadioGroup2Item1")},
        {"an item pressed without selecting it",
         [this] {
             PressAndSlipOff("RadioGroup1Item0");
             PressAndSlipOff("RadioButton2");
         },
         kStartCycle},
        {"selection moved with an arrow key",
         [this] {
             Control<QWidget>("RadioGroup1Item2")->setFocus(Qt::TabFocusReason);
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
         },
         Replaced(kStartCycle, "RadioGroup1Item2", "RadioGroup1Item1")},
    };
    for (const CycleRow& row : rows) {
        SCOPED_TRACE(row.what);
        form_.reset();
        CreateForm();
        ActivateWindow();
        row.act();
        EXPECT_EQ(TabCycle(false, row.cycle.front().c_str()), row.cycle);
        Names backwards = row.cycle;
        std::reverse(backwards.begin() + 1, backwards.end());
        EXPECT_EQ(TabCycle(true, row.cycle.front().c_str()), backwards);
    }
}

TEST_F(KeyboardTest, ArrowKeysMoveTheSelectionAndTheTabStopTogether) {
    Control<QLineEdit>("Edit2")->setText(u"Anton"_s);
    ASSERT_TRUE(Control<QPushButton>("Button2")->isEnabled());
    Control<QWidget>("RadioButton1")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(FocusedName(), "RadioButton2");
    EXPECT_TRUE(Control<QRadioButton>("RadioButton2")->isChecked());
    // The button state follows the gender, as after a click.
    EXPECT_FALSE(Control<QPushButton>("Button2")->isEnabled());
    const std::vector<std::pair<const char*, bool>> stops = {{"RadioButton1", false}, {"RadioButton2", true}};
    for (const auto& [name, stop] : stops)
        EXPECT_EQ((Control<QWidget>(name)->focusPolicy() & Qt::TabFocus) != 0, stop) << name;
}

} // namespace
} // namespace tavolin::test
