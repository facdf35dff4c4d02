// The handlers of loads, conversions and literal values.

#include <cinttypes>
#include <climits>
#include <string>

#include "compiler/InterfaceGuards.h"
#include "compiler/OpcodeHandlerSupport.h"
#include "compiler/OpcodeHandlers.h"
#include "machine/RuntimeStack.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

using opcodehandlers::currentStack;
using opcodehandlers::machineOperationUnavailable;
using opcodehandlers::symbolText;
using opcodehandlers::typeText;

namespace {

// A type operand: checked, then traced as "To type %s".
const TypeItem& typeConversion(const char* signature, unsigned line, const TypeItem* type)
{
    validateType(type, signature, line);
    NORVEXA_HANDLER_TRACE(signature, "To type %s", typeText(type));
    return *type;
}

// A type operand traced with its size.
void sizedType(const char* signature, unsigned line, const TypeItem* type)
{
    validateType(type, signature, line);
    NORVEXA_HANDLER_TRACE(signature, "type %s size %u", typeText(type), static_cast<unsigned>(type->typeSize()));
    machineOperationUnavailable(signature, line);
}

// A symbol operand, traced as "Loading symbol %s" or, for members, "Symbol %s".
void symbolLoad(const char* signature, unsigned line, const SymbolItem* symbol, bool member)
{
    validateSymbol(symbol, signature, line);
    if (member)
        NORVEXA_HANDLER_TRACE(signature, "Symbol %s", symbolText(symbol));
    else
        NORVEXA_HANDLER_TRACE(signature, "Loading symbol %s", symbolText(symbol));
    machineOperationUnavailable(signature, line);
}

// A number literal's text: refused when empty; traced as "Value = %s" for
// an integer, "value = %s" for a real number.
void numberText(const char* signature, unsigned line, const char* text, bool integral)
{
    validateStringName(text, signature, line);
    if (integral)
        NORVEXA_HANDLER_TRACE(signature, "Value = %s", text);
    else
        NORVEXA_HANDLER_TRACE(signature, "value = %s", text);
    machineOperationUnavailable(signature, line);
}

// A decimal literal's text, traced in quotes.
void decimalText(const char* signature, unsigned line, const char* text)
{
    validateString(text, signature, line);
    NORVEXA_HANDLER_TRACE(signature, "String = \"%s\"", text);
    machineOperationUnavailable(signature, line);
}

// A value in the target's form for a type.
void typedValue(const char* signature, unsigned line, const char* value, const TypeItem* type)
{
    validateString(value, signature, line);
    validateType(type, signature, line);
    NORVEXA_HANDLER_TRACE(signature, "Value = %s", value);
    machineOperationUnavailable(signature, line);
}

} // namespace

void genTruncateFP(const TypeItem* type)
{
    static const char signature[] = "void genTruncateFP(const TypeItem*)";
    const TypeItem& target = typeConversion(signature, __LINE__, type);
    currentStack(signature, __LINE__).genTruncateFP(target);
}

void genConvert(const TypeItem* type)
{
    static const char signature[] = "void genConvert(const TypeItem*)";
    const TypeItem& target = typeConversion(signature, __LINE__, type);
    currentStack(signature, __LINE__).genConvert(target);
}

void genConvertString(const TypeItem* type)
{
    sizedType("void genConvertString(const TypeItem*)", __LINE__, type);
}

void genRefMod(const TypeItem* type)
{
    sizedType("void genRefMod(const TypeItem*)", __LINE__, type);
}

void genRefModLength(const TypeItem* type)
{
    sizedType("void genRefModLength(const TypeItem*)", __LINE__, type);
}

void genLoad(const SymbolItem* symbol)
{
    symbolLoad("void genLoad(const SymbolItem*)", __LINE__, symbol, false);
}

void genLoadAddress(const SymbolItem* symbol)
{
    symbolLoad("void genLoadAddress(const SymbolItem*)", __LINE__, symbol, false);
}

