#pragma once

#include "ui/platform.h"

namespace tavolin {

// The window's standard dialogs, as its description configures them.
inline const FileDialogSpec kOpenDialog1{QStringLiteral("OpenDialog1"), QStringLiteral("Wuzelnamen-Datenbank öffnen"),
                                         QStringLiteral("Datenbanken ( *.dat )|*.dat|Alle Dateien ( *.* )|*.*"),
                                         QStringLiteral("DAT")};
inline const FileDialogSpec kOpenDialog2{QStringLiteral("OpenDialog2"), QStringLiteral("Oberfläche öffnen..."),
                                         QStringLiteral("Alle Dateien ( *.* )|*.*"), QStringLiteral("INI")};
inline const FileDialogSpec kSaveDialog1{QStringLiteral("SaveDialog1"), QStringLiteral("Oberfläche abspeichern..."),
                                         QStringLiteral("Alle Dateien ( *.* )|*.*"), QStringLiteral("ini"), true};
inline const QString kColorDialog1 = QStringLiteral("ColorDialog1");
inline const QString kFontDialog1 = QStringLiteral("FontDialog1");

} // namespace tavolin
