#include "ui/name_draw.h"

#include "names/encoding.h"
#include "names/gender.h"
#include "names/name_database.h"
#include "ui/platform.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <optional>
#include <string>

using namespace Qt::StringLiterals;

namespace tavolin {

NameDraw::NameDraw(Controls controls, Platform& platform, const DatabasePair& databases)
    : controls_(controls), platform_(platform), databases_(databases) {}

void NameDraw::ShowName(std::string_view name, Gender gender) {
    controls_.Edit1->setText(DecodeName(name));
    controls_.Panel10->setText(GenderWord(gender, GenderForm::Heading) + u" Name"_s);
    shown_ = gender;
}

void NameDraw::ShowStartName() {
    Gender gender = random_.RandomBelow(2) == 1 ? Gender::Male : Gender::Female;
    // As with "Egal", an empty list leaves the start name to the other one.
    if (databases_.Of(gender).Names().empty())
        gender = OtherGender(gender);
    const NameList& names = databases_.Of(gender).Names();
    ShowName(names.at(random_.RandomBelow(names.size())), gender);
    // Ready to be copied at once, as after a Tab into the field.
    controls_.Edit1->selectAll();
}

void NameDraw::Draw() {
    const QString beginningText = controls_.Edit3->text();
    const bool either = controls_.RadioGroup1Item2->isChecked();
    // One coin per click, thrown before anything is drawn.
    const bool male = either ? random_.RandomBelow(2) == 1 : controls_.RadioGroup1Item1->isChecked();
    Gender gender = male ? Gender::Male : Gender::Female;
    const auto listOf = [this](Gender of) -> const NameList& { return databases_.Of(of).Names(); };
    // With "Egal" an empty list has nothing to give and the other list
    // stands in for it. Only when both are empty (or the user chose the
    // empty one) does the draw fail with the list-index error.
    if (either && listOf(gender).empty())
        gender = OtherGender(gender);
    const bool otherCanHelp = either && !listOf(OtherGender(gender)).empty();

    if (beginningText.isEmpty()) {
        const NameList& names = listOf(gender);
        ShowName(names.at(random_.RandomBelow(names.size())), gender);
    } else if (const std::optional<std::string> beginning = EncodeName(beginningText)) {
        // With "Egal" a name that only the other list has is still found.
        if (!DrawNameWithBeginning(gender, *beginning) && otherCanHelp)
            DrawNameWithBeginning(OtherGender(gender), *beginning);
    }
    // A beginning that Windows-1252 cannot hold begins no name: nothing to show.

    // Selected, the name is ready to be copied with the keyboard; the field
    // selects nothing by itself when it gets the focus from the program.
    controls_.Edit1->setFocus(Qt::OtherFocusReason);
    controls_.Edit1->selectAll();
}

bool NameDraw::DrawNameWithBeginning(Gender gender, std::string_view beginning) {
    const NameList& names = databases_.Of(gender).Names();
    const std::optional<std::size_t> index = DrawIndexWithBeginning(names, beginning, random_);
    if (!index)
        return false;
    ShowName(names.at(*index), gender);
    return true;
}

void NameDraw::CopyToClipboard() {
    QLineEdit* edit = controls_.Edit1;
    // The field's current text, edited or not. An empty field has nothing to
    // copy and leaves the clipboard as it was.
    edit->selectAll();
    if (edit->hasSelectedText())
        platform_.CopyToClipboard(edit->selectedText());
    edit->setFocus(Qt::OtherFocusReason);
    edit->setCursorPosition(static_cast<int>(edit->text().size())); // drops the selection too
}

} // namespace tavolin
