#include "types/BuiltinProcedure.h"

#include <cstring>

#include "types/SymbolItem.h"

BuiltinProcedure::BuiltinProcedure()
{
    std::memset(&record_, 0, sizeof record_);
}

BuiltinProcedure::BuiltinProcedure(const InitializationData& data) : BuiltinProcedure()
{
    record_.entry.builtin.kind = SE_BUILTIN_PROCEDURE;
    record_.entry.builtin.name = data.name;
    record_.entry.builtin.buffer = data.buffer;
    record_.entry.builtin.type = data.type;
    record_.entry.builtin.resultCode = data.resultCode;
}

BuiltinProcedure* BuiltinProcedure::getProcData(const char*)
{
    return nullptr;
}

const void* BuiltinProcedure::procSym(const SymbolItem& symbol)
{
    return symbol.descriptor();
}
