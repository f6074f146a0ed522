#pragma once

#include "fileio/fileio.h"
#include "settings/appearance.h"
#include "settings/record.h"
#include "ui/layout_scale.h"
#include "ui/platform.h"

#include <QColor>
#include <QtGlobal>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace tavolin {

namespace test {
class FormPeer;
}

// The look of the window: its design fonts and colours, the commands of the
// popup menu that change, reset, save and load it, and the settings file
// read at start-up and written at close. Appearance remembers what was set.
// Fonts are kept as chosen and shown at the scale the window's size allows.
class AppearanceController final : public ScalableFonts {
    Q_DISABLE_COPY_MOVE(AppearanceController)
    friend class test::FormPeer;

public:
    // What the look reaches: the window's font and background, the board
    // panels, the input fields, the controls with fonts of their own, and the
    // two check marks of the popup menu read at close.
    struct Controls {
        QWidget* window;
        QLabel* Panel1; // Panel1 to Panel10 share BoardColor
        QLabel* Panel2;
        QLabel* Panel3;
        QLabel* Panel4;
        QLabel* Panel5;
        QLabel* Panel6;
        QLabel* Panel7;
        QLabel* Panel8;
        QLabel* Panel9;
        QLabel* Panel10;
        QLabel* Panel11;  // the theme's face for good
        QLineEdit* Edit1; // Edit1 to Edit3 share InputColor
        QLineEdit* Edit2;
        QLineEdit* Edit3;
        QPushButton* Button1; // bold like Panel2, Panel5 and Panel6
        QPushButton* Button6;
        QPlainTextEdit* Memo1;
        QListWidget* ListBox1;
        QAction* Wt;
        QAction* Ws;
    };

    // Gives the window its design fonts and colours.
    AppearanceController(Controls controls, Platform& platform);

    // The window's design font, given before its controls are made: each
    // control then lays out its text once, in the face it shows.
    static void ApplyWindowFont(QWidget& window);

    QFont IntendedFont(const QWidget& control) const override;
    void ShowFontsAt(double scale) override;

    // Back to the defaults, then the settings file applied silently.
    void LoadAtStart(const FilePath& settingsPath);
    // Writes the settings file unless Ws is unchecked; Wt adds the marker.
    void SaveOnClose();

    void ChooseOverallFont();
    void ChooseBackgroundColor();
    void ChooseBoardColor();
    void ChooseInputColor();
    void ResetToDefaults();
    void SaveDesign();
    void LoadDesign();

private:
    void ApplyDesignFonts();
    void ShowFonts();
    void SetWindowFont(const QFont& font);
    // The colours of the window description: the theme's.
    void ApplyDesignColors();
    // Fills SettingsLines from Appearance, behind the marker line if asked.
    void ComposeSettingsLines(bool withMarker);
    // Applies lines 0 to 13 of a record to the window and takes the result
    // into Appearance. Throws RecordError at the first missing or unreadable
    // line; what was applied before it stays on screen.
    void ApplySettingsLines(const RecordLines& lines);
    // The own-font controls follow the window's font from now on.
    void SwitchOwnFontControls();
    QColor WindowFontColor() const;
    void SetWindowFontColor(const QColor& color);
    void ShowFontColor();
    // The colour dialog opened on the colour shown; a chosen colour is shown
    // and kept in the appearance.
    void ChooseColor(const QColor& shown, void (AppearanceController::*show)(const QColor&), Color& kept);
    void SetInputFieldColor(const QColor& color);
    void SetBoardColor(const QColor& color);
    void SetBackgroundColor(const QColor& color);

    Controls controls_;
    Platform& platform_;
    FilePath settingsPath_;
    Appearance appearance_;
    RecordLines SettingsLines; // the last record composed or loaded
    // The font last confirmed in the font dialog, with its colour; the
    // OverallFont of Appearance may refer to it.
    ChosenFont dialogFont_;
    // The window font's colour, as the settings record holds it (black in
    // the window description).
    QColor fontColor_{Qt::black};
    // The window's font as chosen, whatever size the window shows it at.
    QFont windowFont_;
    bool ownFonts_ = true; // the bold controls still have their own font
    double fontScale_ = 1.0;
    // The backgrounds that show a colour of the look rather than the theme's.
    struct {
        bool window = false;
        bool board = false;
        bool inputs = false;
    } colored_;
};

} // namespace tavolin
