#include "names/database.h"
#include "names/encoding.h"
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
    const NameList* names = female ? &lists_->FemaleNames : male ? &lists_->MaleNames : nullptr;
    if (!typed || !IsStorableName(*typed)) {
        ui_->Button2->setEnabled(false);
        ui_->Button2->setText(kUnstorableCaption);
    } else if (names && names->contains(*typed)) {
        ui_->Button2->setEnabled(false);
        ui_->Button2->setText(kPresentCaption);
    } else {
        ui_->Button2->setText(kAddCaption);
        ui_->Button2->setEnabled(names != nullptr);
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
    NameList& names = female ? lists_->FemaleNames : lists_->MaleNames;
    LineList& lines = female ? lists_->FemaleLines : lists_->MaleLines;

    const std::optional<std::string> name = EncodeName(ui_->Edit2->text());
    if (!name || !IsStorableName(*name)) {
        platform_.showMessage(
            u"Der Name enthält ein Zeichen, das in der Namen-Datenbank nicht gespeichert werden kann."_s, u"Fehler"_s,
            MessageIcon::Stop);
        return;
    }
    // The list may have changed since the button state was worked out (a
    // merge, or an add whose rewrite failed), so it is looked at again.
    if (names.contains(*name)) {
        platform_.showMessage(female ? u"Der Name ist bereits in der weiblichen Namen-Datenbank enthalten."_s
                                     : u"Der Name ist bereits in der männlichen Namen-Datenbank enthalten."_s,
                              u"Bereits vorhanden"_s, MessageIcon::Exclamation);
        return;
    }

    AppendName(lines, names, *name);
    // A failed rewrite throws: the name stays in the lists, and the counts and
    // the button keep telling what the file holds.
    WriteNameDatabase(lines, female ? FemaleDatabasePath() : MaleDatabasePath());
    ShowNameCounts();
    ui_->Button2->setEnabled(false);
    ui_->Button2->setText(kPresentCaption);
}

} // namespace tavolin
