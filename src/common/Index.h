#pragma once
// Arrays are indexed by size_t while bus addresses, slots, bands and channels are ints: U turns
// such a number, already checked to be in range, into an index.
#include <cstddef>

inline std::size_t U(int i) {
    return static_cast<std::size_t>(i);
}
