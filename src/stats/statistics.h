#pragma once

#include "names/namelist.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavolin {

// The letters of the initial-letter table, in the order of its rows: "A" to
// "Z", then "Ä", "Ö", "Ü" (Windows-1252 bytes 196, 214, 220).
inline constexpr std::string_view StatisticsLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xC4\xD6\xDC";

// Counts are as wide as a list can be long, so none can overflow.
using StatisticsCount = std::uint64_t;

// How many entries of the list begin with the letter once "a" to "z" are
// folded to upper case (nothing else is folded: "ä" is not "Ä"). Empty
// entries begin with nothing.
StatisticsCount CountInitial(const NameList& names, char letter);

// The same count for every first byte at once: entry b is what CountInitial
// gives for the byte b. Like CountLengths, it takes the counts that the list
// keeps, so neither looks at the names themselves.
using InitialCounts = std::array<StatisticsCount, 256>;
InitialCounts CountInitials(const NameList& names);

// How many entries of the list have each length, for every length from 0 to
// `longest`, and on up to the list's longest entry where that is longer, so
// that every entry is counted. With `longest` 0 the size of the result tells
// the length of the longest entry.
std::vector<StatisticsCount> CountLengths(const NameList& names, std::size_t longest);

// One row of each table. The filling spaces line the counts up in columns
// under a fixed-pitch font while the numbers are short.
std::string FormatLetterRow(char letter, StatisticsCount female, StatisticsCount male);
std::string FormatLengthRow(std::size_t length, StatisticsCount female, StatisticsCount male);

// The 29 rows of the initial-letter table, in the order of StatisticsLetters.
std::vector<std::string> LetterRows(const NameList& female, const NameList& male);
// The rows of the name-length table, for every length from 0 to that of the
// longest entry of either list.
std::vector<std::string> LengthRows(const NameList& female, const NameList& male);

} // namespace tavolin
