#include "ui/layout_scale.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace tavolin {

namespace {

// What a caption shows: "&&" is one "&", a single "&" marks the accelerator.
QString Shown(QString caption) {
    caption.replace(u"&&"_s, u"\x01"_s);
    caption.remove(u'&');
    caption.replace(u'\x01', u'&');
    return caption;
}

// Digits are equally wide in the window's faces; a count that changes keeps
// one entry per length.
QString Pattern(const QString& caption) {
    QString pattern = caption;
    for (QChar& c : pattern) {
        if (c.isDigit())
            c = u'0';
    }
    return pattern;
}

QString CaptionOf(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return Shown(button->text());
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        return Shown(group->title());
    return {};
}

// The room a caption needs beside its text in each kind of control, as the
// Fusion style draws them: frames, the radio indicator and its spacing, a
// pixel or two of air so that no letter touches a frame.
QSize Room(const QWidget* widget) {
    const QStyle* style = widget->style();
    const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
    if (qobject_cast<const QPushButton*>(widget))
        return {2 * frame + 4, 2 * frame};
    if (qobject_cast<const QRadioButton*>(widget))
        return {style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, widget) +
                    style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, widget) + 2,
                1};
    if (qobject_cast<const QLineEdit*>(widget))
        return {0, 2 * frame + 2};
    if (qobject_cast<const QGroupBox*>(widget))
        return {2 * frame + 8, 0};
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return {2 * label->frameWidth() + 2, 2 * label->frameWidth()};
    return {};
}

// Below these the window would be of no use anyway.
constexpr double kSmallestFactor = 0.5;
constexpr double kSmallestFontScale = 0.4;
constexpr double kFontScaleStep = 0.02;

// A window manager's frame before it has drawn one: borders and a title bar.
constexpr QSize kUsualFrame{16, 40};

// A push button's caption drawn across the height inside its frame where
// the style's margins leave less than a line: the Windows styles keep four
// pixels above and below, and clip the caption to what is left, which cuts
// the descenders and the accelerator's underline in a button 17 pixels
// high. Without a base style the proxy follows the application's.
class WholeCaptionStyle final : public QProxyStyle {
public:
    QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override {
        const QRect rect = QProxyStyle::subElementRect(element, option, widget);
        return element == SE_PushButtonContents && option != nullptr ? Widened(rect, *option, widget, option->rect)
                                                                     : rect;
    }

    // The Windows styles ask their own margins, not the proxy's, for the
    // room of the label they draw.
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        if (element != CE_PushButtonLabel || button == nullptr || widget == nullptr) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        QStyleOptionButton widened = *button;
        widened.rect = Widened(button->rect, *button, widget, widget->rect());
        QProxyStyle::drawControl(element, &widened, painter, widget);
    }

private:
    // The label's rect, at least a line high inside the button's frame.
    QRect Widened(QRect rect, const QStyleOption& button, const QWidget* widget, const QRect& bounds) const {
        const int line = button.fontMetrics.height();
        if (rect.height() >= line)
            return rect;
        const int frame = pixelMetric(PM_DefaultFrameWidth, &button, widget);
        const QRect inside = bounds.adjusted(0, frame, 0, -frame);
        const int height = std::min(line, inside.height());
        rect.setTop(inside.top() + (inside.height() - height) / 2);
        rect.setHeight(height);
        return rect;
    }
};

} // namespace

QFont ScaledFont(const QFont& font, double scale) {
    if (scale == 1.0)
        return font;
    QFont scaled = font;
    if (font.pixelSize() > 0)
        scaled.setPixelSize(std::max(1, static_cast<int>(std::floor(font.pixelSize() * scale))));
    else
        scaled.setPointSizeF(std::max(1.0, font.pointSizeF() * scale));
    return scaled;
}

LayoutScale::LayoutScale(QWidget& window, ScalableFonts& fonts, std::initializer_list<QWidget*> contents)
    : QObject(&window), window_(window), fonts_(fonts), contents_(contents) {
    placed_.push_back({&window_, {{}, window_.size()}});
    for (QWidget* child : window_.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            continue;
        placed_.push_back({child, child->geometry()});
        if (qobject_cast<QGroupBox*>(child)) {
            for (QWidget* item : child->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                placed_.push_back({item, item->geometry()});
        }
    }
    auto* captionStyle = new WholeCaptionStyle;
    captionStyle->setParent(this);
    for (QPushButton* button : window_.findChildren<QPushButton*>())
        button->setStyle(captionStyle);
    // A changed caption or font of a shown control asks the window to lay
    // itself out again; so does showing it the first time.
    window_.installEventFilter(this);
}

bool LayoutScale::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Show)
        WatchScreen();
    if (watched == &window_ && (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show))
        Update();
    return QObject::eventFilter(watched, event);
}

void LayoutScale::WatchScreen() {
    QWindow* handle = window_.windowHandle();
    if (handle == nullptr)
        return;
    if (watchedScreen_ == nullptr) // the first showing: follow the window from screen to screen
        connect(handle, &QWindow::screenChanged, this, [this] {
            WatchScreen();
            Refit();
        });
    if (watchedScreen_ == handle->screen())
        return;
    if (watchedScreen_ != nullptr)
        disconnect(watchedScreen_, nullptr, this, nullptr);
    watchedScreen_ = handle->screen();
    if (watchedScreen_ != nullptr)
        connect(watchedScreen_, &QScreen::availableGeometryChanged, this, &LayoutScale::Refit);
}

