// Expanding an array's tree through the entry points: the root of an array
// of n ints (n = 1,000 and 100,000), then each of its n elements asked for
// and formatted, as a host fills a view. Each element must cost the same
// whatever n is: the time per element of the two rows stays alike. A third
// figure formats the first 100 elements of a 1,000,000-element array.

#include <string>

#include <benchmark/benchmark.h>

#include "BenchHost.h"
#include "api/ExpressionEntryPoints.h"
#include "api/PluginEntryPoints.h"
#include "api/TreeNodeEntryPoints.h"
#include "testhost/ProgramFile.h"

namespace {

// A program of one array v of count ints in a section of its own (element
// i holds i; of the largest only the first thousand are stored), made once
// per count.
const ProgramFile& arrayProgram(unsigned count)
{
    static const bool initialized = DbgInitialize(&BenchHost::instance().host.table()) == 1;
    (void)initialized;
    auto make = [](unsigned n, unsigned section) {
        TestHost& host = BenchHost::instance().host;
        ProgramFile::Options o;
        o.section = section;
        ProgramFile p = ProgramFile::read("language c\nint n;\n", host, o);
        const UBYTE8 base = UBYTE8(section) << 24;
        host.addSection(section + 100, base);
        host.declare(
            *const_cast<LCC_Eval_Context_Info*>(p.context()),
            host.records().staticVariable("v", host.records().arrayType(TYPE_INDEX{0, 130}, 4 * n), section + 100, 0));
        for (unsigned i = 0; i < n && i < 100000; ++i)
            host.memory().storeBigEndian(base + 4 * UBYTE8(i), i, 4);
        return p;
    };
    static const ProgramFile programs[3] = {make(1000, 4), make(100000, 5), make(1000000, 6)};
    return programs[count == 1000 ? 0 : count == 100000 ? 1 : 2];
}

// Expands `shown` elements of the array of `count` ints.
void expand(benchmark::State& state, unsigned count, unsigned shown)
{
    const ProgramFile& p = arrayProgram(count);
    BenchHost& bench = BenchHost::instance();
    std::string text = "v";
    ExpressionRepresentation* rep = nullptr;
    StackItem* type = nullptr;
    if (DbgBuildExprIntRep(reinterpret_cast<unsigned char*>(text.data()), p.context(),
                           static_cast<UBYTE4>(p.languageCode()), 0, &rep) != 0 ||
        DbgValidateExpr(rep, p.context(), &type) >= 10000) {
        state.SkipWithError("the array does not validate");
    } else {
        for (auto _ : state) {
            // Each round a fresh result, whose tree has no element yet.
            state.PauseTiming();
            StackItem* result = nullptr;
            UBYTE1* name = nullptr;
            const UBYTE2 evaluated = DbgEvaluateExpr(rep, p.context(), &result, &name);
            state.ResumeTiming();
            UpdateTreeNode* root = nullptr;
            UBYTE4 elements = 0;
            BYTE4 first = 0;
            if (evaluated != 0 || DbgBuildRootNodeInfo(result, &root) != 0 ||
                DbgQueryArrayInfo(result, root, &elements, &first) != 0 || elements != count) {
                state.SkipWithError("no array");
                DbgFreeTreeNodeInfo(root);
                DbgFreeEvalResultInfo(result);
                break;
            }
            for (unsigned i = 1; i <= shown; ++i) {
                UpdateTreeNode* element = nullptr;
                UBYTE1* value = nullptr;
                if (Dbg2QueryArrayElementInfo(result, root, i, &element) != 0 ||
                    DbgFormatTreeValue2a(element, 0, result, &value, 64) != 0) {
                    state.SkipWithError("an element does not format");
                    DbgFreeTreeNodeInfo(element);
                    break;
                }
                benchmark::DoNotOptimize(value);
                DbgFreeTreeNodeInfo(element);
                // The host logs every call: keep its log short.
                if (i % 1024 == 0)
                    bench.host.clearCalls();
            }
            state.PauseTiming();
            DbgFreeTreeNodeInfo(root);
            DbgFreeEvalResultInfo(result);
            bench.host.clearCalls();
            state.ResumeTiming();
        }
        state.SetItemsProcessed(static_cast<long long>(state.iterations()) * shown);
    }
    DbgFreeTypeResultInfo(type);
    DbgFreeExprIntRep(rep);
    bench.host.clearCalls();
}

// TreeExpand/n: all n elements of an array of n.
void TreeExpand(benchmark::State& state)
{
    const auto n = static_cast<unsigned>(state.range(0));
    expand(state, n, n);
}

void TreeFirst100Of1000000(benchmark::State& state)
{
    expand(state, 1000000, 100);
}

} // namespace

BENCHMARK(TreeExpand)->Arg(1000)->Arg(100000);
BENCHMARK(TreeFirst100Of1000000);
