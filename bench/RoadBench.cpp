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
#include "api/ExpressionEntryPoints.h"
#include "api/PluginEntryPoints.h"
#include "testhost/ProgramFile.h"

namespace {

struct RoadText {
    const char* text;
    bool cobol;
};

const char* const cProgram = R"(language c
int a = 3;
int b = 4;
int i = 2;
struct holder { int arr[4]; int x; } s = {{1, 2, 3, 4}, 5};
struct holder *p = &s;
)";

const char* const cobolProgram = R"(language cobol
       01 GRP.
          05 FLD       PIC S9(3)V99 VALUE 12.5.
       77 PRICE        PIC S9(5)V99 COMP-3 VALUE 19.99.
       77 QTY          PIC S9(3) COMP-3 VALUE 3.
       77 TAX          PIC S9(3)V99 COMP-3 VALUE 1.25.
       77 TOTAL        PIC S9(7)V99 COMP-3 VALUE 0.
)";

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
    unsigned runs = 0;
    for (auto _ : state) {
        StackItem* result = nullptr;
        UBYTE1* name = nullptr;
        const UBYTE2 status = DbgEvaluateExpr(rep, p.context(), &result, &name);
        DbgFreeEvalResultInfo(result);
        if (status != 0) {
            state.SkipWithError(("evaluation answered " + std::to_string(status)).c_str());
            break;
        }
        if (++runs % 1024 == 0)
            bench.host.clearCalls();
    }
    DbgFreeTypeResultInfo(type);
    DbgFreeExprIntRep(rep);
    bench.host.clearCalls();
}

const RoadText cSum{"a + b", false};
const RoadText cMembers{"s.arr[i] * 2 + p->x", false};
const RoadText cobolGroup{"FLD OF GRP * 3 + 1", true};
const RoadText cobolCompute{"COMPUTE TOTAL = PRICE * QTY + TAX", true};

}  // namespace

BENCHMARK_CAPTURE(RoadCold, c_sum, cSum)->UseManualTime();
BENCHMARK_CAPTURE(RoadCold, c_members, cMembers)->UseManualTime();
BENCHMARK_CAPTURE(RoadCold, cobol_group, cobolGroup)->UseManualTime();
BENCHMARK_CAPTURE(RoadCold, cobol_compute, cobolCompute)->UseManualTime();
BENCHMARK_CAPTURE(RoadWarm, c_sum, cSum);
BENCHMARK_CAPTURE(RoadWarm, c_members, cMembers);
BENCHMARK_CAPTURE(RoadWarm, cobol_group, cobolGroup);
BENCHMARK_CAPTURE(RoadWarm, cobol_compute, cobolCompute);
