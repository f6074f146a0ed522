#include "support/form_fixture.h"
#include "support/testfiles.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace tavolin::test {
namespace {

class NameRemovalTest : public FormFixture {
protected:
    // Opens the field's menu as a right click does; runs or looks at an entry.
    bool MenuEntry(const char* edit, const char* entry, bool run = false) {
        Q_EMIT Control<QLineEdit>(edit)->customContextMenuRequested(QPoint(2, 2));
        const std::unique_ptr<QMenu> menu(Control<QLineEdit>(edit)->findChild<QMenu*>());
        EXPECT_GT(menu->actions().size(), 5); // the field's own entries stay
        auto* action = menu->findChild<QAction*>(QString::fromLatin1(entry));
        const bool enabled = action->isEnabled();
        if (run)
            action->trigger();
        QCoreApplication::processEvents(); // the entries run once the menu is gone
        return enabled;
    }
};

TEST_F(NameRemovalTest, MenusRemoveTheNameShownAndCtrlZTakesItBack) {
    CreateForm();
    const QString drawn = Control<QLineEdit>("Edit1")->text();
    const bool female = kFemaleBytes.find(drawn.toStdString()) != std::string_view::npos;
    const QString file = ProgramFile(female ? u"fnames.dat"_s : u"mnames.dat"_s);
    const std::string before = ReadBytes(file);
    platform_.yesNoAnswers = {true};
    // The drawn name goes from its own database, whichever the add chooses.
    Control<QRadioButton>(female ? "RadioButton2" : "RadioButton1")->click();
    EXPECT_TRUE(MenuEntry("Edit1", "RemoveName", true));
    EXPECT_TRUE(platform_.questions.at(0).text.contains(
        drawn + (female ? u"\" aus der weiblichen"_s : u"\" aus der männlichen"_s)));
    EXPECT_EQ(ReadBytes(file).find(drawn.toStdString()), std::string::npos);
    EXPECT_EQ(CountCaptions(), CountCaptions(female ? 2 : 3, female ? 2 : 1));
    EXPECT_FALSE(MenuEntry("Edit1", "RemoveName"));

    ActivateWindow(); // the menus took it away
    Control<QLineEdit>("Edit1")->setFocus();
    QTest::keyClick(Control<QLineEdit>("Edit1"), Qt::Key_Z, Qt::ControlModifier); // nothing typed to undo there
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(CountCaptions(), CountCaptions(3, 2));

    // The typed name, in the chosen database; undo takes an add back too.
    AddName(false, u"Zeno"_s);
    EnterName(true, u"Zeno"_s);
    EXPECT_FALSE(MenuEntry("Edit2", "RemoveName"));
    EXPECT_TRUE(MenuEntry("Edit2", "UndoNameChange", true));
    EXPECT_EQ(ReadBytes(ProgramFile(u"mnames.dat"_s)), kMaleBytes);
    EXPECT_TRUE(platform_.messages.empty());

    // An add whose save failed is the last change all the same.
    AddName(false, u"Zora"_s);
    saveFault_.FailWhen([](SaveStep step) { return step == SaveStep::Commit; });
    AddName(false, u"Zuzu"_s);
    saveFault_.Clear();
    EXPECT_TRUE(MenuEntry("Edit2", "UndoNameChange", true));
    EXPECT_EQ(ReadBytes(ProgramFile(u"mnames.dat"_s)), std::string(kMaleBytes) + "Zora\xB3\r\n");
}

} // namespace
} // namespace tavolin::test
