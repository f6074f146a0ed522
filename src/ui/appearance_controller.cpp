#include "ui/appearance_controller.h"

#include "names/encoding.h"
#include "ui/color.h"
#include "ui/dialogs.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace tavolin {

namespace {

// The roles that carry a font's colour: labels, panels, radio buttons and
// group titles draw with WindowText, edit fields with Text. Only the active
// and inactive looks take the colour; disabled controls keep the theme's.
constexpr std::array kEnabledGroups = {QPalette::Active, QPalette::Inactive};
constexpr std::array kAllGroups = {QPalette::Active, QPalette::Inactive, QPalette::Disabled};

// The panels that share the board colour, in the order they get it.
std::array<QLabel*, 10> BoardPanels(const AppearanceController::Controls& controls) {
    return {controls.Panel1, controls.Panel2, controls.Panel3, controls.Panel4, controls.Panel5,
            controls.Panel6, controls.Panel7, controls.Panel8, controls.Panel9, controls.Panel10};
}

// A widget's palette holds as set exactly the roles given to the widget
// itself; every other role follows its parent. These helpers change single
// roles and leave that split as it is.
void SetOwnTextColor(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group : kEnabledGroups)
        palette.setColor(group, role, color);
    widget->setPalette(palette);
}

void SetOwnRoleColor(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(role, color); // every colour group
    widget->setPalette(palette);
}

// Relative luminance and contrast ratio as WCAG defines them.
double Luminance(const QColor& color) {
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color.red()) + 0.7152 * channel(color.green()) + 0.0722 * channel(color.blue());
}

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A disabled button's caption is still read (Button2 says why it cannot
// add), so the theme's grey is moved toward its normal text colour until it
// reaches the contrast that text needs on the button face. The style draws
// the face a little lighter than the palette has it, which matters where the
// text is the lighter of the two (a dark theme).
QColor ReadableDisabledText(const QPalette& theme) {
    constexpr double kTextContrast = 5.5; // 4.5 as drawn, with room for the smoothed edges
    constexpr int kSteps = 20;
    constexpr int kFaceSpread = 130; // percent
    const QColor face = theme.color(QPalette::Disabled, QPalette::Button);
    const QColor grey = theme.color(QPalette::Disabled, QPalette::ButtonText);
    const QColor text = theme.color(QPalette::Active, QPalette::ButtonText);
    const QColor drawn = Luminance(text) > Luminance(face) ? face.lighter(kFaceSpread) : face;
    for (int step = 0; step < kSteps; ++step) {
        const double t = static_cast<double>(step) / kSteps;
        const auto mix = [t](int from, int to) { return static_cast<int>(std::lround(from + (to - from) * t)); };
        const QColor mixed(mix(grey.red(), text.red()), mix(grey.green(), text.green()), mix(grey.blue(), text.blue()));
        if (Contrast(mixed, drawn) >= kTextContrast)
            return mixed;
    }
    return text;
}

// The controls with a bold font of their own until they are switched to the
// window's font.
std::array<QWidget*, 5> OwnFontControls(const AppearanceController::Controls& controls) {
    return {controls.Panel2, controls.Panel5, controls.Panel6, controls.Button1, controls.Button6};
}

// Every role set, so nothing of the window's look reaches the widget.
QPalette FullyOwned(const QPalette& source) {
    QPalette own;
    for (const QPalette::ColorGroup group : kAllGroups) {
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto role = static_cast<QPalette::ColorRole>(r);
            if (role != QPalette::NoRole)
                own.setBrush(group, role, source.brush(group, role));
        }
    }
    return own;
}

// The character height of a font, whether it was given in pixels (the
// window's font) or in points (a font from the font dialog).
int PixelHeightOf(const QFont& font, int pixelsPerInch) {
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return static_cast<int>(std::lround(font.pointSizeF() * pixelsPerInch / 72.0));
}

// The record holds Windows-1252 text; a character outside that code page
// cannot be written and is replaced by "?".
std::string FontNameBytes(const QString& family) {
    if (std::optional<std::string> bytes = EncodeName(family))
        return *std::move(bytes);
    std::string bytes;
    for (const QChar c : family)
        bytes += EncodeName(QString(c)).value_or("?");
    return bytes;
}

// The colour dialog answers with a plain red-green-blue value; alpha or
// another colour model would make the window differ from what is remembered.
QColor PlainColor(const QColor& color) {
    return ToQColor(FromQColor(color));
}

