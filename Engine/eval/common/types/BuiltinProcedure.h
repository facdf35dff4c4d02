#ifndef NORVEXA_TYPES_BUILTINPROCEDURE_H
#define NORVEXA_TYPES_BUILTINPROCEDURE_H

#include <cstdint>

#include "HostRecords.h"

class SymbolItem;

// A procedure the debugger itself provides. Its 80-byte record poses as a
// host symbol entry of storage code 16384: the code, then the built-in's
// head (buffer of its location, function type, result code). This system
// provides no built-in procedure, so no such record is ever made by name.
class BuiltinProcedure {
public:
    // What the constructor of one built-in needs.
    struct InitializationData {
        const char* name = nullptr;
        TYPE_INDEX type{};
        std::uint32_t resultCode = 0;
        void* buffer = nullptr;
    };

    // All 80 bytes zero.
    BuiltinProcedure();
    explicit BuiltinProcedure(const InitializationData& data);

    // The record of a built-in name in the current language; none exists.
    static BuiltinProcedure* getProcData(const char* name);
    // The procedure descriptor of a symbol.
    static const void* procSym(const SymbolItem& symbol);

    SYMBOL_ENTRY& entry() { return record_.entry; }

private:
    union Record {
        SYMBOL_ENTRY entry;
        unsigned char bytes[80];
    } record_;
};

static_assert(sizeof(SEbuiltin) <= 80, "a built-in record holds its head");

#endif
