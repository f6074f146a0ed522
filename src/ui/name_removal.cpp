#include "ui/name_removal.h"

#include "names/encoding.h"
#include "names/gender.h"
#include "ui/platform.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <utility>

using namespace Qt::StringLiterals;

namespace tavolin {

NameRemoval::NameRemoval(Platform& platform, DatabasePair& databases) : platform_(platform), databases_(databases) {}

std::optional<NameRemoval::Target> NameRemoval::TargetOf(const std::optional<FieldName>& shown) const {
    if (!shown)
        return std::nullopt;
    NameDatabase& database = databases_.Of(shown->gender);
    const std::optional<std::string> name = EncodeName(shown->text);
    if (!name || !database.Names().contains(*name))
        return std::nullopt;
    return Target{&database, *name};
}

QMenu* NameRemoval::MenuFor(QLineEdit* edit, const std::optional<FieldName>& shown, QObject* context,
                            const std::function<void()>& remove, const std::function<void()>& undo) const {
    QMenu* menu = edit->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    QAction* removeItem = menu->addAction(u"Aus der Namen-Datenbank entfernen"_s);
    removeItem->setObjectName(u"RemoveName"_s);
    removeItem->setEnabled(TargetOf(shown).has_value());
    QObject::connect(removeItem, &QAction::triggered, context, remove, Qt::QueuedConnection);
    QAction* undoItem = menu->addAction(u"Letzte Namensänderung rückgängig"_s);
    undoItem->setObjectName(u"UndoNameChange"_s);
    undoItem->setShortcut(QKeySequence::Undo); // shown; the window's own shortcut runs it
    undoItem->setShortcutContext(Qt::WidgetShortcut);
    undoItem->setEnabled(CanUndo());
    QObject::connect(undoItem, &QAction::triggered, context, undo, Qt::QueuedConnection);
    return menu;
}

NameDatabase* NameRemoval::Remove(const std::optional<FieldName>& shown) {
    const std::optional<Target> target = TargetOf(shown);
    if (!target)
        return nullptr;
    const QString question = u"Soll der Name \"%1\" aus der %2 Namen-Datenbank entfernt werden?"_s.arg(
        DecodeName(target->name), GenderWord(shown->gender, GenderForm::Oblique));
    if (!platform_.AskYesNo(question, u"Name entfernen"_s))
        return nullptr;
    if (!last_.Remove(*target->database, target->name)) {
        // Another copy of the program or an editor took it out meanwhile.
        platform_.ShowMessage(u"Der Name ist nicht mehr in der %1 Namen-Datenbank enthalten."_s.arg(
                                  GenderWord(shown->gender, GenderForm::Oblique)),
                              u"Nicht vorhanden"_s, MessageIcon::Exclamation);
    }
    return target->database;
}

NameDatabase* NameRemoval::Undo() {
    return last_.Undo();
}

} // namespace tavolin
