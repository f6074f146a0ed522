#include "ui/general_error.h"

#include "ui/platform.h"

#include <new>

using namespace Qt::StringLiterals;

namespace tavolin {

void ShowGeneralError(Platform& platform, const QString& text) {
    platform.ShowMessage(text + u'.', kApplicationTitle, MessageIcon::Stop);
}

QString ErrorText(const std::exception& error) {
    // The standard library's own text is English and says nothing to a user.
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr)
        return u"Nicht genügend Arbeitsspeicher für diese Aktion"_s;
    return QString::fromUtf8(error.what());
}

bool RunGuarded(Platform& platform, const std::function<void()>& handler) noexcept {
    QString text;
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        text = ErrorText(error);
    } catch (...) {
        text = u"Unbekannter Fehler"_s;
    }
    try {
        ShowGeneralError(platform, text);
    } catch (...) {
        // Nothing is left to tell the user with; the program goes on.
    }
    return false;
}

} // namespace tavolin
