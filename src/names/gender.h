#pragma once

#include <QString>
#include <cstddef>

namespace tavolin {

// The gender of a database and of the names in it.
enum class Gender { Female, Male };
inline constexpr Gender kGenders[] = {Gender::Female, Gender::Male};
constexpr Gender OtherGender(Gender gender) {
    return gender == Gender::Female ? Gender::Male : Gender::Female;
}

// The forms of a gender's adjective that the program's German texts need.
enum class GenderForm {
    Plain,   // "die weibliche Namen-Datenbank", "5 weibliche Wuzelnamen"
    Oblique, // "in der weiblichen Namen-Datenbank", "mit den weiblichen Namen"
    Strong,  // "kein weiblicher Name"
    Heading, // "Weiblicher Name"
};
QString GenderWord(Gender gender, GenderForm form);

// What the window and the command line say of a database of this gender:
// names that an earlier save could not write are in it now; the name is in
// it already.
QString RecoveredText(std::size_t count, Gender gender);
QString AlreadyPresentText(Gender gender);

} // namespace tavolin
