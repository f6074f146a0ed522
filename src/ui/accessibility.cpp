#include "ui/accessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace tavolin {

namespace {

QAccessibleInterface* AccessibleRole(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    if (className == u"tavolin::Bevel"_s)
        return new QAccessibleWidget(widget, QAccessible::Separator);
    if (className == u"tavolin::TForm1"_s)
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void InstallAccessibleRoles() {
    static const bool kInstalled = [] {
        QAccessible::installFactory(AccessibleRole);
        return true;
    }();
    (void)kInstalled;
}

} // namespace tavolin
