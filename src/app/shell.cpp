#include "app/shell.h"

#include "ui/platform.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <new>

using namespace Qt::StringLiterals;

namespace tavolin {

void ShowGeneralError(Platform& platform, const QString& text) {
    platform.showMessage(text + u'.', kApplicationTitle, MessageIcon::Stop);
}

QString ErrorText(const std::exception& error) {
    // The standard library's own text is English and says nothing to a user.
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr)
        return u"Nicht genügend Arbeitsspeicher für diese Aktion"_s;
    return QString::fromUtf8(error.what());
}

QTranslator* InstallGermanTranslation(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    if (!translator->load(u"qtbase_de"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

} // namespace tavolin
