#pragma once

#include "names/name_database.h"

#include <QObject>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QLineEdit;
class QMenu;
class QPoint;

namespace tavolin {

class Platform;

// Taking a name out of a database again, from the menu of Edit1 (the drawn
// name, from the database it was drawn from) or Edit2 (the typed name, from
// the database RadioButton1 or RadioButton2 chooses), and taking back the
// last add or removal of the run (the same menus, and Ctrl+Z). The fields
// belong to the drawing and the adding; what they show is handed in.
class NameRemoval final {
    Q_DISABLE_COPY_MOVE(NameRemoval)

public:
    // The text a field shows, and the database it would be taken out of.
    struct FieldName {
        Gender gender;
        QString text;
    };

    NameRemoval(Platform& platform, DatabasePair& databases);

    // An add that the undo takes back: NameDatabase::Add, remembered.
    NameDatabase::AddResult AddUndoably(NameDatabase& database, std::string_view name) {
        return last_.Add(database, name);
    }

    // The field's standard menu with the removal of what it shows (nothing:
    // no name of a database) and the undo behind it; the menu deletes itself
    // once closed. `remove` and `undo` run the entries.
    QMenu* MenuFor(QLineEdit* edit, const std::optional<FieldName>& shown, QObject* context,
                   const std::function<void()>& remove, const std::function<void()>& undo) const;
    // Asks, then removes the name a field shows. Returns the database
    // changed, or nothing. Throws FileError when the file cannot be written.
    NameDatabase* Remove(const std::optional<FieldName>& shown);
    // Takes back the last add or removal; nothing when there is none.
    NameDatabase* Undo();
    bool CanUndo() const { return last_.CanUndo(); }

private:
    struct Target {
        NameDatabase* database;
        std::string name;
    };
    std::optional<Target> TargetOf(const std::optional<FieldName>& shown) const;

    Platform& platform_;
    DatabasePair& databases_;
    LastChange last_; // the last add or removal of the run
};

} // namespace tavolin
