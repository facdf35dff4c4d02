// Packed decimal add, subtract, multiply and divide at 15 and 31 digits through our
// routines. Each result is copied out of the routine's area, as callers do.
// The same operations on the same operands through GnuCOBOL's runtime are
// in LibcobPackedBench.cpp; bench.sh reports each pair as a ratio.

#include <cstring>

#include <benchmark/benchmark.h>

#include "PackedOperands.h"
#include "datatypes/PackedDecimalRoutines.h"

namespace {

template <PackedOperation operation>
void PackedOurs(benchmark::State& state)
{
    const PackedOperands& o = packedOperands(static_cast<int>(state.range(0)));
    unsigned char result[PackedDecimalMaxBytes];
    for (auto _ : state) {
        int digits = 0;
        const unsigned char* area = packedOurs(operation, o, &digits);
        if (area == nullptr) {
            state.SkipWithError("no result");
            break;
        }
        std::memcpy(result, area, static_cast<size_t>(digits / 2 + 1));
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(PackedOurs<PackedOperation::add>)->Name("PackedAdd/ours")->Arg(15)->Arg(31);
BENCHMARK(PackedOurs<PackedOperation::subtract>)->Name("PackedSubtract/ours")->Arg(15)->Arg(31);
BENCHMARK(PackedOurs<PackedOperation::multiply>)->Name("PackedMultiply/ours")->Arg(15)->Arg(31);
BENCHMARK(PackedOurs<PackedOperation::divide>)->Name("PackedDivide/ours")->Arg(15)->Arg(31);

} // namespace
