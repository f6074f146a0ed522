#include "support/scripted_platform.h"
#include "ui/general_error.h"

#include <functional>
#include <gtest/gtest.h>
#include <new>
#include <stdexcept>
#include <vector>

namespace tavolin::test {
namespace {

using namespace Qt::StringLiterals;

struct GuardCase {
    const char* what;
    std::function<void()> handler;
    QString shown; // empty: the handler ran to its end, nothing is shown
};

// Every handler and the program's start run through the guard: whatever
// escapes is shown once, with "." appended (always) and the application
// title, and the program goes on.
TEST(GeneralErrorTest, TheGuardShowsWhatEscapesAHandler) {
    const GuardCase cases[] = {
        {"no error", [] {}, {}},
        {"file error", [] { throw std::runtime_error("Datei /ä kann nicht erstellt werden"); },
         u"Datei /ä kann nicht erstellt werden."_s},
        {"text with a point", [] { throw std::runtime_error("Schon mit Punkt."); }, u"Schon mit Punkt.."_s},
        // No English text of the standard library reaches the user.
        {"out of memory", [] { throw std::bad_alloc(); }, u"Nicht genügend Arbeitsspeicher für diese Aktion."_s},
        {"no exception type", [] { throw 42; }, u"Unbekannter Fehler."_s},
    };
    for (const GuardCase& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedPlatform platform;
        EXPECT_EQ(RunGuarded(platform, c.handler), c.shown.isEmpty());
        std::vector<ScriptedPlatform::Message> expected;
        if (!c.shown.isEmpty())
            expected.push_back({c.shown, u"Tavolin 4.2"_s, MessageIcon::Stop});
        EXPECT_EQ(platform.messages, expected);
    }
}

} // namespace
} // namespace tavolin::test
