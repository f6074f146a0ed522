#include "ui/covered_controls.h"

#include "ui/bevel.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace tavolin {

CoveredControls::CoveredControls(QWidget& window, std::initializer_list<QWidget*> views)
    : QObject(&window), window_(window), views_(views) {
    for (QWidget* view : views_)
        view->installEventFilter(this);
}

bool CoveredControls::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::Move:
    case QEvent::Resize:
        Update();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CoveredControls::Update() {
    std::vector<QRect> cover;
    for (QWidget* view : views_) {
        if (!view->isHidden())
            cover.push_back(view->geometry());
    }
    const auto covered = [&](const QWidget* control) {
        return std::any_of(cover.begin(), cover.end(), [&](const QRect& r) { return r.contains(control->geometry()); });
    };
    const auto isView = [&](const QWidget* control) {
        return std::find(views_.begin(), views_.end(), control) != views_.end();
    };

    // Back first what no view covers any more, then away what one covers now.
    std::erase_if(hidden_, [&](const QPointer<QWidget>& control) {
        if (control && covered(control))
            return false;
        if (control)
            control->show();
        return true;
    });
    // The bevel lines stay: they are no control, and one stretched past a
    // view's edge shows there.
    for (QWidget* control : window_.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!control->isWindow() && !isView(control) && !qobject_cast<Bevel*>(control) && !control->isHidden() &&
            covered(control)) {
            control->hide();
            hidden_.emplace_back(control);
        }
    }

    for (auto& [view, policy] : unfocused_) {
        if (view)
            view->setFocusPolicy(policy);
    }
    unfocused_.clear();
    bool above = false; // an open view lies above the one looked at
    const std::vector<QWidget*> topFirst(views_.rbegin(), views_.rend());
    for (QWidget* view : topFirst) {
        if (view->isHidden())
            continue;
        if (above) {
            unfocused_.emplace_back(view, view->focusPolicy());
            view->setFocusPolicy(Qt::NoFocus);
            if (view->hasFocus())
                view->clearFocus();
        }
        above = true;
    }
}

} // namespace tavolin
