#include <atomic>
#include <utility>

#include "text/events.h"
#include "text/text.h"

namespace {
thread_local std::uint32_t state = 0;
std::atomic<std::uint32_t> seed_counter{0};  // keeps two seedings in one millisecond apart

std::int32_t draw() {
    state = state * 214013u + 2531011u;
    return static_cast<std::int32_t>((state >> 16) & 0x7FFF);
}
}  // namespace

void seed_random() {
    std::uint32_t seed = static_cast<std::uint32_t>(uptime_ms()) + seed_counter.load();
    seed_counter += (seed & 0xFF) + 100;
    state = seed;
}

std::int32_t random_int(std::int32_t min, std::int32_t max) {
    std::int32_t lo = min < 0 ? 0 : min, hi = max < 0 ? 0 : max;
    if (lo > hi) std::swap(lo, hi);
    if (lo == hi) return lo;
    return lo + static_cast<std::int32_t>(draw() % (std::int64_t(hi) - lo + 1));
}
