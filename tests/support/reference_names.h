#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// The database rules written out the plain way, without any index or shared
// buffer: the yardstick that tests and fuzz targets hold the program's lists
// against. No GoogleTest here, so the fuzz targets can use it too.
namespace tavolin::test {

using Strings = std::vector<std::string>;

// A file's bytes split into lines: a line ends at CR LF, at a CR alone or at
// an LF alone, and a last line without a break is still a line.
Strings ReferenceLines(const std::string& bytes);

// The names of the lines (every 0xB3 closes the text gathered since the last
// one, across line ends) and the text behind the last 0xB3.
std::pair<Strings, std::string> ReferenceParse(const Strings& lines);

// Every line followed by CR LF.
std::string ReferenceFile(const Strings& lines);

// The merge without any index: every foreign name is searched in the whole
// target list from its start, trailing text of the target is closed (as a
// name) before the first name is added, and each added name becomes a line of
// its own; a name equal to that closed text is not added again.
struct ReferenceMerge {
    Strings names;
    Strings lines;
    std::size_t added = 0;
    std::string file;
};
ReferenceMerge ReferenceMergeOf(const std::string& target, const std::string& foreign);

} // namespace tavolin::test
