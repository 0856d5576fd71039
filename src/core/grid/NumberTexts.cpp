#include "core/grid/NumberTexts.h"

#include <memory>
#include <mutex>

namespace n4::numbertexts {

std::atomic<const std::string*> chunks[kSharedNumbers / kChunk] = {};

namespace {
std::mutex making;
std::unique_ptr<std::string[]> owned[kSharedNumbers / kChunk];
} // namespace

const std::string* makeChunk(std::uint32_t index) {
    std::lock_guard<std::mutex> lock(making);
    if (const std::string* done = chunks[index].load(std::memory_order_acquire)) return done;
    owned[index].reset(new std::string[kChunk]);
    for (std::uint32_t i = 0; i < kChunk; ++i)
        owned[index][i] = std::to_string(index * kChunk + i);
    chunks[index].store(owned[index].get(), std::memory_order_release);
    return owned[index].get();
}

} // namespace n4::numbertexts
