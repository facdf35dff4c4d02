#include "machine/RuntimeStack.h"

#include <memory>

#include "HostRecordAccess.h"
#include "machine/StackItem.h"
#include "machine/StackItemU.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

// COBOL condition names (level 88): whether the data item's value is one of
// the condition's values or lies in one of its ranges.

namespace {

// The condition value as an item of the data item's type: read from the
// evaluator's own memory, then converted when its type is another.
std::unique_ptr<StackItem> conditionValue(const TNconditionValue& value, const StackItem& data,
                                          const LCC_Eval_Context_Info* context)
{
    const TypeItem type{TYPE_INDEX(value.type)};
    std::unique_ptr<StackItem> item(RuntimeStack::makeStackItem(type, context));
    DebuggeeLocation where;
    where = const_cast<void*>(value.value);
    item->load(where);
    if (type == data.type())
        return item;
    std::unique_ptr<StackItem> converted(RuntimeStack::makeStackItem(data.type(), context));
    converted->genConvert(*item);
    return converted;
}

} // namespace

void RuntimeStack::genLoadCondvarSym(const SymbolItem& condition)
{
    if (!isRunning())
        return;
    const SYMBOL_ENTRY* entry = condition.entry();
    const TNconditionElement* table = entry != nullptr ? symbolEntryCondition(*entry) : nullptr;
    if (table == nullptr)
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    std::unique_ptr<StackItem> address(pop());
    if (!address->holdsAddress())
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);

    const LCC_Eval_Context_Info* context = address->scope() != nullptr ? address->scope()->context() : nullptr;
    // The pointee is the conditional variable's declared type: the qualifier
    // that leads to its condition names, over the item's own type. The
    // value is an item of the simplified type.
    const TypeItem dataType(address->type().pointee());
    std::unique_ptr<StackItem> data(makeStackItem(dataType, context));
    data->setScope(address->scope());
    data->load(address->asLocation());
    data->setLoadedFromVariable(true);
    // The conditional variable, when it is known by its name: the host shows
    // its value after the condition's. The copy holds the value it was
    // loaded with.
    if (address->name() != nullptr && address->name()[0] != 0) {
        EvaluationEnvironment& environment = *EvaluationEnvironment::currentRep();
        StackItem* variable = data->clone();
        variable->setLoadedFromVariable(false);
        environment.setConditionalVarItem(variable);
        environment.setConditionalVarName(address->name());
    }

    bool holds = false;
    for (unsigned i = 0; !holds && i < table->valueCount; ++i)
        holds = conditionValue(table->values[i], *data, context)->genEQ(*data) != 0;
    for (unsigned i = 0; !holds && i < table->rangeCount; ++i) {
        const std::unique_ptr<StackItem> low = conditionValue(table->ranges[i].low, *data, context);
        const std::unique_ptr<StackItem> high = conditionValue(table->ranges[i].high, *data, context);
        holds = low->genLE(*data) != 0 && data->genLE(*high) != 0;
    }
    auto result = std::make_unique<StackItemB1>(*EvaluationEnvironment::currentRep(), holds ? 1 : 0);
    push(result.get());
    result.release();
}
