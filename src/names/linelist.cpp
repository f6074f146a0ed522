#include "names/linelist.h"

#include <algorithm>
#include <cassert>

namespace tavolin {

namespace {
constexpr std::string_view kLineEnd = "\r\n";

bool IsBreak(char c) {
    return c == '\r' || c == '\n';
}
} // namespace

LineList LineList::FromFileBytes(std::string_view bytes) {
    LineList lines;
    // Room for the common case, a file that already ends its lines with CR LF.
    lines.text_.reserve(bytes.size() + kLineEnd.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto lineEnd = std::find_if(bytes.begin() + static_cast<std::ptrdiff_t>(pos), bytes.end(), IsBreak);
        const auto end = static_cast<std::size_t>(lineEnd - bytes.begin());
        lines.append(bytes.substr(pos, end - pos));
        pos = end;
        if (pos < bytes.size()) {
            const bool crlf = bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n';
            pos += crlf ? 2 : 1;
        }
    }
    return lines;
}

void LineList::append(std::string_view line) {
    assert(std::none_of(line.begin(), line.end(), IsBreak));
    starts_.push_back(text_.size());
    text_.append(line);
    text_.append(kLineEnd);
}

bool LineList::insertAfterLastText(char byte) {
    const std::size_t last = text_.find_last_not_of("\r\n");
    if (last == std::string::npos)
        return false;
    text_.insert(last + 1, 1, byte);
    // Lines behind that one (empty ones) move one byte on.
    for (auto start = std::upper_bound(starts_.begin(), starts_.end(), last); start != starts_.end(); ++start)
        ++*start;
    return true;
}

void LineList::clear() {
    text_.clear();
    starts_.clear();
}

} // namespace tavolin
