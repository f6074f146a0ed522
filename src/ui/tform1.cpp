#include "ui/tform1.h"

#include "names/database.h"
#include "settings/record.h"
#include "ui/accessibility.h"
#include "ui/covered_controls.h"
#include "ui/general_error.h"
#include "ui/keyboard_filters.h"
#include "ui/platform.h"
#include "ui/tform1_rooms.h"
#include "ui_tform1.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace tavolin {

namespace {

std::unique_ptr<Ui::TForm1> BuildFromDescription(QWidget* window) {
    AppearanceController::ApplyWindowFont(*window);
    auto ui = std::make_unique<Ui::TForm1>();
    ui->setupUi(window);
    return ui;
}

// The folder of the program's files (ProgramDir), chosen before anything is
// built on it. A first start in a folder of the user's copies what was
// shipped, and what lies in a program folder the user cannot write to, and
// then says once where the names now live; a failure is shown, and
// start-up goes on.
FilePath PrepareDataFolder(Platform& platform, const FormEnvironment& environment) {
    const FilePath executableDir = DirectoryOf(environment.executablePath);
    const QStringList databases{kFemaleDatabaseFile, kMaleDatabaseFile};
    const DataFolderChoice choice = ChooseDataFolder(executableDir, environment.dataFolders, databases);
    RunGuarded(platform, [&] {
        if (FillDataFolder(choice, executableDir, databases, {kSettingsFile}))
            platform.ShowMessage(MovedDataFolderText(executableDir, choice.folder), u"Neuer Ort der Namen"_s,
                                 MessageIcon::Information);
    });
    return choice.folder;
}

// The controls each feature owns, as the window description names them.

AboutView::Controls AboutControls(const Ui::TForm1& ui) {
    return {.Bevel4 = ui.Bevel4, .Memo1 = ui.Memo1};
}

AppearanceController::Controls AppearanceControls(QWidget* window, const Ui::TForm1& ui) {
    return {.window = window,
            .Panel1 = ui.Panel1,
            .Panel2 = ui.Panel2,
            .Panel3 = ui.Panel3,
            .Panel4 = ui.Panel4,
            .Panel5 = ui.Panel5,
            .Panel6 = ui.Panel6,
            .Panel7 = ui.Panel7,
            .Panel8 = ui.Panel8,
            .Panel9 = ui.Panel9,
            .Panel10 = ui.Panel10,
            .Panel11 = ui.Panel11,
            .Edit1 = ui.Edit1,
            .Edit2 = ui.Edit2,
            .Edit3 = ui.Edit3,
            .Button1 = ui.Button1,
            .Button6 = ui.Button6,
            .Memo1 = ui.Memo1,
            .ListBox1 = ui.ListBox1,
            .Wt = ui.Wt,
            .Ws = ui.Ws};
}

OwnDatabases::Controls CountControls(const Ui::TForm1& ui) {
    return {.Panel2 = ui.Panel2, .Panel5 = ui.Panel5, .Panel6 = ui.Panel6};
}

NameDraw::Controls DrawControls(const Ui::TForm1& ui) {
    return {.Edit1 = ui.Edit1,
            .Edit3 = ui.Edit3,
            .RadioGroup1Item1 = ui.RadioGroup1Item1,
            .RadioGroup1Item2 = ui.RadioGroup1Item2,
            .Panel10 = ui.Panel10};
}

NameAdding::Controls AddingControls(const Ui::TForm1& ui) {
    return {.Edit2 = ui.Edit2, .RadioButton1 = ui.RadioButton1, .RadioButton2 = ui.RadioButton2, .Button2 = ui.Button2};
}

// What the menu of Edit1 (the drawn name) or Edit2 (the typed name) would
// take out of which database.
std::optional<NameRemoval::FieldName> NameIn(const QLineEdit* edit, const Ui::TForm1& ui, const NameDraw& draw,
                                             const NameAdding& adding) {
    const std::optional<Gender> gender = edit == ui.Edit1 ? draw.ShownGender() : adding.Chosen();
    if (!gender)
        return std::nullopt;
    return NameRemoval::FieldName{*gender, edit->text()};
}

Merging::Controls MergingControls(QWidget* window, const Ui::TForm1& ui) {
    return {.paintWindow = [window] { window->repaint(); },
            .Panel8 = ui.Panel8,
            .Panel9 = ui.Panel9,
            .RadioGroup2Item0 = ui.RadioGroup2Item0,
            .RadioGroup2Item1 = ui.RadioGroup2Item1,
            .Button6 = ui.Button6};
}

StatisticsView::Controls StatisticsControls(QWidget* window, const Ui::TForm1& ui) {
    return {.paintWindow = [window] { window->repaint(); },
            .ListBox1 = ui.ListBox1,
            .Button7 = ui.Button7,
            .Button8 = ui.Button8,
            .Button9 = ui.Button9};
}

// From now on Ctrl+Z in the name fields takes back the change just made
// (UndoKeyFilter).
void MarkNameFieldsUnmodified(const Ui::TForm1& ui) {
    ui.Edit1->setModified(false);
    ui.Edit2->setModified(false);
}

} // namespace

