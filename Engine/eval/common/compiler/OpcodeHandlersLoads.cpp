// The handlers of loads, conversions and literal values.

#include <cinttypes>
#include <climits>
#include <string>

#include "compiler/InterfaceGuards.h"
#include "compiler/OpcodeHandlerSupport.h"
#include "compiler/OpcodeHandlers.h"
#include "machine/LiteralParsers.h"
#include "machine/RuntimeStack.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

using opcodehandlers::currentStack;
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
const TypeItem& sizedType(const char* signature, unsigned line, const TypeItem* type)
{
    validateType(type, signature, line);
    NORVEXA_HANDLER_TRACE(signature, "type %s size %llu", typeText(type),
                          static_cast<unsigned long long>(type->typeSize()));
    return *type;
}

// A symbol operand, traced as "Loading symbol %s" or, for members, "Symbol %s".
const SymbolItem& symbolLoad(const char* signature, unsigned line, const SymbolItem* symbol, bool member)
{
    validateSymbol(symbol, signature, line);
    if (member)
        NORVEXA_HANDLER_TRACE(signature, "Symbol %s", symbolText(symbol));
    else
        NORVEXA_HANDLER_TRACE(signature, "Loading symbol %s", symbolText(symbol));
    return *symbol;
}

// A number literal's text: refused when empty; traced as "Value = %s" for
// an integer, "value = %s" for a real number.
const char* numberText(const char* signature, unsigned line, const char* text, bool integral)
{
    validateStringName(text, signature, line);
    if (integral)
        NORVEXA_HANDLER_TRACE(signature, "Value = %s", text);
    else
        NORVEXA_HANDLER_TRACE(signature, "value = %s", text);
    return text;
}

// A decimal literal's text, traced in quotes.
const char* decimalText(const char* signature, unsigned line, const char* text)
{
    validateString(text, signature, line);
    NORVEXA_HANDLER_TRACE(signature, "String = \"%s\"", text);
    return text;
}

// A value in the target's form for a type.
const TypeItem& typedValue(const char* signature, unsigned line, const char* value, const TypeItem* type)
{
    validateString(value, signature, line);
    validateType(type, signature, line);
    NORVEXA_HANDLER_TRACE(signature, "Value = %s", value);
    return *type;
}

// A number of the byte code that the value stack takes in 32 bits: one it
// cannot take is refused, never cut.
std::uint32_t stackWord(unsigned long long n, const char* signature, unsigned line)
{
    if (n > UINT_MAX)
        throw InvalidOp(InvalidOp::RTRC_Other, signature, line);
    return static_cast<std::uint32_t>(n);
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
    static const char signature[] = "void genConvertString(const TypeItem*)";
    const TypeItem& target = sizedType(signature, __LINE__, type);
    currentStack(signature, __LINE__).genConvertString(target);
}

void genRefMod(const TypeItem* type)
{
    static const char signature[] = "void genRefMod(const TypeItem*)";
    const TypeItem& target = sizedType(signature, __LINE__, type);
    currentStack(signature, __LINE__).genRefMod(target);
}

void genRefModLength(const TypeItem* type)
{
    static const char signature[] = "void genRefModLength(const TypeItem*)";
    const TypeItem& target = sizedType(signature, __LINE__, type);
    currentStack(signature, __LINE__).genRefModLength(target);
}

void genLoad(const SymbolItem* symbol)
{
    static const char signature[] = "void genLoad(const SymbolItem*)";
    const SymbolItem& variable = symbolLoad(signature, __LINE__, symbol, false);
    // -1: the environment's evaluation frame.
    currentStack(signature, __LINE__).genLoad(variable, -1);
}

void genLoadAddress(const SymbolItem* symbol)
{
    static const char signature[] = "void genLoadAddress(const SymbolItem*)";
    const SymbolItem& variable = symbolLoad(signature, __LINE__, symbol, false);
    currentStack(signature, __LINE__).genLoadAddress(variable);
}

void genLoadMemberOffset(const SymbolItem* symbol)
{
    static const char signature[] = "void genLoadMemberOffset(const SymbolItem*)";
    const SymbolItem& member = symbolLoad(signature, __LINE__, symbol, true);
    currentStack(signature, __LINE__).genLoadMemberOffset(member);
}

