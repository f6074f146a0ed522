#pragma once

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSet>
#include <initializer_list>
#include <map>
#include <vector>

class QScreen;
class QWidget;

namespace tavolin {

// The fonts the controls are meant to show, and the scale at which they are
// shown where the screen has no room for them.
class ScalableFonts {
public:
    virtual QFont IntendedFont(const QWidget& control) const = 0;
    virtual void ShowFontsAt(double scale) = 0;

protected:
    ScalableFonts() = default;
    ~ScalableFonts() = default;
    Q_DISABLE_COPY_MOVE(ScalableFonts)
};

// A font at a scale; 1 is the font itself.
QFont ScaledFont(const QFont& font, double scale);

// The window's geometry follows its fonts. At the design font every control
// has the place and size of the window description; a larger or wider font
// (a size chosen in the program, a fallback for a missing face) makes the
// window and all its controls grow by one factor, the smallest with which
// every caption fits. Each caption a control has shown counts from then on,
// so that the window does not jump back and forth as captions change.
//
// The window with its frame stays inside the screen's free area: where the
// grown layout would not fit, it grows only as far as the screen allows and
// the fonts are shown smaller, at the largest scale at which every caption
// fits. The fonts stay chosen as they are, so a larger screen shows them in
// full. A move to another screen or a changed screen fits the window anew.
class LayoutScale final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LayoutScale)

public:
    // Takes the current geometry as the design. The contents of the
    // controls left out (a file's path, the views) never make the window
    // grow; the views still grow with it.
    LayoutScale(QWidget& window, ScalableFonts& fonts, std::initializer_list<QWidget*> contents);

    double Factor() const { return factor_; }
    double FontScale() const { return fontScale_; }
    // Measures the captions and scales the window when the factor changed.
    void Update();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Placed {
        QPointer<QWidget> widget;
        QRect design;
    };

    // The factor with which every caption fits at that scale of the fonts.
    double NeededFactor(double fontScale);
    // The largest factor at which the window and its frame fit the screen.
    double FittingFactor() const;
    void WatchScreen();
    // Scales for the screen the window is on now and moves it inside.
    void Refit();
    void KeepOnScreen();

    QWidget& window_;
    ScalableFonts& fonts_;
    std::vector<Placed> placed_;
    std::vector<QWidget*> contents_;
    std::map<const QWidget*, QSet<QString>> captions_; // every caption shown, digits as 0
    double factor_ = 1.0;
    double fontScale_ = 1.0;
    bool updating_ = false;
    QPointer<QScreen> watchedScreen_;
};

} // namespace tavolin
