#ifndef NORVEXA_BENCH_BENCHHOST_H
#define NORVEXA_BENCH_BENCHHOST_H

// The simulated host of the benchmarks, made once per process: installed in
// the evaluator linked into the program, with one function context of a
// 64-bit C program and an expression representation on it, and an int of
// the debuggee's memory at `intAddress`. Its memory reads and symbol
// searches answer without logging (testhost/QuietSlots.h): a host whose
// calls cost next to nothing, so that the figures are the evaluator's.
// `usual` keeps the simulated host's own slots, for the figures of the host
// itself.

#include <cstdint>

#include <benchmark/benchmark.h>

#include "services/ExpressionRepresentation.h"
#include "testhost/TestHost.h"

class BenchHost {
public:
    static BenchHost& instance();

    // Evaluates a validated representation once per iteration of the
    // state's loop, releasing each result; a failure ends the loop with the
    // status as the state's error.
    void evaluateAgain(benchmark::State& state, ExpressionRepresentation& rep, const LCC_Eval_Context_Info* context);

    // Makes the representation current on the calling thread.
    ExpressionRepresentation& representation();

    TestHost host{false};
    DBG2_SERVICE_FUNCTIONS usual{};
    LCC_Eval_Context_Info* context = nullptr;
    static constexpr std::uint64_t intAddress = 0x1000;

private:
    BenchHost();
    ExpressionRepresentation* rep_ = nullptr;
};

#endif
