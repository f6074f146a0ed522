#include "fileio/fileio.h"
#include "settings/record.h"
#include "support/form_fixture.h"
#include "support/window_parts.h"
#include "ui/color.h"
#include "ui/dialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDialog>
#include <QFontInfo>
#include <QPushButton>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tavolin::test {
namespace {

using namespace Qt::StringLiterals;
using Message = ScriptedPlatform::Message;
// What the window shows, by control and property.
using Look = std::map<std::string, std::string>;

const Message kLoadError{u"Die Datei konnte nicht geöffnet werden."_s, u"Fehler"_s, MessageIcon::Stop};

std::string FontText(const QFont& font) {
    std::string text = font.family().toStdString() + "/" +
                       (font.pixelSize() > 0 ? std::to_string(font.pixelSize()) + "px"
                                             : QString::number(font.pointSizeF()).toStdString() + "pt");
    for (const auto& [on, name] : {std::pair{font.bold(), "bold"}, std::pair{font.italic(), "italic"},
                                   std::pair{font.underline(), "underline"}, std::pair{font.strikeOut(), "strike"}})
        text += on ? std::string("/") + name : "";
    return text;
}

// The default record with other values from line `first` on.
RecordLines DefaultsWith(std::size_t first, const RecordLines& values) {
    RecordLines lines = kDefaultRecord;
    std::copy(values.begin(), values.end(), lines.begin() + static_cast<std::ptrdiff_t>(first));
    return lines;
}

ChosenFont FontChoice(const QString& family, double points, bool bold, bool italic, const QColor& color) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return {font, color};
}

class AppearanceTest : public FormFixture {
protected:
    void Trigger(const char* action) { Control<QAction>(action)->trigger(); }
    QString DesignPath() const { return designDir_.filePath(u"design.ini"_s); }

    void ChooseFont(const ChosenFont& font) {
        platform_.fontAnswers.emplace_back(font);
        Trigger("Gesamtschriftauswhlen1");
    }
    void ChooseColor(const char* action, std::optional<QColor> color) {
        platform_.colorAnswers.push_back(color);
        Trigger(action);
    }
    void UseFile(const char* action, std::optional<QString> path) {
        platform_.fileAnswers.push_back(std::move(path));
        Trigger(action);
    }

    Look LookOf() {
        Look look;
        look["font"] = FontText(form_->font());
        look["font.color"] = ColorText(form_->palette().color(QPalette::WindowText));
        look["Button3.font"] = FontText(Control<QWidget>("Button3")->font());
        for (const char* name : kOwnFontControls) {
            const auto* control = Control<QWidget>(name);
            look[std::string(name) + ".font"] = FontText(control->font());
            look[std::string(name) + ".own"] = control->testAttribute(Qt::WA_SetFont) ? "own" : "window";
        }
        for (const char* name : kInputFields)
            look[std::string(name) + ".base"] = ColorText(Control<QWidget>(name)->palette().color(QPalette::Base));
        for (const char* name : kBoardPanels)
            look[std::string(name) + ".back"] = ColorText(Control<QWidget>(name)->palette().color(QPalette::Window));
        look["Panel11.back"] = ColorText(Control<QWidget>("Panel11")->palette().color(QPalette::Window));
        look["background"] = ColorText(form_->palette().color(QPalette::Window));
        return look;
    }

    // The own-font controls and Button3 follow the window's font.
    static void FollowWindowFont(Look& look) {
        look["Button3.font"] = look["font"];
        for (const char* name : kOwnFontControls) {
            look[std::string(name) + ".font"] = look["font"];
            look[std::string(name) + ".own"] = "window";
        }
    }

    QTemporaryDir designDir_;
};

TEST_F(AppearanceTest, CancelledFontDialogStillSwitchesTheOwnFontControls) {
    CreateForm();
    Look expected = LookOf();
    platform_.fontAnswers.emplace_back(std::nullopt);
    Trigger("Gesamtschriftauswhlen1");
    ASSERT_EQ(platform_.fontPresets.size(), 1u);
    EXPECT_EQ(FontText(platform_.fontPresets[0].font), "MS Sans Serif/11px");
    EXPECT_EQ(ColorText(platform_.fontPresets[0].color), "#000000");
    FollowWindowFont(expected);
    EXPECT_EQ(LookOf(), expected);
    ExpectAppearance();
    ExpectClosedWithSettings(kDefaultRecord);
}

