#include "names/encoding.h"

#include <QByteArrayView>
#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

namespace tavolin {

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf8Separator = "\xC2\xB3";

// Windows-1252 agrees with Latin-1 except from 0x80 to 0x9F, where it has
// letters of its own (the euro sign, quotes, Š ...). The five bytes it leaves
// undefined stand for the C1 controls of the same number, as in ICU's and
// Windows' own converters, so every byte string survives a round trip
// through QString. The program's own table: Qt's converters know the code
// page only where Qt was built with ICU, which its Windows build is not.
constexpr std::array<char16_t, 32> kHighRow = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                               0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The Windows-1252 byte of a UTF-16 unit, or nothing.
std::optional<char> Windows1252Byte(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    const auto* found = std::find(kHighRow.begin(), kHighRow.end(), unit);
    if (found == kHighRow.end())
        return std::nullopt;
    return static_cast<char>(0x80 + (found - kHighRow.begin()));
}

} // namespace

QString DecodeName(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *out++ = QChar(value >= 0x80 && value < 0xA0 ? kHighRow[value - 0x80] : char16_t{value});
    }
    return text;
}

std::optional<std::string> EncodeName(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar unit : text) {
        const std::optional<char> byte = Windows1252Byte(unit.unicode());
        if (!byte)
            return std::nullopt;
        bytes += *byte;
    }
    return bytes;
}

namespace {

// The code point of the valid UTF-8 sequence of two to four bytes at `pos`
// and its length, or a length of 0 (a stray, overlong or cut-off sequence,
// a surrogate, a code point beyond U+10FFFF).
std::pair<char32_t, std::size_t> Utf8SequenceAt(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || pos + length > text.size())
        return {0, 0};
    char32_t point = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80)
            return {0, 0};
        point = (point << 6) | (byte(pos + i) & 0x3F);
    }
    constexpr std::array<char32_t, 5> kSmallest{0, 0, 0x80, 0x800, 0x10000};
    if (point < kSmallest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
        return {0, 0};
    return {point, length};
}

// A name in a database file, from its first byte on: where it ends, how long
// its separator is (0: no separator follows, it is text behind the last one)
// and whether it is UTF-8.
struct NameSpan {
    std::size_t end;
    std::size_t separator;
    bool utf8;
};

NameSpan NextName(std::string_view text, std::size_t start) {
    bool multiByte = false;
    std::size_t pos = start;
    while (pos < text.size()) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            ++pos;
            continue;
        }
        if (text.substr(pos, kUtf8Separator.size()) == kUtf8Separator)
            return {pos, kUtf8Separator.size(), true};
        const std::size_t length = Utf8SequenceAt(text, pos).second;
        if (length == 0)
            break; // no UTF-8: the name ends at the next separator byte
        multiByte = true;
        pos += length;
    }
    if (pos == text.size())
        return {pos, 0, multiByte};
    // A name in Windows-1252 may still be followed by a UTF-8 separator (a
    // list put together from several files): C2 B3 is no "Â" at its end.
    const std::size_t end = text.find('\xB3', start);
    if (end == std::string_view::npos)
        return {text.size(), 0, false};
    if (end > start && text[end - 1] == '\xC2')
        return {end - 1, 2, false};
    return {end, 1, false};
}

// A name valid as UTF-8 in Windows-1252, or nothing when a character of it
// has no place there.
std::optional<std::string> Utf8ToWindows1252(std::string_view name) {
    std::string converted;
    converted.reserve(name.size());
    for (std::size_t pos = 0; pos < name.size();) {
        if (static_cast<unsigned char>(name[pos]) < 0x80) {
            converted.push_back(name[pos++]);
            continue;
        }
        const auto [point, length] = Utf8SequenceAt(name, pos);
        const std::optional<char> byte = point <= 0xFFFF ? Windows1252Byte(static_cast<char16_t>(point)) : std::nullopt;
        if (!byte)
            return std::nullopt;
        converted.push_back(*byte);
        pos += length;
    }
    return converted;
}

std::string WithoutBreaks(std::string_view text) {
    std::string kept;
    std::copy_if(text.begin(), text.end(), std::back_inserter(kept), [](char c) { return c != '\r' && c != '\n'; });
    return kept;
}

std::string_view WithoutMark(std::string_view bytes) {
    return bytes.starts_with(kByteOrderMark) ? bytes.substr(kByteOrderMark.size()) : bytes;
}

} // namespace

DatabaseText DatabaseTextOf(std::string bytes) {
    // Without a mark and without C2 B3 no name can be UTF-8: the usual
    // Windows-1252 file is taken as it is.
    if (IsPlainWindows1252(bytes))
        return {std::move(bytes), 0, false};
    const std::string_view text = WithoutMark(bytes);
    DatabaseText result;
    result.bytes.reserve(text.size());
    for (std::size_t start = 0;;) {
        const NameSpan span = NextName(text, start);
        const std::string_view name = text.substr(start, span.end - start);
        std::optional<std::string> kept = span.utf8 ? Utf8ToWindows1252(name) : std::string(name);
        if (kept) {
            result.bytes += *kept;
        } else {
            // Only its line breaks stay, so that the lines keep their places.
            std::copy_if(name.begin(), name.end(), std::back_inserter(result.bytes),
                         [](char c) { return c == '\r' || c == '\n'; });
            if (span.separator == 0)
                result.leftOutTrailingText = true;
            else
                ++result.leftOutNames;
        }
        if (span.separator == 0)
            break;
        if (kept && kept->ends_with('\xC2'))
            result.bytes.push_back('\n'); // "Â" right before the separator would read as UTF-8's
        if (kept)
            result.bytes.push_back('\xB3');
        start = span.end + span.separator;
    }
    return result;
}

