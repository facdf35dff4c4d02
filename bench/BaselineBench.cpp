// The baseline: a fixed workload that uses none of our code, measured in
// the same run as every figure, so that a figure reads as a ratio to it
// (a 64-byte allocation freed again, and a short chain of multiply-adds).

#include <cstdint>
#include <cstdlib>

#include <benchmark/benchmark.h>

namespace {

void Baseline(benchmark::State& state)
{
    std::uint64_t x = 0x9E3779B97F4A7C15ull;
    for (auto _ : state) {
        void* block = std::malloc(64);
        benchmark::DoNotOptimize(block);
        std::free(block);
        for (int i = 0; i < 8; ++i) {
            x = x * 6364136223846793005ull + 1442695040888963407ull;
            benchmark::DoNotOptimize(x);
        }
    }
}
BENCHMARK(Baseline);

} // namespace
