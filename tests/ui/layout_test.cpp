#include "support/form_fixture.h"
#include "ui/bevel.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace tavolin::test {
namespace {

enum class Kind { Button, Edit, Panel, RadioGroup, Radio, Memo, List };

// The program writes its own text into these at start-up (counts, start name, about text).
constexpr const char* kSetAtStart = nullptr;

struct ControlRow {
    const char* name;
    Kind kind;
    std::array<int, 4> bounds; // left, top, width, height
    const char* caption;       // button/panel/radio text, group title, edit/list contents
    bool visible;
    bool enabled;
};

// The window's controls in tab order.
const ControlRow kControls[] = {
    {"Edit1", Kind::Edit, {29, 40, 226, 21}, kSetAtStart, true, true},
    {"Button1", Kind::Button, {29, 8, 226, 25}, "Z&ufälligen Namen erzeugen", true, true},
    {"Panel1", Kind::Panel, {176, 128, 9, 9}, "", false, true},
    {"Panel2", Kind::Panel, {41, 120, 370, 17}, kSetAtStart, true, true},
    {"Panel3", Kind::Panel, {105, 264, 241, 17}, "Neuer Wuzelname:", true, true},
    {"Edit2", Kind::Edit, {156, 288, 140, 21}, "", true, true},
    {"Button2", Kind::Button, {107, 336, 239, 25}, "H&inzufügen", true, false},
    {"Button3", Kind::Button, {29, 64, 226, 17}, "Name in Zwischenablage ko&pieren", true, true},
    {"Button4", Kind::Button, {9, 512, 292, 25}, "Über das Programm und die Anleitung...", true, true},
    {"Memo1", Kind::Memo, {0, 0, 441, 73}, kSetAtStart, false, true},
    {"Panel4", Kind::Panel, {46, 200, 360, 17}, "Name muss mit folgendem Wortteil anfangen:", true, true},
    {"Edit3", Kind::Edit, {177, 224, 97, 21}, "", true, true},
    {"RadioGroup1", Kind::RadioGroup, {261, 8, 161, 73}, "N&ame für", true, true},
    {"Panel5", Kind::Panel, {41, 144, 370, 17}, kSetAtStart, true, true},
    {"Panel6", Kind::Panel, {41, 168, 370, 17}, kSetAtStart, true, true},
    {"RadioButton1", Kind::Radio, {63, 312, 158, 17}, "Weiblicher Name", true, true},
    {"RadioButton2", Kind::Radio, {227, 312, 162, 17}, "Männlicher Name", true, true},
    {"Panel7", Kind::Panel, {85, 376, 283, 17}, "Namen-Datenbank hinzufügen:", true, true},
    {"Button5", Kind::Button, {0, 400, 105, 25}, "Datei laden...", true, true},
    {"Panel8", Kind::Panel, {112, 400, 337, 25}, "Keine Datei geladen", true, true},
    {"RadioGroup2", Kind::RadioGroup, {0, 432, 169, 57}, "Verschmelzen mit", true, true},
    {"Button6", Kind::Button, {176, 464, 185, 25}, "Verschmelze!", true, false},
    {"Panel9", Kind::Panel, {176, 432, 273, 25}, "Keine Datei geladen", true, true},
    {"Panel10", Kind::Panel, {77, 85, 298, 21}, kSetAtStart, true, true},
    {"Button7", Kind::Button, {313, 512, 129, 25}, "Statistiken", true, true},
    {"ListBox1", Kind::List, {0, 0, 449, 505}, "", false, true},
    {"Panel11", Kind::Panel, {0, 512, 25, 17}, "", false, true},
    {"Button8", Kind::Button, {8, 512, 113, 25}, "Aktualisieren", false, true},
    {"Button9", Kind::Button, {136, 512, 169, 25}, "Zu den Namenlängen...", false, true},
};

struct RadioRow {
    const char* group; // nullptr: a radio button placed on the window itself
    const char* name;
    const char* text;
    bool checked;
};

const RadioRow kRadioButtons[] = {
    {"RadioGroup1", "RadioGroup1Item0", "Weibliche Wuzels", false},
    {"RadioGroup1", "RadioGroup1Item1", "Männliche Wuzels", false},
    {"RadioGroup1", "RadioGroup1Item2", "Egal", true},
    {"RadioGroup2", "RadioGroup2Item0", "Weiblicher Datenbank", true},
    {"RadioGroup2", "RadioGroup2Item1", "Männlicher Datenbank", false},
    {nullptr, "RadioButton1", "Weiblicher Name", true},
    {nullptr, "RadioButton2", "Männlicher Name", false},
};

struct BevelRow {
    const char* name;
    int top;
};

const BevelRow kBevels[] = {{"Bevel1", 112}, {"Bevel2", 192}, {"Bevel3", 252}, {"Bevel5", 368}, {"Bevel4", 496}};

struct MenuRow {
    const char* name;
    const char* caption; // nullptr: a separator
    bool checkable;
    bool checked;
};

// The popup menu, top to bottom.
const MenuRow kPopupMenu[] = {
    {"Gesamtschriftauswhlen1", "Gesamtschrift auswählen...", false, false},
    {"N1", nullptr, false, false},
    {"Hintergrundfarbeauswhlen1", "Hintergrundfarbe auswählen...", false, false},
    {"AnzeigetafelJintergrundfarbendern1", "Anzeigetafel-Hintergrundfarbe ändern...", false, false},
    {"EingabefelderHintergrundfarbendern1", "Eingabefelder-Hintergrundfarbe ändern...", false, false},
    {"N2", nullptr, false, false},
    {"Standardeinstellungen1", "Standardeinstellungen", false, false},
    {"Wt", "Das nächste Mal Standardeinstellungen laden", true, false},
    {"N3", nullptr, false, false},
    {"Oberflchespeichernunter1", "Oberfläche speichern unter...", false, false},
    {"Oberflcheladen1", "Oberfläche laden...", false, false},
    {"N4", nullptr, false, false},
    {"Ws", "Werte abspeichern", true, true},
};

bool IsOfKind(const QWidget* control, Kind kind) {
    switch (kind) {
    case Kind::Button:
        return qobject_cast<const QPushButton*>(control) != nullptr;
    case Kind::Edit:
        return qobject_cast<const QLineEdit*>(control) != nullptr;
    case Kind::Panel:
        return qobject_cast<const QLabel*>(control) != nullptr;
    case Kind::RadioGroup:
        return qobject_cast<const QGroupBox*>(control) != nullptr;
    case Kind::Radio:
        return qobject_cast<const QRadioButton*>(control) != nullptr;
    case Kind::Memo:
        return qobject_cast<const QPlainTextEdit*>(control) != nullptr;
    case Kind::List:
        return qobject_cast<const QListWidget*>(control) != nullptr;
    }
    return false;
}

std::array<int, 4> BoundsOf(const QWidget* control) {
    const QRect r = control->geometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

using LayoutTest = BuiltFormFixture;

TEST_F(LayoutTest, WindowHasItsCaptionAndDesignSize) {
    EXPECT_EQ(form_->objectName(), QStringLiteral("Form1"));
    EXPECT_EQ(form_->windowTitle(), QStringLiteral(TAVOLIN_TITLE));
    EXPECT_EQ((std::array{form_->width(), form_->height()}), (std::array{452, 542}));
}

TEST_F(LayoutTest, ControlsHaveTheirKindPlaceCaptionAndState) {
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.name);
        auto* control = Control<QWidget>(row.name);
        if (control == nullptr)
            continue;
        if (!IsOfKind(control, row.kind)) {
            ADD_FAILURE() << "wrong class " << control->metaObject()->className();
            continue;
        }
        EXPECT_EQ(BoundsOf(control), row.bounds);
        if (row.caption != kSetAtStart) {
            EXPECT_EQ(ShownText(control), QString::fromUtf8(row.caption));
        }
        EXPECT_EQ(control->isVisibleTo(form_.get()), row.visible);
        EXPECT_EQ(control->isEnabled(), row.enabled);
        if (row.kind == Kind::Panel) {
            const auto* panel = static_cast<const QLabel*>(control);
            EXPECT_EQ(panel->frameShape(), QFrame::Panel);
            EXPECT_EQ(panel->frameShadow(), QFrame::Raised);
            EXPECT_EQ(panel->alignment(), Qt::Alignment(Qt::AlignCenter));
            EXPECT_EQ(panel->focusPolicy(), Qt::NoFocus);
        }
    }
}

