#include "fileio/fileio.h"
#include "settings/record.h"
#include "support/form_fixture.h"
#include "support/form_peer.h"
#include "support/window_parts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tavolin::test {
namespace {

using Message = ScriptedPlatform::Message;
// What the window shows, by control and property, so that a failed
// comparison names what differs.
using Look = std::map<std::string, std::string>;

std::string FontText(const QFont& font) {
    return font.family().toStdString() + "/" + std::to_string(font.pixelSize()) + (font.bold() ? "/bold" : "");
}

std::string RoleText(const QWidget* widget, QPalette::ColorRole role) {
    return ColorText(widget->palette().color(QPalette::Active, role));
}

// The values a record gives the window; no name means "keep the name".
struct RecordValues {
    QColor fontColor;
    std::optional<QString> fontName;
    int pixelHeight = 0;
    QColor input;
    QColor board;
    QColor background;
};

// How far applying a record got: every step up to this one took effect.
enum class Reached { Nothing, Switch, FontColor, FontName, FontSize, InputColor, BoardColor, Background };

class SettingsTest : public FormFixture {
protected:
    QAction* Action(const char* name) { return Control<QAction>(name); }

    Look LookOf() {
        Look look;
        look["font"] = FontText(form_->font());
        look["font.color"] = RoleText(form_.get(), QPalette::WindowText);
        look["Edit1.text"] = RoleText(Control<QWidget>("Edit1"), QPalette::Text);
        look["Button3.text"] = RoleText(Control<QWidget>("Button3"), QPalette::ButtonText);
        // Disabled controls keep the system's grey text whatever the font's colour.
        look["Button2.disabled"] =
            ColorText(Control<QWidget>("Button2")->palette().color(QPalette::Disabled, QPalette::ButtonText));
        for (const char* name : kOwnFontControls) {
            const auto* control = Control<QWidget>(name);
            look[std::string(name) + ".font"] = FontText(control->font());
            look[std::string(name) + ".color"] = RoleText(
                control, qobject_cast<const QPushButton*>(control) ? QPalette::ButtonText : QPalette::WindowText);
        }
        for (const char* name : kInputFields)
            look[std::string(name) + ".base"] = RoleText(Control<QWidget>(name), QPalette::Base);
        for (const char* name : kBoardPanels)
            look[std::string(name) + ".back"] = RoleText(Control<QWidget>(name), QPalette::Window);
        look["Panel11.back"] = RoleText(Control<QWidget>("Panel11"), QPalette::Window);
        look["background"] = RoleText(form_.get(), QPalette::Window);
        look["RadioGroup1.back"] = RoleText(Control<QWidget>("RadioGroup1"), QPalette::Window);
        for (const char* name : {"Memo1", "ListBox1"}) {
            const auto* view = Control<QWidget>(name);
            look[std::string(name) + ".font"] = FontText(view->font());
            look[std::string(name) + ".text"] = RoleText(view, QPalette::Text);
            look[std::string(name) + ".base"] = RoleText(view, QPalette::Base);
            look[std::string(name) + ".back"] = RoleText(view, QPalette::Window);
        }
        return look;
    }

    // The look of the window description, from a window started without a
    // settings file.
    Look DesignLook() {
        const std::optional<std::string> saved =
            Exists(SettingsPath()) ? std::optional<std::string>(ReadBytes(SettingsPath())) : std::nullopt;
        CreateFormWithSettings(std::nullopt);
        Look look = LookOf();
        form_.reset();
        if (saved)
            WriteBytes(SettingsPath(), *saved);
        return look;
    }

