#pragma once

#include "names/name_database.h"

#include <QObject>
#include <QtGlobal>
#include <optional>
#include <string>
#include <string_view>

class QLineEdit;
class QMenu;
class QPoint;
class QRadioButton;

namespace tavolin {

class Platform;

// Taking a name out of a database again, from the menu of Edit1 (the drawn
// name, from the database it was drawn from) or Edit2 (the typed name, from
// the database RadioButton1 or RadioButton2 chooses), and taking back the
// last add or removal of the run (the same menus, and Ctrl+Z).
class NameRemoval final {
    Q_DISABLE_COPY_MOVE(NameRemoval)

public:
    struct Controls {
        QLineEdit* Edit1;
        QLineEdit* Edit2;
        QRadioButton* RadioButton1; // female
        QRadioButton* RadioButton2; // male
    };

    NameRemoval(Controls controls, Platform& platform, DatabasePair& databases, LastChange& last);

    // Edit1 shows a name of this database now (nothing: of none).
    void Shown(const NameDatabase* database) { shownFrom_ = database; }

    // The field's standard menu with the removal and the undo behind it; the
    // menu deletes itself once closed. `remove` and `undo` run the entries.
    QMenu* MenuFor(QLineEdit* edit, QObject* context, const std::function<void()>& remove,
                   const std::function<void()>& undo) const;
    // Asks, then removes the name the field shows. Returns the database
    // changed, or nothing. Throws FileError when the file cannot be written.
    NameDatabase* Remove(QLineEdit* edit);
    // Takes back the last add or removal; nothing when there is none.
    NameDatabase* Undo();
    bool CanUndo() const { return last_.CanUndo(); }

private:
    struct Target {
        NameDatabase* database;
        std::string name;
    };
    std::optional<Target> TargetOf(const QLineEdit* edit) const;
    NameDatabase& Own(const NameDatabase& database) const;
    QString DatabaseText(const NameDatabase& database) const;

    Controls controls_;
    Platform& platform_;
    DatabasePair& databases_;
    const NameDatabase* shownFrom_ = nullptr;
    LastChange& last_;
};

} // namespace tavolin