// The window's fonts name the families of the desktop they were designed on.
// Where one is missing, the nearest font of the same kind stands in for it,
// so the names stay what the settings file records. For "MS Sans Serif",
// Liberation Sans comes before DejaVu Sans: its letters are about as wide as
// those the controls were sized for, while DejaVu Sans cuts off the longest
// captions (Panel9's count of a loaded database, Button2's refusals).
void SubstituteMissingFonts() {
    const QStringList families = QFontDatabase::families();
    const auto substitute = [&](const QString& family, const QStringList& candidates, QFontDatabase::SystemFont kind) {
        if (families.contains(family) || !QFont::substitutes(family).isEmpty())
            return;
        for (const QString& candidate : candidates) {
            if (families.contains(candidate)) {
                QFont::insertSubstitution(family, candidate);
                return;
            }
        }
        QFont::insertSubstitution(family, QFontDatabase::systemFont(kind).family());
    };
    substitute(u"MS Sans Serif"_s, {u"Microsoft Sans Serif"_s, u"Liberation Sans"_s, u"DejaVu Sans"_s},
               QFontDatabase::GeneralFont);
    substitute(u"Arial"_s, {u"Liberation Sans"_s, u"DejaVu Sans"_s}, QFontDatabase::GeneralFont);
    substitute(u"Fixedsys"_s, {u"DejaVu Sans Mono"_s, u"Liberation Mono"_s}, QFontDatabase::FixedFont);
}

// A font that sets every attribute itself, so that nothing of it follows the
// window's font.
QFont OwnFont(const QString& family, int pixelHeight, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

} // namespace

AppearanceController::AppearanceController(Controls controls, Platform& platform)
    : controls_(controls), platform_(platform) {
    ApplyDesignFonts();
    ApplyDesignColors();
}

void AppearanceController::ApplyWindowFont(QWidget& window) {
    SubstituteMissingFonts();
    window.setFont(OwnFont(u"MS Sans Serif"_s, 11, false));
}

void AppearanceController::ApplyDesignFonts() {
    ownFonts_ = true;
    windowFont_ = OwnFont(u"MS Sans Serif"_s, 11, false);
    ShowFonts();
}

QFont AppearanceController::IntendedFont(const QWidget& control) const {
    if (&control == controls_.Memo1)
        return OwnFont(u"Arial"_s, 15, true);
    if (&control == controls_.ListBox1) {
        QFont listFont = OwnFont(u"Fixedsys"_s, 11, false);
        listFont.setStyleHint(QFont::TypeWriter);
        listFont.setFixedPitch(true);
        return listFont;
    }
    const std::array owners = OwnFontControls(controls_);
    if (ownFonts_ && std::find(owners.begin(), owners.end(), &control) != owners.end())
        return OwnFont(u"MS Sans Serif"_s, 11, true);
    return windowFont_;
}

void AppearanceController::ShowFontsAt(double scale) {
    fontScale_ = scale;
    ShowFonts();
}

void AppearanceController::ShowFonts() {
    controls_.window->setFont(ScaledFont(windowFont_, fontScale_));
    for (QWidget* control : OwnFontControls(controls_)) {
        if (ownFonts_)
            control->setFont(ScaledFont(IntendedFont(*control), fontScale_));
        else
            control->setFont(QFont()); // nothing set: the window's font in every respect
    }
    for (QWidget* view : {static_cast<QWidget*>(controls_.Memo1), static_cast<QWidget*>(controls_.ListBox1)})
        view->setFont(ScaledFont(IntendedFont(*view), fontScale_));
}

void AppearanceController::SetWindowFont(const QFont& font) {
    windowFont_ = font;
    ShowFonts();
}

void AppearanceController::ApplyDesignColors() {
    // Caption panels show the theme's button face, with its text colour,
    // until a board colour is applied, whatever colour the window's
    // background gets. Panel11 keeps it for good.
    const QPalette theme = QApplication::palette();
    for (QLabel* panel : BoardPanels(controls_)) {
        SetOwnRoleColor(panel, QPalette::Window, theme.color(QPalette::Active, QPalette::Button));
        SetOwnTextColor(panel, QPalette::WindowText, theme.color(QPalette::Active, QPalette::ButtonText));
    }
    SetOwnRoleColor(controls_.Panel11, QPalette::Window, theme.color(QPalette::Active, QPalette::Button));
    QPalette own = controls_.window->palette();
    own.setColor(QPalette::Disabled, QPalette::ButtonText, ReadableDisabledText(theme));
    controls_.window->setPalette(own);
    // The about text and the statistics list keep the theme's look: no
    // setting of the window reaches them.
    for (QWidget* view : {static_cast<QWidget*>(controls_.Memo1), static_cast<QWidget*>(controls_.ListBox1)})
        view->setPalette(FullyOwned(QApplication::palette(view)));
}

