#pragma once

#include <QString>
#include <exception>
#include <functional>

namespace tavolin {

class Platform;

// The application's title: the caption of the general error box and the name
// under which the desktop lists the program. The main window has a caption
// of its own.
inline const QString kApplicationTitle = QStringLiteral("Tavolin 4.2");

// Shows an error that escaped a handler: its text with "." appended (always),
// the application title as caption, the stop icon and an OK button.
void ShowGeneralError(Platform& platform, const QString& text);

// The text of an escaped exception (UTF-8 for the program's own errors); a
// lack of memory has a German text of its own.
QString ErrorText(const std::exception& error);

// Runs a handler; an exception that escapes it goes to the general error
// display. Every handler of the window and the program's start run through
// it, so no exception reaches Qt. Returns whether the handler ran to its end.
bool RunGuarded(Platform& platform, const std::function<void()>& handler) noexcept;

} // namespace tavolin
