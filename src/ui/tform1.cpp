#include "ui/tform1.h"

#include "app/shell.h"
#include "fileio/fileio.h"
#include "ui/platform.h"
#include "ui_tform1.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QFontDatabase>
#include <QMenu>

#include <utility>

using namespace Qt::StringLiterals;

namespace tavolin {

namespace {

const QString kErrorCaption = u"Fehler"_s;

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

FormEnvironment FormEnvironment::FromApplication() {
    return {ExecutableFilePath(), [] { return QDateTime::currentSecsSinceEpoch(); }};
}

TForm1::TForm1(Platform& platform, FormEnvironment environment, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::TForm1>()), platform_(platform),
      environment_(std::move(environment)) {
    ui_->setupUi(this);
    // The about text goes in before the fonts: the hidden memo then lays out
    // no line in its own font, and that face is only loaded when the view is
    // first opened, not at every start.
    BuildAboutView();
    ApplyDesignFonts();
    ApplyDesignColors();
    BuildPopupMenu();
    ConnectStatistics();
    ConnectRandomNames();
    ConnectMergeHandlers();
    ConnectAdd();
    ConnectAppearance();
    ConnectKeyboard();
    Guarded([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

QString TForm1::FemaleDatabasePath() const {
    return JoinPath(programDir_, kFemaleDatabaseFile).Display();
}

QString TForm1::MaleDatabasePath() const {
    return JoinPath(programDir_, kMaleDatabaseFile).Display();
}

void TForm1::ApplyDesignFonts() {
    SubstituteMissingFonts();
    setFont(OwnFont(u"MS Sans Serif"_s, 11, false));
    for (QWidget* control : {static_cast<QWidget*>(ui_->Button1), static_cast<QWidget*>(ui_->Panel2),
                             static_cast<QWidget*>(ui_->Panel5), static_cast<QWidget*>(ui_->Panel6),
                             static_cast<QWidget*>(ui_->Button6)})
        control->setFont(OwnFont(u"MS Sans Serif"_s, 11, true));
    ui_->Memo1->setFont(OwnFont(u"Arial"_s, 15, true));
    QFont listFont = OwnFont(u"Fixedsys"_s, 11, false);
    listFont.setStyleHint(QFont::TypeWriter);
    listFont.setFixedPitch(true);
    ui_->ListBox1->setFont(listFont);
}

void TForm1::BuildPopupMenu() {
    popupMenu_ = new QMenu(this);
    popupMenu_->setObjectName(u"PopupMenu1"_s);
    popupMenu_->addAction(ui_->Gesamtschriftauswhlen1);
    popupMenu_->addAction(ui_->N1);
    popupMenu_->addAction(ui_->Hintergrundfarbeauswhlen1);
    popupMenu_->addAction(ui_->AnzeigetafelJintergrundfarbendern1);
    popupMenu_->addAction(ui_->EingabefelderHintergrundfarbendern1);
    popupMenu_->addAction(ui_->N2);
    popupMenu_->addAction(ui_->Standardeinstellungen1);
    popupMenu_->addAction(ui_->Wt);
    popupMenu_->addAction(ui_->N3);
    popupMenu_->addAction(ui_->Oberflchespeichernunter1);
    popupMenu_->addAction(ui_->Oberflcheladen1);
    popupMenu_->addAction(ui_->N4);
    popupMenu_->addAction(ui_->Ws);
}

bool TForm1::Guarded(const std::function<void()>& handler) noexcept {
    QString text;
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        text = ErrorText(error);
    } catch (...) {
        text = u"Unbekannter Fehler"_s;
    }
    try {
        ShowGeneralError(platform_, text);
    } catch (...) {
        // Nothing is left to tell the user with; the program goes on.
    }
    return false;
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Guarded([this] { FormResize(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
    bool closing = false;
    if (quitRequested_ || (Guarded([&] { closing = FormClose(); }) && closing))
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
    random_.Seed(static_cast<std::uint64_t>(environment_.clockSeconds()));
    move(0, 0);
    programDir_ = DirectoryOf(environment_.executablePath);
    lists_ = std::make_unique<NameStore>(JoinPath(programDir_, kFemaleDatabaseFile),
                                         JoinPath(programDir_, kMaleDatabaseFile));
    SettingsLines.clear();
    appearance_ = Appearance{};
    LoadStartupSettings();
    LoadNameDatabases();
}

bool TForm1::FormClose() {
    // The databases were written when they changed, unless that failed.
    if (!SaveUnsavedNamesOnClose())
        return false;
    SaveSettingsOnClose();
    return true;
}

bool TForm1::SaveUnsavedNamesOnClose() {
    if (!lists_)
        return true;
    QStringList unsaved;
    for (const auto& [database, which] :
         {std::pair{&lists_->female, u"weiblichen"_s}, std::pair{&lists_->male, u"männlichen"_s}}) {
        try {
            database->SaveUnsaved();
        } catch (const std::exception& error) {
            unsaved.append(u"Nicht gespeichert: %1 Name(n) der %2 Namen-Datenbank (%3)."_s.arg(
                QString::number(database->UnsavedCount()), which, ErrorText(error)));
        }
    }
    if (unsaved.isEmpty())
        return true;
    // "Nein" keeps the window open: the user can make room, or copy the names.
    return platform_.askYesNo(unsaved.join(u'\n') + u"\n\nTrotzdem beenden? Diese Namen gehen dann verloren."_s,
                              u"Namen nicht gespeichert"_s);
}

void TForm1::FormResize() {
    const auto bevels = {ui_->Bevel1, ui_->Bevel2, ui_->Bevel3, ui_->Bevel4, ui_->Bevel5};
    for (Bevel* bevel : bevels)
        bevel->move(0, bevel->y());
    for (Bevel* bevel : {ui_->Bevel5, ui_->Bevel4, ui_->Bevel3, ui_->Bevel2, ui_->Bevel1})
        bevel->resize(width(), bevel->height());
}

void TForm1::LoadNameDatabases() {
    bool loaded = true;
    const auto read = [&](NameDatabase& database, const QString& failureText) {
        try {
            database.Read();
        } catch (const std::exception&) {
            platform_.showMessage(failureText, kErrorCaption, MessageIcon::Stop);
            platform_.postQuit();
            quitRequested_ = true;
            loaded = false;
        }
    };
    read(lists_->female, u"Konnte Namendatei mit den weiblichen Namen nicht öffnen."_s);
    read(lists_->male, u"Konnte Namendatei mit den männlichen Namen nicht öffnen."_s);
    if (!loaded)
        return;
    lists_->female.Parse();
    lists_->male.Parse();
    ShowNameCounts();
    ShowStartName();
}

void TForm1::ShowNameCounts() {
    const std::size_t female = lists_->female.Names().size();
    const std::size_t male = lists_->male.Names().size();
    ui_->Panel2->setText(QString::number(female) + u" weibliche Wuzelnamen in der Datenbank"_s);
    ui_->Panel5->setText(QString::number(male) + u" männliche Wuzelnamen in der Datenbank"_s);
    ui_->Panel6->setText(QString::number(female + male) + u" Wuzelnamen insgesamt in der Datenbank"_s);
}

} // namespace tavolin
