#include "ui/layout_scale.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <algorithm>
#include <cmath>

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

} // namespace

LayoutScale::LayoutScale(QWidget& window, std::initializer_list<QWidget*> contents)
    : QObject(&window), window_(window), contents_(contents) {
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
    // A changed caption or font of a shown control asks the window to lay
    // itself out again; so does showing it the first time.
    window_.installEventFilter(this);
}

bool LayoutScale::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show))
        Update();
    return QObject::eventFilter(watched, event);
}

double LayoutScale::NeededFactor() {
    double needed = 1.0;
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
        const QFontMetrics metrics(widget->font());
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
    const double factor = NeededFactor();
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
    if (!window_.isMaximized() && !window_.isFullScreen())
        window_.resize(static_cast<int>(std::lround(window_.width() * change)),
                       static_cast<int>(std::lround(window_.height() * change)));
}

} // namespace tavolin