void genStoreMember(const SymbolItem* symbol)
{
    static const char signature[] = "void genStoreMember(const SymbolItem*)";
    const SymbolItem& member = symbolLoad(signature, __LINE__, symbol, true);
    currentStack(signature, __LINE__).genStoreMember(member);
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
        currentStack(signature, __LINE__).genLoadMemberSym(*symbol);
        return;
    case ScopeItem::condvarScope:
        // A COBOL condition name: its test.
        NORVEXA_HANDLER_TRACE(signature, "Loading symbol %s", symbolText(symbol));
        currentStack(signature, __LINE__).genLoadCondvarSym(*symbol);
        return;
    default:
        traceInterfaceError("invalid symbol", signature, __LINE__);
        throw InvalidOp(InvalidOp::RTRC_Other, signature, __LINE__);
    }
}

void genLoadIndex(unsigned long long index)
{
    static const char signature[] = "void genLoadIndex(unsigned long long)";
    NORVEXA_HANDLER_TRACE(signature, "Index = %lld", static_cast<long long>(index));
    const std::uint32_t number = stackWord(index, signature, __LINE__);
    currentStack(signature, __LINE__).genLoadIndex(number);
}

void genLoadParam(unsigned long long parameter)
{
    static const char signature[] = "void genLoadParam(unsigned long long)";
    NORVEXA_HANDLER_TRACE(signature, "Index = %lld", static_cast<long long>(parameter));
    const std::uint32_t number = stackWord(parameter, signature, __LINE__);
    currentStack(signature, __LINE__).genLoadParam(number);
}

void genLoadIntegralValue(const char* text)
{
    static const char signature[] = "void genLoadIntegralValue(const Char*)";
    currentStack(signature, __LINE__).genLoadIntegralValue(numberText(signature, __LINE__, text, true));
}

void genLoadRealValue(const char* text)
{
    static const char signature[] = "void genLoadRealValue(const Char*)";
    currentStack(signature, __LINE__).genLoadRealValue(numberText(signature, __LINE__, text, false));
}

void genLoadDecimalRealValue(const char* text)
{
    static const char signature[] = "void genLoadDecimalRealValue(const Char*)";
    currentStack(signature, __LINE__).genLoadDecimalRealValue(numberText(signature, __LINE__, text, false));
}

void genLoadPackedDecimalValue(const char* text)
{
    static const char signature[] = "void genLoadPackedDecimalValue(const Char*)";
    currentStack(signature, __LINE__).genLoadPackedDecimalValue(decimalText(signature, __LINE__, text));
}

void genLoadZonedDecimalValue(const char* text)
{
    static const char signature[] = "void genLoadZonedDecimalValue(const Char*)";
    currentStack(signature, __LINE__).genLoadZonedDecimalValue(decimalText(signature, __LINE__, text));
}

void genLoadNationalDecimalValue(const char* text)
{
    static const char signature[] = "void genLoadNationalDecimalValue(const Char*)";
    currentStack(signature, __LINE__).genLoadNationalDecimalValue(decimalText(signature, __LINE__, text));
}

void genLoadValue(const char* value, const TypeItem* type)
{
    static const char signature[] = "void genLoadValue(const Char*, const TypeItem*)";
    const TypeItem& target = typedValue(signature, __LINE__, value, type);
    currentStack(signature, __LINE__).genLoadValue(value, target);
}

void genLoadFigConstant(const char* value, const TypeItem* type)
{
    static const char signature[] = "void genLoadFigConstant(const Char*, const TypeItem*)";
    const TypeItem& target = typedValue(signature, __LINE__, value, type);
    // The constant's bytes at the type's size: the byte code holds the value
    // zero-filled to at least that size, so a LOW-VALUE's zero byte counts.
    currentStack(signature, __LINE__).genLoadFigConstant(value, target.typeSize(), target);
}

