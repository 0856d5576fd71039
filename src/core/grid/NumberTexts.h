#pragma once
// The texts of the numbers 0..kSharedNumbers-1, made once per process and
// shared by every grid: a chart writes one draw number per row, and keeping
// those texts out of each grid's own text table spares a string and a table
// entry per row.
#include <atomic>
#include <cstdint>
#include <string>

namespace n4 {

inline constexpr std::uint32_t kSharedNumbers = 1u << 17; // beyond the largest draw number

namespace numbertexts {
// Made a thousand at a time as they are first needed, so a short history
// never pays for the long ones. A chunk never moves once made.
inline constexpr std::uint32_t kChunk = 1024;
extern std::atomic<const std::string*> chunks[kSharedNumbers / kChunk];
const std::string* makeChunk(std::uint32_t index);
} // namespace numbertexts

// value < kSharedNumbers. The reference stays valid for the whole run; safe to
// call from any thread.
inline const std::string& numberText(std::uint32_t value) {
    using namespace numbertexts;
    const std::string* chunk = chunks[value / kChunk].load(std::memory_order_acquire);
    if (!chunk) chunk = makeChunk(value / kChunk);
    return chunk[value % kChunk];
}

} // namespace n4