void LayoutScale::Refit() {
    Update();
    KeepOnScreen();
}

double LayoutScale::FittingFactor() const {
    const QScreen* screen = window_.screen();
    if (screen == nullptr)
        return std::numeric_limits<double>::infinity();
    const QRect free = screen->availableGeometry();
    QSize frame = window_.frameGeometry().size() - window_.size();
    if (frame.width() <= 0 && frame.height() <= 0)
        frame = kUsualFrame;
    const QSize design = placed_.front().design.size();
    const double fit = std::min(double(free.width() - frame.width()) / design.width(),
                                double(free.height() - frame.height()) / design.height());
    return std::floor(fit * 100.0 + 1e-9) / 100.0;
}

// A window grown at its place, or one that came to a smaller screen, is
// moved back inside the free area.
void LayoutScale::KeepOnScreen() {
    const QScreen* screen = window_.screen();
    if (screen == nullptr || !window_.isVisible() || window_.isMaximized() || window_.isFullScreen())
        return;
    const QRect free = screen->availableGeometry();
    const QRect frame = window_.frameGeometry();
    const int x = std::max(free.left(), std::min(frame.x(), free.right() + 1 - frame.width()));
    const int y = std::max(free.top(), std::min(frame.y(), free.bottom() + 1 - frame.height()));
    if (x != frame.x() || y != frame.y())
        window_.move(x, y);
}

double LayoutScale::NeededFactor(double fontScale) {
    double needed = 0.0;
    for (const Placed& placed : placed_) {
        QWidget* widget = placed.widget;
        if (widget == nullptr || widget == &window_ ||
            std::find(contents_.begin(), contents_.end(), widget) != contents_.end())
            continue;
        const QString caption = CaptionOf(widget);
        QSet<QString>& seen = captions_[widget];
        if (!caption.isEmpty())
            seen.insert(Pattern(caption));
        // Scratch panels and bevel lines show no text.
        if (seen.isEmpty() && qobject_cast<QLineEdit*>(widget) == nullptr)
            continue;
        // At the scale shown the control has the font already, and its face.
        const QFontMetrics metrics(fontScale == fontScale_
                                       ? widget->font()
                                       : ScaledFont(fonts_.IntendedFont(*widget).resolve(widget->font()), fontScale),
                                   widget);
        const QSize room = Room(widget);
        if (room.height() > 0) // a group's own height is that of its items
            needed = std::max(needed, double(metrics.height() + room.height()) / placed.design.height());
        for (const QString& shown : seen)
            needed = std::max(needed, double(metrics.horizontalAdvance(shown) + room.width()) / placed.design.width());
    }
    // In whole hundredths, so that rounding never makes the window jitter.
    return std::ceil(needed * 100.0 - 1e-9) / 100.0;
}

void LayoutScale::Update() {
    if (updating_) // showing other fonts asks for a layout again
        return;
    const QScopedValueRollback guard(updating_, true);
    const double fit = std::max(FittingFactor(), kSmallestFactor);
    // At the design's size or larger, as the captions need; smaller only
    // where the screen asks for it.
    double scale = 1.0;
    const double needed = NeededFactor(scale);
    double factor = std::max(1.0, needed);
    if (factor > fit) {
        factor = fit;
        if (needed > fit) {
            scale = std::floor(fit / needed / kFontScaleStep) * kFontScaleStep;
            while (NeededFactor(scale) > fit && scale > kSmallestFontScale)
                scale -= kFontScaleStep;
        }
    }
    if (scale != fontScale_) {
        fontScale_ = scale;
        fonts_.ShowFontsAt(scale);
    }
    if (factor == factor_)
        return;
    const double change = factor / factor_;
    factor_ = factor;
    const auto scaled = [factor](int value) { return static_cast<int>(std::lround(value * factor)); };
    for (const Placed& placed : placed_) {
        QWidget* widget = placed.widget;
        if (widget == nullptr || widget == &window_)
            continue;
        if (std::find(contents_.begin(), contents_.end(), widget) != contents_.end() && !widget->isHidden()) {
            // An open view keeps the bounds its opening gave it, in step.
            const QRect now = widget->geometry();
            widget->setGeometry(static_cast<int>(std::lround(now.x() * change)),
                                static_cast<int>(std::lround(now.y() * change)),
                                static_cast<int>(std::lround(now.width() * change)),
                                static_cast<int>(std::lround(now.height() * change)));
            continue;
        }
        const QRect& design = placed.design;
        widget->setGeometry(scaled(design.x()), scaled(design.y()), scaled(design.width()), scaled(design.height()));
    }
    if (!window_.isMaximized() && !window_.isFullScreen()) {
        QSize size(static_cast<int>(std::lround(window_.width() * change)),
                   static_cast<int>(std::lround(window_.height() * change)));
        if (const QScreen* screen = window_.screen())
            size = size.boundedTo(screen->availableGeometry().size());
        window_.resize(size);
        KeepOnScreen();
    }
}

} // namespace tavolin
