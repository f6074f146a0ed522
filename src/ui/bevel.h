#pragma once

#include <QWidget>

namespace tavolin {

// An etched horizontal line along the top edge of its bounds, drawn on the
// window's background; it divides the window into bands.
class Bevel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Bevel)

public:
    explicit Bevel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tavolin
