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
// An editor may have saved the file, or some of its names, as UTF-8, with the
// separator as the byte pair C2 B3; a byte-order mark may begin it. Each name
// is looked at on its own: one that is valid UTF-8 up to a separator C2 B3 is
// converted, any other is taken byte for byte up to its separator (B3, or
// C2 B3 where a list was put together from files of both kinds). A converted
// name with a
// character that Windows-1252 has no place for is left out (its line breaks
// stay).
struct DatabaseText {
    std::string bytes;
    std::size_t leftOutNames = 0;
    bool leftOutTrailingText = false; // text behind the last separator
};
DatabaseText DatabaseTextOf(std::string bytes);

// A plain name list (a file without any separator, B3 or C2 B3) as the
// text of a database: one name per line, each followed by the separator and
// CR LF. Lists are shared as text typed in an editor or copied from web
// pages, so blanks and tabs around a name are dropped and empty lines
// skipped. Each line is UTF-8 or Windows-1252 on its own, decided as for a
// name of a database; a UTF-8 name without a place in Windows-1252 is left
// out and counted.
DatabaseText PlainListText(std::string_view bytes);

// Whether a file is a plain name list (PlainListText) rather than a
// database: it has no separator of its own. In UTF-8 text (valid UTF-8 after
// a byte-order mark) only the character "³" (C2 B3) is one, since the byte B3
// ends many other characters ("ó" is C3 B3); elsewhere every byte B3 is one.
bool IsPlainList(std::string_view bytes);

// Where the first entry whose name, read as DatabaseTextOf reads it, is
// `name` lies in a database file's bytes: from its first byte to behind its
// separator and, where the entry is a line of its own, the line break behind
// that. Nothing when no entry is that name.
struct ByteRange {
    std::size_t begin;
    std::size_t end;
};
std::optional<ByteRange> FirstEntryOf(std::string_view bytes, std::string_view name);

// A file without a byte-order mark and without the pair C2 B3, which is
// taken byte for byte: the files the program writes anew are such.
bool IsPlainWindows1252(std::string_view bytes);

// How a database file writes its names, so that names added to it in place
// are written alike: in UTF-8 (with the separator C2 B3) where its last name
// is, and with the line break it uses first (CR LF where it has none).
struct FileStyle {
    bool utf8 = false;
    std::string_view lineBreak = "\r\n";
    std::string_view Separator() const { return utf8 ? std::string_view("\xC2\xB3") : std::string_view("\xB3"); }
};
FileStyle StyleOf(std::string_view bytes);

// The bytes of a Windows-1252 name in a file of this style.
std::string EncodeForFile(std::string_view name, const FileStyle& style);

// Text behind the last separator of a database file: no name, but the
// beginning of the next one written behind it. As Windows-1252 bytes without
// its line breaks, and whether it is UTF-8 (it then reads as such once the
// separator C2 B3 closes it). UTF-8 without a place in Windows-1252 is no
// name even once closed: it is left out as such a name is.
struct FileTail {
    std::string text;
    bool utf8 = false;
    bool storable = true;
};
FileTail TrailingTextOf(std::string_view bytes);

} // namespace tavolin
