#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace tavolin {

// Names and every other text the program keeps in files are Windows-1252
// bytes. They are decoded only to be shown and encoded only when typed text
// enters the program.
QString DecodeName(std::string_view bytes);

// The Windows-1252 bytes of a text, or nothing when a character of it has no
// place in that code page.
std::optional<std::string> EncodeName(const QString& text);

} // namespace tavolin
