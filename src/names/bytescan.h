#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavolin {

// The places of `byte` among the 16 bytes at `p`: bit i stands for p[i]. All
// 16 bytes must be readable. Splitting and parsing a database look at every
// byte of it, so they look at sixteen at a time.
inline std::uint32_t Match16(const char* p, char byte) {
#if defined(__SSE2__)
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(byte))));
#else
    std::uint32_t mask = 0;
    for (int i = 0; i < 16; ++i)
        mask |= static_cast<std::uint32_t>(p[i] == byte) << i;
    return mask;
#endif
}

} // namespace tavolin
