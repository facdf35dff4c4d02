#ifndef NORVEXA_TESTHOST_HOSTCONTEXT_H
#define NORVEXA_TESTHOST_HOSTCONTEXT_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "HostRecords.h"

// The simulated host's context record. The evaluator only ever holds
// pointers to it (the type is opaque on its side); the simulated host reads
// and the tests set the fields below. Contexts are made by TestHost, which
// owns them.
struct LCC_Eval_Context_Info {
    std::string name;
    CONTEXT_SCOPE2 kind = CS2_UNKNOWN;
    // The containing context (null for the outermost).
    const LCC_Eval_Context_Info* container = nullptr;
    // What slot 14 answers beside the container (its "32-bit result").
    UBYTE4 containingResult = 0;
    // Slot 20's answer.
    _SYMBOL_ENTRY* blockSymbol = nullptr;
    // Slot 12's answer: 4 for a program with 8-byte addresses.
    UBYTE2 locationType = 4;
    // Slot 53's answer ("" when the context names no code page).
    std::string codePage;
    // The frame base DW_OP_fbreg starts from when the context is evaluated
    // without a call-stack frame.
    std::optional<UBYTE8> frameBase;
    // Slot 31's answer.
    EE_ADDR threadStaticBase{64, 0, 0};
    // The symbols declared directly in the context, in declaration order.
    std::vector<_SYMBOL_ENTRY*> symbols;
    // The same symbols by name folded to lower case, each list in
    // declaration order: a search reads the one list of its name, whatever
    // the number of symbols declared.
    std::unordered_map<std::string, std::vector<_SYMBOL_ENTRY*>> symbolsByName;
    // Symbols of this context and the contexts inside it match regardless of
    // case (a Fortran or COBOL program).
    bool caseInsensitive = false;
    // The contexts directly inside this one, in the order they were made.
    std::vector<const LCC_Eval_Context_Info*> contained;
};

// The key of a name in symbolsByName: folded to lower case, as the
// searches that ignore case compare; "" for none.
inline std::string foldedName(const char* name)
{
    std::string key = name != nullptr ? name : "";
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return key;
}

#endif
