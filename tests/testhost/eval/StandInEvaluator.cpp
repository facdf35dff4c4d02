// A stand-in for libnorvexa.so that norvexa-eval's tests load in its place:
// it exports main and the entry points the example calls, answers from the
// expression's text alone (no parsing), changes memory through the host's
// service table as an assignment does, and reports on leaving every object
// the host did not free. It shows that the example passes, prints and frees
// what a library hands it, whatever the state of the evaluator.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "HostRecordAccess.h"
#include "HostRecords.h"

// The handles carry the evaluator's class names, so that a host calls each
// entry point through a pointer of its own function type.
struct ExpressionRepresentation {
    std::string text;
    UBYTE4 language = 0;
    bool validated = false;
};
struct StackItem {
    bool sql = false;
};
struct UpdateTreeNode {
    std::string formatted;
};

namespace {

DBG2_SERVICE_FUNCTIONS* services = nullptr;
int live = 0;

using Rep = ExpressionRepresentation;
using Item = StackItem;
using Node = UpdateTreeNode;

bool contains(const std::string& s, const char* part)
{
    return s.find(part) != std::string::npos;
}

// "NAME = NUMBER": the name and the number.
bool assignment(const std::string& text, std::string& name, long& value)
{
    const size_t equals = text.find(" = ");
    if (equals == std::string::npos || contains(text, "=="))
        return false;
    name = text.substr(0, equals);
    value = std::strtol(text.c_str() + equals + 3, nullptr, 10);
    return true;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) UBYTE4 DbgVersion()
{
    return 200;
}

__attribute__((visibility("default"))) BYTE4 DbgInitialize(DBG2_SERVICE_FUNCTIONS* table)
{
    services = table;
    return 1;
}

__attribute__((visibility("default"))) void DbgTerminateRunTime()
{
    if (live != 0)
        std::fprintf(stderr, "stand-in: %d objects not freed\n", live);
}

// The plug-in's entry, exported as main.
__attribute__((visibility("default"))) int pluginMain(std::uintptr_t* table) __asm__("main");
int pluginMain(std::uintptr_t* table)
{
    const std::uintptr_t size = table[0];
    if (size >= 3 * sizeof(std::uintptr_t)) {
        table[1] = reinterpret_cast<std::uintptr_t>(&DbgVersion);
        table[2] = reinterpret_cast<std::uintptr_t>(&DbgInitialize);
    }
    return 0;
}

__attribute__((visibility("default"))) UBYTE2 DbgBuildExprIntRep(unsigned char* text, const LCC_Eval_Context_Info*,
                                                                 UBYTE4 language, UBYTE4, Rep** out)
{
    if (text == nullptr || out == nullptr)
        return 10000;
    *out = new Rep{reinterpret_cast<const char*>(text), language};
    ++live;
    return 0;
}

__attribute__((visibility("default"))) UBYTE2 DbgValidateExpr(Rep* rep, const LCC_Eval_Context_Info*, Item** out)
{
    std::string name;
    long value = 0;
    if (contains(rep->text, "nosuch"))
        return 11002;
    *out = new Item{rep->language == 18};
    ++live;
    rep->validated = true;
    return assignment(rep->text, name, value) ? 1003 : 0;
}

__attribute__((visibility("default"))) UBYTE2 DbgTestExpr(Rep* rep, const LCC_Eval_Context_Info*)
{
    if (contains(rep->text, "/ ("))
        return 10007;
    return contains(rep->text, "== 7") ? 0 : 10000;
}

__attribute__((visibility("default"))) UBYTE2 DbgEvaluateExpr(Rep* rep, const LCC_Eval_Context_Info* context,
                                                              Item** result, UBYTE1** name)
{
    *result = nullptr;
    if (contains(rep->text, "/ ("))
        return 10007;
    std::string target;
    long value = 0;
    if (assignment(rep->text, target, value)) {
        SYMBOL_LIST* found = nullptr;
        std::string copy = target;
        if (services->Expr2SearchForSymbolEntries(context, reinterpret_cast<UBYTE1*>(copy.data()), 1, 0, &found) != 0)
            return 10000;
        const _SYMBOL_ENTRY& symbol = *symbolListEntry(found, 0);
        EE_ADDR base{};
        services->Expr2MapSection(context, symbolEntrySection(symbol), &base);
        const UBYTE8 address = ((UBYTE8{base.addrHigh} << 32) | base.addrLow) + symbolEntryOffset(symbol);
        const UBYTE1 bytes[4] = {static_cast<UBYTE1>(value >> 24), static_cast<UBYTE1>(value >> 16),
                                 static_cast<UBYTE1>(value >> 8), static_cast<UBYTE1>(value)};
        UBYTE4 written = 0;
        services->Expr2WriteMemory(
            context, EE_ADDR{base.width, static_cast<UBYTE4>(address), static_cast<UBYTE4>(address >> 32)}, 4, bytes,
            &written);
    }
    *result = new Item{rep->language == 18};
    ++live;
    *name = reinterpret_cast<UBYTE1*>(rep->text.data());
    return 0;
}

__attribute__((visibility("default"))) const UBYTE1* DbgExtendedErrorInfo(Rep* rep, const UBYTE1*)
{
    static std::string text;
    text = "  >> " + rep->text + "\n\nstand-in failure";
    return reinterpret_cast<const UBYTE1*>(text.c_str());
}

__attribute__((visibility("default"))) UBYTE2 DbgBuildRootNodeInfo(Item* item, Node** out)
{
    *out = new Node{item->sql ? "-123.45" : "stand-in value"};
    ++live;
    return 0;
}

__attribute__((visibility("default"))) UBYTE2 DbgQueryResultType(Item*, Node*, UBYTE2* count, UBYTE2** reps,
                                                                 UBYTE2** kinds, UBYTE2* defaultRep, UBYTE1** typeName)
{
    static UBYTE2 offered[2] = {2, 1};
    static UBYTE2 shapes[2] = {0, 0};
    *count = 2;
    *reps = offered;
    *kinds = shapes;
    *defaultRep = 2;
    *typeName = reinterpret_cast<UBYTE1*>(const_cast<char*>("DECIMAL(5,2)"));
    return 0;
}

__attribute__((visibility("default"))) UBYTE2 DbgFormatTreeValue2a(Node* node, UBYTE2 rep, Item*, UBYTE1** out, UBYTE4)
{
    // 0: the default representation, decimal.
    if (rep != 0 && rep != 2)
        return 10000;
    *out = reinterpret_cast<UBYTE1*>(node->formatted.data());
    return 0;
}

__attribute__((visibility("default"))) void DbgFreeTreeNodeInfo(Node* node)
{
    if (node != nullptr) {
        delete node;
        --live;
    }
}

__attribute__((visibility("default"))) void DbgFreeEvalResultInfo(Item* item)
{
    if (item != nullptr) {
        delete item;
        --live;
    }
}

__attribute__((visibility("default"))) void DbgFreeTypeResultInfo(Item* item)
{
    DbgFreeEvalResultInfo(item);
}

__attribute__((visibility("default"))) void DbgFreeExprIntRep(Rep* rep)
{
    if (rep != nullptr) {
        delete rep;
        --live;
    }
}

} // extern "C"
