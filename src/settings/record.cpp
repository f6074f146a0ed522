#include "settings/record.h"

#include "fileio/fileio.h"

#include <algorithm>
#include <limits>

namespace tavolin {

namespace {

constexpr int kDefaultPixelsPerInch = 96;
constexpr std::int64_t kPointsPerInch = 72;

int DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99; // no digit in any base used here
}

// numerator / denominator rounded to the nearest integer, halves away from
// zero; the denominator is positive.
std::int64_t RoundedQuotient(std::int64_t numerator, std::int64_t denominator) {
    std::int64_t quotient = numerator / denominator;
    const std::int64_t remainder = numerator % denominator;
    if (2 * (remainder < 0 ? -remainder : remainder) >= denominator)
        quotient += numerator < 0 ? -1 : 1;
    return quotient;
}

std::int32_t Clamped(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

[[noreturn]] void ThrowMissing(std::size_t index) {
    throw RecordError("Zeile " + std::to_string(index + 1) + " der Einstellungen fehlt");
}

} // namespace

std::optional<std::int32_t> ParseRecordInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;

    // Decimal numbers stop at the 32-bit signed range, hexadecimal ones at 32
    // bits; checking after every digit keeps the sum far from overflowing.
    const std::uint64_t limit =
        base == 16 ? 0xFFFFFFFFu
                   : (negative ? std::uint64_t{1} << 31 : std::uint64_t{std::numeric_limits<std::int32_t>::max()});
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i]);
        if (digit >= base)
            return std::nullopt;
        magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (magnitude > limit)
            return std::nullopt;
    }
    // Two's complement in 32 bits: negation and the reading of hexadecimal
    // numbers above 0x7FFFFFFF both wrap, which unsigned arithmetic does
    // without undefined behaviour.
    auto bits = static_cast<std::uint32_t>(magnitude);
    if (negative)
        bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

std::uint8_t ColorComponent(std::int32_t value) {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFFu);
}

Color ComposeColor(std::int32_t red, std::int32_t green, std::int32_t blue) {
    return Color{ColorComponent(red)} | Color{ColorComponent(green)} << 8 | Color{ColorComponent(blue)} << 16;
}

std::uint8_t RedOf(Color color) {
    return static_cast<std::uint8_t>(color & 0xFFu);
}

std::uint8_t GreenOf(Color color) {
    return static_cast<std::uint8_t>((color >> 8) & 0xFFu);
}

std::uint8_t BlueOf(Color color) {
    return static_cast<std::uint8_t>((color >> 16) & 0xFFu);
}

std::optional<std::string> FontNameFromLine(std::string_view line) {
    if (line.empty())
        return std::nullopt;
    return std::string(line.substr(0, kMaxFontNameLength));
}

std::int32_t PixelHeightFromPoints(std::int32_t points, int pixelsPerInch) {
    const std::int64_t ppi = pixelsPerInch > 0 ? pixelsPerInch : kDefaultPixelsPerInch;
    return Clamped(RoundedQuotient(std::int64_t{points} * ppi, kPointsPerInch));
}

std::int32_t PointsFromPixelHeight(std::int32_t pixelHeight, int pixelsPerInch) {
    const std::int64_t ppi = pixelsPerInch > 0 ? pixelsPerInch : kDefaultPixelsPerInch;
    return Clamped(RoundedQuotient(std::int64_t{pixelHeight} * kPointsPerInch, ppi));
}

std::int32_t RecordFontPoints(std::int32_t size) {
    return size > 0 ? size : kDefaultFontPoints;
}

std::int32_t UsableFontPixelHeight(std::int32_t pixelHeight) {
    return std::clamp(pixelHeight, kMinFontPixelHeight, kMaxFontPixelHeight);
}

std::string_view RecordLine(const RecordLines& lines, std::size_t index) {
    if (index >= lines.size())
        ThrowMissing(index);
    return lines[index];
}

std::int32_t RecordInteger(const RecordLines& lines, std::size_t index) {
    const std::optional<std::int32_t> value = ParseRecordInteger(RecordLine(lines, index));
    if (!value)
        throw RecordError("Zeile " + std::to_string(index + 1) + " der Einstellungen ist keine Zahl");
    return *value;
}

Color RecordColor(const RecordLines& lines, std::size_t first) {
    const std::int32_t red = RecordInteger(lines, first);
    const std::int32_t green = RecordInteger(lines, first + 1);
    const std::int32_t blue = RecordInteger(lines, first + 2);
    return ComposeColor(red, green, blue);
}

bool IsNoFormatMarker(std::string_view line) {
    return line == kNoFormatMarker;
}

RecordLines ComposeRecordLines(const SettingsRecord& record, bool withMarker) {
    RecordLines lines;
    lines.reserve(kRecordLineCount + 1);
    if (withMarker)
        lines.emplace_back(kNoFormatMarker);
    const auto appendColor = [&lines](Color color) {
        lines.push_back(std::to_string(RedOf(color)));
        lines.push_back(std::to_string(GreenOf(color)));
        lines.push_back(std::to_string(BlueOf(color)));
    };
    appendColor(record.fontColor);
    lines.push_back(record.fontName);
    lines.push_back(std::to_string(record.fontSize));
    appendColor(record.InputColor);
    appendColor(record.BoardColor);
    appendColor(record.BackgroundColor);
    return lines;
}

RecordLines SplitRecordLines(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    RecordLines lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
        lines.emplace_back(bytes.substr(start, end - start));
        if (end == bytes.size())
            break;
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
    return lines;
}

std::string RecordFileBytes(const RecordLines& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

RecordLines ReadRecordFile(const FilePath& path) {
    return SplitRecordLines(ReadFile(path, kMaxRecordFileBytes).bytes);
}

void WriteRecordFile(const FilePath& path, const RecordLines& lines) {
    SaveFileAtomically(path, RecordFileBytes(lines));
}

} // namespace tavolin
