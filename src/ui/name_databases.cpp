#include "ui/name_databases.h"

#include "names/database.h"
#include "ui/general_error.h"
#include "ui/platform.h"
#include "ui_tform1.h"

#include <exception>
#include <utility>

using namespace Qt::StringLiterals;

namespace tavolin {

NameDatabases::NameDatabases(Ui::TForm1& ui, Platform& platform) : ui_(ui), platform_(platform) {}

NameDatabases::~NameDatabases() = default;

bool NameDatabases::Load(const FilePath& programDir, const SaveFaultHook& saveFaults) {
    lists_ = std::make_unique<NameStore>(JoinPath(programDir, kFemaleDatabaseFile),
                                         JoinPath(programDir, kMaleDatabaseFile), saveFaults);
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
    read(lists_->female, u"Konnte Namendatei mit den weiblichen Namen nicht öffnen."_s);
    read(lists_->male, u"Konnte Namendatei mit den männlichen Namen nicht öffnen."_s);
    if (!loaded)
        return false;
    lists_->female.Parse();
    lists_->male.Parse();
    ShowNameCounts();
    return true;
}

void NameDatabases::ShowNameCounts() {
    const std::size_t female = lists_->female.Names().size();
    const std::size_t male = lists_->male.Names().size();
    ui_.Panel2->setText(QString::number(female) + u" weibliche Wuzelnamen in der Datenbank"_s);
    ui_.Panel5->setText(QString::number(male) + u" männliche Wuzelnamen in der Datenbank"_s);
    ui_.Panel6->setText(QString::number(female + male) + u" Wuzelnamen insgesamt in der Datenbank"_s);
}

bool NameDatabases::SaveUnsavedOnClose() {
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
    return platform_.AskYesNo(unsaved.join(u'\n') + u"\n\nTrotzdem beenden? Diese Namen gehen dann verloren."_s,
                              u"Namen nicht gespeichert"_s);
}

} // namespace tavolin
