#pragma once

#include <QtGlobal>

class QWidget;

namespace Ui {
class TForm1;
}

namespace tavolin {

class NameDatabases;
class Platform;

// Merging a foreign database: Button5 loads one (its path in Panel8, its count
// in Panel9), Button6 adds its names to the database RadioGroup2 chooses.
class Merging final {
    Q_DISABLE_COPY_MOVE(Merging)

public:
    Merging(QWidget& window, Ui::TForm1& ui, Platform& platform, NameDatabases& databases);

    void LoadForeignDatabase();
    void Merge();

private:
    QWidget& window_;
    Ui::TForm1& ui_;
    Platform& platform_;
    NameDatabases& databases_;
};

} // namespace tavolin
