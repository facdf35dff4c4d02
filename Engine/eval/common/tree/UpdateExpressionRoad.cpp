#include "tree/UpdateExpressionRoad.h"

#include <atomic>

#include "services/SVC.h"

namespace {

// The road in force while none is installed: nothing can be built.
class RefusingRoad : public UpdateExpressionRoad {
public:
    std::uint16_t build(const unsigned char*, const LCC_Eval_Context_Info*, int,
                        ExpressionRepresentation*& representation) override
    {
        representation = nullptr;
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "The expression road of value updates is not installed");
        return 10000;
    }
    std::uint16_t validate(ExpressionRepresentation&, const LCC_Eval_Context_Info*) override { return 10000; }
    std::uint16_t evaluate(ExpressionRepresentation&, const LCC_Eval_Context_Info*, StackItem*& result) override
    {
        result = nullptr;
        return 10000;
    }
    void freeResult(StackItem*) override {}
    void freeTypeResult(StackItem*) override {}
    void freeRepresentation(ExpressionRepresentation*) override {}
};

std::atomic<UpdateExpressionRoad*> installed{nullptr};

} // namespace

UpdateExpressionRoad::~UpdateExpressionRoad() = default;

UpdateExpressionRoad& UpdateExpressionRoad::current()
{
    static RefusingRoad refusing;
    UpdateExpressionRoad* road = installed.load(std::memory_order_acquire);
    return road != nullptr ? *road : refusing;
}

void UpdateExpressionRoad::install(UpdateExpressionRoad* road)
{
    installed.store(road, std::memory_order_release);
}