void AppearanceController::SwitchOwnFontControls() {
    ownFonts_ = false;
    ShowFonts();
}

QColor AppearanceController::WindowFontColor() const {
    return fontColor_;
}

void AppearanceController::SetWindowFontColor(const QColor& color) {
    fontColor_ = color;
    ShowFontColor();
}

// The font's colour is drawn only on backgrounds that the program coloured
// itself, so that text and background always come from one palette: the
// theme's text stays on the theme's background (a dark theme's light text
// on its dark buttons), the font's colour on the colours of the look. Push
// buttons always keep the theme's.
void AppearanceController::ShowFontColor() {
    if (colored_.window)
        SetOwnTextColor(controls_.window, QPalette::WindowText, fontColor_);
    if (colored_.inputs)
        for (QLineEdit* edit : {controls_.Edit1, controls_.Edit2, controls_.Edit3})
            SetOwnTextColor(edit, QPalette::Text, fontColor_);
    if (colored_.board)
        for (QLabel* panel : BoardPanels(controls_))
            SetOwnTextColor(panel, QPalette::WindowText, fontColor_);
}

void AppearanceController::SetInputFieldColor(const QColor& color) {
    for (QLineEdit* edit : {controls_.Edit1, controls_.Edit2, controls_.Edit3})
        SetOwnRoleColor(edit, QPalette::Base, color);
    colored_.inputs = true;
    ShowFontColor();
}

void AppearanceController::SetBoardColor(const QColor& color) {
    for (QLabel* panel : BoardPanels(controls_))
        SetOwnRoleColor(panel, QPalette::Window, color);
    colored_.board = true;
    ShowFontColor();
}

void AppearanceController::SetBackgroundColor(const QColor& color) {
    // The window's background shows through the controls that draw none of
    // their own: radio groups, radio buttons and bevel lines.
    SetOwnRoleColor(controls_.window, QPalette::Window, color);
    colored_.window = true;
    ShowFontColor();
}

void AppearanceController::ComposeSettingsLines(bool withMarker) {
    const bool fromDialog = appearance_.OverallFont == FontReference::DialogFont;
    const QFont& font = fromDialog ? dialogFont_.font : windowFont_;
    const QColor fontColor = fromDialog ? dialogFont_.color : WindowFontColor();
    const int pixelsPerInch = controls_.window->logicalDpiY();

    SettingsRecord record;
    record.fontColor = FromQColor(fontColor);
    record.fontName = FontNameBytes(font.family());
    record.fontSize = PointsFromPixelHeight(PixelHeightOf(font, pixelsPerInch), pixelsPerInch);
    record.InputColor = appearance_.InputColor;
    record.BoardColor = appearance_.BoardColor;
    record.BackgroundColor = appearance_.BackgroundColor;
    SettingsLines = ComposeRecordLines(record, withMarker);
}

void AppearanceController::ApplySettingsLines(const RecordLines& lines) {
    SwitchOwnFontControls();

    SetWindowFontColor(ToQColor(RecordColor(lines, kFontColorLine)));

    if (const std::optional<std::string> name = FontNameFromLine(RecordLine(lines, kFontNameLine))) {
        QFont font = windowFont_;
        font.setFamily(DecodeName(*name));
        SetWindowFont(font);
    }

    const std::int32_t size = RecordFontPoints(RecordInteger(lines, kFontSizeLine));
    QFont font = windowFont_;
    font.setPixelSize(UsableFontPixelHeight(PixelHeightFromPoints(size, controls_.window->logicalDpiY())));
    SetWindowFont(font);

    SetInputFieldColor(ToQColor(RecordColor(lines, kInputColorLine)));
    SetBoardColor(ToQColor(RecordColor(lines, kBoardColorLine)));
    SetBackgroundColor(ToQColor(RecordColor(lines, kBackgroundColorLine)));

    appearance_.InputColor = FromQColor(controls_.Edit1->palette().color(QPalette::Base));
    appearance_.BoardColor = FromQColor(controls_.Panel1->palette().color(QPalette::Window));
    appearance_.BackgroundColor = FromQColor(controls_.window->palette().color(QPalette::Window));
    appearance_.OverallFont = FontReference::WindowFont;
}

