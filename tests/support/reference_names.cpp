#include "support/reference_names.h"

#include <algorithm>

namespace tavolin::test {

Strings ReferenceLines(const std::string& bytes) {
    Strings lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::string line;
        while (pos < bytes.size() && bytes[pos] != '\r' && bytes[pos] != '\n')
            line += bytes[pos++];
        lines.push_back(line);
        if (pos < bytes.size())
            pos += bytes.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
    }
    return lines;
}

std::pair<Strings, std::string> ReferenceParse(const Strings& lines) {
    Strings names;
    std::string scratch;
    for (const std::string& line : lines) {
        for (const char c : line) {
            if (c == '\xB3') {
                names.push_back(scratch);
                scratch.clear();
            } else {
                scratch += c;
            }
        }
    }
    return {names, scratch};
}

std::string ReferenceFile(const Strings& lines) {
    std::string file;
    for (const std::string& line : lines)
        file += line + "\r\n";
    return file;
}

ReferenceMerge ReferenceMergeOf(const std::string& target, const std::string& foreign) {
    ReferenceMerge result;
    result.lines = ReferenceLines(target);
    auto [names, trailing] = ReferenceParse(result.lines);
    result.names = names;
    for (const std::string& name : ReferenceParse(ReferenceLines(foreign)).first) {
        bool found = false;
        for (std::size_t i = 0; i < result.names.size() && !found; ++i)
            found = result.names[i] == name;
        if (found)
            continue;
        // A separator right behind "Â" goes on a line of its own.
        if (!trailing.empty()) {
            auto last = std::find_if(result.lines.rbegin(), result.lines.rend(),
                                     [](const std::string& line) { return !line.empty(); });
            if (trailing.back() == '\xC2')
                result.lines.emplace_back("\xB3");
            else
                *last += '\xB3';
            result.names.push_back(trailing);
            const bool wasTheName = trailing == name;
            trailing.clear();
            if (wasTheName)
                continue; // the closed text is the name: it is there once
        }
        result.names.push_back(name);
        if (name.ends_with('\xC2'))
            result.lines.insert(result.lines.end(), {name, "\xB3"});
        else
            result.lines.push_back(name + '\xB3');
        ++result.added;
    }
    result.file = ReferenceFile(result.lines);
    return result;
}

} // namespace tavolin::test
