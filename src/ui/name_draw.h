#pragma once

#include "names/name_database.h"
#include "names/random.h"

#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <optional>
#include <string_view>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace tavolin {

class Platform;

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
    // The gender of the name last shown, if any.
    std::optional<Gender> ShownGender() const { return shown_; }

private:
    // Shows a name of the list that begins with the beginning; returns false,
    // and changes nothing, when none does.
    bool DrawNameWithBeginning(Gender gender, std::string_view beginning);
    void ShowName(std::string_view name, Gender gender);

    Controls controls_;
    Platform& platform_;
    const DatabasePair& databases_;
    RandomSource random_;
    std::optional<Gender> shown_; // of the name shown
};

} // namespace tavolin