void genLoadIndirect(long long offset, const TypeItem* type)
{
    static const char signature[] = "void genLoadIndirect(long long, const TypeItem*)";
    validateType(type, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "Loading type %s at offset %lld", typeText(type), offset);
    currentStack(signature, __LINE__).genLoadIndirect(offset, *type);
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
    currentStack(signature, __LINE__).genLoadBaseAddress(*base, *derived);
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
    // A rank the value stack cannot take is refused, not cut.
    if (rank < 0 || rank > static_cast<long long>(INT_MAX))
        throw InvalidOp(InvalidOp::RTRC_Other, signature, __LINE__);
    currentStack(signature, __LINE__).genLoadIndirectRank(static_cast<int>(rank), *type);
}

void genConvertRefMod(bool lengthGiven, const TypeItem* type)
{
    static const char signature[] = "void genConvertRefMod(bool, const TypeItem*)";
    validateType(type, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "To type %s", typeText(type));
    currentStack(signature, __LINE__).genConvertRefMod(lengthGiven, *type);
}

void genString(const char* text, unsigned int n)
{
    static const char signature[] = "void genString(const Char*, unsigned int)";
    validateString(text, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "value = \"%*.*s\", len = %u", int(n), int(n), text, n);
    currentStack(signature, __LINE__).genString(text, n);
}

void genWideString(const char* text, unsigned int n)
{
    static const char signature[] = "void genWideString(const Char*, unsigned int)";
    validatePointer(text, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "value = \"%*.*s\", len = %u", int(n), int(n), text, n);
    currentStack(signature, __LINE__).genWideString(text, n);
}

// A character constant of n characters of text (the spelling of one
// character, escapes included); the text need not be terminated, so an
// empty constant is refused rather than measured.
void genLoadChar(const char* text, unsigned int n)
{
    static const char signature[] = "void genLoadChar(const Char*, unsigned int)";
    validateString(text, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "String = \"%*.*s\", length = %u", int(n), int(n), text, n);
    currentStack(signature, __LINE__);
    if (n == 0)
        throw InvalidOp(InvalidOp::RTRC_InvalidString, signature, __LINE__);
    // One byte is its own value (0x5C is an EBCDIC '*', no escape); a longer
    // spelling (an escape, under the alternate character set) is decoded
    // and must be used whole.
    unsigned char byte = static_cast<unsigned char>(text[0]);
    if (n > 1 && convertChar(text, n, byte) != static_cast<int>(n))
        throw InvalidOp(InvalidOp::RTRC_InvalidString, signature, __LINE__);
    // A character is an unsigned 1-byte integer.
    genLoadIntegralConstant(byte, nullptr, false, 1);
}

void genLoadWChar(const char* text, unsigned int n)
{
    static const char signature[] = "void genLoadWChar(const Char*, unsigned int)";
    validatePointer(text, signature, __LINE__);
    NORVEXA_HANDLER_TRACE(signature, "String = \"%*.*s\", len = %u", int(n), int(n), text, n);
    RuntimeStack& stack = currentStack(signature, __LINE__);
    std::uint64_t code = 0;
    if (n == 0 || convertChar(text, n, code) != static_cast<int>(n))
        throw InvalidOp(InvalidOp::RTRC_InvalidString, signature, __LINE__);
    // The value stack takes the low 32 bits of the code value.
    stack.genLoadWChar(static_cast<std::uint32_t>(code));
}

void genLoadIntegralConstant(std::uint64_t value, const TypeItem* type, bool sign, short length)
{
    static const char signature[] = "void genLoadIntegralConstant(uint64_t, const TypeItem*, boolean, short)";
    NORVEXA_HANDLER_TRACE(signature, "Value = %lld; sign = %d, length = %d", static_cast<long long>(value), int(sign),
                          int(length));
    // Sign and length decide the item; the type is not used.
    (void)type;
    currentStack(signature, __LINE__).genLoadIntegralConstant(value, sign ? 1 : 0, length);
}

void genLoadRealConstant(long double value, short size)
{
    static const char signature[] = "void genLoadRealConstant(long double, short)";
    NORVEXA_HANDLER_TRACE(signature, "value = %Lf, size = %d", value, int(size));
    currentStack(signature, __LINE__).genLoadRealConstant(value, size);
}
