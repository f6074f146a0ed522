#pragma once

class QCoreApplication;
class QTranslator;

namespace tavolin {

// Installs Qt's own German texts (the buttons and labels of the message boxes
// and of the open, save, colour and font dialogs), so that the program speaks
// German whatever the desktop's language. Returns the translator, owned by
// the application, or nullptr when Qt's German translation is not installed:
// the dialogs then keep Qt's English texts.
QTranslator* InstallGermanTranslation(QCoreApplication& application);

} // namespace tavolin
