// A settings file of any bytes read and interpreted as the start-up does, and
// a record written by the program read back.
#include "check.h"
#include "settings/record.h"
#include "support/reference_names.h"

#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <optional>
#include <string>

namespace {

using namespace tavolin;

bool SameRecord(const SettingsRecord& a, const SettingsRecord& b) {
    return a.fontColor == b.fontColor && a.fontName == b.fontName && a.fontSize == b.fontSize &&
           a.InputColor == b.InputColor && a.BoardColor == b.BoardColor && a.BackgroundColor == b.BackgroundColor;
}

// The values of a record, read line by line in the order in which the window
// applies them; nothing when a line is missing or bad. An empty name line
// (the font keeps its name) reads as an empty name.
std::optional<SettingsRecord> ReadRecord(const RecordLines& lines) {
    try {
        SettingsRecord record;
        record.fontColor = RecordColor(lines, kFontColorLine);
        record.fontName = FontNameFromLine(RecordLine(lines, kFontNameLine)).value_or(std::string());
        record.fontSize = RecordInteger(lines, kFontSizeLine);
        record.InputColor = RecordColor(lines, kInputColorLine);
        record.BoardColor = RecordColor(lines, kBoardColorLine);
        record.BackgroundColor = RecordColor(lines, kBackgroundColorLine);
        return record;
    } catch (const RecordError&) {
        return std::nullopt;
    }
}

// Written as the settings file (with or without the marker) and read back.
std::optional<SettingsRecord> WrittenAndRead(const SettingsRecord& record, bool withMarker) {
    RecordLines lines = SplitRecordLines(RecordFileBytes(ComposeRecordLines(record, withMarker)));
    FUZZ_CHECK(lines.size() == kRecordLineCount + (withMarker ? 1 : 0));
    FUZZ_CHECK(!lines.empty() && IsNoFormatMarker(lines.front()) == withMarker);
    if (withMarker)
        lines.erase(lines.begin());
    return ReadRecord(lines);
}

// A size read from a record and written back at close gives the same number
// whenever the window could take the character height it stands for.
void CheckSize(std::int32_t points, int pixelsPerInch) {
    const std::int32_t height = PixelHeightFromPoints(points, pixelsPerInch);
    const std::int32_t back = PointsFromPixelHeight(height, pixelsPerInch);
    if (pixelsPerInch >= 72 && UsableFontPixelHeight(height) == height)
        FUZZ_CHECK(back == points);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // The split: the text ends at the first NUL, lines end as in a database
    // file, and the lines written back split the same way.
    const RecordLines lines = SplitRecordLines(bytes);
    FUZZ_CHECK(lines == test::ReferenceLines(bytes.substr(0, bytes.find('\0'))));
    FUZZ_CHECK(SplitRecordLines(RecordFileBytes(lines)) == lines);

    FuzzedDataProvider provider(data, size);
    const int anyResolution = provider.ConsumeIntegral<int>();
    const int resolution = provider.ConsumeIntegralInRange(72, 2400);

    // Every number line reads back from its decimal form, and its size
    // conversions stay in range.
    for (const std::string& line : lines) {
        if (const std::optional<std::int32_t> value = ParseRecordInteger(line)) {
            FUZZ_CHECK(ParseRecordInteger(std::to_string(*value)) == value);
            UsableFontPixelHeight(PixelHeightFromPoints(*value, anyResolution));
            PointsFromPixelHeight(*value, anyResolution);
            CheckSize(*value, resolution);
        }
    }

    // The start-up's reading: a record read whole is written back by the
    // program as the same values.
    if (!lines.empty() && !IsNoFormatMarker(lines.front())) {
        if (const std::optional<SettingsRecord> record = ReadRecord(lines)) {
            FUZZ_CHECK(record->fontName.size() <= kMaxFontNameLength);
            for (const bool withMarker : {false, true}) {
                const std::optional<SettingsRecord> back = WrittenAndRead(*record, withMarker);
                FUZZ_CHECK(back && SameRecord(*back, *record));
            }
        }
    }

    // Any record the program can write reads back as the same values: a
    // font name holds no line break or NUL and at most 31 bytes.
    SettingsRecord record;
    record.fontColor = provider.ConsumeIntegral<Color>() & 0xFFFFFFu;
    record.InputColor = provider.ConsumeIntegral<Color>() & 0xFFFFFFu;
    record.BoardColor = provider.ConsumeIntegral<Color>() & 0xFFFFFFu;
    record.BackgroundColor = provider.ConsumeIntegral<Color>() & 0xFFFFFFu;
    record.fontSize = provider.ConsumeIntegral<std::int32_t>();
    const bool withMarker = provider.ConsumeBool();
    for (const char c : provider.ConsumeRandomLengthString(kMaxFontNameLength))
        if (c != '\r' && c != '\n' && c != '\0')
            record.fontName += c;
    const std::optional<SettingsRecord> back = WrittenAndRead(record, withMarker);
    FUZZ_CHECK(back && SameRecord(*back, record));
    CheckSize(record.fontSize, resolution);
    return 0;
}
