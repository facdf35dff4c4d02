#include "testhost/HostRecordStore.h"

// COBOL condition names: the condition-value table a code-16385 symbol
// entry points to, with the values' bytes in the store; and conditional
// variables whose qualifier type carries their condition names.

TNconditionElement
HostRecordStore::conditionElement(const std::string& name, const std::vector<ConditionValue>& values,
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

    TNconditionElement element{};
    element.name = text(name);
    element.valueCount = static_cast<UBYTE2>(single.size());
    element.rangeCount = static_cast<UBYTE2>(pairs.size());
    element.values = single.empty() ? nullptr : single.data();
    element.ranges = pairs.empty() ? nullptr : pairs.data();
    return element;
}

_SYMBOL_ENTRY& HostRecordStore::conditionName(const std::string& name, TYPE_INDEX dataType,
                                              const std::vector<ConditionValue>& values,
                                              const std::vector<std::pair<ConditionValue, ConditionValue>>& ranges)
{
    TNconditionElement& element = keep<TNconditionElement>();
    element = conditionElement(name, values, ranges);

    _SYMBOL_ENTRY& s = newSymbol(SE_CONDITION_NAME, name);
    s.typed.type = dataType;
    s.typed.u.condition = &element;
    return s;
}

HostRecordStore::ConditionTable HostRecordStore::conditionalVariable(const std::string& name, TYPE_INDEX dataType,
                                                                     UBYTE4 section, UBYTE8 offset,
                                                                     const std::vector<Condition>& conditions)
{
    const TYPE_INDEX qualified = conditionQualifier(dataType, conditions);

    ConditionTable made;
    made.group = &staticVariable(name, qualified, section, offset);
    made.group->statics.attributeD = 1;
    for (const Condition& c : conditions) {
        _SYMBOL_ENTRY& s = newSymbol(SE_QUALIFIED_NAME, c.name);
        s.qualified.parent = made.group;
        made.conditions.push_back(&s);
    }
    return made;
}

HostRecordStore::ConditionTable HostRecordStore::conditionTable(const std::string& group, const std::string& table,
                                                                TYPE_INDEX dataType, UBYTE4 elementBytes, UBYTE4 occurs,
                                                                UBYTE4 section, UBYTE8 offset,
                                                                const std::vector<Condition>& conditions)
{
    const TYPE_INDEX qualified = conditionQualifier(dataType, conditions);

    ClassSpec spec;
    spec.name = group;
    spec.leaf = TE_GROUP;
    spec.byteSize = occurs * elementBytes;
    spec.members = {{table, arrayType(qualified, occurs * elementBytes), 0}};
    ConditionTable made;
    made.group = &staticVariable(group, classType(spec), section, offset);
    made.group->statics.attributeD = 1;
    made.table = &newSymbol(SE_QUALIFIED_NAME, table);
    made.table->qualified.parent = made.group;
    for (const Condition& c : conditions) {
        _SYMBOL_ENTRY& s = newSymbol(SE_QUALIFIED_NAME, c.name);
        s.qualified.parent = made.table;
        made.conditions.push_back(&s);
    }
    return made;
}

TYPE_INDEX HostRecordStore::conditionQualifier(TYPE_INDEX dataType, const std::vector<Condition>& conditions)
{
    std::vector<TNconditionElement>& elements = _conditionElements.emplace_back();
    for (const Condition& c : conditions)
        elements.push_back(conditionElement(c.name, c.values, c.ranges));
    _TYPE_ENTRY& names = newType(TE_CONDITION);
    names.condvar.count = static_cast<UBYTE4>(elements.size());
    names.condvar.conditions = elements.empty() ? nullptr : elements.data();
    TYPE_INDEX qualified{};
    _TYPE_ENTRY& qualifier = newType(TE_QUALIFIER, &qualified);
    qualifier.qualifier.type = dataType;
    qualifier.qualifier.conditions = &names.condvar;
    return qualified;
}
