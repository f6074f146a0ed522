#pragma once

#include "names/random.h"

#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <string_view>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace tavolin {

class NameDatabase;
class NameList;
class Platform;
struct DatabasePair;

// The random name: drawn at start-up and by Button1, shown in Edit1 with its
// gender in Panel10, and copied to the clipboard by Button3.
class NameDraw final {
    Q_DISABLE_COPY_MOVE(NameDraw)

public:
    struct Controls {
        QLineEdit* Edit1;
        QLineEdit* Edit3;               // the beginning asked for
        QRadioButton* RadioGroup1Item1; // male
        QRadioButton* RadioGroup1Item2; // either
        QLabel* Panel10;
    };

    NameDraw(Controls controls, Platform& platform, const DatabasePair& databases);

    void Seed(std::uint64_t seed) { random_.Seed(seed); }
    void ShowStartName();
    // A name of the gender and with the beginning that the controls ask for.
    void Draw();
    void CopyToClipboard();
    // The database of the name last shown, if any.
    const NameDatabase* ShownFrom() const { return shownFrom_; }

private:
    // Shows a name of the list that begins with the beginning; returns false,
    // and changes nothing, when none does.
    bool DrawNameWithBeginning(const NameList& names, std::string_view beginning, const QString& genderText);
    void ShowName(std::string_view name, const QString& genderText);

    Controls controls_;
    Platform& platform_;
    const DatabasePair& databases_;
    RandomSource random_;
    const NameDatabase* shownFrom_ = nullptr;
};

} // namespace tavolin
