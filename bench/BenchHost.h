#ifndef NORVEXA_BENCH_BENCHHOST_H
#define NORVEXA_BENCH_BENCHHOST_H

// The simulated host of the benchmarks, made once per process: installed in
// the evaluator linked into the program, with one function context of a
// 64-bit C program and an expression representation on it, and an int of
// the debuggee's memory at `intAddress`.

#include <cstdint>

#include "services/ExpressionRepresentation.h"
#include "testhost/TestHost.h"

class BenchHost {
public:
    static BenchHost& instance();

    // Makes the representation current on the calling thread.
    ExpressionRepresentation& representation();

    TestHost host{false};
    LCC_Eval_Context_Info* context = nullptr;
    static constexpr std::uint64_t intAddress = 0x1000;

private:
    BenchHost();
    ExpressionRepresentation* rep_ = nullptr;
};

#endif
