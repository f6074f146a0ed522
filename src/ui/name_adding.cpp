#include "ui/name_adding.h"

#include "names/database.h"
#include "names/encoding.h"
#include "names/gender.h"
#include "names/name_database.h"
#include "ui/platform.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <optional>
#include <string>
#include <utility>

using namespace Qt::StringLiterals;

namespace tavolin {

namespace {

const QString kAddCaption = u"Hinzufügen"_s;
const QString kPresentCaption = u"Hinzufügen ( Name bereits vorhanden )"_s;
const QString kUnstorableCaption = u"Hinzufügen ( ungültiges Zeichen im Namen )"_s;

} // namespace

NameAdding::NameAdding(Controls controls, Platform& platform, DatabasePair& databases, UndoableAdd add)
    : controls_(controls), platform_(platform), databases_(databases), add_(std::move(add)) {}

std::optional<Gender> NameAdding::Chosen() const {
    if (controls_.RadioButton1->isChecked())
        return Gender::Female;
    if (controls_.RadioButton2->isChecked())
        return Gender::Male;
    return std::nullopt;
}

void NameAdding::UpdateButton() {
    const std::optional<Gender> gender = Chosen();
    const std::optional<std::string> typed = EncodeName(controls_.Edit2->text());
    // A hash look-up: a keystroke costs the same however large the database.
    // A name whose write failed is no name present: a click saves it.
    const NameDatabase* database = gender ? &databases_.Of(*gender) : nullptr;
    if (typed && typed->empty()) {
        // An empty name would be a line holding only the separator.
        controls_.Button2->setEnabled(false);
        controls_.Button2->setText(kAddCaption);
    } else if (!typed || !IsStorableName(*typed)) {
        controls_.Button2->setEnabled(false);
        controls_.Button2->setText(kUnstorableCaption);
    } else if (database && database->Names().contains(*typed) && !database->IsUnsaved(*typed)) {
        controls_.Button2->setEnabled(false);
        controls_.Button2->setText(kPresentCaption);
    } else {
        controls_.Button2->setText(kAddCaption);
        controls_.Button2->setEnabled(database != nullptr);
    }
}

std::optional<NameAdding::Added> NameAdding::Add() {
    const std::optional<Gender> gender = Chosen();
    if (!gender)
        return std::nullopt;
    NameDatabase& database = databases_.Of(*gender);

    const std::optional<std::string> name = EncodeName(controls_.Edit2->text());
    if (!name || !IsStorableName(*name)) {
        platform_.ShowMessage(
            u"Der Name enthält ein Zeichen, das in der Namen-Datenbank nicht gespeichert werden kann."_s, u"Fehler"_s,
            MessageIcon::Stop);
        return std::nullopt;
    }
    // The file is looked at again under its lock: a merge, another copy of
    // the program or an editor may have brought the name in since the button
    // state was worked out. A failed rewrite throws: the name stays in the
    // lists, unsaved, and the counts and the button keep telling what the
    // file holds.
    try {
        return Added{database, add_(database, *name), *name};
    } catch (const FileError& error) {
        if (!database.IsUnsaved(*name))
            throw;
        // The box says what became of the name (the display ends it with a
        // full stop).
        const QString kept =
            database.UnsavedKept()
                ? u". Der Name bleibt im Programm und ist in %1 gesichert; Tavolin trägt ihn beim nächsten Speichern "
                  u"oder Start ein"_s.arg(database.RecoveryPath().Display())
                : u". Der Name bleibt im Programm, konnte aber nirgends gesichert werden; er wird beim nächsten "
                  u"Speichern eingetragen"_s;
        throw FileError(error.what() + kept.toStdString());
    }
}

void NameAdding::ShowAdded(const Added& added) {
    if (added.result == NameDatabase::AddResult::Present) {
        platform_.ShowMessage(AlreadyPresentText(databases_.GenderOf(added.database)), u"Bereits vorhanden"_s,
                              MessageIcon::Exclamation);
        return;
    }
    controls_.Button2->setEnabled(false);
    controls_.Button2->setText(kPresentCaption);
}

} // namespace tavolin
