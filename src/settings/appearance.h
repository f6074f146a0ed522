#pragma once

#include <cstdint>

namespace tavolin {

// A colour as the settings record stores it: red in the lowest byte, green in
// the middle byte, blue in the highest byte.
using Color = std::uint32_t;
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kSilver = 0xC0C0C0;

// Which font object the remembered look takes its font from when written:
// the window's own font, or the font last confirmed in the font dialog.
enum class FontReference { WindowFont, DialogFont };

// The remembered look of the window, written to the settings file at close
// and to design files. It may differ from what the window shows.
struct Appearance {
    Color InputColor = kWhite;
    Color BoardColor = kSilver;
    Color BackgroundColor = kSilver;
    FontReference OverallFont = FontReference::WindowFont;
};

} // namespace tavolin
