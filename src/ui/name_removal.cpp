#include "ui/name_removal.h"

#include "names/encoding.h"
#include "ui/platform.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace tavolin {

NameRemoval::NameRemoval(Controls controls, Platform& platform, DatabasePair& databases, LastChange& last)
    : controls_(controls), platform_(platform), databases_(databases), last_(last) {}

NameDatabase& NameRemoval::Own(const NameDatabase& database) const {
    return &database == &databases_.female ? databases_.female : databases_.male;
}

QString NameRemoval::DatabaseText(const NameDatabase& database) const {
    return &database == &databases_.female ? u"weiblichen"_s : u"männlichen"_s;
}

std::optional<NameRemoval::Target> NameRemoval::TargetOf(const QLineEdit* edit) const {
    const NameDatabase* database = nullptr;
    if (edit == controls_.Edit1)
        database = shownFrom_;
    else if (controls_.RadioButton1->isChecked())
        database = &databases_.female;
    else if (controls_.RadioButton2->isChecked())
        database = &databases_.male;
    const std::optional<std::string> name = EncodeName(edit->text());
    if (!database || !name || !database->Names().contains(*name))
        return std::nullopt;
    return Target{&Own(*database), *name};
}

QMenu* NameRemoval::MenuFor(QLineEdit* edit, QObject* context, const std::function<void()>& remove,
                            const std::function<void()>& undo) const {
    QMenu* menu = edit->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    QAction* removeItem = menu->addAction(u"Aus der Namen-Datenbank entfernen"_s);
    removeItem->setObjectName(u"RemoveName"_s);
    removeItem->setEnabled(TargetOf(edit).has_value());
    QObject::connect(removeItem, &QAction::triggered, context, remove, Qt::QueuedConnection);
    QAction* undoItem = menu->addAction(u"Letzte Namensänderung rückgängig"_s);
    undoItem->setObjectName(u"UndoNameChange"_s);
    undoItem->setShortcut(QKeySequence::Undo); // shown; the window's own shortcut runs it
    undoItem->setShortcutContext(Qt::WidgetShortcut);
    undoItem->setEnabled(CanUndo());
    QObject::connect(undoItem, &QAction::triggered, context, undo, Qt::QueuedConnection);
    return menu;
}

NameDatabase* NameRemoval::Remove(QLineEdit* edit) {
    const std::optional<Target> target = TargetOf(edit);
    if (!target)
        return nullptr;
    const QString question = u"Soll der Name \"%1\" aus der %2 Namen-Datenbank entfernt werden?"_s.arg(
        DecodeName(target->name), DatabaseText(*target->database));
    if (!platform_.AskYesNo(question, u"Name entfernen"_s))
        return nullptr;
    if (!last_.Remove(*target->database, target->name)) {
        // Another copy of the program or an editor took it out meanwhile.
        platform_.ShowMessage(
            u"Der Name ist nicht mehr in der %1 Namen-Datenbank enthalten."_s.arg(DatabaseText(*target->database)),
            u"Nicht vorhanden"_s, MessageIcon::Exclamation);
    }
    return target->database;
}

NameDatabase* NameRemoval::Undo() {
    return last_.Undo();
}

} // namespace tavolin
