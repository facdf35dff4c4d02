// The road through the entry points, on programs read into the benchmarks'
// simulated host: C "a + b" and "s.arr[i] * 2 + p->x", COBOL
// "FLD OF GRP * 3 + 1" and a COMPUTE over COMP-3 fields. Cold: a build and a
// validation, timed by hand, the release of what they made outside the
// time. Warm: one validated representation evaluated again and again, each
// result released.

#include <chrono>
#include <string>

#include <benchmark/benchmark.h>

#include "BenchHost.h"
#include "RoadPrograms.h"
#include "api/ExpressionEntryPoints.h"
#include "api/PluginEntryPoints.h"
#include "testhost/ProgramFile.h"

namespace {

struct RoadText {
    const char* text;
    bool cobol;
};

// The programs, read once into the benchmarks' host in sections of their
// own (the host's own int lies below them).
const ProgramFile& program(bool cobol)
{
    // The entry points validate and evaluate only once a host initialised
    // the evaluator; the benchmarks' host stays for the process.
    static const bool initialized = DbgInitialize(&BenchHost::instance().host.table()) == 1;
    (void)initialized;
    static const ProgramFile programs[2] = {
        [] {
            ProgramFile::Options o;
            o.section = 2;
            return ProgramFile::read(cProgram, BenchHost::instance().host, o);
        }(),
        [] {
            ProgramFile::Options o;
            o.section = 3;
            return ProgramFile::read(cobolProgram, BenchHost::instance().host, o);
        }(),
    };
    return programs[cobol ? 1 : 0];
}

void RoadCold(benchmark::State& state, RoadText road)
{
    const ProgramFile& p = program(road.cobol);
    BenchHost& bench = BenchHost::instance();
    std::string text = road.text;
    unsigned runs = 0;
    for (auto _ : state) {
        ExpressionRepresentation* rep = nullptr;
        StackItem* type = nullptr;
        const auto start = std::chrono::steady_clock::now();
        const UBYTE2 built = DbgBuildExprIntRep(reinterpret_cast<unsigned char*>(text.data()), p.context(),
                                                static_cast<UBYTE4>(p.languageCode()), 0, &rep);
        const UBYTE2 validated = built == 0 ? DbgValidateExpr(rep, p.context(), &type) : built;
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        DbgFreeTypeResultInfo(type);
        DbgFreeExprIntRep(rep);
        if (validated >= 10000) {
            state.SkipWithError(("validation answered " + std::to_string(validated)).c_str());
            break;
        }
        // The host logs every call: keep its log short.
        if (++runs % 256 == 0)
            bench.host.clearCalls();
    }
    bench.host.clearCalls();
}

void RoadWarm(benchmark::State& state, RoadText road)
{
    const ProgramFile& p = program(road.cobol);
    BenchHost& bench = BenchHost::instance();
    std::string text = road.text;
    ExpressionRepresentation* rep = nullptr;
    StackItem* type = nullptr;
    if (DbgBuildExprIntRep(reinterpret_cast<unsigned char*>(text.data()), p.context(),
                           static_cast<UBYTE4>(p.languageCode()), 0, &rep) != 0 ||
        DbgValidateExpr(rep, p.context(), &type) >= 10000) {
        state.SkipWithError("the expression does not validate");
        DbgFreeTypeResultInfo(type);
        DbgFreeExprIntRep(rep);
        return;
    }
    bench.evaluateAgain(state, *rep, p.context());
    DbgFreeTypeResultInfo(type);
    DbgFreeExprIntRep(rep);
    bench.host.clearCalls();
}

const RoadText cSum{"a + b", false};
const RoadText cMembers{"s.arr[i] * 2 + p->x", false};
const RoadText cobolGroup{"FLD OF GRP * 3 + 1", true};
const RoadText cobolCompute{"COMPUTE TOTAL = PRICE * QTY + TAX", true};

} // namespace

BENCHMARK_CAPTURE(RoadCold, c_sum, cSum)->UseManualTime();
BENCHMARK_CAPTURE(RoadCold, c_members, cMembers)->UseManualTime();
BENCHMARK_CAPTURE(RoadCold, cobol_group, cobolGroup)->UseManualTime();
BENCHMARK_CAPTURE(RoadCold, cobol_compute, cobolCompute)->UseManualTime();
BENCHMARK_CAPTURE(RoadWarm, c_sum, cSum);
BENCHMARK_CAPTURE(RoadWarm, c_members, cMembers);
BENCHMARK_CAPTURE(RoadWarm, cobol_group, cobolGroup);
BENCHMARK_CAPTURE(RoadWarm, cobol_compute, cobolCompute);