void genLoadMemberOffset(const SymbolItem* symbol)
{
    symbolLoad("void genLoadMemberOffset(const SymbolItem*)", __LINE__, symbol, true);
}

void genStoreMember(const SymbolItem* symbol)
{
    symbolLoad("void genStoreMember(const SymbolItem*)", __LINE__, symbol, true);
}

void genLoadMemberSym(const SymbolItem* symbol)
{
    static const char signature[] = "void genLoadMemberSym(const SymbolItem*)";
    validateSymbol(symbol, signature, __LINE__);
    switch (symbol->scope().scopeType()) {
    case ScopeItem::classScope:
    case ScopeItem::structureScope:
        // A member of a class.
        NORVEXA_HANDLER_TRACE(signature, "Loading symbol %s", symbolText(symbol));
        machineOperationUnavailable(signature, __LINE__);
    case ScopeItem::condvarScope:
        // A COBOL condition name: its test.
        NORVEXA_HANDLER_TRACE(signature, "Loading symbol %s", symbolText(symbol));
        machineOperationUnavailable(signature, __LINE__);
    default:
        traceInterfaceError("invalid symbol", signature, __LINE__);
        throw InvalidOp(InvalidOp::RTRC_Other, signature, __LINE__);
    }
}

void genLoadIndex(unsigned long long index)
{
    static const char signature[] = "void genLoadIndex(unsigned long long)";
    NORVEXA_HANDLER_TRACE(signature, "Index = %lld", static_cast<long long>(index));
    machineOperationUnavailable(signature, __LINE__);
}

void genLoadParam(unsigned long long parameter)
{
    static const char signature[] = "void genLoadParam(unsigned long long)";
    NORVEXA_HANDLER_TRACE(signature, "Index = %lld", static_cast<long long>(parameter));
    machineOperationUnavailable(signature, __LINE__);
}

void genLoadIntegralValue(const char* text)
{
    numberText("void genLoadIntegralValue(const Char*)", __LINE__, text, true);
}

void genLoadRealValue(const char* text)
{
    numberText("void genLoadRealValue(const Char*)", __LINE__, text, false);
}

void genLoadDecimalRealValue(const char* text)
{
    numberText("void genLoadDecimalRealValue(const Char*)", __LINE__, text, false);
}

void genLoadPackedDecimalValue(const char* text)
{
    decimalText("void genLoadPackedDecimalValue(const Char*)", __LINE__, text);
}

void genLoadZonedDecimalValue(const char* text)
{
    decimalText("void genLoadZonedDecimalValue(const Char*)", __LINE__, text);
}

void genLoadNationalDecimalValue(const char* text)
{
    decimalText("void genLoadNationalDecimalValue(const Char*)", __LINE__, text);
}

void genLoadValue(const char* value, const TypeItem* type)
{
    typedValue("void genLoadValue(const Char*, const TypeItem*)", __LINE__, value, type);
}

void genLoadFigConstant(const char* value, const TypeItem* type)
{
    typedValue("void genLoadFigConstant(const Char*, const TypeItem*)", __LINE__, value, type);
}

void genLoadIndirect(long long offset, const TypeItem* type)
{
    static const char signature[] = "void genLoadIndirect(long long, const TypeItem*)";
    validateType(type, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "Loading type %s at offset %lld", typeText(type), offset);
    machineOperationUnavailable(signature, __LINE__);
}

void genLoadBaseAddress(const TypeItem* base, const TypeItem* derived)
{
    static const char signature[] = "void genLoadBaseAddress(const TypeItem*, const TypeItem*)";
    validateType(base, signature, __LINE__);
    validateType(derived, signature, __LINE__);
    if (*SVC::traceEnabled()) {
        // A type's trace text lasts until the next one is asked for.
        const std::string from = typeText(derived);
        SVC::fTrace(signature, __LINE__, "Converting from base %s to base %s", from.c_str(), typeText(base));
    }
    machineOperationUnavailable(signature, __LINE__);
}

