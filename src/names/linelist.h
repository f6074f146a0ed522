#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavolin {

// The raw lines of a name database file, kept to be written back. Lines hold
// no line-break bytes; the list keeps them as one text in which every line is
// followed by CR LF, which is exactly the file that a rewrite produces.
class LineList {
public:
    // Splits a file's bytes into lines: a line ends at CR LF, at a CR alone or
    // at an LF alone; the break bytes belong to no line, and a last line
    // without a break is still a line.
    static LineList FromFileBytes(std::string_view bytes);
    // The same, taking over the buffer itself when it already is every line
    // followed by CR LF, as every file the program writes is.
    static LineList AdoptFileBytes(std::string&& bytes);

    std::size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }
    std::string_view operator[](std::size_t index) const {
        const std::size_t next = index + 1 < starts_.size() ? starts_[index + 1] : text_.size();
        return {text_.data() + starts_[index], next - 2 - starts_[index]};
    }

    // Appends the lines of more bytes of the file, split as FromFileBytes
    // splits them; the text so far ends with a break, so they begin a line.
    void AppendFileBytes(std::string_view bytes) { AppendLinesOf(bytes); }
    // Appends one line; it must not hold CR or LF. Throws ListSizeError when
    // the line would start behind the first 4 GiB of the text.
    void append(std::string_view line);
    // Inserts a byte right behind the last byte that is not a line break, on
    // that byte's own line. Returns false (and changes nothing) when the
    // lines hold nothing but breaks.
    bool InsertAfterLastText(char byte);
    void clear();

    // Every line followed by CR LF.
    std::string_view FileBytes() const { return text_; }

private:
    // Fills starts_ when the bytes are lines each ended by CR LF, with no
    // other CR or LF; otherwise returns false and leaves starts_ empty.
    bool SplitCrLfText(std::string_view bytes);
    // Splits at every kind of break, one line at a time.
    void AppendLinesOf(std::string_view bytes);

    std::string text_;
    std::vector<std::uint32_t> starts_; // offset of each line in text_ (see ListOffset)
};

} // namespace tavolin
