#include "ui/own_databases.h"

#include "names/database.h"
#include "names/gender.h"
#include "ui/general_error.h"
#include "ui/platform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <exception>
#include <utility>

using namespace Qt::StringLiterals;

namespace tavolin {

namespace {

// While a save waits for another copy's lock the window shows that it is
// busy and keeps itself painted; the user's input waits, and so do signals
// (the session's end must not save in the middle of a save).
LockWaitHook BusyWhileWaiting() {
    return [shown = std::make_shared<bool>(false)](bool waiting) {
        if (waiting && !*shown)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else if (!waiting && *shown)
            QGuiApplication::restoreOverrideCursor();
        *shown = waiting;
        if (waiting)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
    };
}

} // namespace

OwnDatabases::OwnDatabases(Controls controls, Platform& platform, const FilePath& programDir,
                           const FilePath& recoveryFolder)
    : controls_(controls), platform_(platform), pair_(programDir, DatabaseOptions{recoveryFolder, BusyWhileWaiting()}) {
}

bool OwnDatabases::Load() {
    bool loaded = true;
    const auto read = [&](NameDatabase& database, const QString& failureText) {
        try {
            database.Read();
        } catch (const std::exception&) {
            platform_.ShowMessage(failureText, u"Fehler"_s, MessageIcon::Stop);
            platform_.PostQuit();
            quitRequested_ = true;
            loaded = false;
        }
    };
    for (const Gender gender : kGenders)
        read(pair_.Of(gender),
             u"Konnte Namendatei mit den %1 Namen nicht öffnen."_s.arg(GenderWord(gender, GenderForm::Oblique)));
    if (!loaded)
        return false;
    pair_.female.Parse();
    pair_.male.Parse();
    ShowNameCounts();
    return true;
}

void OwnDatabases::RecoverKeptNames() {
    QStringList failed;
    for (const Gender gender : kGenders) {
        NameDatabase* database = &pair_.Of(gender);
        try {
            database->Recover();
            ReportRecovered(*database);
        } catch (const std::exception& error) {
            failed.append(
                u"%1 Name(n) aus einer früheren Sitzung konnte(n) noch nicht in die %2 Namen-Datenbank "
                u"eingetragen werden (%3). Sie bleiben in %4 gesichert; Tavolin trägt sie beim nächsten "
                u"Speichern ein."_s.arg(database->UnsavedCount())
                    .arg(GenderWord(gender, GenderForm::Plain), ErrorText(error), database->RecoveryPath().Display()));
        }
    }
    ShowNameCounts();
    if (!failed.isEmpty())
        platform_.ShowMessage(failed.join(u'\n'), u"Fehler"_s, MessageIcon::Stop);
    ReportRecoveryNotices();
}

void OwnDatabases::ReportRecovered(const NameDatabase& database) {
    if (database.Recovered() == 0)
        return;
    platform_.ShowMessage(RecoveredText(database.Recovered(), pair_.GenderOf(database)), u"Namen nachgetragen"_s,
                          MessageIcon::Information);
}

void OwnDatabases::ReportRecoveryNotices() {
    for (NameDatabase* database : {&pair_.female, &pair_.male}) {
        if (const std::optional<std::string> notice = database->TakeRecoveryNotice())
            platform_.ShowMessage(QString::fromStdString(*notice), u"Wiederherstellungsdatei"_s,
                                  MessageIcon::Exclamation);
    }
}

void OwnDatabases::ShowNameCounts() {
    const std::size_t female = pair_.female.Names().size();
    const std::size_t male = pair_.male.Names().size();
    const auto count = [](std::size_t names, Gender gender) {
        return u"%1 %2 Wuzelnamen in der Datenbank"_s.arg(names).arg(GenderWord(gender, GenderForm::Plain));
    };
    controls_.Panel2->setText(count(female, Gender::Female));
    controls_.Panel5->setText(count(male, Gender::Male));
    controls_.Panel6->setText(QString::number(female + male) + u" Wuzelnamen insgesamt in der Datenbank"_s);
}

bool OwnDatabases::SaveUnsavedOnClose() {
    QStringList unsaved;
    bool allKept = true;
    for (const Gender gender : kGenders) {
        NameDatabase* database = &pair_.Of(gender);
        try {
            database->SaveUnsaved();
        } catch (const std::exception& error) {
            QString line = u"Nicht gespeichert: %1 Name(n) der %2 Namen-Datenbank (%3)."_s.arg(
                QString::number(database->UnsavedCount()), GenderWord(gender, GenderForm::Oblique), ErrorText(error));
            if (database->UnsavedKept()) {
                line += u" Sie sind in %1 gesichert; Tavolin trägt sie beim nächsten Start ein."_s.arg(
                    database->RecoveryPath().Display());
            } else {
                line += u" Sie konnten auch nicht gesichert werden."_s;
                allKept = false;
            }
            unsaved.append(line);
        }
    }
    if (unsaved.isEmpty())
        return true;
    // "Nein" keeps the window open: the user can make room, or copy the names.
    return platform_.AskYesNo(unsaved.join(u'\n') + (allKept
                                                         ? u"\n\nTrotzdem beenden?"_s
                                                         : u"\n\nTrotzdem beenden? Diese Namen gehen dann verloren."_s),
                              u"Namen nicht gespeichert"_s);
}

void OwnDatabases::SaveAtSessionEnd() noexcept {
    for (NameDatabase* database : {&pair_.female, &pair_.male}) {
        try {
            database->SaveUnsaved();
        } catch (...) {
            // Kept in the recovery file; the next start writes them.
        }
    }
}

} // namespace tavolin
