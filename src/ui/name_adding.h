#pragma once

#include "names/name_database.h"

#include <QtGlobal>
#include <optional>
#include <string>

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

    NameAdding(Controls controls, Platform& platform, DatabasePair& databases, LastChange& last);

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
    LastChange& last_;
};

} // namespace tavolin