TEST_F(LayoutTest, FieldsLimitAndWrapAsDesigned) {
    auto* edit2 = Control<QLineEdit>("Edit2");
    auto* memo = Control<QPlainTextEdit>("Memo1");
    ASSERT_TRUE(edit2 != nullptr && memo != nullptr);
    EXPECT_EQ(edit2->maxLength(), 200);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

TEST_F(LayoutTest, RadioButtonsStartWithTheirSelection) {
    for (const RadioRow& row : kRadioButtons) {
        SCOPED_TRACE(row.name);
        auto* button = Control<QRadioButton>(row.name);
        if (button == nullptr)
            continue;
        QObject* owner = row.group == nullptr ? static_cast<QObject*>(form_.get()) : Control<QGroupBox>(row.group);
        EXPECT_EQ(button->parent(), owner);
        EXPECT_EQ(button->text(), QString::fromUtf8(row.text));
        EXPECT_EQ(button->isChecked(), row.checked);
        // Tab enters a group at its selected button.
        EXPECT_EQ((button->focusPolicy() & Qt::TabFocus) != 0, row.checked);
    }
}

TEST_F(LayoutTest, EachRadioGroupKeepsItsOwnSelection) {
    for (const char* name : {"RadioButton2", "RadioGroup1Item0", "RadioGroup2Item1"}) {
        if (auto* button = Control<QRadioButton>(name))
            button->click();
    }
    const std::vector<std::pair<const char*, bool>> expected = {
        {"RadioGroup1Item0", true},  {"RadioGroup1Item1", false}, {"RadioGroup1Item2", false},
        {"RadioGroup2Item0", false}, {"RadioGroup2Item1", true},  {"RadioButton1", false},
        {"RadioButton2", true}};
    for (const auto& [name, checked] : expected) {
        if (auto* button = Control<QRadioButton>(name)) {
            EXPECT_EQ(button->isChecked(), checked) << name;
        }
    }
}

TEST_F(LayoutTest, BevelLinesSpanTheBandBorders) {
    for (const BevelRow& row : kBevels) {
        SCOPED_TRACE(row.name);
        auto* bevel = Control<Bevel>(row.name);
        if (bevel == nullptr)
            continue;
        EXPECT_EQ(bevel->x(), 0);
        EXPECT_EQ(bevel->y(), row.top);
        EXPECT_EQ(bevel->height(), 9);
        EXPECT_TRUE(bevel->isVisibleTo(form_.get()));
    }
}

TEST_F(LayoutTest, PopupActionsHaveTheirCaptionsAndTicks) {
    for (const MenuRow& row : kPopupMenu) {
        if (row.caption == nullptr)
            continue;
        SCOPED_TRACE(row.name);
        auto* action = Control<QAction>(row.name);
        if (action == nullptr)
            continue;
        EXPECT_EQ(action->text(), QString::fromUtf8(row.caption));
        EXPECT_EQ(action->isCheckable(), row.checkable);
        EXPECT_EQ(action->isChecked(), row.checked);
        EXPECT_TRUE(action->shortcuts().isEmpty());
    }
}

TEST_F(LayoutTest, PopupMenuListsItsItemsInOrder) {
    auto* menu = Control<QMenu>("PopupMenu1");
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(kPopupMenu)));
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const MenuRow& row = kPopupMenu[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(actions[i]->isSeparator(), row.caption == nullptr);
        if (row.caption != nullptr) {
            EXPECT_EQ(actions[i]->objectName(), QString::fromLatin1(row.name));
        }
    }
}

