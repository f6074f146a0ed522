#pragma once

#include "settings/record.h"

#include <QColor>

namespace tavolin {

// Between the record's colour values (red in the lowest byte) and Qt's colours.
inline QColor ToQColor(Color color) {
    return {RedOf(color), GreenOf(color), BlueOf(color)};
}

inline Color FromQColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return ComposeColor(rgb.red(), rgb.green(), rgb.blue());
}

} // namespace tavolin
