#include "support/form_fixture.h"
#include "support/window_parts.h"
#include "ui/bevel.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <array>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace tavolin::test {
namespace {

using Names = std::set<std::string>;

// The names that settings, e2e scripts and screen readers know the controls
// by, with their classes.
const std::pair<const QMetaObject*, const char*> kControls[] = {
    {&QPushButton::staticMetaObject, "Button1 Button2 Button3 Button4 Button5 Button6 Button7 Button8 Button9"},
    {&QLineEdit::staticMetaObject, "Edit1 Edit2 Edit3"},
    {&QLabel::staticMetaObject, "Panel1 Panel2 Panel3 Panel4 Panel5 Panel6 Panel7 Panel8 Panel9 Panel10 Panel11"},
    {&QGroupBox::staticMetaObject, "RadioGroup1 RadioGroup2"},
    {&QRadioButton::staticMetaObject, "RadioButton1 RadioButton2 RadioGroup1Item0 RadioGroup1Item1 RadioGroup1Item2 "
                                      "RadioGroup2Item0 RadioGroup2Item1"},
    {&QPlainTextEdit::staticMetaObject, "Memo1"},
    {&QListWidget::staticMetaObject, "ListBox1"},
    {&Bevel::staticMetaObject, "Bevel1 Bevel2 Bevel3 Bevel4 Bevel5"},
};

// The popup menu from the top; an empty name is a separator.
const char* const kPopupMenu[] = {"Gesamtschriftauswhlen1",
                                  "",
                                  "Hintergrundfarbeauswhlen1",
                                  "AnzeigetafelJintergrundfarbendern1",
                                  "EingabefelderHintergrundfarbendern1",
                                  "",
                                  "Standardeinstellungen1",
                                  "Wt",
                                  "",
                                  "Oberflchespeichernunter1",
                                  "Oberflcheladen1",
                                  "",
                                  "Ws"};

// The views lie over the bands; nothing else may lie over another control.
bool IsView(const QWidget* control) {
    return qobject_cast<const QPlainTextEdit*>(control) != nullptr ||
           qobject_cast<const QListWidget*>(control) != nullptr;
}

// Where a control shows itself: a bevel line only along its top edge.
QRect Extent(const QWidget* control) {
    QRect extent = control->geometry();
    if (qobject_cast<const Bevel*>(control) != nullptr)
        extent.setHeight(2);
    return extent;
}

// The room a control leaves for its caption: inside its frame, beside a
// radio button's circle, along a group's whole top edge. Nothing for
// controls without a caption.
std::optional<QRect> CaptionRoom(QWidget* control) {
    QStyleOptionButton option;
    option.initFrom(control);
    if (qobject_cast<QPushButton*>(control) != nullptr)
        return control->style()->subElementRect(QStyle::SE_PushButtonContents, &option, control);
    if (qobject_cast<QRadioButton*>(control) != nullptr)
        return control->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, control);
    if (qobject_cast<QGroupBox*>(control) != nullptr)
        return control->rect();
    if (auto* panel = qobject_cast<QLabel*>(control))
        return panel->contentsRect();
    return std::nullopt;
}

void ExpectCaptionFits(QWidget* control) {
    const std::optional<QRect> room = CaptionRoom(control);
    QString caption = ShownText(control);
    // A loaded file's path is the panel's content, not a caption: it may be cut.
    if (!room || QFileInfo(caption).isAbsolute())
        return;
    caption.remove(u'&');
    const QFontMetrics metrics = control->fontMetrics();
    EXPECT_LE(metrics.horizontalAdvance(caption), room->width())
        << control->objectName().toStdString() << ": \"" << caption.toStdString() << "\" in "
        << QFontInfo(control->font()).family().toStdString() << " (scripts/test installs fonts-liberation2)";
    EXPECT_LE(metrics.height(), control->height()) << control->objectName().toStdString();
}

// The controls placed on the window and in its groups, from the bottom of
// the stacking order up.
std::vector<QWidget*> Placed(QWidget& container, bool shownOnly) {
    std::vector<QWidget*> placed;
    for (QObject* child : container.children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control != nullptr && !control->isWindow() && (!shownOnly || control->isVisible()))
            placed.push_back(control);
    }
    return placed;
}

class LayoutTest : public BuiltFormFixture {
protected:
    std::vector<QWidget*> Containers() {
        std::vector<QWidget*> containers{form_.get()};
        for (QGroupBox* group : form_->findChildren<QGroupBox*>())
            containers.push_back(group);
        return containers;
    }