DatabaseText PlainListText(std::string_view bytes) {
    DatabaseText result;
    std::string_view rest = WithoutMark(bytes);
    while (!rest.empty()) {
        const std::size_t lineEnd = std::min(rest.find_first_of("\r\n"), rest.size());
        std::string_view line = rest.substr(0, lineEnd);
        rest.remove_prefix(lineEnd);
        rest.remove_prefix(rest.starts_with("\r\n") ? 2 : std::min<std::size_t>(rest.size(), 1));
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos)
            continue;
        line = line.substr(first, line.find_last_not_of(" \t") + 1 - first);
        const NameSpan span = NextName(line, 0);
        std::optional<std::string> kept = span.utf8 ? Utf8ToWindows1252(line) : std::string(line);
        if (!kept) {
            ++result.leftOutNames;
            continue;
        }
        result.bytes += *kept;
        // "Â" right before the separator would read as UTF-8's.
        result.bytes += kept->ends_with('\xC2') ? "\r\n\xB3\r\n" : "\xB3\r\n";
    }
    return result;
}

bool IsPlainList(std::string_view bytes) {
    const std::string_view text = WithoutMark(bytes);
    if (text.find('\xB3') == std::string_view::npos)
        return true;
    return QByteArrayView(text.data(), static_cast<qsizetype>(text.size())).isValidUtf8() &&
           text.find("\xC2\xB3") == std::string_view::npos;
}

std::optional<ByteRange> FirstEntryOf(std::string_view bytes, std::string_view name) {
    const bool plain = IsPlainWindows1252(bytes);
    const std::size_t mark = bytes.size() - WithoutMark(bytes).size();
    for (std::size_t start = mark;;) {
        NameSpan span{bytes.find('\xB3', start), 1, false};
        if (!plain)
            span = NextName(bytes, start);
        else if (span.end == std::string_view::npos)
            span.separator = 0;
        if (span.separator == 0)
            return std::nullopt; // text behind the last separator is no name
        const std::string_view entry = bytes.substr(start, span.end - start);
        const std::optional<std::string> read = span.utf8 ? Utf8ToWindows1252(entry) : std::string(entry);
        if (read && WithoutBreaks(*read) == name) {
            std::size_t end = span.end + span.separator;
            const bool ownLine = start == mark || bytes[start - 1] == '\n' || bytes[start - 1] == '\r';
            if (ownLine && bytes.substr(end, 2) == "\r\n")
                end += 2;
            else if (ownLine && end < bytes.size() && (bytes[end] == '\n' || bytes[end] == '\r'))
                ++end;
            return ByteRange{start, end};
        }
        start = span.end + span.separator;
    }
}

FileStyle StyleOf(std::string_view bytes) {
    FileStyle style;
    const std::size_t firstBreak = bytes.find_first_of("\r\n");
    if (firstBreak != std::string_view::npos && bytes[firstBreak] == '\n')
        style.lineBreak = "\n";
    else if (firstBreak != std::string_view::npos && bytes.substr(firstBreak, 2) != "\r\n")
        style.lineBreak = "\r";
    if (bytes.starts_with(kByteOrderMark)) {
        style.utf8 = true;
        return style;
    }
    // The last name tells how the file is written now.
    const std::size_t last = bytes.rfind('\xB3');
    if (last == std::string_view::npos || last == 0 || bytes[last - 1] != '\xC2')
        return style;
    const std::size_t before = bytes.rfind('\xB3', last - 1);
    const std::size_t start = before == std::string_view::npos ? 0 : before + 1;
    const NameSpan span = NextName(bytes, start);
    style.utf8 = span.utf8 && span.end + 1 == last;
    return style;
}

std::string EncodeForFile(std::string_view name, const FileStyle& style) {
    if (!style.utf8)
        return std::string(name);
    return DecodeName(name).toUtf8().toStdString();
}

bool IsPlainWindows1252(std::string_view bytes) {
    return !bytes.starts_with(kByteOrderMark) && bytes.find(kUtf8Separator) == std::string_view::npos;
}

FileTail TrailingTextOf(std::string_view bytes) {
    // Where the last name ends is found as DatabaseTextOf finds it: a B3 may
    // be part of a UTF-8 character.
    const std::string_view text = WithoutMark(bytes);
    std::string_view tail = text;
    bool utf8 = false;
    if (IsPlainWindows1252(bytes)) {
        const std::size_t last = text.rfind('\xB3');
        tail = last == std::string_view::npos ? text : text.substr(last + 1);
    } else {
        for (std::size_t start = 0;;) {
            const NameSpan span = NextName(text, start);
            if (span.separator == 0) {
                tail = text.substr(start);
                utf8 = span.utf8;
                break;
            }
            start = span.end + span.separator;
        }
    }
    const std::optional<std::string> converted = utf8 ? Utf8ToWindows1252(tail) : std::string(tail);
    return {WithoutBreaks(converted.value_or(std::string(tail))), utf8, converted.has_value()};
}

} // namespace tavolin
