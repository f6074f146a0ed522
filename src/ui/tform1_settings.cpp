#include "fileio/fileio.h"
#include "names/encoding.h"
#include "ui/color.h"
#include "ui/tform1.h"
#include "ui_tform1.h"

#include <QApplication>

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

namespace tavolin {

namespace {

// The roles that carry a font's colour: labels, panels, radio buttons and
// group titles draw with WindowText, edit fields with Text, buttons with
// ButtonText. Only the active and inactive looks take the colour; disabled
// controls keep the system's grey.
constexpr std::array kTextRoles = {QPalette::WindowText, QPalette::Text, QPalette::ButtonText};
constexpr std::array kEnabledGroups = {QPalette::Active, QPalette::Inactive};
constexpr std::array kAllGroups = {QPalette::Active, QPalette::Inactive, QPalette::Disabled};

// The controls with a bold font of their own until they are switched to the
// window's font.
std::array<QWidget*, 5> OwnFontControls(const Ui::TForm1& ui) {
    return {ui.Panel2, ui.Panel5, ui.Panel6, ui.Button1, ui.Button6};
}

// The panels that share the board colour, in the order they get it.
std::array<QLabel*, 10> BoardPanels(const Ui::TForm1& ui) {
    return {ui.Panel1, ui.Panel2, ui.Panel3, ui.Panel4, ui.Panel5,
            ui.Panel6, ui.Panel7, ui.Panel8, ui.Panel9, ui.Panel10};
}

bool IsTextRole(QPalette::ColorRole role) {
    return std::find(kTextRoles.begin(), kTextRoles.end(), role) != kTextRoles.end();
}

void SetTextRoles(QPalette& palette, const QColor& color) {
    for (const QPalette::ColorGroup group : kEnabledGroups)
        for (const QPalette::ColorRole role : kTextRoles)
            palette.setColor(group, role, color);
}

// A widget's palette holds as set exactly the roles given to the widget
// itself; every other role follows its parent. These helpers change single
// roles and leave that split as it is.
void SetOwnTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    SetTextRoles(palette, color);
    widget->setPalette(palette);
}

void SetOwnRoleColor(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(role, color); // every colour group
    widget->setPalette(palette);
}

void DropOwnTextColor(QWidget* widget) {
    const QPalette own = widget->palette();
    QPalette kept; // nothing set: everything follows the parent
    for (const QPalette::ColorGroup group : kAllGroups) {
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto role = static_cast<QPalette::ColorRole>(r);
            if (role != QPalette::NoRole && !IsTextRole(role) && own.isBrushSet(group, role))
                kept.setBrush(group, role, own.brush(group, role));
        }
    }
    widget->setPalette(kept);
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

} // namespace

FilePath TForm1::SettingsPath() const {
    return JoinPath(programDir_, kSettingsFile);
}

void TForm1::ApplyDesignColors() {
    const QColor black(Qt::black);
    SetWindowFontColor(black);
    for (QWidget* control : OwnFontControls(*ui_))
        SetOwnTextColor(control, black);
    // Caption panels show the system's button face until a board colour is
    // applied, whatever colour the window's background gets. Panel11 keeps
    // it for good.
    const QColor buttonFace = QApplication::palette().color(QPalette::Active, QPalette::Button);
    for (QLabel* panel : BoardPanels(*ui_))
        SetOwnRoleColor(panel, QPalette::Window, buttonFace);
    SetOwnRoleColor(ui_->Panel11, QPalette::Window, buttonFace);
    // The about text and the statistics list keep their own fonts, and with
    // them their own colours: no setting of the window reaches them.
    for (QWidget* view : {static_cast<QWidget*>(ui_->Memo1), static_cast<QWidget*>(ui_->ListBox1)}) {
        QPalette own = FullyOwned(QApplication::palette(view));
        SetTextRoles(own, black);
        view->setPalette(own);
    }
}