struct FontCase {
    const char* what;
    ChosenFont choice;
    RecordLines written; // lines 0 to 4 of the settings file
    const char* restarted;
};

// The window shows the whole choice; after a restart name, size and colour
// come back, but not the style.
TEST_F(AppearanceTest, ConfirmedFontShowsItsStyleAndComesBackWithoutIt) {
    ChosenFont struck{QFont(u"DejaVu Sans Mono"_s), QColor(0, 0, 160)};
    struck.font.setPixelSize(20);
    struck.font.setUnderline(true);
    struck.font.setStrikeOut(true);
    const std::vector<FontCase> cases = {
        {"bold italic in points",
         FontChoice(u"DejaVu Serif"_s, 14, true, true, QColor(200, 0, 0)),
         {"200", "0", "0", "DejaVu Serif", "14"},
         "DejaVu Serif/19px"},
        {"underlined, struck out, in pixels",
         struck,
         {"0", "0", "160", "DejaVu Sans Mono", "15"},
         "DejaVu Sans Mono/20px"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CreateFormWithSettings(std::nullopt);
        Look expected = LookOf();
        ChooseFont(c.choice);
        expected["font"] = FontText(c.choice.font);
        // The colour shows on the backgrounds of the look, not on the theme's.
        FollowWindowFont(expected);
        EXPECT_EQ(LookOf(), expected);
        ExpectAppearance(kWhite, kSilver, kSilver, FontReference::DialogFont);
        ExpectClosedWithSettings(DefaultsWith(0, c.written));

        // The test screen is too small for these sizes: the window shows
        // them smaller and still keeps them as chosen.
        CreateForm();
        for (QWidget* shown : {static_cast<QWidget*>(form_.get()), Control<QWidget>("Panel2")}) {
            EXPECT_EQ(shown->font().family(), c.choice.font.family());
            EXPECT_LT(shown->font().pixelSize(), QFontInfo(QFont(c.choice.font)).pixelSize());
        }
        platform_.fontAnswers.emplace_back(std::nullopt); // the dialog is preset with the restored font
        Trigger("Gesamtschriftauswhlen1");
        EXPECT_EQ(FontText(platform_.fontPresets.back().font), c.restarted);
        EXPECT_EQ(platform_.fontPresets.back().color, c.choice.color);
        ExpectClosedWithSettings(DefaultsWith(0, c.written));
    }
}

// The defaults reset colours, size, name and font colour; the style of a
// font choice stays, and so does the bold font of controls never switched.
TEST_F(AppearanceTest, DefaultsKeepTheFontStyle) {
    for (const bool fontChosen : {true, false}) {
        SCOPED_TRACE(fontChosen ? "after a bold italic choice" : "without a font choice");
        CreateFormWithSettings(std::nullopt);
        ChooseColor("Hintergrundfarbeauswhlen1", QColor(1, 2, 3));
        ChooseColor("AnzeigetafelJintergrundfarbendern1", QColor(4, 5, 6));
        ChooseColor("EingabefelderHintergrundfarbendern1", QColor(7, 8, 9));
        if (fontChosen)
            ChooseFont(FontChoice(u"DejaVu Serif"_s, 20, true, true, Qt::blue));
        Look expected = LookOf();
        const std::size_t dialogs = platform_.fontPresets.size() + platform_.colorPresets.size();
        Trigger("Standardeinstellungen1");

        expected["font"] = fontChosen ? "MS Sans Serif/11px/bold/italic" : "MS Sans Serif/11px";
        expected["Button3.font"] = expected["font"];
        expected["font.color"] = "#000000";
        if (fontChosen)
            FollowWindowFont(expected);
        for (const char* name : kInputFields)
            expected[std::string(name) + ".base"] = "#ffffff";
        for (const char* name : kBoardPanels)
            expected[std::string(name) + ".back"] = "#c0c0c0";
        expected["background"] = "#c0c0c0";
        EXPECT_EQ(LookOf(), expected);
        EXPECT_EQ(platform_.fontPresets.size() + platform_.colorPresets.size(), dialogs);
        ExpectAppearance();
        ExpectClosedWithSettings(kDefaultRecord);
    }
}

struct ColorCase {
    const char* action;
    std::vector<std::string> targets; // what the chosen colour reaches
    std::size_t recordLine;
    Color Appearance::*value;
};

// Each colour command is preset with the colour its group shows now; a
// cancel changes nothing, a choice reaches its group and Appearance only.
TEST_F(AppearanceTest, ColourCommandsPresetTheCurrentColourAndApplyTheChoice) {
    const std::vector<ColorCase> cases = {
        {"Hintergrundfarbeauswhlen1", {"background"}, kBackgroundColorLine, &Appearance::BackgroundColor},
        {"AnzeigetafelJintergrundfarbendern1",
         {"Panel1.back", "Panel2.back", "Panel3.back", "Panel4.back", "Panel5.back", "Panel6.back", "Panel7.back",
          "Panel8.back", "Panel9.back", "Panel10.back"},
         kBoardColorLine,
         &Appearance::BoardColor},
        {"EingabefelderHintergrundfarbendern1",
         {"Edit1.base", "Edit2.base", "Edit3.base"},
         kInputColorLine,
         &Appearance::InputColor},
    };
    // Answered in another colour model and translucent: the window and the
    // next preset get the plain colour.
    const QColor chosen = QColor::fromHsv(210, 200, 150, 128);
    const QColor rgb = chosen.toRgb();
    const QColor plain(rgb.red(), rgb.green(), rgb.blue());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        CreateFormWithSettings(std::nullopt);
        Look expected = LookOf();
        platform_.colorPresets.clear();
        ChooseColor(c.action, std::nullopt);
        EXPECT_EQ(LookOf(), expected);
        ChooseColor(c.action, chosen);
        ChooseColor(c.action, std::nullopt);
        ASSERT_EQ(platform_.colorPresets.size(), 3u);
        EXPECT_EQ(ColorText(platform_.colorPresets[0]), expected.at(c.targets.front()));
        EXPECT_EQ(ColorText(platform_.colorPresets[1]), expected.at(c.targets.front()));
        EXPECT_EQ(platform_.colorPresets[2], plain);

        for (const std::string& target : c.targets)
            expected[target] = ColorText(chosen);
        EXPECT_EQ(LookOf(), expected);
        Appearance appearance;
        appearance.*c.value = FromQColor(chosen);
        ExpectAppearance(appearance.InputColor, appearance.BoardColor, appearance.BackgroundColor);
        ExpectClosedWithSettings(DefaultsWith(
            c.recordLine, {std::to_string(rgb.red()), std::to_string(rgb.green()), std::to_string(rgb.blue())}));
    }
}

