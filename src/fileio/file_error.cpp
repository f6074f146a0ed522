#include "fileio/file_error.h"

#include <QString>

using namespace Qt::StringLiterals;

namespace tavolin {

std::string OpenErrorText(const FilePath& path) {
    return u"Datei %1 kann nicht geöffnet werden"_s.arg(path.Display()).toStdString();
}

std::string CreateErrorText(const FilePath& path) {
    return u"Datei %1 kann nicht erstellt werden"_s.arg(path.Display()).toStdString();
}

std::string UnusableLockErrorText(const FilePath& lockFile, bool regularFile) {
    const QString text =
        regularFile
            ? u"Die Sperrdatei %1 stammt von keinem laufenden Tavolin und kann nicht entfernt werden, deshalb "
              u"kann Tavolin die Namen-Datenbank nicht sicher speichern. Entferne sie (notfalls als ihr Besitzer "
              u"oder Administrator); Tavolin legt sie beim Speichern selbst wieder an"_s
            : u"Die Sperrdatei %1 ist keine gewöhnliche Datei (sondern etwa ein Ordner oder eine Verknüpfung), "
              u"deshalb kann Tavolin die Namen-Datenbank nicht sicher speichern. Entferne sie; Tavolin legt sie "
              u"beim Speichern selbst wieder an"_s;
    return text.arg(lockFile.Display()).toStdString();
}

std::string LockedErrorText(const FilePath& path) {
    return u"Datei %1 wird gerade von einem anderen laufenden Tavolin gespeichert und bleibt gesperrt"_s
        .arg(path.Display())
        .toStdString();
}

std::string NotPrivateErrorText(const FilePath& path) {
    return u"%1 gehört nicht dir allein oder ist keine gewöhnliche Datei bzw. kein gewöhnlicher Ordner (sondern "
           u"etwa eine Verknüpfung), deshalb liest und schreibt Tavolin dort nichts"_s.arg(path.Display())
               .toStdString();
}

} // namespace tavolin
