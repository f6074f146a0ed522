#include "ui/name_draw.h"

#include "names/encoding.h"
#include "names/name_database.h"
#include "ui/platform.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <optional>
#include <string>

using namespace Qt::StringLiterals;

namespace tavolin {

namespace {

const QString kFemaleGender = u"Weiblicher Name"_s;
const QString kMaleGender = u"Männlicher Name"_s;

} // namespace

NameDraw::NameDraw(Controls controls, Platform& platform, const DatabasePair& databases)
    : controls_(controls), platform_(platform), databases_(databases) {}

void NameDraw::ShowName(std::string_view name, const QString& genderText) {
    controls_.Edit1->setText(DecodeName(name));
    controls_.Panel10->setText(genderText);
    shownFrom_ = genderText == kMaleGender ? &databases_.male : &databases_.female;
}

void NameDraw::ShowStartName() {
    bool male = random_.RandomBelow(2) == 1;
    // As with "Egal", an empty list leaves the start name to the other one.
    if ((male ? databases_.male : databases_.female).Names().empty())
        male = !male;
    const NameList& names = (male ? databases_.male : databases_.female).Names();
    ShowName(names.at(random_.RandomBelow(names.size())), male ? kMaleGender : kFemaleGender);
    // Ready to be copied at once, as after a Tab into the field.
    controls_.Edit1->selectAll();
}

void NameDraw::Draw() {
    const QString beginningText = controls_.Edit3->text();
    const bool either = controls_.RadioGroup1Item2->isChecked();
    // One coin per click, thrown before anything is drawn.
    bool male = either ? random_.RandomBelow(2) == 1 : controls_.RadioGroup1Item1->isChecked();
    const auto listOf = [this](bool maleList) -> const NameList& {
        return (maleList ? databases_.male : databases_.female).Names();
    };
    const auto genderOf = [](bool maleList) -> const QString& { return maleList ? kMaleGender : kFemaleGender; };
    // With "Egal" an empty list has nothing to give and the other list
    // stands in for it. Only when both are empty (or the user chose the
    // empty one) does the draw fail with the list-index error.
    if (either && listOf(male).empty())
        male = !male;
    const bool otherCanHelp = either && !listOf(!male).empty();

    if (beginningText.isEmpty()) {
        const NameList& names = listOf(male);
        ShowName(names.at(random_.RandomBelow(names.size())), genderOf(male));
    } else if (const std::optional<std::string> beginning = EncodeName(beginningText)) {
        // With "Egal" a name that only the other list has is still found.
        if (!DrawNameWithBeginning(listOf(male), *beginning, genderOf(male)) && otherCanHelp)
            DrawNameWithBeginning(listOf(!male), *beginning, genderOf(!male));
    }
    // A beginning that Windows-1252 cannot hold begins no name: nothing to show.

    // Selected, the name is ready to be copied with the keyboard; the field
    // selects nothing by itself when it gets the focus from the program.
    controls_.Edit1->setFocus(Qt::OtherFocusReason);
    controls_.Edit1->selectAll();
}

bool NameDraw::DrawNameWithBeginning(const NameList& names, std::string_view beginning, const QString& genderText) {
    const std::optional<std::size_t> index = DrawIndexWithBeginning(names, beginning, random_);
    if (!index)
        return false;
    ShowName(names.at(*index), genderText);
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
