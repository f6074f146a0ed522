#pragma once

#include "names/random.h"

#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <string_view>

namespace Ui {
class TForm1;
}

namespace tavolin {

class NameDatabases;
class NameList;
class Platform;

// The random name: drawn at start-up and by Button1, shown in Edit1 with its
// gender in Panel10, and copied to the clipboard by Button3.
class NameDraw final {
    Q_DISABLE_COPY_MOVE(NameDraw)

public:
    NameDraw(Ui::TForm1& ui, Platform& platform, const NameDatabases& databases);

    void Seed(std::uint64_t seed) { random_.Seed(seed); }
    void ShowStartName();
    // A name of the gender and with the beginning that the controls ask for.
    void Draw();
    void CopyToClipboard();

private:
    // Shows a name of the list that begins with the beginning; returns false,
    // and changes nothing, when none does.
    bool DrawNameWithBeginning(const NameList& names, std::string_view beginning, const QString& genderText);
    void ShowName(std::string_view name, const QString& genderText);

    Ui::TForm1& ui_;
    Platform& platform_;
    const NameDatabases& databases_;
    RandomSource random_;
};

} // namespace tavolin
