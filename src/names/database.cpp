#include "names/database.h"

#include "fileio/fileio.h"
#include "names/bytescan.h"
#include "names/encoding.h"
#include "names/listsize.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace tavolin {

FileContents ReadDatabaseBytes(const FilePath& path, Reading reading) {
    try {
        return ReadFile(path, kMaxDatabaseBytes, reading);
    } catch (const FileTooLargeError&) {
        throw ListSizeError();
    }
}

NameFile NameFileOf(FileContents contents) {
    DatabaseText text = DatabaseTextOf(std::move(contents.bytes));
    return {LineList::AdoptFileBytes(std::move(text.bytes)), contents.identity, text.leftOutNames,
            text.leftOutTrailingText};
}

NameFile ReadNameFile(const FilePath& path, Reading reading) {
    return NameFileOf(ReadDatabaseBytes(path, reading));
}

NameFile ReadForeignNameFile(const FilePath& path) {
    FileContents contents = ReadDatabaseBytes(path);
    if (!IsPlainList(contents.bytes))
        return NameFileOf(std::move(contents));
    DatabaseText text = PlainListText(contents.bytes);
    return {LineList::AdoptFileBytes(std::move(text.bytes)), contents.identity, text.leftOutNames, false};
}

std::optional<NameFile> ReadGrownNameFile(const FilePath& path, LineList& lines, NameList& names,
                                          FileIdentity& identity) {
    FileContents contents = ReadDatabaseBytes(path, Reading::Anew);
    const std::string_view bytes = contents.bytes;
    const std::string_view known = lines.FileBytes();
    if (!bytes.starts_with(known) || !TrailingText(lines).empty() || !IsPlainWindows1252(bytes))
        return NameFileOf(std::move(contents));
    const std::string_view added = bytes.substr(known.size());
    // Even with every break doubled by the split (LF to CR LF) the lines
    // must hold it all: nothing may stop them halfway.
    if (added.size() >= kMaxDatabaseBytes - bytes.size())
        return NameFileOf(std::move(contents));
    const std::size_t firstLine = lines.size();
    lines.AppendFileBytes(added);
    ParseNameLines(lines, names, firstLine);
    identity = contents.identity;
    return std::nullopt;
}

namespace {

// Where the first separator of a line is, or nothing. Sixteen bytes are
// looked at together while the text goes on that far behind the line's start.
const char* FindSeparator(std::string_view line, const char* textEnd) {
    const char* pos = line.data();
    const char* const end = pos + line.size();
    for (; pos < end && textEnd - pos >= 16; pos += 16) {
        std::uint32_t separators = Match16(pos, kSeparator);
        if (end - pos < 16)
            separators &= (std::uint32_t{1} << (end - pos)) - 1;
        if (separators != 0)
            return pos + std::countr_zero(separators);
    }
    return pos < end ? static_cast<const char*>(std::memchr(pos, kSeparator, static_cast<std::size_t>(end - pos)))
                     : nullptr;
}

} // namespace

void ParseNameLines(const LineList& lines, NameList& names, std::size_t firstLine) {
    // The lines hold no break bytes, so the accumulator of the split rule
    // only lives on where a line does not end with a separator. Usually each
    // line is one name and its separator, which goes to the list directly.
    const std::string_view text = lines.FileBytes();
    const char* const textEnd = text.data() + text.size();
    const std::size_t from =
        firstLine < lines.size() ? static_cast<std::size_t>(lines[firstLine].data() - text.data()) : text.size();
    names.reserve(lines.size() - std::min(firstLine, lines.size()) + 1024, 0); // and room for the names added later
    NameList::Appender appender(names, text.size() - from);                    // no more bytes than the text has
    std::string pending; // the beginning of a name that runs across lines
    for (std::size_t i = firstLine; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        while (!line.empty()) {
            const char* const stop = FindSeparator(line, textEnd);
            if (!stop) {
                pending.append(line);
                break;
            }
            const std::string_view piece = line.substr(0, static_cast<std::size_t>(stop - line.data()));
            line.remove_prefix(piece.size() + 1);
            if (pending.empty()) {
                appender.AddFromText(piece, textEnd);
            } else {
                pending.append(piece);
                appender.Add(pending);
                pending.clear();
            }
        }
    }
    // Text behind the last separator is no name.
}