TEST_F(LayoutTest, ListBox1OverMemo1OverAllOtherControls) {
    std::vector<std::string> bottomToTop;
    for (QObject* child : form_->children()) {
        const auto* widget = qobject_cast<const QWidget*>(child);
        if (widget != nullptr && !widget->isWindow()) // the popup menu and dialogs are windows of their own
            bottomToTop.push_back(widget->objectName().toStdString());
    }
    ASSERT_GE(bottomToTop.size(), 2u);
    EXPECT_EQ(bottomToTop.back(), "ListBox1");
    EXPECT_EQ(bottomToTop[bottomToTop.size() - 2], "Memo1");
}

TEST_F(LayoutTest, FocusChainFollowsTheTabOrder) {
    std::vector<std::string> expected;
    for (const ControlRow& row : kControls)
        expected.emplace_back(row.name);

    auto* first = Control<QWidget>("Edit1");
    ASSERT_NE(first, nullptr);
    std::vector<std::string> chain;
    QWidget* widget = first;
    do {
        std::string name = widget->objectName().toStdString();
        if (std::find(expected.begin(), expected.end(), name) != expected.end())
            chain.push_back(std::move(name));
        widget = widget->nextInFocusChain();
    } while (widget != first);
    EXPECT_EQ(chain, expected);
}

} // namespace
} // namespace tavolin::test
