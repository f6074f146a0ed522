#pragma once

#include "fileio/fileio.h"
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
    return {names.begin(), names.end()};
}

// The names that ParseNameLines takes from a file's bytes.
inline Strings ParsedNames(std::string_view fileBytes) {
    NameList names;
    ParseNameLines(LineList::FromFileBytes(fileBytes), names);
    return NamesOf(names);
}

// The names of a database file as the next start reads them.
inline Strings NamesInFile(const FilePath& path) {
    NameList names;
    ParseNameLines(ReadNameFile(path).lines, names);
    return NamesOf(names);
}

} // namespace tavolin::test
