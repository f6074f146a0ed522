#include "ui/tform1.h"

#include "names/database.h"
#include "settings/record.h"
#include "ui/accessibility.h"
#include "ui/covered_controls.h"
#include "ui/general_error.h"
#include "ui/keyboard_filters.h"
#include "ui/platform.h"
#include "ui_tform1.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QMenu>
#include <QShortcut>
#include <utility>

namespace tavolin {

namespace {

std::unique_ptr<Ui::TForm1> BuildFromDescription(QWidget* window) {
    AppearanceController::ApplyWindowFont(*window);
    auto ui = std::make_unique<Ui::TForm1>();
    ui->setupUi(window);
    return ui;
}

} // namespace

FormEnvironment FormEnvironment::FromApplication() {
    const FilePath executable = ExecutableFilePath();
    return {
        executable, DataFolders::ForExecutable(executable), [] { return QDateTime::currentSecsSinceEpoch(); }, {}, {}};
}

// The about text goes in before the fonts: the hidden memo then lays out no
// line in its own font, and that face is only loaded when the view is first
// opened, not at every start. The members are built in that order.
TForm1::TForm1(Platform& platform, FormEnvironment environment, QWidget* parent)
    : QWidget(parent), ui_((InstallAccessibleRoles(), BuildFromDescription(this))), platform_(platform),
      environment_(std::move(environment)), about_(*this, *ui_),
      appearance_(*this, *ui_, platform, environment_.saveFaults), databases_(*ui_, platform),
      draw_(*ui_, platform, databases_), adding_(*ui_, platform, databases_),
      merging_(*this, *ui_, platform, databases_),
      statistics_(*this, *ui_, platform, databases_, environment_.statisticsCheckpoints) {
    ConnectHandlers();
    InstallKeyboardFilters(this, {ui_->Edit1, ui_->Edit2, ui_->Edit3}, {ui_->RadioGroup1, ui_->RadioGroup2});
    new CoveredControls(*this, {ui_->Memo1, ui_->ListBox1});
    layout_ = new LayoutScale(*this, {ui_->Panel8, ui_->Memo1, ui_->ListBox1});
    Guarded([this] { FormCreate(); });
    layout_->Update();
}

TForm1::~TForm1() = default;

void TForm1::ConnectHandlers() {
    const auto on = [this](auto* sender, auto signal, void (TForm1::*handler)()) {
        connect(sender, signal, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
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
    on(ui_->Wt, &QAction::triggered, &TForm1::WtClick);
    on(ui_->Oberflchespeichernunter1, &QAction::triggered, &TForm1::Oberflchespeichernunter1Click);
    on(ui_->Oberflcheladen1, &QAction::triggered, &TForm1::Oberflcheladen1Click);
    on(ui_->Ws, &QAction::triggered, &TForm1::WsClick);
    on(ui_->Button4, &QPushButton::clicked, &TForm1::Button4Click);
    on(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, &TForm1::CloseTopView);
}

void TForm1::CloseTopView() {
    if (statistics_.IsOpen())
        Button7Click();
    else if (about_.IsOpen())
        Button4Click();
}

QString TForm1::FemaleDatabasePath() const {
    return JoinPath(programDir_, kFemaleDatabaseFile).Display();
}

QString TForm1::MaleDatabasePath() const {
    return JoinPath(programDir_, kMaleDatabaseFile).Display();
}

bool TForm1::Guarded(const std::function<void()>& handler) noexcept {
    ++running_;
    const bool ran = RunGuarded(platform_, handler);
    if (--running_ == 0 && std::exchange(closeWaiting_, false))
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    return ran;
}

void TForm1::SaveAtSessionEnd() noexcept {
    databases_.SaveAtSessionEnd();
    try {
        appearance_.SaveOnClose();
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
    if (databases_.QuitRequested() || (Guarded([&] { closing = FormClose(); }) && closing))
        event->accept();
    else
        event->ignore(); // names or settings could not be written: the window stays open
}

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
    // Controls that have a menu of their own (the edit fields) never pass the
    // event on, so this runs for the free areas of the window only.
    appearance_.PopupMenu()->popup(event->globalPos());
}

void TForm1::FormCreate() {
    draw_.Seed(static_cast<std::uint64_t>(environment_.clockSeconds()));
    move(0, 0);
    const FilePath executableDir = DirectoryOf(environment_.executablePath);
    const QStringList databases{kFemaleDatabaseFile, kMaleDatabaseFile};
    programDir_ = ChooseDataFolder(executableDir, environment_.dataFolders, databases);
    if (programDir_ != executableDir) // a first start copies what was shipped; a failure is shown, start-up goes on
        Guarded([&] { CopyMissingDatabases(environment_.dataFolders.shipped, programDir_, databases); });
    appearance_.LoadAtStart(JoinPath(programDir_, kSettingsFile));
    if (databases_.Load(programDir_, environment_.dataFolders.recovery, environment_.saveFaults)) {
        draw_.ShowStartName();
        databases_.RecoverKeptNames();
    }
}

bool TForm1::FormClose() {
    // The databases were written when they changed, unless that failed.
    if (!databases_.SaveUnsavedOnClose())
        return false;
    // A settings file that cannot be written is reported, and the window
    // closes all the same: the look is not worth keeping the player in.
    Guarded([this] { appearance_.SaveOnClose(); });
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
    draw_.Draw();
}

void TForm1::Button2Click() {
    adding_.Add();
}

void TForm1::Button3Click() {
    draw_.CopyToClipboard();
}

void TForm1::Button4Click() {
    about_.Toggle();
}

void TForm1::Button5Click() {
    merging_.LoadForeignDatabase();
}

void TForm1::Button6Click() {
    merging_.Merge();
}

void TForm1::Button7Click() {
    statistics_.OpenOrClose();
}

void TForm1::Button8Click() {
    statistics_.Rebuild();
}

void TForm1::Button9Click() {
    statistics_.SwitchTable();
}

void TForm1::Edit2Change() {
    adding_.UpdateButton();
}

void TForm1::RadioButton1Click() {
    adding_.UpdateButton();
}

void TForm1::RadioButton2Click() {
    adding_.UpdateButton();
}

void TForm1::Gesamtschriftauswhlen1Click() {
    appearance_.ChooseOverallFont();
}

void TForm1::Hintergrundfarbeauswhlen1Click() {
    appearance_.ChooseBackgroundColor();
}

void TForm1::AnzeigetafelJintergrundfarbendern1Click() {
    appearance_.ChooseBoardColor();
}

void TForm1::EingabefelderHintergrundfarbendern1Click() {
    appearance_.ChooseInputColor();
}

void TForm1::Standardeinstellungen1Click() {
    appearance_.ResetToDefaults();
}

// Both check marks are toggled by the menu item itself and read only when the
// window closes.
void TForm1::WtClick() {}

void TForm1::WsClick() {}

void TForm1::Oberflchespeichernunter1Click() {
    appearance_.SaveDesign();
}

void TForm1::Oberflcheladen1Click() {
    appearance_.LoadDesign();
}

} // namespace tavolin
