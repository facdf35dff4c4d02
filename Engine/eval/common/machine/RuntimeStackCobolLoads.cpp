#include "machine/RuntimeStack.h"

#include <cstring>
#include <memory>

#include "datatypes/FixedPointBinary.h"
#include "machine/LiteralParsers.h"
#include "machine/StackItemAddress.h"
#include "machine/StackItemCharstring.h"
#include "machine/StackItemDbcsString.h"
#include "machine/StackItemDecimalNumber.h"
#include "machine/StackItemFixedPointBinary.h"
#include "machine/StackItemNationalString.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "types/CreatedTypeItem.h"

// The loads of COBOL numeric literals and of literals given with their
// target type. Each item is made before it is pushed: a literal its value
// class refuses leaves the stack as it was.

namespace {

EvaluationEnvironment& environment()
{
    return *EvaluationEnvironment::currentRep();
}

// A literal the byte code does not carry at all.
const char* present(const char* text, const char* function, unsigned line)
{
    if (text == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, function, line);
    return text;
}

// A literal read by its value class, in the created type of exactly the
// digits and decimal places the class found in it.
template <class Item, class Value>
Item* literalItem(const char* text, const TypeItem* (*makeType)(unsigned char, unsigned char))
{
    const Value value(present(text, __PRETTY_FUNCTION__, __LINE__));
    return new Item(environment(), value, *makeType(value.record().precision, value.record().decimalPlaces));
}

} // namespace

void RuntimeStack::genLoadPackedDecimalValue(const char* text)
{
    if (isRunning())
        push(literalItem<StackItemPackedDecimal, PackedDecimal>(text, CreatedTypeItem::makePackedDecimalType));
}

void RuntimeStack::genLoadZonedDecimalValue(const char* text)
{
    if (isRunning())
        push(literalItem<StackItemZonedDecimal, ZonedDecimal>(text, CreatedTypeItem::makeZonedDecimalType));
}

void RuntimeStack::genLoadNationalDecimalValue(const char* text)
{
    if (isRunning())
        push(literalItem<StackItemNationalDecimal, NationalDecimal>(text, CreatedTypeItem::makeNationalDecimalType));
}

void RuntimeStack::genLoadValue(const char* text, const TypeItem& type)
{
    if (!isRunning())
        return;
    present(text, __PRETTY_FUNCTION__, __LINE__);
    std::unique_ptr<StackItem> item;
    if (type.hasFlag(TypeFlags::packedDecimal)) {
        item = std::make_unique<StackItemPackedDecimal>(environment(), PackedDecimal(text, type), type);
    } else if (type.hasFlag(TypeFlags::zonedDecimal)) {
        item = std::make_unique<StackItemZonedDecimal>(environment(), ZonedDecimal(text, type), type);
    } else if (type.hasFlag(TypeFlags::nationalDecimal)) {
        item = std::make_unique<StackItemNationalDecimal>(environment(), NationalDecimal(text, type), type);
    } else if (type.hasFlag(TypeFlags::binary)) {
        item = std::make_unique<StackItemFixedPointBinary>(environment(), FixedPointBinary(text, type), type);
    } else if (type.hasFlag(TypeFlags::characterString)) {
        item = std::make_unique<StackItemCharstring>(environment(), text, std::strlen(text), type);
    } else if (type.hasFlag(TypeFlags::nationalString)) {
        // National and DBCS literal texts may hold zero bytes: their type is
        // made of the literal's own length.
        item = std::make_unique<StackItemNationalString>(environment(), text, type.typeSize(), type);
    } else if (type.hasFlag(TypeFlags::dbcsString)) {
        item = std::make_unique<StackItemDbcsString>(environment(), text, type.typeSize(), type);
    } else if (type.hasFlag(TypeFlags::pointer)) {
        int isSigned = 0;
        int size = 0;
        const std::uint64_t value = readIntegralValue(text, static_cast<unsigned>(std::strlen(text)), isSigned, size);
        item = std::make_unique<StackItemAddress>(environment(), static_cast<unsigned long long>(value), type);
    } else {
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    }
    push(item.release());
}
