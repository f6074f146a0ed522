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

QString RecoveredText(std::size_t count, Gender gender) {
    return u"%1 Name(n), die zuvor nicht gespeichert werden konnte(n), wurde(n) jetzt in die %2 "
           u"Namen-Datenbank eingetragen."_s.arg(count)
               .arg(GenderWord(gender, GenderForm::Plain));
}

QString AlreadyPresentText(Gender gender) {
    return u"Der Name ist bereits in der %1 Namen-Datenbank enthalten."_s.arg(GenderWord(gender, GenderForm::Oblique));
}

} // namespace tavolin
