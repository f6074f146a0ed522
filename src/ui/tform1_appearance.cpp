#include "settings/record.h"
#include "ui/color.h"
#include "ui/dialogs.h"
#include "ui/platform.h"
#include "ui/tform1.h"
#include "ui_tform1.h"

#include <QAction>
#include <exception>
#include <optional>

using namespace Qt::StringLiterals;

namespace tavolin {

namespace {

// The colour dialog answers with a plain red-green-blue value; alpha or
// another colour model would make the window differ from what is remembered.
QColor PlainColor(const QColor& color) {
    return ToQColor(FromQColor(color));
}

} // namespace

void TForm1::ConnectAppearance() {
    Connect(ui_->Gesamtschriftauswhlen1, &QAction::triggered, &TForm1::Gesamtschriftauswhlen1Click);
    Connect(ui_->Hintergrundfarbeauswhlen1, &QAction::triggered, &TForm1::Hintergrundfarbeauswhlen1Click);
    Connect(ui_->AnzeigetafelJintergrundfarbendern1, &QAction::triggered,
            &TForm1::AnzeigetafelJintergrundfarbendern1Click);
    Connect(ui_->EingabefelderHintergrundfarbendern1, &QAction::triggered,
            &TForm1::EingabefelderHintergrundfarbendern1Click);
    Connect(ui_->Standardeinstellungen1, &QAction::triggered, &TForm1::Standardeinstellungen1Click);
    Connect(ui_->Wt, &QAction::triggered, &TForm1::WtClick);
    Connect(ui_->Oberflchespeichernunter1, &QAction::triggered, &TForm1::Oberflchespeichernunter1Click);
    Connect(ui_->Oberflcheladen1, &QAction::triggered, &TForm1::Oberflcheladen1Click);
    Connect(ui_->Ws, &QAction::triggered, &TForm1::WsClick);
}

void TForm1::Gesamtschriftauswhlen1Click() {
    // Opening the dialog is enough to give up the own bold fonts, whatever
    // the user answers.
    SwitchOwnFontControls();
    const std::optional<ChosenFont> chosen = platform_.chooseFont(kFontDialog1, {font(), WindowFontColor()});
    if (!chosen)
        return;
    dialogFont_ = {chosen->font, PlainColor(chosen->color)};
    setFont(dialogFont_.font);
    SetWindowFontColor(dialogFont_.color);
    appearance_.OverallFont = FontReference::DialogFont;
}

void TForm1::Hintergrundfarbeauswhlen1Click() {
    const std::optional<QColor> chosen = platform_.chooseColor(kColorDialog1, palette().color(QPalette::Window));
    if (!chosen)
        return;
    const QColor color = PlainColor(*chosen);
    SetBackgroundColor(color);
    appearance_.BackgroundColor = FromQColor(color);
}

void TForm1::AnzeigetafelJintergrundfarbendern1Click() {
    const std::optional<QColor> chosen =
        platform_.chooseColor(kColorDialog1, ui_->Panel1->palette().color(QPalette::Window));
    if (!chosen)
        return;
    const QColor color = PlainColor(*chosen);
    SetBoardColor(color);
    appearance_.BoardColor = FromQColor(color);
}

void TForm1::EingabefelderHintergrundfarbendern1Click() {
    const std::optional<QColor> chosen =
        platform_.chooseColor(kColorDialog1, ui_->Edit1->palette().color(QPalette::Base));
    if (!chosen)
        return;
    const QColor color = PlainColor(*chosen);
    SetInputFieldColor(color);
    appearance_.InputColor = FromQColor(color);
}

void TForm1::Standardeinstellungen1Click() {
    appearance_.InputColor = kWhite;
    appearance_.BoardColor = kSilver;
    appearance_.BackgroundColor = kSilver;
    SetInputFieldColor(ToQColor(appearance_.InputColor));
    SetBoardColor(ToQColor(appearance_.BoardColor));
    SetBackgroundColor(ToQColor(appearance_.BackgroundColor));

    // Only size, name and colour are reset: a bold or italic choice stays, and
    // controls that still have their own font keep it.
    QFont windowFont = font();
    windowFont.setPixelSize(UsableFontPixelHeight(PixelHeightFromPoints(kDefaultFontPoints, logicalDpiY())));
    setFont(windowFont);
    windowFont.setFamily(u"MS Sans Serif"_s);
    setFont(windowFont);
    SetWindowFontColor(Qt::black);
    appearance_.OverallFont = FontReference::WindowFont;
}

// Both check marks are toggled by the menu item itself and read only when the
// window closes.
void TForm1::WtClick() {}

void TForm1::WsClick() {}

void TForm1::Oberflchespeichernunter1Click() {
    const std::optional<QString> path = platform_.saveFile(kSaveDialog1);
    if (!path)
        return;
    // A design file never carries the marker, whatever Wt says.
    ComposeSettingsLines(false);
    WriteRecordFile(*path, SettingsLines);
}

void TForm1::Oberflcheladen1Click() {
    const std::optional<QString> path = platform_.openFile(kOpenDialog2);
    if (!path)
        return;
    // Whether the file cannot be read or holds no record, the user hears the
    // same. What was applied before a bad line stays on screen; Appearance
    // takes only a record applied to its end.
    try {
        SettingsLines = ReadRecordFile(*path);
        ApplySettingsLines(SettingsLines);
    } catch (const std::exception&) {
        platform_.showMessage(u"Die Datei konnte nicht geöffnet werden."_s, u"Fehler"_s, MessageIcon::Stop);
        SettingsLines.clear();
    }
}

} // namespace tavolin
