#include "fileio/fileio.h"
#include "names/database.h"
#include "support/form_fixture.h"
#include "support/form_peer.h"
#include "support/list_strings.h"

#include <QLabel>
#include <QPushButton>
#include <string>
#include <tuple>
#include <vector>

namespace tavolin::test {
namespace {

using namespace Qt::StringLiterals;
using Message = ScriptedPlatform::Message;

const QString kAdd = QStringLiteral("Hinzufügen");
const QString kPresent = QStringLiteral("Hinzufügen ( Name bereits vorhanden )");
const QString kUnstorable = QStringLiteral("Hinzufügen ( ungültiges Zeichen im Namen )");
const QString kNul(QChar(u'\0'));

class AddTest : public FormFixture {
protected:
    QString ButtonState() {
        const auto* button = Control<QPushButton>("Button2");
        return (button->isEnabled() ? u"enabled "_s : u"disabled "_s) + button->text();
    }
};

// One sequence of entries: each step's state follows from its text and its
// gender alone, whether the text or the gender changed.
TEST_F(AddTest, ButtonStateFollowsTheTextAndTheChosenList) {
    const std::vector<std::tuple<bool, QString, QString>> steps = {
        {true, u"Anna"_s, u"disabled "_s + kPresent},
        {false, u"Anna"_s, u"enabled "_s + kAdd}, // switching the gender alone
        {true, u"Anna"_s, u"disabled "_s + kPresent},
        {true, u"anna"_s, u"enabled "_s + kAdd},
        {true, u"Anna "_s, u"enabled "_s + kAdd},
        {true, u"Anton"_s, u"enabled "_s + kAdd},
        {false, u"Anton"_s, u"disabled "_s + kPresent},
        {false, QString(), u"disabled "_s + kAdd}, // no empty name
        {true, u"J\u00F6rg\u20AC"_s, u"enabled "_s + kAdd},
        {true, u"Ab\u00B3Zo"_s, u"disabled "_s + kUnstorable},
        {false, u"Ab\rZo"_s, u"disabled "_s + kUnstorable},
        {true, u"Ab\nZo"_s, u"disabled "_s + kUnstorable},
        {true, u"Ab"_s + kNul, u"disabled "_s + kUnstorable},
        {false, u"A\u0142a"_s, u"disabled "_s + kUnstorable},
    };
    CreateForm();
    for (const auto& [female, text, state] : steps) {
        EnterName(female, text);
        EXPECT_EQ(ButtonState(), state) << text.toStdString() << (female ? " female" : " male");
    }
}

struct AddCase {
    const char* what;
    bool female;
    std::string before; // the chosen database
    QString typed;
    std::string after;
    Strings names;
    int femaleCount, maleCount;
};

// An added name ends the chosen list and file unchanged, trailing text being
// closed first; the counts follow and the button shows the name as present.
TEST_F(AddTest, AddedNameReachesListFileAndCounts) {
    const std::string anton = "Anton\xB3\r\n";
    const std::vector<AddCase> cases = {
        {"female", true, "Anna\xB3\r\n", u"Eva"_s, "Anna\xB3\r\nEva\xB3\r\n", {"Anna", "Eva"}, 2, 1},
        {"male", false, anton, u"Eva"_s, anton + "Eva\xB3\r\n", {"Anton", "Eva"}, 1, 2},
        {"case differs", true, "Anna\xB3", u"anna"_s, "Anna\xB3\r\nanna\xB3\r\n", {"Anna", "anna"}, 2, 1},
        {"blanks", false, anton, u" Eva  "_s, anton + " Eva  \xB3\r\n", {"Anton", " Eva  "}, 1, 2},
        {"Windows-1252", true, "", u"J\u00F6rg\u20AC"_s, "J\xF6rg\x80\xB3\r\n", {"J\xF6rg\x80"}, 1, 1},
        {"trailing text",
         true,
         "Paula\xB3Pat",
         u"Eva"_s,
         "Paula\xB3Pat\xB3\r\nEva\xB3\r\n",
         {"Paula", "Pat", "Eva"},
         3,
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetProgramFile(u"fnames.dat"_s, c.female ? c.before : "Clara\xB3");
        SetProgramFile(u"mnames.dat"_s, c.female ? anton : c.before);
        CreateForm();
        platform_.messages.clear(); // a start name from an empty list reports its own error
        EnterName(c.female, u"x"_s);
        AddName(c.female, c.typed);

        const QString path = c.female ? FormPeer::FemaleDatabasePath(*form_) : FormPeer::MaleDatabasePath(*form_);
        EXPECT_EQ(ReadBytes(path), c.after);
        EXPECT_EQ(ReadBytes(c.female ? FormPeer::MaleDatabasePath(*form_) : FormPeer::FemaleDatabasePath(*form_)),
                  c.female ? anton : "Clara\xB3");
        EXPECT_EQ(
            NamesOf(c.female ? FormPeer::Databases(*form_).female.Names() : FormPeer::Databases(*form_).male.Names()),
            c.names);
        EXPECT_EQ(NamesInFile(path), c.names);
        EXPECT_EQ(CountCaptions(), CountCaptions(c.femaleCount, c.maleCount));
        EXPECT_EQ(ButtonState(), u"disabled "_s + kPresent);
        EXPECT_TRUE(platform_.messages.empty());
    }
}

// A click that the button state should have prevented: a name that another
// copy of the program saved since (the click reads the changed file, and the
// counts show what it holds), or text that cannot be stored. Nothing is
// written.
TEST_F(AddTest, RefusedClickChangesNothing) {
    const Message female{u"Der Name ist bereits in der weiblichen Namen-Datenbank enthalten."_s, u"Bereits vorhanden"_s,
                         MessageIcon::Exclamation};
    const Message male{u"Der Name ist bereits in der männlichen Namen-Datenbank enthalten."_s, u"Bereits vorhanden"_s,
                       MessageIcon::Exclamation};
    const Message unstorable{
        u"Der Name enthält ein Zeichen, das in der Namen-Datenbank nicht gespeichert werden kann."_s, u"Fehler"_s,
        MessageIcon::Stop};
    const std::vector<std::tuple<bool, QString, Message>> cases = {
        {true, u"Dora"_s, female},        {false, u"Dora"_s, male},    {true, u"Ab\u00B3Zo"_s, unstorable},
        {false, u"\r"_s, unstorable},     {true, u"\n"_s, unstorable}, {true, kNul, unstorable},
        {false, u"\u2603"_s, unstorable},
    };
    CreateForm();
    for (const auto& [isFemale, text, message] : cases) {
        SCOPED_TRACE(text.toStdString());
        platform_.messages.clear();
        EnterName(isFemale, text);
        const QString path = isFemale ? FormPeer::FemaleDatabasePath(*form_) : FormPeer::MaleDatabasePath(*form_);
        if (message.icon == MessageIcon::Exclamation)
            WriteBytes(path, ReadBytes(path) + text.toStdString() + "\xB3\r\n");
        const std::string females = ReadBytes(FormPeer::FemaleDatabasePath(*form_));
        const std::string males = ReadBytes(FormPeer::MaleDatabasePath(*form_));
        auto* button = Control<QPushButton>("Button2");
        button->setEnabled(true);
        button->click();
        EXPECT_EQ(platform_.messages, std::vector<Message>{message});
        EXPECT_EQ(
            NamesOf(isFemale ? FormPeer::Databases(*form_).female.Names() : FormPeer::Databases(*form_).male.Names()),
            NamesInFile(path));
        EXPECT_EQ(CountCaptions(), CountCaptions(NamesInFile(FormPeer::FemaleDatabasePath(*form_)).size(),
                                                 NamesInFile(FormPeer::MaleDatabasePath(*form_)).size()));
        EXPECT_EQ(ReadBytes(FormPeer::FemaleDatabasePath(*form_)), females);
        EXPECT_EQ(ReadBytes(FormPeer::MaleDatabasePath(*form_)), males);
    }
}

// A failed rewrite keeps the file and keeps the name, unsaved: the button
// still offers it, and a click on it saves it instead of calling it present;
// the next add writes every name the window holds.
TEST_F(AddTest, FailedRewriteKeepsTheNameUnsavedUntilTheNextWrite) {
    CreateForm();
    const QString path = ProgramFile(u"fnames.dat"_s);
    const Message createError = KeptError(CreateErrorText(path), FormPeer::Databases(*form_).female.RecoveryPath());
    const auto add = [&](const QString& name, bool failing) {
        saveFault_.FailWhen([failing](SaveStep step) { return failing && step == SaveStep::Write; });
        AddName(true, name);
        saveFault_.Clear();
    };
    add(u"Eva"_s, true);
    EXPECT_EQ(ReadBytes(path), kFemaleBytes);
    EXPECT_EQ(NamesOf(FormPeer::Databases(*form_).female.Names()), (Strings{"Anna", "Berta", "Clara", "Eva"}));
    EXPECT_EQ(FormPeer::Databases(*form_).female.UnsavedCount(), 1u);
    EXPECT_EQ(RecoveryFiles().size(), 1);
    EXPECT_EQ(CountCaptions(), CountCaptions(3, 2));
    EnterName(true, u"Eva"_s);
    EXPECT_EQ(ButtonState(), u"enabled "_s + kAdd);

    add(u"Eva"_s, false);
    EXPECT_EQ(ReadBytes(path), std::string(kFemaleBytes) + "Eva\xB3\r\n");
    EXPECT_EQ(CountCaptions(), CountCaptions(4, 2));
    EXPECT_EQ(ButtonState(), u"disabled "_s + kPresent);

    add(u"Frida"_s, true);
    add(u"Gerda"_s, false);
    EXPECT_EQ(ReadBytes(path), std::string(kFemaleBytes) + "Eva\xB3\r\nFrida\xB3\r\nGerda\xB3\r\n");
    EXPECT_EQ(FormPeer::Databases(*form_).female.UnsavedCount(), 0u);
    EXPECT_EQ(CountCaptions(), CountCaptions(6, 2));
    EXPECT_EQ(platform_.messages, (std::vector<Message>{createError, Recovered(1), createError, Recovered(1)}));
    EXPECT_TRUE(RecoveryFiles().isEmpty());
}

} // namespace
} // namespace tavolin::test
