#include "ui/merging.h"

#include "names/gender.h"
#include "names/merge.h"
#include "names/name_database.h"
#include "ui/dialogs.h"
#include "ui/platform.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace tavolin {

const QString kNoNamesText =
    u"Die geladene Datei enthält keinen Namen, der verschmolzen werden kann. Eine Namen-Datenbank schließt jeden "
    u"Namen mit \"³\" ab, eine Namensliste hat einen Namen je Zeile."_s;
const QString kNoNamesCaption = u"Keine Namen"_s;

namespace {

// What the two panels are for, said before their text to a screen reader:
// both read "Keine Datei geladen" at first.
const QString kPathPurpose = u"Geladene Datei"_s;
const QString kCountPurpose = u"Namen in der geladenen Datei"_s;

void Show(QLabel* panel, const QString& purpose, const QString& text) {
    panel->setText(text);
    panel->setAccessibleName(purpose + u": "_s + text);
}

} // namespace

Merging::Merging(Controls controls, Platform& platform, DatabasePair& databases)
    : controls_(std::move(controls)), platform_(platform), databases_(databases) {
    Show(controls_.Panel8, kPathPurpose, controls_.Panel8->text());
    Show(controls_.Panel9, kCountPurpose, controls_.Panel9->text());
}

void Merging::LoadForeignDatabase() {
    const std::optional<QString> path = platform_.OpenFile(kOpenDialog1);
    if (!path)
        return;
    const QString loaded = controls_.Panel8->text();
    Show(controls_.Panel8, kPathPurpose, *path);
    // Reading a large file blocks the window for a while. The whole window is
    // painted first: the user sees which file it is busy with, and where the
    // dialog lay the window shows itself again, not the dialog's image.
    controls_.paintWindow();
    try {
        leftOut_ = LoadMergeDatabase(*path, mergeLines_, mergeNames_);
    } catch (...) {
        // The database loaded before, if any, is still the one loaded.
        Show(controls_.Panel8, kPathPurpose, loaded);
        throw;
    }
    Show(controls_.Panel9, kCountPurpose,
         QString::number(mergeNames_.size()) + u" Namen in der geladenen Datenbank enthalten"_s);
    // A merge of nothing would report a success that added nothing.
    controls_.Button6->setEnabled(!mergeNames_.empty());
    if (mergeNames_.empty())
        platform_.ShowMessage(kNoNamesText, kNoNamesCaption, MessageIcon::Exclamation);
}

const NameDatabase* Merging::Merge() {
    const auto report = [&](std::size_t added, const QString& database) {
        QString text = u"Die Verschmelzung der Datenbanken war erfolgreich. Es wurde(n) "_s + QString::number(added) +
                       u" neue(r) Name(n) in die "_s + database + u" Namen-Datenbank eingetragen."_s;
        if (leftOut_ > 0) {
            text += u" %1 Name(n) der geladenen Datei wurde(n) ausgelassen, weil sie Zeichen enthalten, die in der "
                    u"Namen-Datenbank nicht gespeichert werden können."_s.arg(leftOut_);
        }
        platform_.ShowMessage(text, u"Erfolgreich"_s, MessageIcon::Information);
    };
    // The target is whatever the radio group shows at the moment of the merge.
    const std::optional<Gender> gender = controls_.RadioGroup2Item0->isChecked()   ? Gender::Female
                                         : controls_.RadioGroup2Item1->isChecked() ? std::optional(Gender::Male)
                                                                                   : std::nullopt;
    if (!gender)
        return nullptr;
    NameDatabase& target = databases_.Of(*gender);
    report(target.Merge(mergeNames_), GenderWord(*gender, GenderForm::Plain));
    return &target;
}

} // namespace tavolin
