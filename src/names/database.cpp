#include "names/database.h"

#include "fileio/fileio.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace tavolin {

LineList ReadNameFile(const QString& path) {
    return LineList::FromFileBytes(ReadFileBytes(path));
}

void ParseNameLines(const LineList& lines, NameList& names) {
    // Every line of the list is followed by CR LF in fileBytes() and holds no
    // break byte itself, so the breaks can be skipped right in that text.
    const std::string_view text = lines.fileBytes();
    const auto count = static_cast<std::size_t>(std::count(text.begin(), text.end(), kSeparator));
    names.reserve(count, text.size());

    std::string joined; // a name that runs across line breaks, without them
    std::size_t pos = 0;
    while (pos < text.size()) {
        const void* hit = std::memchr(text.data() + pos, kSeparator, text.size() - pos);
        if (!hit)
            break; // text behind the last separator is no name
        const auto stop = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        std::string_view piece = text.substr(pos, stop - pos);
        // The usual case: the name is the whole line, after the previous break.
        while (!piece.empty() && (piece.front() == '\r' || piece.front() == '\n'))
            piece.remove_prefix(1);
        if (piece.find_first_of("\r\n") == std::string_view::npos) {
            names.append(piece);
        } else {
            joined.clear();
            std::copy_if(piece.begin(), piece.end(), std::back_inserter(joined),
                         [](char c) { return c != '\r' && c != '\n'; });
            names.append(joined);
        }
        pos = stop + 1;
    }
}

std::string TrailingText(const LineList& lines) {
    const std::string_view text = lines.fileBytes();
    const std::size_t last = text.rfind(kSeparator);
    std::string trailing;
    const std::string_view tail = last == std::string_view::npos ? text : text.substr(last + 1);
    std::copy_if(tail.begin(), tail.end(), std::back_inserter(trailing), [](char c) { return c != '\r' && c != '\n'; });
    return trailing;
}

bool AppendName(LineList& lines, NameList& names, std::string_view name) {
    if (const std::string trailing = TrailingText(lines); !trailing.empty()) {
        lines.insertAfterLastText(kSeparator);
        names.append(trailing);
        if (trailing == name)
            return false;
    }
    std::string line(name);
    line.push_back(kSeparator);
    lines.append(line);
    names.append(name);
    return true;
}

void WriteNameDatabase(const LineList& lines, const QString& path) {
    SaveFileAtomically(path, lines.fileBytes());
}

bool IsStorableName(std::string_view name) {
    static constexpr std::string_view kUnstorable("\xB3\r\n\0", 4);
    return name.find_first_of(kUnstorable) == std::string_view::npos;
}

} // namespace tavolin