    // Every shown control lies inside the window or its group, shows its
    // caption whole and lies over no other, unless it is a view; bevel lines
    // run across the window. Gives the controls under a view.
    std::set<const QWidget*> ExpectPlacedAndReadable() {
        EXPECT_TRUE(form_->screen()->availableGeometry().contains(form_->frameGeometry()))
            << "the window leaves the screen: " << form_->frameGeometry().height() << " px high";
        std::set<const QWidget*> covered;
        for (QWidget* container : Containers()) {
            const std::vector<QWidget*> shown = Placed(*container, true);
            for (auto lower = shown.begin(); lower != shown.end(); ++lower) {
                const std::string name = (*lower)->objectName().toStdString();
                EXPECT_TRUE(container->rect().contains(Extent(*lower))) << name << " leaves its place";
                if (qobject_cast<const Bevel*>(*lower) != nullptr) {
                    EXPECT_EQ(Extent(*lower).width(), form_->width()) << name;
                }
                ExpectCaptionFits(*lower);
                for (auto upper = lower + 1; upper != shown.end(); ++upper) {
                    if (!Extent(*lower).intersects(Extent(*upper)))
                        continue;
                    EXPECT_TRUE(IsView(*upper)) << (*upper)->objectName().toStdString() << " over " << name;
                    covered.insert(*lower);
                }
            }
        }
        return covered;
    }

    // Tab visits every control the user can work with: shown, enabled and
    // under no view; no caption panel, group frame or bevel line; of a set of
    // radio buttons the selected one.
    void ExpectTabReachesEveryUsableControl(const std::set<const QWidget*>& covered) {
        Names usable;
        for (QWidget* container : Containers()) {
            for (QWidget* control : Placed(*container, true)) {
                const auto* radio = qobject_cast<const QRadioButton*>(control);
                if (control->isEnabled() && covered.count(control) == 0 && qobject_cast<QLabel*>(control) == nullptr &&
                    qobject_cast<QGroupBox*>(control) == nullptr && qobject_cast<Bevel*>(control) == nullptr &&
                    (radio == nullptr || radio->isChecked()))
                    usable.insert(control->objectName().toStdString());
            }
        }
        ASSERT_FALSE(usable.empty());
        const std::vector<std::string> cycle = TabCycle(false, usable.begin()->c_str());
        EXPECT_EQ(Names(cycle.begin(), cycle.end()), usable);
        EXPECT_EQ(cycle.size(), usable.size());
    }
};

TEST_F(LayoutTest, ControlsKeepTheirNamesAndClasses) {
    form_->show();
    EXPECT_EQ(form_->objectName(), u"Form1"_s);
    EXPECT_EQ(form_->windowTitle(), QStringLiteral(TAVOLIN_TITLE));
    // At the design font the window keeps its design size.
    EXPECT_EQ((std::array{form_->width(), form_->height()}), (std::array{452, 542}));
    std::size_t count = 0;
    for (const auto& [kind, names] : kControls) {
        for (const QString& name : QString::fromLatin1(names).split(u' ')) {
            SCOPED_TRACE(name.toStdString());
            ++count;
            const auto* control = form_->findChild<QWidget*>(name);
            ASSERT_NE(control, nullptr);
            EXPECT_TRUE(control->inherits(kind->className())) << control->metaObject()->className();
            // RadioGroup1Item0 lies in RadioGroup1, every other control on the window.
            const qsizetype item = name.indexOf(u"Item"_s);
            EXPECT_EQ(control->parent()->objectName(), item < 0 ? u"Form1"_s : name.left(item));
            if (const auto* panel = qobject_cast<const QLabel*>(control)) {
                EXPECT_EQ(panel->frameShape(), QFrame::Panel);
                EXPECT_EQ(panel->frameShadow(), QFrame::Raised);
                EXPECT_EQ(panel->alignment(), Qt::Alignment(Qt::AlignCenter));
            }
        }
    }
    std::size_t placed = 0;
    for (QWidget* container : Containers())
        placed += Placed(*container, false).size();
    EXPECT_EQ(placed, count);
}

