#include "app/shell.h"

#include "ui/platform.h"

using namespace Qt::StringLiterals;

namespace tavolin {

void ShowGeneralError(Platform& platform, const QString& text) {
    platform.showMessage(text + u'.', kApplicationTitle, MessageIcon::Stop);
}

QString ErrorText(const std::exception& error) {
    return QString::fromUtf8(error.what());
}

} // namespace tavolin
