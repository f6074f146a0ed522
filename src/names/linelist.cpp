#include "names/linelist.h"

#include "names/bytescan.h"
#include "names/listsize.h"

#include <algorithm>
#include <bit>
#include <cassert>

namespace tavolin {

namespace {
constexpr std::string_view kLineEnd = "\r\n";

bool IsBreak(char c) {
    return c == '\r' || c == '\n';
}
} // namespace

bool LineList::SplitCrLfText(std::string_view bytes) {
    ListOffset(bytes.size()); // every start lies before the end
    if (!bytes.empty() && bytes.back() != '\n')
        return false;
    // The text is in that form exactly when every LF follows a CR and every
    // CR is followed by an LF: the LF places are the CR places moved on by one.
    starts_.reserve(bytes.size() / 8);
    std::size_t lineStart = 0;
    const auto endLine = [&](std::size_t feed) {
        starts_.push_back(static_cast<std::uint32_t>(lineStart));
        lineStart = feed + 1;
    };
    std::uint32_t carriedReturn = 0; // a CR in the last byte of the block before
    std::size_t pos = 0;
    for (; pos + 16 <= bytes.size(); pos += 16) {
        const std::uint32_t returns = Match16(bytes.data() + pos, '\r');
        std::uint32_t feeds = Match16(bytes.data() + pos, '\n');
        if (feeds != (((returns << 1) | carriedReturn) & 0xFFFFU)) {
            starts_.clear();
            return false;
        }
        carriedReturn = returns >> 15;
        for (; feeds != 0; feeds &= feeds - 1)
            endLine(pos + static_cast<std::size_t>(std::countr_zero(feeds)));
    }
    for (; pos < bytes.size(); ++pos) {
        const bool feed = bytes[pos] == '\n';
        if (feed != (pos > 0 && bytes[pos - 1] == '\r')) {
            starts_.clear();
            return false;
        }
        if (feed)
            endLine(pos);
    }
    return true;
}

void LineList::AppendLinesOf(std::string_view bytes) {
    text_.reserve(text_.size() + bytes.size() + kLineEnd.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto lineEnd = std::find_if(bytes.begin() + static_cast<std::ptrdiff_t>(pos), bytes.end(), IsBreak);
        const auto end = static_cast<std::size_t>(lineEnd - bytes.begin());
        append(bytes.substr(pos, end - pos));
        pos = end;
        if (pos < bytes.size()) {
            const bool crlf = bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n';
            pos += crlf ? 2 : 1;
        }
    }
}

LineList LineList::FromFileBytes(std::string_view bytes) {
    LineList lines;
    if (lines.SplitCrLfText(bytes))
        lines.text_.assign(bytes);
    else
        lines.AppendLinesOf(bytes);
    return lines;
}

LineList LineList::AdoptFileBytes(std::string&& bytes) {
    LineList lines;
    if (lines.SplitCrLfText(bytes))
        lines.text_ = std::move(bytes);
    else
        lines.AppendLinesOf(bytes);
    return lines;
}

void LineList::append(std::string_view line) {
    assert(std::none_of(line.begin(), line.end(), IsBreak));
    starts_.push_back(ListOffset(text_.size()));
    text_.append(line);
    text_.append(kLineEnd);
}

bool LineList::InsertAfterLastText(char byte) {
    const std::size_t last = text_.find_last_not_of("\r\n");
    if (last == std::string::npos)
        return false;
    ListOffset(text_.size()); // the starts moved on below stay within it
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