std::string TrailingText(const LineList& lines) {
    const std::string_view text = lines.FileBytes();
    const std::size_t last = text.rfind(kSeparator);
    std::string trailing;
    const std::string_view tail = last == std::string_view::npos ? text : text.substr(last + 1);
    std::copy_if(tail.begin(), tail.end(), std::back_inserter(trailing), [](char c) { return c != '\r' && c != '\n'; });
    return trailing;
}

namespace {

// Right behind "Â" (the byte C2) the separator would read as the pair C2 B3
// that ends a name in UTF-8, and the name would lose its "Â"; in a file that
// holds UTF-8 already, behind any byte above 0x7F it could complete a UTF-8
// character. The separator then goes on a line of its own: line breaks are
// no part of a name.
bool NeedsOwnLine(std::string_view name, std::string_view separator, bool plain = true) {
    if (name.empty() || separator != std::string_view(&kSeparator, 1))
        return false;
    return plain ? name.back() == '\xC2' : static_cast<unsigned char>(name.back()) >= 0x80;
}

} // namespace

bool AppendName(LineList& lines, NameList& names, std::string_view name) {
    const std::string_view separator(&kSeparator, 1);
    if (const std::string trailing = TrailingText(lines); !trailing.empty()) {
        if (NeedsOwnLine(trailing, separator))
            lines.append(separator);
        else
            lines.InsertAfterLastText(kSeparator);
        names.append(trailing);
        if (trailing == name)
            return false;
    }
    if (NeedsOwnLine(name, separator)) {
        lines.append(name);
        lines.append(separator);
    } else {
        std::string line(name);
        line.push_back(kSeparator);
        lines.append(line);
    }
    names.append(name);
    return true;
}

FileIdentity WriteNameDatabase(const LineList& lines, const FilePath& path) {
    return SaveFileAtomically(path, lines.FileBytes());
}

std::string AppendixFor(std::string_view present, const NameList& names) {
    const FileStyle style = StyleOf(present);
    const bool plain = IsPlainWindows1252(present);
    const std::string_view text = present == "\xEF\xBB\xBF" ? std::string_view() : present;
    const std::string_view beforeBreaks = text.substr(0, text.find_last_not_of("\r\n") + 1);
    std::string appendix;
    const FileTail tail = TrailingTextOf(present);
    if (!tail.text.empty()) {
        // Closed so that the next start reads it as it reads it now.
        const std::string_view separator = tail.utf8 ? std::string_view("\xC2\xB3") : style.Separator();
        if (NeedsOwnLine(beforeBreaks, separator, plain))
            appendix += style.lineBreak;
        appendix += separator;
    }
    const bool endsWithBreak = text.empty() || beforeBreaks.size() < text.size();
    if (!tail.text.empty() || !endsWithBreak)
        appendix += style.lineBreak;
    bool closed = !tail.text.empty();
    for (const std::string_view name : names) {
        if (closed && tail.storable && name == tail.text) {
            closed = false;
            continue;
        }
        const std::string encoded = EncodeForFile(name, style);
        appendix += encoded;
        if (NeedsOwnLine(encoded, style.Separator(), plain))
            appendix += style.lineBreak;
        appendix += style.Separator();
        appendix += style.lineBreak;
    }
    return appendix;
}

bool IsStorableName(std::string_view name) {
    static constexpr std::string_view kUnstorable("\xB3\r\n\0", 4);
    return name.find_first_of(kUnstorable) == std::string_view::npos;
}

} // namespace tavolin
