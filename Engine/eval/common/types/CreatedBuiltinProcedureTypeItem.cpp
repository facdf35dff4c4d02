#include "types/CreatedBuiltinProcedureTypeItem.h"

#include "HostRecordAccess.h"

CreatedBuiltinProcedureTypeItem::CreatedBuiltinProcedureTypeItem(const TypeItem& result, const char* procedureName,
                                                                 unsigned first, unsigned second,
                                                                 const TYPE_INDEX& argumentList)
    : name_(procedureName != nullptr ? procedureName : "")
{
    TNfunction& r = record.function;
    r.leaf = TE_BUILTIN_PROCEDURE;
    r.flags = 32u | (typeIndexEmpty(argumentList) ? 0u : 16u);
    r.count1 = static_cast<UBYTE2>(first);
    r.count2 = static_cast<UBYTE2>(second);
    r.returnType = result.unsimplifiedTypeIndex();
    r.parameterList = argumentList;
    r.name = name_.c_str();
    useInlineEntry();
    finishConstruction();
}
