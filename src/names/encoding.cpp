#include "names/encoding.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>

namespace tavolin {

namespace {
// ICU's converter maps all 256 bytes, the five that Windows-1252 leaves
// undefined to the C1 controls of the same number, so every byte string
// survives a round trip through QString.
constexpr const char* kCodePage = "windows-1252";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf8Separator = "\xC2\xB3";

// The Windows-1252 byte of a UTF-16 unit, or nothing. The code page agrees
// with Latin-1 except from 0x80 to 0x9F, where it has letters of its own
// (the euro sign, quotes, Š ...); those are taken from the converter itself.
std::optional<char> Windows1252Byte(char16_t unit) {
    static const std::array<char16_t, 32> kHighRow = [] {
        std::array<char16_t, 32> row{};
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = DecodeName(std::string(1, static_cast<char>(0x80 + i))).at(0).unicode();
        return row;
    }();
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    for (std::size_t i = 0; i < kHighRow.size(); ++i)
        if (kHighRow[i] == unit)
            return static_cast<char>(0x80 + i);
    return std::nullopt;
}

} // namespace

QString DecodeName(std::string_view bytes) {
    QStringDecoder decoder(kCodePage);
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::optional<std::string> EncodeName(const QString& text) {
    QStringEncoder encoder(kCodePage);
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes.toStdString();
}

DatabaseText DatabaseTextOf(std::string bytes) {
    // Looking for C2 B3 first keeps the usual Windows-1252 file from being
    // decoded as a whole.
    const bool marked = bytes.starts_with(kByteOrderMark);
    if (!marked && bytes.find(kUtf8Separator) == std::string::npos)
        return {std::move(bytes), 0, false, QString()};
    const std::string_view encoded = std::string_view(bytes).substr(marked ? kByteOrderMark.size() : 0);
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = utf8.decode(QByteArrayView(encoded.data(), static_cast<qsizetype>(encoded.size())));
    if (utf8.hasError() && !marked)
        return {std::move(bytes), 0, false, QString()};

    // Name by name: a separator ends one; one that cannot be stored gives
    // only its line breaks (a broken sequence behind a mark counts as such).
    DatabaseText result;
    result.bytes.reserve(encoded.size());
    std::string name;
    std::string breaks;
    bool storable = true;
    qsizetype start = 0;
    const auto leaveOut = [&](qsizetype end) {
        if (result.firstLeftOut.isEmpty())
            result.firstLeftOut = text.mid(start, end - start).remove(u'\r').remove(u'\n');
        result.bytes += breaks;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (unit == u'\r' || unit == u'\n') {
            name.push_back(static_cast<char>(unit));
            breaks.push_back(static_cast<char>(unit));
        } else if (unit == u'\u00B3') {
            if (storable) {
                result.bytes += name;
                result.bytes.push_back('\xB3');
            } else {
                ++result.leftOutNames;
                leaveOut(i);
            }
            name.clear();
            breaks.clear();
            storable = true;
            start = i + 1;
        } else if (const std::optional<char> byte = Windows1252Byte(unit)) {
            name.push_back(*byte);
        } else {
            storable = false;
        }
    }
    if (storable) {
        result.bytes += name;
    } else {
        result.leftOutTrailingText = true;
        leaveOut(text.size());
    }
    return result;
}

} // namespace tavolin