// A design file is the 14-line record of Appearance, never with the marker;
// Wt reaches the settings file only.
TEST_F(AppearanceTest, SavedDesignHasNoMarkerWhateverWtSays) {
    const RecordLines design = {"9", "8", "7", "DejaVu Serif", "14",  "255", "255", "255",
                                "1", "2", "3", "192",          "192", "192"};
    for (const bool wt : {true, false}) {
        SCOPED_TRACE(wt ? "Wt checked" : "Wt unchecked");
        WriteBytes(DesignPath(), "older design, longer than the new one\r\n" + FileOf(kDefaultRecord));
        CreateFormWithSettings(std::nullopt);
        if (wt)
            Trigger("Wt");
        ChooseColor("AnzeigetafelJintergrundfarbendern1", QColor(1, 2, 3));
        ChooseFont(FontChoice(u"DejaVu Serif"_s, 14, true, false, QColor(9, 8, 7)));
        UseFile("Oberflchespeichernunter1", std::nullopt);
        UseFile("Oberflchespeichernunter1", DesignPath());
        EXPECT_EQ(ReadBytes(DesignPath()), FileOf(design));
        ASSERT_EQ(platform_.fileRequests.size(), 2u);
        for (const auto& request : platform_.fileRequests) {
            EXPECT_EQ(request.dialog.objectName, u"SaveDialog1"_s);
            EXPECT_TRUE(request.save);
        }
        EXPECT_EQ(QDir(designDir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
        ExpectClosedWithSettings(wt ? Marked(design) : design);
        EXPECT_TRUE(platform_.messages.empty());
        platform_.fileRequests.clear();
    }
}

// A design that cannot be written, at whatever step, goes to the general
// error display; the old file stays and nothing else changes.
TEST_F(AppearanceTest, FailedDesignSaveKeepsTheOldFile) {
    const std::string old = FileOf(DefaultsWith(0, {"1", "2", "3", "Arial", "9"}));
    CreateForm();
    ChooseColor("Hintergrundfarbeauswhlen1", QColor(10, 20, 30));
    const Look look = LookOf();
    for (const SaveStep failing : {SaveStep::Open, SaveStep::Write, SaveStep::Sync, SaveStep::Commit}) {
        SCOPED_TRACE(static_cast<int>(failing));
        WriteBytes(DesignPath(), old);
        platform_.messages.clear();
        saveFault_.FailWhen([failing](SaveStep step) { return step == failing; });
        UseFile("Oberflchespeichernunter1", DesignPath());
        saveFault_.Clear();
        EXPECT_EQ(platform_.messages,
                  (std::vector<Message>{{u"Datei %1 kann nicht erstellt werden."_s.arg(DesignPath()), u"Tavolin 4.2"_s,
                                         MessageIcon::Stop}}));
        EXPECT_EQ(ReadBytes(DesignPath()), old);
        EXPECT_EQ(QDir(designDir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
        EXPECT_EQ(LookOf(), look);
        ExpectAppearance(kWhite, kSilver, 0x1E140A);
    }
}

// A design saved by the program, loaded in a later run, is what that run
// writes at close (behind the marker when Wt is checked).
TEST_F(AppearanceTest, LoadedDesignIsWrittenAtClose) {
    CreateForm();
    ChooseColor("EingabefelderHintergrundfarbendern1", QColor(11, 12, 13));
    ChooseColor("AnzeigetafelJintergrundfarbendern1", QColor(21, 22, 23));
    ChooseColor("Hintergrundfarbeauswhlen1", QColor(31, 32, 33));
    ChooseFont(FontChoice(u"DejaVu Serif"_s, 12, false, true, QColor(41, 42, 43)));
    UseFile("Oberflchespeichernunter1", DesignPath());
    const RecordLines design = SplitRecordLines(ReadBytes(DesignPath()));
    ASSERT_EQ(design, (RecordLines{"41", "42", "43", "DejaVu Serif", "12", "11", "12", "13", "21", "22", "23", "31",
                                   "32", "33"}));
    form_.reset();

    for (const bool wt : {false, true}) {
        SCOPED_TRACE(wt ? "Wt checked" : "Wt unchecked");
        CreateFormWithSettings(std::nullopt);
        if (wt)
            Trigger("Wt");
        UseFile("Oberflcheladen1", DesignPath());
        EXPECT_EQ(platform_.fileRequests.back().dialog.objectName, u"OpenDialog2"_s);
        EXPECT_FALSE(platform_.fileRequests.back().save);
        const Look look = LookOf();
        EXPECT_EQ(look.at("font"), "DejaVu Serif/16px");
        EXPECT_EQ(look.at("Panel5.font"), "DejaVu Serif/16px");
        EXPECT_EQ(look.at("font.color"), "#292a2b");
        EXPECT_EQ(look.at("Edit3.base"), "#0b0c0d");
        EXPECT_EQ(look.at("Panel10.back"), "#151617");
        EXPECT_EQ(look.at("background"), "#1f2021");
        ExpectAppearance(0x0D0C0B, 0x171615, 0x21201F);
        ExpectClosedWithSettings(wt ? Marked(design) : design);
        EXPECT_TRUE(platform_.messages.empty());
    }
}

// How far a bad design got on screen before it failed.
enum class Reached { Nothing, Switch, Font, InputColor, BoardColor };

struct BadDesignCase {
    const char* what;
    std::optional<std::string> bytes; // nothing: the file is gone
    bool fontChosen;                  // a confirmed font choice before the load
    Reached reached;
    RecordLines written; // lines 0 to 4 of the settings file at close
};

// Any failure gives the one message; the part applied stays on screen, and
// Appearance keeps what it held, including the font it refers to.
TEST_F(AppearanceTest, BadDesignShowsOneMessageAndKeepsAppearance) {
    const RecordLines valid = {"255", "0", "0", "DejaVu Serif", "12", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    RecordLines badGreen = valid;
    badGreen[6] = "x";
    const RecordLines shortRecord(valid.begin(), valid.begin() + 11);
    const RecordLines unchanged = {"0", "0", "0", "MS Sans Serif", "8"};
    const RecordLines designFont = {"255", "0", "0", "DejaVu Serif", "12"};
    const RecordLines dialogFont = {"0", "100", "0", "DejaVu Sans Mono", "16"};
    const std::vector<BadDesignCase> cases = {
        {"settings file written with Wt checked", FileOf(Marked(valid)), false, Reached::Switch, unchanged},
        {"file gone", std::nullopt, false, Reached::Nothing, unchanged},
        {"empty file", "", false, Reached::Switch, unchanged},
        {"bad input green", FileOf(badGreen), false, Reached::Font, designFont},
        {"bad input green after a font choice", FileOf(badGreen), true, Reached::Font, dialogFont},
        {"no background colour", FileOf(shortRecord), false, Reached::BoardColor, designFont},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CreateFormWithSettings(std::nullopt);
        ChooseColor("Hintergrundfarbeauswhlen1", QColor(50, 60, 70));
        if (c.fontChosen)
            ChooseFont(FontChoice(u"DejaVu Sans Mono"_s, 16, true, false, QColor(0, 100, 0)));
        Look expected = LookOf();
        QFont font = form_->font();
        if (c.bytes)
            WriteBytes(DesignPath(), *c.bytes);
        else
            QFile::remove(DesignPath());
        UseFile("Oberflcheladen1", DesignPath());

        EXPECT_EQ(platform_.messages, std::vector<Message>{kLoadError});
        if (c.reached >= Reached::Switch)
            FollowWindowFont(expected);
        if (c.reached >= Reached::Font) {
            font.setFamily(u"DejaVu Serif"_s);
            font.setPixelSize(16);
            expected["font"] = FontText(font);
            expected["font.color"] = "#ff0000";
            FollowWindowFont(expected);
        }
        if (c.reached >= Reached::InputColor)
            for (const char* name : kInputFields)
                expected[std::string(name) + ".base"] = "#010203";
        if (c.reached >= Reached::BoardColor)
            for (const char* name : kBoardPanels)
                expected[std::string(name) + ".back"] = "#040506";
        EXPECT_EQ(LookOf(), expected);
        ExpectAppearance(kWhite, kSilver, 0x463C32,
                         c.fontChosen ? FontReference::DialogFont : FontReference::WindowFont);
        RecordLines written = DefaultsWith(0, c.written);
        std::copy_n(RecordLines{"50", "60", "70"}.begin(), 3, written.begin() + kBackgroundColorLine);
        ExpectClosedWithSettings(written);
        platform_.messages.clear();
    }
}

// Every item of the popup menu reaches its handler once per trigger: the
// dialog commands ask their dialog, the check marks toggle exactly once.
TEST_F(AppearanceTest, PopupMenuItemsAreConnected) {
    CreateForm();
    platform_.fontAnswers.emplace_back(std::nullopt);
    Trigger("Gesamtschriftauswhlen1");
    EXPECT_EQ(platform_.fontPresets.size(), 1u);
    for (const char* action :
         {"Hintergrundfarbeauswhlen1", "AnzeigetafelJintergrundfarbendern1", "EingabefelderHintergrundfarbendern1"})
        ChooseColor(action, std::nullopt);
    EXPECT_EQ(platform_.colorPresets.size(), 3u);
    UseFile("Oberflchespeichernunter1", std::nullopt);
    UseFile("Oberflcheladen1", std::nullopt);
    ASSERT_EQ(platform_.fileRequests.size(), 2u);
    EXPECT_EQ(platform_.fileRequests[0].dialog.title, u"Oberfläche abspeichern..."_s);
    EXPECT_EQ(platform_.fileRequests[1].dialog.title, u"Oberfläche öffnen..."_s);
    Trigger("Standardeinstellungen1");
    EXPECT_EQ(LookOf().at("Panel7.back"), "#c0c0c0");
    for (const auto& [name, initial] : {std::pair{"Wt", false}, std::pair{"Ws", true}}) {
        for (const bool expected : {!initial, initial}) {
            Trigger(name);
            EXPECT_EQ(Control<QAction>(name)->isChecked(), expected) << name;
        }
    }
    EXPECT_TRUE(platform_.messages.empty());
}

} // namespace
} // namespace tavolin::test
