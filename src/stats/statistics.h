#pragma once

#include "names/namelist.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavolin {

// The letters of the initial-letter table, in the order of its rows: "A" to
// "Z", then "Ä", "Ö", "Ü" (Windows-1252 bytes 196, 214, 220).
inline constexpr std::string_view StatisticsLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xC4\xD6\xDC";

// Counts are as wide as a list can be long, so none can overflow.
using StatisticsCount = std::uint64_t;

// How many entries of the list begin with each byte once "a" to "z" are
// folded to upper case (nothing else is folded: "ä" is not "Ä"), from
// the counts the list keeps: entry b for the byte b, 0 for "a" to "z". Empty
// entries begin with nothing.
using InitialCounts = std::array<StatisticsCount, 256>;
InitialCounts CountInitials(const NameList& names);

// Lengths below this one have a row of the name-length table each, from 0 up
// to the longest entry, also where no entry has them. Longer lengths have a
// row only where some entry has them: one entry of megabytes (a wrong file
// merged in) must not make the table millions of rows long.
inline constexpr std::size_t kEveryLengthBelow = 200;

// Counts by length, in ascending order of length.
using LengthCounts = std::vector<std::pair<std::size_t, StatisticsCount>>;

// How many entries of the list have each length, so that every entry is
// counted: every length from 0 to the longest entry below kEveryLengthBelow
// is listed, and each longer length that some entry has. The counts the list
// keeps give the shorter ones; the list is read only when some entry is
// kEveryLengthBelow bytes or longer. The last length listed is that of the
// longest entry.
LengthCounts CountLengths(const NameList& names);

// Lists with a count of 0 each length of `other` that `counts` lacks, so that
// two lists' counts give the rows of one table.
void AddLengthsOf(const LengthCounts& other, LengthCounts& counts);

// One row of each table. The filling spaces line the counts up in columns
// under a fixed-pitch font while the numbers are short.
std::string FormatLetterRow(char letter, StatisticsCount female, StatisticsCount male);
std::string FormatLengthRow(std::size_t length, StatisticsCount female, StatisticsCount male);

// The 29 rows of the initial-letter table, in the order of StatisticsLetters.
std::vector<std::string> LetterRows(const NameList& female, const NameList& male);

} // namespace tavolin
