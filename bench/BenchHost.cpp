#include "BenchHost.h"

#include <stdexcept>
#include <string>

#include "api/ExpressionEntryPoints.h"
#include "testhost/QuietSlots.h"

BenchHost& BenchHost::instance()
{
    static BenchHost bench;
    return bench;
}

BenchHost::BenchHost()
{
    usual = host.table();
    makeQuiet(host);
    if (!host.install())
        throw std::runtime_error("the evaluator refused the simulated host");
    context = &host.addContext("main", CS2_FUNCTION);
    context->locationType = 4;
    host.memory().storeBigEndian(intAddress, 42, 4);
    // Lives as long as the process, as the host does.
    rep_ = new ExpressionRepresentation(1, nullptr);
    rep_->setAddressSize(8);
}

ExpressionRepresentation& BenchHost::representation()
{
    rep_->makeCurrent(context);
    return *rep_;
}

void BenchHost::evaluateAgain(benchmark::State& state, ExpressionRepresentation& rep,
                              const LCC_Eval_Context_Info* context)
{
    unsigned runs = 0;
    for (auto _ : state) {
        StackItem* result = nullptr;
        UBYTE1* name = nullptr;
        const UBYTE2 status = DbgEvaluateExpr(&rep, context, &result, &name);
        DbgFreeEvalResultInfo(result);
        if (status != 0) {
            state.SkipWithError(("evaluation answered " + std::to_string(status)).c_str());
            break;
        }
        // The host logs every call it does not answer quietly: keep its log short.
        if (++runs % 1024 == 0)
            host.clearCalls();
    }
}
