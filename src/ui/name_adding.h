#pragma once

#include <QtGlobal>

namespace Ui {
class TForm1;
}

namespace tavolin {

class NameDatabases;
class Platform;

// Adding the name typed into Edit2 to the database that RadioButton1 or
// RadioButton2 chooses; Button2 tells whether it can be added.
class NameAdding final {
    Q_DISABLE_COPY_MOVE(NameAdding)

public:
    NameAdding(Ui::TForm1& ui, Platform& platform, NameDatabases& databases);

    // Enables Button2, or disables it with the reason in its caption.
    void UpdateButton();
    void Add();

private:
    Ui::TForm1& ui_;
    Platform& platform_;
    NameDatabases& databases_;
};

} // namespace tavolin
