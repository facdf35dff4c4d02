// The costs that must grow no faster than the work: a member chain
// x.m.m...m.v of 10, 100 and 250 levels (cold: a build and a validation;
// the deepest chain stays within the evaluator's nesting limit of 256 levels;
// warm: an evaluation of the validated chain), a cast to a pointer type of
// 1,000 declarators, and the simulated host's symbol search in a context of
// 100 and of 100,000 symbols. report.py prints the member chains' cost per
// level and the search's ratio between the two contexts beside their goals.

#include <chrono>
#include <map>
#include <string>

#include <benchmark/benchmark.h>

#include "BenchHost.h"
#include "api/ExpressionEntryPoints.h"
#include "api/PluginEntryPoints.h"
#include "testhost/ProgramFile.h"

namespace {

// A program whose x holds a chain of nested structs `levels` deep, read
// into the benchmarks' host once per depth, each in a section of its own.
const ProgramFile& chainProgram(int levels)
{
    static const bool initialized = DbgInitialize(&BenchHost::instance().host.table()) == 1;
    (void)initialized;
    static std::map<int, ProgramFile> programs;
    auto found = programs.find(levels);
    if (found != programs.end())
        return found->second;
    std::string text = "language c\nstruct t0 { int v; };\n";
    for (int k = 1; k <= levels; ++k)
        text += "struct t" + std::to_string(k) + " { struct t" + std::to_string(k - 1) + " m; };\n";
    text += "struct t" + std::to_string(levels) + " x;\n";
    ProgramFile::Options o;
    o.section = 10 + static_cast<unsigned>(programs.size());
    return programs.emplace(levels, ProgramFile::read(text, BenchHost::instance().host, o)).first->second;
}

std::string chainText(int levels)
{
    std::string text = "x";
    for (int k = 0; k < levels; ++k)
        text += ".m";
    return text + ".v";
}

// Builds and validates text; the representation, or null (the state then
// carries the error).
ExpressionRepresentation* validated(benchmark::State& state, const ProgramFile& p, std::string text, StackItem*& type)
{
    ExpressionRepresentation* rep = nullptr;
    const UBYTE2 built = DbgBuildExprIntRep(reinterpret_cast<unsigned char*>(text.data()), p.context(),
                                            static_cast<UBYTE4>(p.languageCode()), 0, &rep);
    const UBYTE2 status = built == 0 ? DbgValidateExpr(rep, p.context(), &type) : built;
    if (status >= 10000) {
        state.SkipWithError(("validation answered " + std::to_string(status)).c_str());
        DbgFreeTypeResultInfo(type);
        DbgFreeExprIntRep(rep);
        type = nullptr;
        return nullptr;
    }
    return rep;
}

void ColdText(benchmark::State& state, const ProgramFile& p, const std::string& text)
{
    BenchHost& bench = BenchHost::instance();
    for (auto _ : state) {
        StackItem* type = nullptr;
        const auto start = std::chrono::steady_clock::now();
        ExpressionRepresentation* rep = validated(state, p, text, type);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        DbgFreeTypeResultInfo(type);
        DbgFreeExprIntRep(rep);
        bench.host.clearCalls();
        if (rep == nullptr)
            break;
    }
}

void MemberChainCold(benchmark::State& state)
{
    const int levels = static_cast<int>(state.range(0));
    ColdText(state, chainProgram(levels), chainText(levels));
}

void MemberChainWarm(benchmark::State& state)
{
    const int levels = static_cast<int>(state.range(0));
    const ProgramFile& p = chainProgram(levels);
    BenchHost& bench = BenchHost::instance();
    StackItem* type = nullptr;
    ExpressionRepresentation* rep = validated(state, p, chainText(levels), type);
    if (rep == nullptr)
        return;
    bench.evaluateAgain(state, *rep, p.context());
    DbgFreeTypeResultInfo(type);
    DbgFreeExprIntRep(rep);
    bench.host.clearCalls();
}

// "(int" and 1,000 "*" closing a cast of 0.
void PointerDeclarators(benchmark::State& state)
{
    const int stars = static_cast<int>(state.range(0));
    ColdText(state, chainProgram(10), "(int" + std::string(static_cast<size_t>(stars), '*') + ")0");
}

// The simulated host's own symbol search (its usual slot, which logs the
// call) for the last of `symbols` declared names.
void HostSymbolSearch(benchmark::State& state)
{
    const int symbols = static_cast<int>(state.range(0));
    BenchHost& bench = BenchHost::instance();
    static std::map<int, LCC_Eval_Context_Info*> contexts;
    LCC_Eval_Context_Info*& context = contexts[symbols];
    if (context == nullptr) {
        context = &bench.host.addContext("search" + std::to_string(symbols), CS2_FUNCTION);
        const TYPE_INDEX i32 = bench.host.records().integerType(32, false);
        for (int k = 0; k < symbols; ++k)
            bench.host.declare(*context, bench.host.records().staticVariable("v" + std::to_string(k), i32, 1, 0));
    }
    std::string name = "v" + std::to_string(symbols - 1);
    unsigned runs = 0;
    for (auto _ : state) {
        SYMBOL_ENTRY* entry = nullptr;
        const int rc =
            bench.usual.ExprSearchForSymbolEntry(context, reinterpret_cast<UBYTE1*>(name.data()), 1, 0, &entry);
        if (rc != 0 || entry == nullptr) {
            state.SkipWithError("the search found nothing");
            break;
        }
        if (++runs % 1024 == 0)
            bench.host.clearCalls();
    }
    bench.host.clearCalls();
}

} // namespace

BENCHMARK(MemberChainCold)->Arg(10)->Arg(100)->Arg(250)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(MemberChainWarm)->Arg(10)->Arg(100)->Arg(250)->Unit(benchmark::kMicrosecond);
BENCHMARK(PointerDeclarators)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(HostSymbolSearch)->Arg(100)->Arg(100000);
