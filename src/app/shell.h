#pragma once

#include <QString>

#include <exception>

class QCoreApplication;
class QTranslator;

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

// Installs Qt's own German texts (the buttons and labels of the message boxes
// and of the open, save, colour and font dialogs), so that the program speaks
// German whatever the desktop's language. Returns the translator, owned by
// the application, or nullptr when Qt's German translation is not installed:
// the dialogs then keep Qt's English texts.
QTranslator* InstallGermanTranslation(QCoreApplication& application);

} // namespace tavolin
