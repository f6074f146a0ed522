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

void LineList::appendToLastLine(std::string_view text) {
    if (empty()) {
        append(text);
        return;
    }
    text_.insert(text_.size() - kLineEnd.size(), text);
}

void LineList::clear() {
    text_.clear();
    starts_.clear();
}

} // namespace tavolin