void TForm1::SwitchOwnFontControls() {
    for (QWidget* control : OwnFontControls(*ui_)) {
        control->setFont(QFont()); // nothing set: the window's font in every respect
        DropOwnTextColor(control);
    }
}

QColor TForm1::WindowFontColor() const {
    return palette().color(QPalette::Active, QPalette::WindowText);
}

void TForm1::SetWindowFontColor(const QColor& color) {
    SetOwnTextColor(this, color);
}

void TForm1::SetInputFieldColor(const QColor& color) {
    for (QLineEdit* edit : {ui_->Edit1, ui_->Edit2, ui_->Edit3})
        SetOwnRoleColor(edit, QPalette::Base, color);
}

void TForm1::SetBoardColor(const QColor& color) {
    for (QLabel* panel : BoardPanels(*ui_))
        SetOwnRoleColor(panel, QPalette::Window, color);
}

void TForm1::SetBackgroundColor(const QColor& color) {
    // The window's background shows through the controls that draw none of
    // their own: radio groups, radio buttons and bevel lines.
    SetOwnRoleColor(this, QPalette::Window, color);
}

void TForm1::ComposeSettingsLines(bool withMarker) {
    const bool fromDialog = appearance_.OverallFont == FontReference::DialogFont;
    const QFont& font = fromDialog ? dialogFont_.font : this->font();
    const QColor fontColor = fromDialog ? dialogFont_.color : WindowFontColor();
    const int pixelsPerInch = logicalDpiY();

    SettingsRecord record;
    record.fontColor = FromQColor(fontColor);
    record.fontName = FontNameBytes(font.family());
    record.fontSize = PointsFromPixelHeight(PixelHeightOf(font, pixelsPerInch), pixelsPerInch);
    record.InputColor = appearance_.InputColor;
    record.BoardColor = appearance_.BoardColor;
    record.BackgroundColor = appearance_.BackgroundColor;
    SettingsLines = ComposeRecordLines(record, withMarker);
}

void TForm1::ApplySettingsLines(const RecordLines& lines) {
    SwitchOwnFontControls();

    SetWindowFontColor(ToQColor(RecordColor(lines, kFontColorLine)));

    if (const std::optional<std::string> name = FontNameFromLine(RecordLine(lines, kFontNameLine))) {
        QFont font = this->font();
        font.setFamily(DecodeName(*name));
        setFont(font);
    }

    const std::int32_t size = RecordFontPoints(RecordInteger(lines, kFontSizeLine));
    QFont font = this->font();
    font.setPixelSize(UsableFontPixelHeight(PixelHeightFromPoints(size, logicalDpiY())));
    setFont(font);

    SetInputFieldColor(ToQColor(RecordColor(lines, kInputColorLine)));
    SetBoardColor(ToQColor(RecordColor(lines, kBoardColorLine)));
    SetBackgroundColor(ToQColor(RecordColor(lines, kBackgroundColorLine)));

    appearance_.InputColor = FromQColor(ui_->Edit1->palette().color(QPalette::Base));
    appearance_.BoardColor = FromQColor(ui_->Panel1->palette().color(QPalette::Window));
    appearance_.BackgroundColor = FromQColor(palette().color(QPalette::Window));
    appearance_.OverallFont = FontReference::WindowFont;
}

void TForm1::LoadStartupSettings() {
    // Start-up goes on whatever is wrong with the file; what was applied
    // before a bad line stays.
    try {
        const RecordLines lines = ReadRecordFile(SettingsPath());
        if (lines.empty() || IsNoFormatMarker(lines.front()))
            return;
        ApplySettingsLines(lines);
    } catch (const std::exception&) {
        return;
    }
}

void TForm1::SaveSettingsOnClose() {
    if (!ui_->Ws->isChecked())
        return;
    ComposeSettingsLines(ui_->Wt->isChecked());
    WriteRecordFile(SettingsPath(), SettingsLines);
}

} // namespace tavolin