FormEnvironment FormEnvironment::FromApplication() {
    const FilePath executable = ExecutableFilePath();
    return {executable, DataFolders::ForExecutable(executable), [] { return QDateTime::currentSecsSinceEpoch(); }};
}

TForm1::Rooms::Rooms(TForm1& window, const Ui::TForm1& ui, Platform& platform, const FormEnvironment& environment,
                     const FilePath& programDir)
    : about(AboutControls(ui)), appearance(AppearanceControls(&window, ui), platform),
      databases(CountControls(ui), platform, programDir, environment.dataFolders.recovery),
      draw(DrawControls(ui), platform, databases.Pair()), removal(platform, databases.Pair()),
      adding(AddingControls(ui), platform, databases.Pair(),
             [this](NameDatabase& database, std::string_view name) { return removal.AddUndoably(database, name); }),
      merging(MergingControls(&window, ui), platform, databases.Pair()),
      statistics(StatisticsControls(&window, ui), platform, databases.Pair(),
                 // While the statistics view is open, its buttons take the
                 // bottom row from Button4, the about view's switch.
                 [button4 = ui.Button4](bool taken) { button4->setVisible(!taken); }) {}

TForm1::TForm1(Platform& platform, FormEnvironment environment, QWidget* parent)
    : QWidget(parent), ui_((InstallAccessibleRoles(), BuildFromDescription(this))), platform_(platform),
      environment_(std::move(environment)), programDir_(PrepareDataFolder(platform, environment_)),
      rooms_(std::make_unique<Rooms>(*this, *ui_, platform, environment_, programDir_)) {
    BuildPopupMenu();
    ConnectHandlers();
    InstallKeyboardFilters(this, {ui_->Edit1, ui_->Edit2, ui_->Edit3}, {ui_->RadioGroup1, ui_->RadioGroup2},
                           [this] { return rooms_->removal.CanUndo(); });
    new CoveredControls(*this, {ui_->Memo1, ui_->ListBox1});
    layout_ = new LayoutScale(*this, rooms_->appearance, {ui_->Panel8, ui_->Memo1, ui_->ListBox1});
    Guarded([this] { FormCreate(); });
    layout_->Update();
}

// The features go before QWidget takes down the controls, and a control
// may still signal on its way out (a focus moving on, a toggle): no handler
// may run on features that are gone.
TForm1::~TForm1() {
    for (const QMetaObject::Connection& connection : handlerConnections_)
        disconnect(connection);
}

void TForm1::BuildPopupMenu() {
    popupMenu_ = new QMenu(this);
    popupMenu_->setObjectName(u"PopupMenu1"_s);
    for (QAction* item :
         {ui_->Gesamtschriftauswhlen1, ui_->N1, ui_->Hintergrundfarbeauswhlen1, ui_->AnzeigetafelJintergrundfarbendern1,
          ui_->EingabefelderHintergrundfarbendern1, ui_->N2, ui_->Standardeinstellungen1, ui_->Wt, ui_->N3,
          ui_->Oberflchespeichernunter1, ui_->Oberflcheladen1, ui_->N4, ui_->Ws})
        popupMenu_->addAction(item);
}

