#pragma once

#include "names/database.h"
#include "names/linelist.h"
#include "names/namelist.h"
#include "support/reference_names.h"

// The program's lists as plain strings, to compare with the reference rules.
namespace tavolin::test {

inline Strings LinesOf(const LineList& lines) {
    Strings result;
    for (std::size_t i = 0; i < lines.size(); ++i)
        result.emplace_back(lines[i]);
    return result;
}

inline Strings NamesOf(const NameList& names) {
    return Strings(names.begin(), names.end());
}

// The names that the next start reads from a database file.
inline Strings NamesInFile(const FilePath& path) {
    NameList names;
    ParseNameLines(ReadNameFile(path).lines, names);
    return NamesOf(names);
}

} // namespace tavolin::test
