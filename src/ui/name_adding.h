#pragma once

#include "names/name_database.h"

#include <QtGlobal>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavolin {

class Platform;

// Adding the name typed into Edit2 to the database that RadioButton1 or
// RadioButton2 chooses; Button2 tells whether it can be added.
class NameAdding final {
    Q_DISABLE_COPY_MOVE(NameAdding)

public:
    struct Controls {
        QLineEdit* Edit2;
        QRadioButton* RadioButton1; // female
        QRadioButton* RadioButton2; // male
        QPushButton* Button2;
    };

    // A name that reached its database, or was found there.
    struct Added {
        const NameDatabase& database;
        NameDatabase::AddResult result;
        std::string name;
    };

    // Adds a name so that the undo can take it back (LastChange::Add).
    using UndoableAdd = std::function<NameDatabase::AddResult(NameDatabase&, std::string_view)>;

    NameAdding(Controls controls, Platform& platform, DatabasePair& databases, UndoableAdd add);

    // The database the radio buttons choose, if any.
    std::optional<Gender> Chosen() const;
    // Enables Button2, or disables it with the reason in its caption.
    void UpdateButton();
    // Adds the typed name to the chosen database; nothing when no database
    // is chosen or the name cannot be stored (the user is told). Throws
    // FileError when the file cannot be written: the name is then unsaved.
    // Either way the add is the last change, to be taken back.
    std::optional<Added> Add();
    // After the window has shown the database's new counts: a name that was
    // there already is reported, else Button2 tells that it is there now.
    void ShowAdded(const Added& added);

private:
    Controls controls_;
    Platform& platform_;
    DatabasePair& databases_;
    UndoableAdd add_;
};

} // namespace tavolin
