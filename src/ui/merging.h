#pragma once

#include "names/linelist.h"
#include "names/namelist.h"

#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;

namespace tavolin {

namespace test {
class FormPeer;
}

class NameDatabase;
class Platform;
struct DatabasePair;

// Shown when a loaded file holds no name to merge.
extern const QString kNoNamesText;
extern const QString kNoNamesCaption;

// Merging a foreign database: Button5 loads one (its path in Panel8, its count
// in Panel9), Button6 adds its names to the database RadioGroup2 chooses. The
// foreign database stays loaded until the next one replaces it.
class Merging final {
    Q_DISABLE_COPY_MOVE(Merging)
    friend class test::FormPeer;

public:
    struct Controls {
        std::function<void()> paintWindow; // whole, before a long read
        QLabel* Panel8;
        QLabel* Panel9;
        QRadioButton* RadioGroup2Item0;
        QRadioButton* RadioGroup2Item1;
        QPushButton* Button6;
    };

    Merging(Controls controls, Platform& platform, DatabasePair& databases);

    void LoadForeignDatabase();
    // Adds the foreign names to the database RadioGroup2 chooses, if any, and
    // returns that database. Throws FileError when its file cannot be written.
    const NameDatabase* Merge();

    // The foreign database last loaded: its raw lines and its names.

private:
    Controls controls_;
    Platform& platform_;
    DatabasePair& databases_;
    LineList mergeLines_;
    NameList mergeNames_;
    std::size_t leftOut_ = 0; // names of the loaded file that no database can store
};

} // namespace tavolin
