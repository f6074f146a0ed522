#pragma once

#include "fileio/fileio.h"
#include "settings/appearance.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavolin {

// The lines of a settings record or of a whole record file, as Windows-1252
// bytes without their line breaks.
using RecordLines = std::vector<std::string>;

inline const QString kSettingsFile = QStringLiteral("tavolin.ini");

// A first line that makes the next start ignore the settings file. Only the
// settings file written at close carries it, never a design file.
inline constexpr std::string_view kNoFormatMarker = "NOFORMAT";

// Where each value sits in a record; a colour takes three lines (red, green,
// blue).
inline constexpr std::size_t kFontColorLine = 0;
inline constexpr std::size_t kFontNameLine = 3;
inline constexpr std::size_t kFontSizeLine = 4;
inline constexpr std::size_t kInputColorLine = 5;
inline constexpr std::size_t kBoardColorLine = 8;
inline constexpr std::size_t kBackgroundColorLine = 11;
inline constexpr std::size_t kRecordLineCount = 14;

// Longest font name the record hands on; the rest of a longer line is cut off.
inline constexpr std::size_t kMaxFontNameLength = 31;

// The window font's default size in points. A record's size of zero or below
// stands for it: such a font could not be read, and the file written at close
// would keep it for every later start.
inline constexpr std::int32_t kDefaultFontPoints = 8;

// Character heights the window accepts for its font.
inline constexpr std::int32_t kMinFontPixelHeight = 1;
inline constexpr std::int32_t kMaxFontPixelHeight = 1000;

// A record line that is missing or does not hold what its place requires.
// The interpreters of a record catch it; its text is never the only word a
// user gets.
class RecordError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a record says: the font's colour, name and size in points, and the
// three background colours.
struct SettingsRecord {
    Color fontColor = 0;
    std::string fontName;
    std::int32_t fontSize = 0;
    Color InputColor = kWhite;
    Color BoardColor = kSilver;
    Color BackgroundColor = kSilver;
};

// An integer as a record line holds it: optional leading blanks (spaces), an
// optional sign, then decimal digits, or hexadecimal digits after "$", "0x"
// or "0X"; nothing may follow the digits. A decimal number must lie in the
// 32-bit signed range; a hexadecimal one may use all 32 bits and is read as
// their two's complement ("$FFFFFFFF" is -1). Anything else is no number.
std::optional<std::int32_t> ParseRecordInteger(std::string_view text);

// The lowest 8 bits of a colour component: 300 gives 44, -1 gives 255.
std::uint8_t ColorComponent(std::int32_t value);
Color ComposeColor(std::int32_t red, std::int32_t green, std::int32_t blue);
std::uint8_t RedOf(Color color);
std::uint8_t GreenOf(Color color);
std::uint8_t BlueOf(Color color);

// The name a font gets from a name line: its first 31 characters, or nothing
// when the line is empty (the font then keeps its name).
std::optional<std::string> FontNameFromLine(std::string_view line);

// Point sizes and character heights in pixels at a resolution in pixels per
// inch, each rounded to the nearest whole number (halves away from zero).
// Results beyond the 32-bit range are held at its ends; a resolution that is
// not positive counts as 96.
std::int32_t PixelHeightFromPoints(std::int32_t points, int pixelsPerInch);
std::int32_t PointsFromPixelHeight(std::int32_t pixelHeight, int pixelsPerInch);

// The size in points a record's size line asks for: the line's value, or the
// default size when it is zero or below.
std::int32_t RecordFontPoints(std::int32_t size);

// The character height the window uses for a requested one: sizes of zero or
// below get the smallest height, huge ones the largest.
std::int32_t UsableFontPixelHeight(std::int32_t pixelHeight);

// Line `index` of a record; throws RecordError when the record is shorter.
std::string_view RecordLine(const RecordLines& lines, std::size_t index);
// Line `index` read as an integer; throws RecordError when it is missing or
// no integer.
std::int32_t RecordInteger(const RecordLines& lines, std::size_t index);
// The colour of lines `first` to `first` + 2 (red, green, blue); throws
// RecordError at the first of them that is missing or no integer.
Color RecordColor(const RecordLines& lines, std::size_t first);

// Whether a first line is exactly the marker (case and blanks count).
bool IsNoFormatMarker(std::string_view line);

// The 14 lines of a record, behind the marker line when asked for. Numbers
// are plain decimals without sign, leading zeros or blanks.
RecordLines ComposeRecordLines(const SettingsRecord& record, bool withMarker);

// A record file's bytes split into lines. The text ends at the first NUL
// byte; a line ends at CR LF, at a CR alone or at an LF alone, and a last
// line without a break is still a line.
RecordLines SplitRecordLines(std::string_view bytes);

// A file's bytes: every line followed by CR LF, the last one too.
std::string RecordFileBytes(const RecordLines& lines);

// The largest record file read: fourteen lines of numbers and a font name
// take a few hundred bytes; anything far larger is no record (and reading
// gigabytes would keep the window from opening).
inline constexpr std::uint64_t kMaxRecordFileBytes = std::uint64_t{16} * 1024;

// Reads a record file into lines; throws FileError when it cannot be read or
// is larger than kMaxRecordFileBytes.
RecordLines ReadRecordFile(const FilePath& path);

// Replaces a record file atomically; throws FileError with the create error
// text, and the old file then stays as it was.
void WriteRecordFile(const FilePath& path, const RecordLines& lines);

} // namespace tavolin
