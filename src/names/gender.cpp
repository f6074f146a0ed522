#include "names/gender.h"

using namespace Qt::StringLiterals;

namespace tavolin {

QString GenderWord(Gender gender, GenderForm form) {
    const bool female = gender == Gender::Female;
    switch (form) {
    case GenderForm::Plain:
        return female ? u"weibliche"_s : u"männliche"_s;
    case GenderForm::Oblique:
        return female ? u"weiblichen"_s : u"männlichen"_s;
    case GenderForm::Strong:
        return female ? u"weiblicher"_s : u"männlicher"_s;
    case GenderForm::Heading:
        return female ? u"Weiblicher"_s : u"Männlicher"_s;
    }
    return {};
}

} // namespace tavolin
