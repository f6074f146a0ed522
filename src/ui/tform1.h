#pragma once

#include "fileio/fileio.h"
#include "names/name_database.h"
#include "names/random.h"
#include "settings/appearance.h"
#include "settings/record.h"
#include "ui/platform.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QMenu;

namespace Ui {
class TForm1;
}

namespace tavolin {

class Platform;

// What the window takes from its surroundings: the executable's full path
// (its directory holds the databases and the settings file) and the clock.
struct FormEnvironment {
    FilePath executablePath;
    std::function<qint64()> clockSeconds;

    static FormEnvironment FromApplication();
};

// The main window. Its handlers carry the program's logic; every one of them
// runs through one guard, so no exception reaches Qt.
class TForm1 final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm1)

public:
    // Builds the window from its description and runs FormCreate.
    TForm1(Platform& platform, FormEnvironment environment, QWidget* parent = nullptr);
    ~TForm1() override;

    // The paths as the messages show them.
    QString ProgramDir() const { return programDir_.Display(); }
    QString FemaleDatabasePath() const;
    QString MaleDatabasePath() const;
    NameStore& Lists() { return *lists_; }
    const Appearance& CurrentAppearance() const { return appearance_; }
    QMenu* PopupMenu() const { return popupMenu_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Start-up, shutdown and layout (tform1.cpp).
    void FormCreate();
    // Returns false when the window is to stay open.
    bool FormClose();
    // Writes the names that are not saved yet; when some still cannot be
    // written, asks whether to close all the same.
    bool SaveUnsavedNamesOnClose();
    void FormResize();
    void LoadNameDatabases();
    void ShowNameCounts();

    // Random names and the clipboard (tform1_random.cpp).
    void ConnectRandomNames();
    void ShowStartName();
    void Button1Click();
    // Shows a name of the list that begins with the beginning; returns false,
    // and changes nothing, when none does.
    bool DrawNameWithBeginning(const NameList& names, std::string_view beginning, const QString& genderText);
    void Button3Click();
    void ShowName(std::string_view name, const QString& genderText);

    // Adding a name (tform1_add.cpp).
    void ConnectAdd();
    void Edit2Change();
    void RadioButton1Click();
    void RadioButton2Click();
    void Button2Click();

    // Merging a foreign database (tform1_merge.cpp).
    void ConnectMergeHandlers();
    void Button5Click();
    void Button6Click();

    // Statistics view (tform1_stats.cpp).
    void ConnectStatistics();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    // Both fill ListBox1 row by row from the current name lists; the length
    // table starts its checkpoints at `firstCheckpoint`.
    void FillLetterTable();
    void FillLengthTable(int firstCheckpoint);
    void PassStatisticsCheckpoint(int number);
    // Runs the work of Button8Click or Button9Click; a failure is reported
    // with the last checkpoint passed.
    void RunStatisticsCommand(const std::function<void()>& work);

    // Settings file and appearance (tform1_settings.cpp).
    FilePath SettingsPath() const;
    // The text colours of the window description: the window's font is black,
    // and so are the own fonts of the controls that do not follow it.
    void ApplyDesignColors();
    // Fills SettingsLines from Appearance, behind the marker line if asked.
    void ComposeSettingsLines(bool withMarker);
    // Applies lines 0 to 13 of a record to the window and takes the result
    // into Appearance. Throws RecordError at the first missing or unreadable
    // line; what was applied before it stays on screen.
    void ApplySettingsLines(const RecordLines& lines);
    void LoadStartupSettings();
    void SaveSettingsOnClose();
    // The own-font controls follow the window's font (and its colour) from
    // now on.
    void SwitchOwnFontControls();
    QColor WindowFontColor() const;
    void SetWindowFontColor(const QColor& color);
    void SetInputFieldColor(const QColor& color);
    void SetBoardColor(const QColor& color);
    void SetBackgroundColor(const QColor& color);

    // Appearance commands of the popup menu (tform1_appearance.cpp).
    void ConnectAppearance();
    void Gesamtschriftauswhlen1Click();
    void Hintergrundfarbeauswhlen1Click();
    void AnzeigetafelJintergrundfarbendern1Click();
    void EingabefelderHintergrundfarbendern1Click();
    void Standardeinstellungen1Click();
    void WtClick();
    void WsClick();
    void Oberflchespeichernunter1Click();
    void Oberflcheladen1Click();

    // About view (tform1_about.cpp).
    // Fills Memo1 with the about text and connects Button4.
    void BuildAboutView();
    void Button4Click();

    // Keyboard (tform1_keyboard.cpp).
    // Keeps the Tab stops of the radio groups on their selected items, sends
    // a group's accelerator to its selected item and stops Alt with a letter
    // from typing into the edit fields.
    void ConnectKeyboard();

    // Connects a signal to a handler that runs through the guard.
    template <class Sender, class Signal>
    void Connect(Sender* sender, Signal signal, void (TForm1::*handler)()) {
        connect(sender, signal, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    }

    void ApplyDesignFonts();
    void BuildPopupMenu();
    // Runs a handler; an exception that escapes it goes to the general error
    // display. Returns whether the handler ran to its end.
    bool Guarded(const std::function<void()>& handler) noexcept;

    std::unique_ptr<Ui::TForm1> ui_;
    Platform& platform_;
    FormEnvironment environment_;
    FilePath programDir_;
    std::unique_ptr<NameStore> lists_;
    RecordLines SettingsLines; // the last record composed or loaded
    Appearance appearance_;
    QMenu* popupMenu_ = nullptr;

    // Statistics view: the last checkpoint a click of Button8 or Button9 passed.
    int statisticsCheckpoint_ = 0;
    // Random names and the clipboard.
    RandomSource random_;
    // Settings file and appearance.
    // The font last confirmed in the font dialog, with its colour; the
    // OverallFont of Appearance may refer to it.
    ChosenFont dialogFont_;
    // A database could not be read at start-up: the program ends without its
    // close handler, so the settings file stays as it was.
    bool quitRequested_ = false;
};

} // namespace tavolin
