#pragma once

#include <QString>

#include <exception>

namespace tavolin {

class Platform;

// The application's title: the caption of the general error box and the name
// under which the desktop lists the program. The main window has a caption
// of its own.
inline const QString kApplicationTitle = QStringLiteral("Tavolin 4.2");

// Shows an error that escaped a handler: its text with "." appended (always),
// the application title as caption, the stop icon and an OK button.
void ShowGeneralError(Platform& platform, const QString& text);

// The text of an escaped exception (UTF-8 for the program's own errors).
QString ErrorText(const std::exception& error);

} // namespace tavolin