// Wt and Ws have no handler: the menu items toggle their check marks
// themselves, and the marks are read when the window closes.
void TForm1::ConnectHandlers() {
    const auto on = [this](auto* sender, auto signal, void (TForm1::*handler)()) {
        handlerConnections_.push_back(
            connect(sender, signal, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); }));
    };
    on(ui_->Button7, &QPushButton::clicked, &TForm1::Button7Click);
    on(ui_->Button8, &QPushButton::clicked, &TForm1::Button8Click);
    on(ui_->Button9, &QPushButton::clicked, &TForm1::Button9Click);
    on(ui_->Button1, &QPushButton::clicked, &TForm1::Button1Click);
    on(ui_->Button3, &QPushButton::clicked, &TForm1::Button3Click);
    on(ui_->Button5, &QPushButton::clicked, &TForm1::Button5Click);
    on(ui_->Button6, &QPushButton::clicked, &TForm1::Button6Click);
    // textChanged, unlike textEdited, also reports text set by the program.
    on(ui_->Edit2, &QLineEdit::textChanged, &TForm1::Edit2Change);
    on(ui_->RadioButton1, &QRadioButton::clicked, &TForm1::RadioButton1Click);
    on(ui_->RadioButton2, &QRadioButton::clicked, &TForm1::RadioButton2Click);
    on(ui_->Button2, &QPushButton::clicked, &TForm1::Button2Click);
    on(ui_->Gesamtschriftauswhlen1, &QAction::triggered, &TForm1::Gesamtschriftauswhlen1Click);
    on(ui_->Hintergrundfarbeauswhlen1, &QAction::triggered, &TForm1::Hintergrundfarbeauswhlen1Click);
    on(ui_->AnzeigetafelJintergrundfarbendern1, &QAction::triggered, &TForm1::AnzeigetafelJintergrundfarbendern1Click);
    on(ui_->EingabefelderHintergrundfarbendern1, &QAction::triggered,
       &TForm1::EingabefelderHintergrundfarbendern1Click);
    on(ui_->Standardeinstellungen1, &QAction::triggered, &TForm1::Standardeinstellungen1Click);
    on(ui_->Oberflchespeichernunter1, &QAction::triggered, &TForm1::Oberflchespeichernunter1Click);
    on(ui_->Oberflcheladen1, &QAction::triggered, &TForm1::Oberflcheladen1Click);
    on(ui_->Button4, &QPushButton::clicked, &TForm1::Button4Click);
    on(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, &TForm1::CloseTopView);
    on(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, &TForm1::UndoNameChange);
    // Shift+F10 opens the menu of what has the focus, as the Menu key does
    // (most laptops have none); the free area's menu where that has none.
    handlerConnections_.push_back(
        connect(new QShortcut(Qt::SHIFT | Qt::Key_F10, this), &QShortcut::activated, this, [this] {
            QWidget* focused = focusWidget() != nullptr ? focusWidget() : this;
            const QPoint at = focused->rect().center();
            QContextMenuEvent event(QContextMenuEvent::Keyboard, at, focused->mapToGlobal(at));
            QCoreApplication::sendEvent(focused, &event);
        }));
    for (QLineEdit* edit : {ui_->Edit1, ui_->Edit2}) {
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        handlerConnections_.push_back(connect(edit, &QWidget::customContextMenuRequested, this,
                                              [this, edit](QPoint pos) { Guarded([&] { ShowEditMenu(edit, pos); }); }));
    }
}

void TForm1::CloseTopView() {
    if (rooms_->statistics.IsOpen())
        Button7Click();
    else if (rooms_->about.IsOpen())
        Button4Click();
}

bool TForm1::Guarded(const std::function<void()>& handler) noexcept {
    ++running_;
    const bool ran = RunGuarded(platform_, handler);
    if (running_ == 1) // what a handler found out about the recovery files
        RunGuarded(platform_, [this] { rooms_->databases.ReportRecoveryNotices(); });
    if (--running_ == 0 && std::exchange(closeWaiting_, false))
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    return ran;
}

