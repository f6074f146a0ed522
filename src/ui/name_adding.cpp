#include "ui/name_adding.h"

#include "names/database.h"
#include "names/encoding.h"
#include "names/name_database.h"
#include "ui/name_databases.h"
#include "ui/platform.h"
#include "ui_tform1.h"

#include <optional>
#include <string>

using namespace Qt::StringLiterals;

namespace tavolin {

namespace {

const QString kAddCaption = u"Hinzufügen"_s;
const QString kPresentCaption = u"Hinzufügen ( Name bereits vorhanden )"_s;
const QString kUnstorableCaption = u"Hinzufügen ( ungültiges Zeichen im Namen )"_s;

} // namespace

NameAdding::NameAdding(Ui::TForm1& ui, Platform& platform, NameDatabases& databases)
    : ui_(ui), platform_(platform), databases_(databases) {}

void NameAdding::UpdateButton() {
    const NameStore& lists = databases_.Lists();
    const bool female = ui_.RadioButton1->isChecked();
    const bool male = !female && ui_.RadioButton2->isChecked();
    const std::optional<std::string> typed = EncodeName(ui_.Edit2->text());
    // A hash look-up: a keystroke costs the same however large the database.
    // A name whose write failed is no name present: a click saves it.
    const NameDatabase* database = female ? &lists.female : male ? &lists.male : nullptr;
    if (!typed || !IsStorableName(*typed)) {
        ui_.Button2->setEnabled(false);
        ui_.Button2->setText(kUnstorableCaption);
    } else if (database && database->Names().contains(*typed) && !database->IsUnsaved(*typed)) {
        ui_.Button2->setEnabled(false);
        ui_.Button2->setText(kPresentCaption);
    } else {
        ui_.Button2->setText(kAddCaption);
        ui_.Button2->setEnabled(database != nullptr);
    }
}

void NameAdding::Add() {
    const bool female = ui_.RadioButton1->isChecked();
    if (!female && !ui_.RadioButton2->isChecked())
        return;
    NameDatabase& database = female ? databases_.Lists().female : databases_.Lists().male;

    const std::optional<std::string> name = EncodeName(ui_.Edit2->text());
    if (!name || !IsStorableName(*name)) {
        platform_.ShowMessage(
            u"Der Name enthält ein Zeichen, das in der Namen-Datenbank nicht gespeichert werden kann."_s, u"Fehler"_s,
            MessageIcon::Stop);
        return;
    }
    // The file is looked at again under its lock: a merge, another copy of
    // the program or an editor may have brought the name in since the button
    // state was worked out. A failed rewrite throws: the name stays in the
    // lists, unsaved, and the counts and the button keep telling what the
    // file holds.
    const NameDatabase::AddResult result = database.Add(*name);
    databases_.ReportRecovered(database);
    if (result == NameDatabase::AddResult::Present) {
        databases_.ShowNameCounts(); // the file may have brought other names along
        platform_.ShowMessage(female ? u"Der Name ist bereits in der weiblichen Namen-Datenbank enthalten."_s
                                     : u"Der Name ist bereits in der männlichen Namen-Datenbank enthalten."_s,
                              u"Bereits vorhanden"_s, MessageIcon::Exclamation);
        return;
    }
    databases_.ShowNameCounts();
    ui_.Button2->setEnabled(false);
    ui_.Button2->setText(kPresentCaption);
}

} // namespace tavolin