void AppearanceController::LoadAtStart(const FilePath& settingsPath) {
    settingsPath_ = settingsPath;
    SettingsLines.clear();
    appearance_ = Appearance{};
    // Start-up goes on whatever is wrong with the file; what was applied
    // before a bad line stays.
    try {
        const RecordLines lines = ReadRecordFile(settingsPath_);
        if (lines.empty() || IsNoFormatMarker(lines.front()))
            return;
        ApplySettingsLines(lines);
    } catch (const std::exception&) {
        return;
    }
}

void AppearanceController::SaveOnClose() {
    if (!controls_.Ws->isChecked())
        return;
    ComposeSettingsLines(controls_.Wt->isChecked());
    WriteRecordFile(settingsPath_, SettingsLines);
}

void AppearanceController::ChooseOverallFont() {
    // Opening the dialog is enough to give up the own bold fonts, whatever
    // the user answers.
    SwitchOwnFontControls();
    const std::optional<ChosenFont> chosen = platform_.ChooseFont(kFontDialog1, {windowFont_, WindowFontColor()});
    if (!chosen)
        return;
    dialogFont_ = {chosen->font, PlainColor(chosen->color)};
    SetWindowFont(dialogFont_.font);
    SetWindowFontColor(dialogFont_.color);
    appearance_.OverallFont = FontReference::DialogFont;
}

void AppearanceController::ChooseBackgroundColor() {
    ChooseColor(controls_.window->palette().color(QPalette::Window), &AppearanceController::SetBackgroundColor,
                appearance_.BackgroundColor);
}

void AppearanceController::ChooseBoardColor() {
    ChooseColor(controls_.Panel1->palette().color(QPalette::Window), &AppearanceController::SetBoardColor,
                appearance_.BoardColor);
}

void AppearanceController::ChooseInputColor() {
    ChooseColor(controls_.Edit1->palette().color(QPalette::Base), &AppearanceController::SetInputFieldColor,
                appearance_.InputColor);
}

void AppearanceController::ChooseColor(const QColor& shown, void (AppearanceController::*show)(const QColor&),
                                       Color& kept) {
    const std::optional<QColor> chosen = platform_.ChooseColor(kColorDialog1, shown);
    if (!chosen)
        return;
    const QColor color = PlainColor(*chosen);
    (this->*show)(color);
    kept = FromQColor(color);
}

void AppearanceController::ResetToDefaults() {
    appearance_.InputColor = kWhite;
    appearance_.BoardColor = kSilver;
    appearance_.BackgroundColor = kSilver;
    SetInputFieldColor(ToQColor(appearance_.InputColor));
    SetBoardColor(ToQColor(appearance_.BoardColor));
    SetBackgroundColor(ToQColor(appearance_.BackgroundColor));

    // Only size, name and colour are reset: a bold or italic choice stays, and
    // controls that still have their own font keep it.
    QFont windowFont = windowFont_;
    windowFont.setPixelSize(
        UsableFontPixelHeight(PixelHeightFromPoints(kDefaultFontPoints, controls_.window->logicalDpiY())));
    windowFont.setFamily(u"MS Sans Serif"_s);
    SetWindowFont(windowFont);
    SetWindowFontColor(Qt::black);
    appearance_.OverallFont = FontReference::WindowFont;
}

void AppearanceController::SaveDesign() {
    const std::optional<QString> path = platform_.SaveFile(kSaveDialog1);
    if (!path)
        return;
    // A design file never carries the marker, whatever Wt says.
    ComposeSettingsLines(false);
    WriteRecordFile(*path, SettingsLines);
}

void AppearanceController::LoadDesign() {
    const std::optional<QString> path = platform_.OpenFile(kOpenDialog2);
    if (!path)
        return;
    // Whether the file cannot be read or holds no record, the user hears the
    // same. What was applied before a bad line stays on screen; Appearance
    // takes only a record applied to its end.
    try {
        SettingsLines = ReadRecordFile(*path);
        ApplySettingsLines(SettingsLines);
    } catch (const std::exception&) {
        platform_.ShowMessage(u"Die Datei konnte nicht geöffnet werden."_s, u"Fehler"_s, MessageIcon::Stop);
        SettingsLines.clear();
    }
}

} // namespace tavolin
