#include "names/database.h"
#include "names/encoding.h"
#include "names/name_database.h"
#include "ui/platform.h"
#include "ui/tform1.h"
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

void TForm1::ConnectAdd() {
    // textChanged, unlike textEdited, also reports text set by the program.
    Connect(ui_->Edit2, &QLineEdit::textChanged, &TForm1::Edit2Change);
    Connect(ui_->RadioButton1, &QRadioButton::clicked, &TForm1::RadioButton1Click);
    Connect(ui_->RadioButton2, &QRadioButton::clicked, &TForm1::RadioButton2Click);
    Connect(ui_->Button2, &QPushButton::clicked, &TForm1::Button2Click);
}

void TForm1::Edit2Change() {
    const bool female = ui_->RadioButton1->isChecked();
    const bool male = !female && ui_->RadioButton2->isChecked();
    const std::optional<std::string> typed = EncodeName(ui_->Edit2->text());
    // A hash look-up: a keystroke costs the same however large the database.
    // A name whose write failed is no name present: a click saves it.
    const NameDatabase* database = female ? &lists_->female : male ? &lists_->male : nullptr;
    if (!typed || !IsStorableName(*typed)) {
        ui_->Button2->setEnabled(false);
        ui_->Button2->setText(kUnstorableCaption);
    } else if (database && database->Names().contains(*typed) && !database->IsUnsaved(*typed)) {
        ui_->Button2->setEnabled(false);
        ui_->Button2->setText(kPresentCaption);
    } else {
        ui_->Button2->setText(kAddCaption);
        ui_->Button2->setEnabled(database != nullptr);
    }
}

void TForm1::RadioButton1Click() {
    Edit2Change();
}

void TForm1::RadioButton2Click() {
    Edit2Change();
}

void TForm1::Button2Click() {
    const bool female = ui_->RadioButton1->isChecked();
    if (!female && !ui_->RadioButton2->isChecked())
        return;
    NameDatabase& database = female ? lists_->female : lists_->male;

    const std::optional<std::string> name = EncodeName(ui_->Edit2->text());
    if (!name || !IsStorableName(*name)) {
        platform_.showMessage(
            u"Der Name enthält ein Zeichen, das in der Namen-Datenbank nicht gespeichert werden kann."_s, u"Fehler"_s,
            MessageIcon::Stop);
        return;
    }
    // The file is looked at again under its lock: a merge, another copy of
    // the program or an editor may have brought the name in since the button
    // state was worked out. A failed rewrite throws: the name stays in the
    // lists, unsaved, and the counts and the button keep telling what the
    // file holds.
    if (database.Add(*name) == NameDatabase::AddResult::Present) {
        ShowNameCounts(); // the file may have brought other names along
        platform_.showMessage(female ? u"Der Name ist bereits in der weiblichen Namen-Datenbank enthalten."_s
                                     : u"Der Name ist bereits in der männlichen Namen-Datenbank enthalten."_s,
                              u"Bereits vorhanden"_s, MessageIcon::Exclamation);
        return;
    }
    ShowNameCounts();
    ui_->Button2->setEnabled(false);
    ui_->Button2->setText(kPresentCaption);
}

} // namespace tavolin
