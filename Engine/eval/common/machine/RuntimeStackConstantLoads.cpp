#include "machine/RuntimeStack.h"

#include "HostRecordAccess.h"

#include "machine/StackItem.h"
#include "services/InvalidOp.h"
#include "types/PrimitiveType.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

// The value of a named constant, pushed as an item of the constant's type.

namespace {

// The byte size of a built-in integer index; 0 for any other index.
bool isReal(unsigned index)
{
    return (index >= 136 && index <= 139) || (index >= 196 && index <= 198);
}

bool isComplex(unsigned index)
{
    return (index >= 140 && index <= 143) || (index >= 203 && index <= 205);
}

// The bytes of a constant's value as the host holds them (no length read).
const char* rawText(const SymbolItem& constant)
{
    const _SYMBOL_ENTRY* entry = constant.entry();
    return entry != nullptr ? static_cast<const char*>(symbolEntryConstantValue(*entry)) : nullptr;
}

} // namespace

void RuntimeStack::genLoadConstant(const SymbolItem& constant)
{
    const TypeItem& type = constant.dataType();
    if (const _TYPE_ENTRY* entry = type.typeEntry()) {
        // A text constant is pushed as an item of its own type. The host
        // ends an alphanumeric text with a zero byte; national and DBCS
        // texts may hold zero bytes and are as long as their type.
        char* text = nullptr;
        switch (entry->leaf) {
        case TE_CHARSTRING: {
            const auto length = static_cast<std::uint16_t>(constant.constantValue(text));
            genLoadCharstringConstant(text, length, type);
            return;
        }
        case TE_COBOL_TABLE: { // a bound string
            const auto length = static_cast<std::uint16_t>(constant.constantValue(text));
            pushBoundString(text, length, type);
            return;
        }
        case TE_NATIONAL_STRING: genLoadNationalStringConstant(rawText(constant), type.typeSize(), type); return;
        case TE_DBCS_STRING: genLoadDbcsStringConstant(rawText(constant), type.typeSize(), type); return;
        default: throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        }
    }
    const unsigned index = type.typeIndex().index();
    if (const auto size = static_cast<std::int16_t>(PrimitiveType::integerBytes(index))) {
        genLoadIntegralConstant(constant.constantValue(), 0, size);
    } else if (isReal(index)) {
        long double value = 0;
        const std::int16_t size = constant.constantValue(value);
        genLoadRealConstant(value, size);
    } else if (isComplex(index)) {
        long double real = 0;
        long double imaginary = 0;
        const std::int16_t size = constant.constantValue(real, imaginary);
        genLoadComplexConstant(real, imaginary, static_cast<std::int16_t>(size / 2));
    } else {
        // Pushing nothing would leave the byte code a wrong operand.
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    }
    try {
        genConvert(type);
    } catch (...) {
        // The constant does not stay behind as a value of the wrong type.
        if (isRunning() && top_ != nullptr)
            delete pop();
        throw;
    }
}
