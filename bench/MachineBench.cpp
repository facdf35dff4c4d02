// The value stack: an integer item pushed and popped, as the replay loop
// does with every operand, and the load that makes the item first; and the
// simulated host's memory read alone (a 4-byte read through the host's
// service table), the share of the host in a figure that reads memory.

#include <memory>

#include <benchmark/benchmark.h>

#include "BenchHost.h"
#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"
#include "machine/StackItemS.h"

namespace {

void StackPushPop(benchmark::State& state)
{
    ExpressionRepresentation& rep = BenchHost::instance().representation();
    RuntimeStack& stack = rep.runtimeStack();
    StackItem* item = new StackItemS4(rep, 42);
    for (auto _ : state) {
        stack.push(item);
        item = stack.pop();
        benchmark::DoNotOptimize(item);
    }
    delete item;
}
BENCHMARK(StackPushPop);

void StackLoadPop(benchmark::State& state)
{
    RuntimeStack& stack = BenchHost::instance().representation().runtimeStack();
    for (auto _ : state) {
        stack.genLoadIntegralConstant(42, 1, 4);
        std::unique_ptr<StackItem> item(stack.pop());
        benchmark::DoNotOptimize(item.get());
    }
}
BENCHMARK(StackLoadPop);

void HostMemoryRead(benchmark::State& state)
{
    BenchHost& bench = BenchHost::instance();
    const EE_ADDR address{64, static_cast<UBYTE4>(BenchHost::intAddress), 0};
    unsigned char buffer[4];
    UBYTE4 read = 0;
    unsigned calls = 0;
    for (auto _ : state) {
        const int rc = bench.host.table().Expr2ReadMemory(bench.context, address, 4, buffer, &read);
        benchmark::DoNotOptimize(rc);
        benchmark::DoNotOptimize(buffer);
        // The host logs every call: keep its log short.
        if (++calls % 4096 == 0)
            bench.host.clearCalls();
    }
    bench.host.clearCalls();
}
BENCHMARK(HostMemoryRead);

} // namespace
