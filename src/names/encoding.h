#pragma once

#include <QString>
#include <cstddef>
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

// A database file's bytes as the Windows-1252 text the program works with.
// An editor may have saved the file as UTF-8: it then begins with a
// byte-order mark, or is valid UTF-8 throughout with the separator as the
// byte pair C2 B3. Such a file is converted; a name with a character that
// Windows-1252 has no place for is left out (its line breaks stay). Any other
// file is taken byte for byte.
struct DatabaseText {
    std::string bytes;
    std::size_t leftOutNames = 0;
    bool leftOutTrailingText = false; // text behind the last separator
    QString firstLeftOut;             // the first text left out, for messages
};
DatabaseText DatabaseTextOf(std::string bytes);

} // namespace tavolin
