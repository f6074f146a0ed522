#pragma once

#include "settings/record.h"

#include <QColor>
#include <string>
#include <string_view>

namespace tavolin::test {

// The groups of controls that the look of the window is made of.
inline const char* const kOwnFontControls[] = {"Panel2", "Panel5", "Panel6", "Button1", "Button6"};
inline const char* const kInputFields[] = {"Edit1", "Edit2", "Edit3"};
inline const char* const kBoardPanels[] = {"Panel1", "Panel2", "Panel3", "Panel4", "Panel5",
                                           "Panel6", "Panel7", "Panel8", "Panel9", "Panel10"};

// The record of the look at its defaults, with the window's own font.
inline const RecordLines kDefaultRecord = {"0",   "0",   "0",   "MS Sans Serif", "8",   "255", "255",
                                           "255", "192", "192", "192",           "192", "192", "192"};

inline std::string ColorText(const QColor& color) {
    return color.name().toStdString();
}

// Lines joined as a file, each followed by `lineBreak`.
inline std::string FileOf(const RecordLines& lines, std::string_view lineBreak = "\r\n") {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + std::string(lineBreak);
    return bytes;
}

// The record as written with Wt checked: behind the marker.
inline RecordLines Marked(RecordLines lines) {
    lines.insert(lines.begin(), "NOFORMAT");
    return lines;
}

} // namespace tavolin::test