    // The design look changed by the steps that took effect: controls that
    // follow the window's font show its font, and its colour where their
    // background has a colour of the record (push buttons never).
    static Look Expected(Look look, Reached reached, const RecordValues& values = {}) {
        const auto done = [reached](Reached step) { return reached >= step; };
        const std::string fontColor = ColorText(values.fontColor);
        QFont font;
        font.setFamily(done(Reached::FontName) && values.fontName ? *values.fontName : QStringLiteral("MS Sans Serif"));
        font.setPixelSize(done(Reached::FontSize) ? values.pixelHeight : 11);
        look["font"] = FontText(font);
        if (done(Reached::Background))
            look["font.color"] = fontColor;
        if (done(Reached::InputColor))
            look["Edit1.text"] = fontColor;
        if (done(Reached::Switch)) {
            for (const char* name : kOwnFontControls)
                look[std::string(name) + ".font"] = look["font"];
        }
        if (done(Reached::BoardColor))
            for (const char* name : {"Panel2", "Panel5", "Panel6"})
                look[std::string(name) + ".color"] = fontColor;
        if (done(Reached::InputColor))
            for (const char* name : kInputFields)
                look[std::string(name) + ".base"] = ColorText(values.input);
        if (done(Reached::BoardColor))
            for (const char* name : kBoardPanels)
                look[std::string(name) + ".back"] = ColorText(values.board);
        if (done(Reached::Background)) {
            look["background"] = ColorText(values.background);
            look["RadioGroup1.back"] = ColorText(values.background);
        }
        return look;
    }
};

TEST_F(SettingsTest, FirstStartWithoutFileShowsTheDesignAndWritesTheDefaults) {
    CreateForm();
    ASSERT_EQ(form_->logicalDpiY(), 96);
    const Look look = LookOf();
    // The description's look: black fonts, the own-font controls bold, the
    // panels in the system's button face.
    EXPECT_EQ(look.at("font"), "MS Sans Serif/11");
    EXPECT_EQ(look.at("font.color"), "#000000");
    for (const char* name : kOwnFontControls) {
        EXPECT_EQ(look.at(std::string(name) + ".font"), "MS Sans Serif/11/bold") << name;
        EXPECT_EQ(look.at(std::string(name) + ".color"), "#000000") << name;
    }
    const std::string buttonFace = ColorText(QApplication::palette().color(QPalette::Button));
    for (const char* name : kBoardPanels)
        EXPECT_EQ(look.at(std::string(name) + ".back"), buttonFace) << name;
    ExpectAppearance();
    EXPECT_FALSE(Exists(SettingsPath()));

    EXPECT_TRUE(CloseForm());
    EXPECT_EQ(ReadBytes(SettingsPath()), FileOf(kDefaultRecord));
    EXPECT_TRUE(platform_.messages.empty());
}

struct IgnoredCase {
    const char* what;
    std::string bytes;
    bool switched; // the own-font controls lose their bold font
};

// Files that apply nothing: the marker (whatever follows it), and files that
// fail at their first line, after the own-font controls were switched unless
// there is no first line at all.
TEST_F(SettingsTest, MarkerAndBadFirstLinesApplyNothingElse) {
    const Look design = DesignLook();
    const std::vector<IgnoredCase> cases = {
        {"marker and garbage", "NOFORMAT\r\nrot\r\n\r\n-\r\nArial\r\n$$\r\n", false},
        {"marker and a valid record", "NOFORMAT\n" + FileOf({"255", "0", "0", "Arial", "20"}, "\n"), false},
        {"empty file", "", false},
        {"NUL at the start", std::string("\0NOFORMAT\r\n", 11), false},
        {"lower-case marker", "noformat\r\n" + FileOf({"255", "0", "0", "Arial", "20"}), true},
        {"blank before the marker", " NOFORMAT\r\n" + FileOf(kDefaultRecord), true},
        {"empty first line", "\r\n1\r\n", true},
        {"trailing blank", "12 \r\n0\r\n0\r\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CreateFormWithSettings(c.bytes);
        EXPECT_EQ(LookOf(), Expected(design, c.switched ? Reached::Switch : Reached::Nothing));
        for (const char* name : kOwnFontControls)
            EXPECT_EQ(Control<QWidget>(name)->testAttribute(Qt::WA_SetFont), !c.switched) << name;
        ExpectAppearance();
        EXPECT_TRUE(platform_.messages.empty());
        EXPECT_EQ(ReadBytes(SettingsPath()), c.bytes); // reading never writes
        form_.reset();
    }
}

struct PartialCase {
    const char* what;
    RecordLines lines;
    Reached reached;
    RecordLines written; // the record written at close
};

// A record is applied line by line up to its first missing or bad line;
// Appearance takes nothing of it, but the window's font is what gets written.
TEST_F(SettingsTest, RecordAppliesUpToItsFirstBadLine) {
    const Look design = DesignLook();
    const RecordLines valid = {"255", "0", "0", "DejaVu Serif", "12", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    const RecordValues values{QColor(255, 0, 0), QStringLiteral("DejaVu Serif"), 16, QColor(1, 2, 3), QColor(4, 5, 6),
                              QColor(7, 8, 9)};
    const auto with = [&](std::size_t index, const char* line) {
        RecordLines lines = valid;
        lines[index] = line;
        return lines;
    };
    const auto upTo = [](RecordLines lines, std::size_t count) {
        lines.resize(count);
        return lines;
    };
    // The window's font as far as it got, with the default colours.
    const auto written = [&](const char* name, const char* size) {
        return RecordLines{"255", "0", "0", name, size, "255", "255", "255", "192", "192", "192", "192", "192", "192"};
    };
    const std::vector<PartialCase> cases = {
        {"one line", upTo(valid, 1), Reached::Switch, kDefaultRecord},
        {"bad blue of the font", with(2, "blau"), Reached::Switch, kDefaultRecord},
        {"no name line", upTo(valid, 3), Reached::FontColor, written("MS Sans Serif", "8")},
        {"no size", upTo(valid, 4), Reached::FontName, written("DejaVu Serif", "8")},
        {"exactly five lines", upTo(valid, 5), Reached::FontSize, written("DejaVu Serif", "12")},
        {"bad input green", with(6, "1.0"), Reached::FontSize, written("DejaVu Serif", "12")},
        {"no board colour", upTo(valid, 8), Reached::InputColor, written("DejaVu Serif", "12")},
        {"bad background blue", with(13, "x"), Reached::BoardColor, written("DejaVu Serif", "12")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CreateFormWithSettings(FileOf(c.lines));
        EXPECT_EQ(LookOf(), Expected(design, c.reached, values));
        ExpectAppearance();
        ExpectClosedWithSettings(c.written);
        EXPECT_TRUE(platform_.messages.empty());
    }

    // An empty name line keeps the name and is no failure.
    RecordValues keepName = values;
    keepName.fontName.reset();
    CreateFormWithSettings(FileOf(upTo(with(3, ""), 5)));
    EXPECT_EQ(LookOf(), Expected(design, Reached::FontSize, keepName));
    ExpectClosedWithSettings(written("MS Sans Serif", "12"));
}

// Every kind of line break, hexadecimal numbers, components beyond 8 bits, a
// font name of 40 Windows-1252 characters, and lines behind the record that
// are never read.
TEST_F(SettingsTest, FullRecordIsAppliedAndTakenIntoAppearance) {
    const Look design = DesignLook();
    const std::string name = "Sch\xF6ne Schrift mit vierzig Zeichen im Na";
    ASSERT_EQ(name.size(), 40u);
    const RecordLines lines = {"$10", "0x20", "-1",  name,  " 10",     "300", "256",      "-1", "+1",    "2",
                               "$03", "0",    "128", "255", "garbage", "",    "NOFORMAT", "-",  "Arial", "99"};
    std::string bytes;
    for (std::size_t i = 0; i < lines.size(); ++i)
        bytes += lines[i] + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    CreateFormWithSettings(bytes);

    const std::string cut = name.substr(0, 31);
    const RecordValues values{QColor(16, 32, 255), QString::fromLatin1(cut), 13,
                              QColor(44, 0, 255),  QColor(1, 2, 3),          QColor(0, 128, 255)};
    EXPECT_EQ(LookOf(), Expected(design, Reached::Background, values));
    ExpectAppearance(Color{44 + 0xFF0000}, Color{0x030201}, Color{0xFF8000});

    EXPECT_TRUE(CloseForm());
    EXPECT_EQ(ReadBytes(SettingsPath()),
              FileOf({"16", "32", "255", cut, "10", "44", "0", "255", "1", "2", "3", "0", "128", "255"}));
}

// With Wt checked the record is written behind the marker; the next start
// ignores it, starts with Wt unchecked and writes the defaults again.
TEST_F(SettingsTest, MarkerWrittenWithWtIsIgnoredAtTheNextStart) {
    const Look design = DesignLook();
    const RecordLines record = {"0",  "0",  "255", "DejaVu Serif", "14", "10", "20",
                                "30", "40", "50",  "60",           "70", "80", "90"};
    CreateFormWithSettings(FileOf(record));
    EXPECT_FALSE(Action("Wt")->isChecked());
    Action("Wt")->trigger();
    ASSERT_TRUE(Action("Wt")->isChecked());
    EXPECT_TRUE(CloseForm());
    EXPECT_EQ(ReadBytes(SettingsPath()), FileOf(Marked(record)));
    form_.reset();

    CreateForm();
    EXPECT_FALSE(Action("Wt")->isChecked());
    EXPECT_TRUE(Action("Ws")->isChecked());
    EXPECT_EQ(LookOf(), design);
    ExpectAppearance();
    EXPECT_TRUE(CloseForm());
    EXPECT_EQ(ReadBytes(SettingsPath()), FileOf(kDefaultRecord));
}

// A size of zero or below stands for the default size: the captions stay
// readable and the file written at close holds a readable size again.
TEST_F(SettingsTest, SizeOfZeroOrBelowIsTheDefaultSize) {
    for (const char* size : {"0", "-1", "-2147483648"}) {
        SCOPED_TRACE(size);
        RecordLines lines = kDefaultRecord;
        lines[kFontSizeLine] = size;
        CreateFormWithSettings(FileOf(lines));
        EXPECT_EQ(form_->font().pixelSize(), 11);
        ExpectClosedWithSettings(kDefaultRecord);
    }
}

// Without Ws nothing is written, whatever Wt says: an existing file keeps its
// bytes, and none is created.
TEST_F(SettingsTest, WsUncheckedLeavesTheFileAlone) {
    const std::string odd = " 1\n2\r3\r\nArial\n9\n0\n0\n0\n0\n0\n0\n0\n0\n0\nRest";
    for (const bool exists : {false, true}) {
        SCOPED_TRACE(exists ? "existing file, Wt checked" : "no file");
        CreateFormWithSettings(exists ? std::optional<std::string_view>(odd) : std::nullopt);
        Action("Ws")->trigger();
        ASSERT_FALSE(Action("Ws")->isChecked());
        if (exists)
            Action("Wt")->trigger();
        EXPECT_TRUE(CloseForm());
        if (exists) {
            EXPECT_EQ(ReadBytes(SettingsPath()), odd);
        }
        EXPECT_EQ(QDir(programDir_.path()).entryList(QDir::Files | QDir::Hidden).size(), exists ? 3 : 2);
        form_.reset();
    }
}

// The settings file cannot be replaced at close: the error reaches the
// general error display, the old file stays and the window closes anyway.
TEST_F(SettingsTest, UnwritableSettingsFileIsReportedAndTheWindowCloses) {
    const std::string old = FileOf({"1", "2", "3", "Arial", "9", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
    CreateFormWithSettings(old);
    saveFault_.FailWhen([](SaveStep step) { return step == SaveStep::Open; });
    form_->show();
    EXPECT_TRUE(form_->close());
    EXPECT_FALSE(form_->isVisible());
    const QString path = FormPeer::ProgramDir(*form_) + QDir::separator() + QStringLiteral("tavolin.ini");
    EXPECT_EQ(platform_.messages,
              (std::vector<Message>{{QStringLiteral("Datei %1 kann nicht erstellt werden.").arg(path),
                                     QStringLiteral("Tavolin 4.2"), MessageIcon::Stop}}));
    EXPECT_EQ(ReadBytes(SettingsPath()), old);
}

} // namespace
} // namespace tavolin::test
