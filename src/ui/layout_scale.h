#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSet>
#include <initializer_list>
#include <map>
#include <vector>

class QWidget;

namespace tavolin {

// The window's geometry follows its fonts. At the design font every control
// has the place and size of the window description; a larger or wider font
// (a size chosen in the program, a fallback for a missing face) makes the
// window and all its controls grow by one factor, the smallest with which
// every caption fits. Each caption a control has shown counts from then on,
// so that the window does not jump back and forth as captions change.
class LayoutScale final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LayoutScale)

public:
    // Takes the current geometry as the design. The contents of the
    // controls left out (a file's path, the views) never make the window
    // grow; the views still grow with it.
    LayoutScale(QWidget& window, std::initializer_list<QWidget*> contents);

    double Factor() const { return factor_; }
    // Measures the captions and scales the window when the factor changed.
    void Update();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Placed {
        QPointer<QWidget> widget;
        QRect design;
    };

    double NeededFactor();

    QWidget& window_;
    std::vector<Placed> placed_;
    std::vector<QWidget*> contents_;
    std::map<const QWidget*, QSet<QString>> captions_; // every caption shown, digits as 0
    double factor_ = 1.0;
};

} // namespace tavolin
