#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavolin::bench {

// A database file of `count` made-up first names (2 to 14 letters, some
// umlauts, some duplicates), one per line as the shipped files are. The same
// seed gives the same bytes.
std::string MakeDatabaseBytes(std::size_t count, std::uint64_t seed);

} // namespace tavolin::bench
