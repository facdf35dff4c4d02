#include "testhost/HostRecordStore.h"

// COBOL condition names: the condition-value table a code-16385 symbol
// entry points to, with the values' bytes in the store.

_SYMBOL_ENTRY& HostRecordStore::conditionName(const std::string& name, TYPE_INDEX dataType,
                                              const std::vector<ConditionValue>& values,
                                              const std::vector<std::pair<ConditionValue, ConditionValue>>& ranges)
{
    auto record = [this](const ConditionValue& v) {
        TNconditionValue r{};
        r.type = v.type;
        r.value = bytes(v.bytes);
        return r;
    };
    std::vector<TNconditionValue>& single = _conditionValues.emplace_back();
    for (const ConditionValue& v : values)
        single.push_back(record(v));
    std::vector<TNconditionRange>& pairs = _conditionRanges.emplace_back();
    for (const auto& [low, high] : ranges)
        pairs.push_back(TNconditionRange{record(low), record(high)});

    TNconditionElement& element = keep<TNconditionElement>();
    element.name = text(name);
    element.valueCount = static_cast<UBYTE2>(single.size());
    element.rangeCount = static_cast<UBYTE2>(pairs.size());
    element.values = single.empty() ? nullptr : single.data();
    element.ranges = pairs.empty() ? nullptr : pairs.data();

    _SYMBOL_ENTRY& s = newSymbol(SE_CONDITION_NAME, name);
    s.typed.type = dataType;
    s.typed.u.condition = &element;
    return s;
}
