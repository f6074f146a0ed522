#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace tavolin {

// A list would outgrow its 32-bit offsets: a database of more than 4 GiB.
class ListSizeError : public std::length_error {
public:
    ListSizeError();
};

// The lists keep 32-bit offsets into their one text, half the memory of
// 64-bit ones at a million names. Every offset goes through this check.
inline std::uint32_t ListOffset(std::size_t offset) {
    if (offset > std::numeric_limits<std::uint32_t>::max())
        throw ListSizeError();
    return static_cast<std::uint32_t>(offset);
}

} // namespace tavolin