void TForm1::SaveAtSessionEnd() noexcept {
    rooms_->databases.SaveAtSessionEnd();
    try {
        rooms_->appearance.SaveOnClose();
    } catch (...) {
        // Nobody is left to tell; the file keeps what it held.
    }
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Guarded([this] { FormResize(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (running_ > 0) {
        event->ignore();
        closeWaiting_ = true;
        return;
    }
    bool closing = false;
    if (rooms_->databases.QuitRequested() || (Guarded([&] { closing = FormClose(); }) && closing))
        event->accept();
    else
        event->ignore(); // names or settings could not be written: the window stays open
}

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
    // Controls that have a menu of their own (the edit fields) never pass the
    // event on, so this runs for the free areas of the window only.
    popupMenu_->popup(event->globalPos());
}

void TForm1::FormCreate() {
    rooms_->draw.Seed(static_cast<std::uint64_t>(environment_.clockSeconds()));
    move(0, 0);
    rooms_->appearance.LoadAtStart(SettingsFilePath(programDir_, environment_.dataFolders, kSettingsFile));
    if (rooms_->databases.Load()) {
        rooms_->draw.ShowStartName();
        rooms_->databases.RecoverKeptNames();
    }
}

bool TForm1::FormClose() {
    // The databases were written when they changed, unless that failed.
    if (!rooms_->databases.SaveUnsavedOnClose())
        return false;
    // A settings file that cannot be written is reported, and the window
    // closes all the same: the look is not worth keeping the player in.
    Guarded([this] { rooms_->appearance.SaveOnClose(); });
    return true;
}

void TForm1::FormResize() {
    const auto bevels = {ui_->Bevel1, ui_->Bevel2, ui_->Bevel3, ui_->Bevel4, ui_->Bevel5};
    for (Bevel* bevel : bevels)
        bevel->move(0, bevel->y());
    for (Bevel* bevel : {ui_->Bevel5, ui_->Bevel4, ui_->Bevel3, ui_->Bevel2, ui_->Bevel1})
        bevel->resize(width(), bevel->height());
}

void TForm1::Button1Click() {
    rooms_->draw.Draw();
}

void TForm1::Button2Click() {
    const std::optional<NameAdding::Added> added = [this] {
        try {
            return rooms_->adding.Add();
        } catch (...) {
            MarkNameFieldsUnmodified(*ui_); // kept for later, and the last change all the same
            throw;
        }
    }();
    if (!added)
        return;
    rooms_->databases.ReportRecovered(added->database);
    rooms_->databases.ShowNameCounts(); // the file may have brought other names along
    rooms_->adding.ShowAdded(*added);
    MarkNameFieldsUnmodified(*ui_);
}

void TForm1::ShowEditMenu(QLineEdit* edit, const QPoint& pos) {
    QMenu* menu = rooms_->removal.MenuFor(
        edit, NameIn(edit, *ui_, rooms_->draw, rooms_->adding), this,
        [this, edit] { Guarded([&] { RemoveName(edit); }); }, [this] { Guarded([this] { UndoNameChange(); }); });
    menu->popup(edit->mapToGlobal(pos));
}

void TForm1::RemoveName(QLineEdit* edit) {
    if (const NameDatabase* database = rooms_->removal.Remove(NameIn(edit, *ui_, rooms_->draw, rooms_->adding)))
        NameChanged(*database);
}

void TForm1::UndoNameChange() {
    if (const NameDatabase* database = rooms_->removal.Undo())
        NameChanged(*database);
}

void TForm1::NameChanged(const NameDatabase& database) {
    MarkNameFieldsUnmodified(*ui_);
    rooms_->databases.ReportRecovered(database);
    rooms_->databases.ShowNameCounts();
    rooms_->adding.UpdateButton();
}

void TForm1::Button3Click() {
    rooms_->draw.CopyToClipboard();
}

void TForm1::Button4Click() {
    rooms_->about.Toggle();
    ui_->Button4->setText(rooms_->about.ButtonCaption());
}

void TForm1::Button5Click() {
    rooms_->merging.LoadForeignDatabase();
}

void TForm1::Button6Click() {
    if (const NameDatabase* target = rooms_->merging.Merge())
        rooms_->databases.ReportRecovered(*target);
    rooms_->databases.ShowNameCounts();
}

void TForm1::Button7Click() {
    rooms_->statistics.OpenOrClose();
}

void TForm1::Button8Click() {
    rooms_->statistics.Rebuild();
}

void TForm1::Button9Click() {
    rooms_->statistics.SwitchTable();
}

void TForm1::Edit2Change() {
    rooms_->adding.UpdateButton();
}

void TForm1::RadioButton1Click() {
    rooms_->adding.UpdateButton();
}

void TForm1::RadioButton2Click() {
    rooms_->adding.UpdateButton();
}

void TForm1::Gesamtschriftauswhlen1Click() {
    rooms_->appearance.ChooseOverallFont();
}

void TForm1::Hintergrundfarbeauswhlen1Click() {
    rooms_->appearance.ChooseBackgroundColor();
}

void TForm1::AnzeigetafelJintergrundfarbendern1Click() {
    rooms_->appearance.ChooseBoardColor();
}

void TForm1::EingabefelderHintergrundfarbendern1Click() {
    rooms_->appearance.ChooseInputColor();
}

void TForm1::Standardeinstellungen1Click() {
    rooms_->appearance.ResetToDefaults();
}

void TForm1::Oberflchespeichernunter1Click() {
    rooms_->appearance.SaveDesign();
}

void TForm1::Oberflcheladen1Click() {
    rooms_->appearance.LoadDesign();
}

} // namespace tavolin
