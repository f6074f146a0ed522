#pragma once

#include <QObject>
#include <QPointer>
#include <initializer_list>
#include <vector>

class QWidget;

namespace tavolin {

// The controls that an open view (the about text, the statistics list) lies
// over are out of reach while it is open: hidden, so that neither Tab, nor
// an accelerator, nor Space, nor a screen reader finds them, and shown again
// as the view goes. A view under another view stays shown (it carries the
// state of its view) but takes no focus. Which view is open is still read
// from the views themselves.
class CoveredControls final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CoveredControls)

public:
    // The views in their stacking order, the lowest first.
    CoveredControls(QWidget& window, std::initializer_list<QWidget*> views);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Update();

    QWidget& window_;
    std::vector<QWidget*> views_;
    std::vector<QPointer<QWidget>> hidden_;
    std::vector<std::pair<QPointer<QWidget>, Qt::FocusPolicy>> unfocused_;
};

} // namespace tavolin