void genRankIndex(long long rank, const TypeItem* type)
{
    static const char signature[] = "void genRankIndex(long long, const TypeItem*)";
    NORVEXA_HANDLER_TRACE(signature, "d = %lld", rank);
    // A dimension number the value stack cannot take is refused, not cut.
    if (rank < 0 || rank > static_cast<long long>(UINT_MAX))
        throw InvalidOp(InvalidOp::RTRC_Other, signature, __LINE__);
    currentStack(signature, __LINE__).genRankIndex(static_cast<unsigned int>(rank), type);
}

void genLoadIndirectRank(long long rank, const TypeItem* type)
{
    static const char signature[] = "void genLoadIndirectRank(long long, const TypeItem*)";
    validateType(type, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "Loading type %s, rank %lld", typeText(type), rank);
    machineOperationUnavailable(signature, __LINE__);
}

void genConvertRefMod(bool lengthGiven, const TypeItem* type)
{
    static const char signature[] = "void genConvertRefMod(bool, const TypeItem*)";
    validateType(type, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "To type %s", typeText(type));
    (void)lengthGiven;
    machineOperationUnavailable(signature, __LINE__);
}

void genString(const char* text, unsigned int n)
{
    static const char signature[] = "void genString(const Char*, unsigned int)";
    validateString(text, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "value = \"%*.*s\", len = %u", int(n), int(n), text, n);
    machineOperationUnavailable(signature, __LINE__);
}

void genWideString(const char* text, unsigned int n)
{
    static const char signature[] = "void genWideString(const Char*, unsigned int)";
    validatePointer(text, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "value = \"%*.*s\", len = %u", int(n), int(n), text, n);
    machineOperationUnavailable(signature, __LINE__);
}

// A character constant of n characters of text (the spelling of one
// character, escapes included); the text need not be terminated, so an
// empty constant is refused rather than measured.
void genLoadChar(const char* text, unsigned int n)
{
    static const char signature[] = "void genLoadChar(const Char*, unsigned int)";
    validateString(text, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "String = \"%*.*s\", length = %u", int(n), int(n), text, n);
    if (n == 0)
        throw InvalidOp(InvalidOp::RTRC_InvalidString, signature, __LINE__);
    if (n == 1) {
        // One byte is its own value: a character is an unsigned 1-byte integer.
        genLoadIntegralConstant(static_cast<unsigned char>(text[0]), nullptr, false, 1);
        return;
    }
    // Longer spellings (escapes) are decoded by the literal parser.
    machineOperationUnavailable(signature, __LINE__);
}

void genLoadWChar(const char* text, unsigned int n)
{
    static const char signature[] = "void genLoadWChar(const Char*, unsigned int)";
    validatePointer(text, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "String = \"%*.*s\", len = %u", int(n), int(n), text, n);
    if (n == 0)
        throw InvalidOp(InvalidOp::RTRC_InvalidString, signature, __LINE__);
    machineOperationUnavailable(signature, __LINE__);
}

void genLoadIntegralConstant(std::uint64_t value, const TypeItem* type, bool sign, short length)
{
    static const char signature[] = "void genLoadIntegralConstant(uint64_t, const TypeItem*, boolean, short)";
    NORVEXA_HANDLER_TRACE(signature, "Value = %lld; sign = %d, length = %d", static_cast<long long>(value),
                          int(sign), int(length));
    (void)type;
    machineOperationUnavailable(signature, __LINE__);
}

void genLoadRealConstant(long double value, short size)
{
    static const char signature[] = "void genLoadRealConstant(long double, short)";
    NORVEXA_HANDLER_TRACE(signature, "value = %Lf, size = %d", value, int(size));
    machineOperationUnavailable(signature, __LINE__);
}