TEST_F(LayoutTest, FieldsLimitAndWrapAsDesigned) {
    auto* edit2 = Control<QLineEdit>("Edit2");
    auto* memo = Control<QPlainTextEdit>("Memo1");
    ASSERT_TRUE(edit2 != nullptr && memo != nullptr);
    QTest::keyClicks(edit2, QString(201, u'a'));
    EXPECT_EQ(edit2->text(), QString(200, u'a')); // the 201st character is refused
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

TEST_F(LayoutTest, EachSetOfRadioButtonsKeepsItsOwnSelection) {
    const auto selected = [this] {
        Names names;
        for (const QRadioButton* button : form_->findChildren<QRadioButton*>()) {
            if (button->isChecked())
                names.insert(button->objectName().toStdString());
        }
        return names;
    };
    EXPECT_EQ(selected(), (Names{"RadioButton1", "RadioGroup1Item2", "RadioGroup2Item0"}));
    for (const char* name : {"RadioButton2", "RadioGroup1Item0", "RadioGroup2Item1"})
        Control<QRadioButton>(name)->click();
    EXPECT_EQ(selected(), (Names{"RadioButton2", "RadioGroup1Item0", "RadioGroup2Item1"}));
}

// Only the two settings read at close carry a tick, and only "Werte
// abspeichern" starts with it; no item has a shortcut key.
TEST_F(LayoutTest, PopupMenuHasItsItemsAndTicks) {
    auto* menu = Control<QMenu>("PopupMenu1");
    ASSERT_NE(menu, nullptr);
    QStringList names;
    for (const QAction* action : menu->actions()) {
        const QString name = action->isSeparator() ? QString() : action->objectName();
        names << name;
        EXPECT_EQ(action->text().isEmpty(), action->isSeparator()) << name.toStdString();
        EXPECT_EQ(action->isCheckable(), name == u"Wt"_s || name == u"Ws"_s) << name.toStdString();
        EXPECT_EQ(action->isChecked(), name == u"Ws"_s) << name.toStdString();
        EXPECT_TRUE(action->shortcuts().isEmpty()) << name.toStdString();
    }
    QStringList expected;
    for (const char* name : kPopupMenu)
        expected << QString::fromLatin1(name);
    EXPECT_EQ(names, expected);
}

// In every state the window can reach, with every caption the program puts
// in, at the design font and a large one.
TEST_F(LayoutTest, EveryStateShowsEachControlWholeAndWithinReach) {
    struct State {
        const char* what;
        std::function<void()> reach;
    };
    const auto click = [this](const char* name) { Control<QAbstractButton>(name)->click(); };
    const auto withFont = [this](const char* points) {
        RecordLines record = kDefaultRecord;
        record[kFontSizeLine] = points;
        form_.reset();
        CreateFormWithSettings(FileOf(record));
        ActivateWindow();
    };
    const State states[] = {
        {"start", [] {}},
        {"a female name drawn",
         [&] {
             click("RadioGroup1Item0");
             click("Button1");
         }},
        {"a male name drawn",
         [&] {
             click("RadioGroup1Item1");
             click("Button1");
         }},
        {"a new name typed", [this] { EnterName(true, u"Dora"_s); }},
        {"a name typed that is present", [this] { EnterName(true, u"Anna"_s); }},
        {"a name typed that no database can hold", [this] { EnterName(false, u"A\u0142a"_s); }},
        {"a foreign database loaded", [this] { ClickLoad(ForeignFile("foreign.dat", "Zora\xB3\r\n")); }},
        {"the counts of the largest databases",
         [this] {
             const QStringList counts = CountCaptions(8888888, 8888888);
             const char* const panels[] = {"Panel2", "Panel5", "Panel6"};
             for (int i = 0; i < 3; ++i)
                 Control<QLabel>(panels[i])->setText(counts[i]);
             Control<QLabel>("Panel9")->setText(LoadedCaption(8888888));
         }},
        {"about view", [&] { click("Button4"); }},
        {"about view closed",
         [&] {
             click("Button4");
             click("Button4");
         }},
        {"statistics view", [&] { click("Button7"); }},
        {"statistics of the name lengths",
         [&] {
             click("Button7");
             click("Button9");
         }},
        {"statistics over the about view",
         [&] {
             click("Button4");
             click("Button7");
         }},
        {"a font of 14 points",
         [&] {
             withFont("14");
             EXPECT_GT(form_->width(), 452);
         }}, // grew with its font
        {"a font of 28 points, too large for the screen", [&] { withFont("28"); }},
    };
    for (const State& state : states) {
        SCOPED_TRACE(state.what);
        form_.reset();
        CreateForm();
        ActivateWindow();
        state.reach();
        QCoreApplication::processEvents(); // the window lays itself out anew
        ExpectTabReachesEveryUsableControl(ExpectPlacedAndReadable());
    }
}

} // namespace
} // namespace tavolin::test
