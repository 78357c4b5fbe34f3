// The floor every canvas figure is read against: copying one 480 × 480 canvas's worth of
// memory (691,200 bytes) between warm buffers. Each program measures it in its own run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace lumipad {

inline void measureCanvasMemcpy(benchmark::State& state) {
    std::vector<std::uint8_t> from(691200, 7), to(691200);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

}  // namespace lumipad
