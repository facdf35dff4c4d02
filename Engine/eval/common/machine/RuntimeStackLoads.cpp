#include "machine/RuntimeStack.h"

#include <cstring>
#include <memory>
#include <optional>

#include "machine/FortranPointerTarget.h"
#include "machine/LiteralParsers.h"
#include "machine/StackItemAddress.h"
#include "machine/StackItemFunction.h"
#include "machine/StackItemNull.h"
#include "machine/StackItemS.h"
#include "machine/StackItemU.h"
#include "machine/SymbolMarks.h"
#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/CreatedTypeItem.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

// The loads of values that come from no variable: constants recorded in the
// byte code, parameters, the null pointer, offsets and indexes, literals
// given as text, and the address of a variable.

namespace {

EvaluationEnvironment& current()
{
    return *EvaluationEnvironment::currentRep();
}

// Pushes a new item, freed when the push fails.
void pushNew(RuntimeStack& stack, StackItem* item)
{
    std::unique_ptr<StackItem> owned(item);
    stack.push(owned.get());
    owned.release();
}

} // namespace

void RuntimeStack::genLoadIntegralConstant(std::uint64_t value, int isSigned, std::int16_t size)
{
    if (!isRunning())
        return;
    EvaluationEnvironment& env = current();
    StackItem* item = nullptr;
    switch (size) {
    case 1:
        item = isSigned ? static_cast<StackItem*>(new StackItemS1(env, static_cast<signed char>(value)))
                        : new StackItemU1(env, static_cast<unsigned char>(value));
        break;
    case 2:
        item = isSigned ? static_cast<StackItem*>(new StackItemS2(env, static_cast<short>(value)))
                        : new StackItemU2(env, static_cast<unsigned short>(value));
        break;
    case 4:
        item = isSigned ? static_cast<StackItem*>(new StackItemS4(env, static_cast<int>(value)))
                        : new StackItemU4(env, static_cast<unsigned int>(value));
        break;
    case 8:
        item = isSigned ? static_cast<StackItem*>(new StackItemS8(env, static_cast<long long>(value)))
                        : new StackItemU8(env, static_cast<unsigned long long>(value));
        break;
    default: throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    }
    pushNew(*this, item);
}

void RuntimeStack::genLoadWChar(std::uint32_t code)
{
    if (!isRunning())
        return;
    const TypeItem* wchar = typeWcharT();
    const unsigned width = wchar != nullptr ? wchar->typeSize() : 0;
    if (width == 2)
        pushNew(*this, new StackItemW2(current(), static_cast<unsigned short>(code)));
    else if (width == 4)
        pushNew(*this, new StackItemW4(current(), code));
    else
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

void RuntimeStack::genLoadParam(std::uint32_t number)
{
    if (!isRunning())
        return;
    ExpressionRepresentation* rep = current().asExprRepresentation();
    if (rep == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    pushNew(*this, new StackItemS4(current(), rep->readParameter(number)));
}

void RuntimeStack::genLoadNULL()
{
    if (!isRunning())
        return;
    pushNew(*this, new StackItemNull(current()));
}

void RuntimeStack::genLoadMemberOffset(const SymbolItem& member)
{
    if (!isRunning())
        return;
    const std::int64_t offset = member.getMemberOffset();
    EvaluationEnvironment& env = current();
    if (env.addressSize() == 8)
        pushNew(*this, new StackItemS8(env, offset));
    else
        pushNew(*this, new StackItemS4(env, static_cast<int>(offset)));
}

void RuntimeStack::genLoadIndex(std::uint32_t index)
{
    if (!isRunning())
        return;
    pushNew(*this, new StackItemU4(current(), index));
}

void RuntimeStack::genLoadIntegralValue(const char* text)
{
    if (!isRunning())
        return;
    if (text == nullptr || *text == '\0')
        throw InvalidOp(InvalidOp::RTRC_ParserError, __PRETTY_FUNCTION__, __LINE__);
    int isSigned = 1;
    int size = 0;
    const std::uint64_t value = readIntegralValue(text, static_cast<unsigned>(std::strlen(text)), isSigned, size);
    if (isSigned)
        pushNew(*this, new StackItemS8(current(), static_cast<long long>(value)));
    else
        pushNew(*this, new StackItemU8(current(), value));
}

void RuntimeStack::genLoadAddress(const SymbolItem& symbol)
{
    if (!isRunning())
        return;
    const SymbolMarks marks = SymbolMarks::of(symbol);
    if (marks.optimized)
        setOptimizedAddressSeen();
    EvaluationEnvironment& env = current();

    // The symbol's type is read in place; it is copied only where it may
    // change on the way (a bound type, a Fortran pointer's target), as a
    // copy of a named type costs an allocation on every evaluation.
    const TypeItem& declared = symbol.dataType();
    std::optional<TypeItem> copy;
    if (declared.boundTypeData() != nullptr ||
        (declared.hasFlag(TypeFlags::fortranDescriptor) && declared.hasFlag(TypeFlags::pointer)))
        copy.emplace(declared);
    const TypeItem& type = copy ? *copy : declared;
    if (type.hasFlag(TypeFlags::function)) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "genLoadAddress() of a function symbol loads the symbol itself");
        pushNew(*this, new StackItemFunction(env, symbol));
        return;
    }
    if (type.boundTypeData() != nullptr && env.frameIndex() < 0)
        symbol.setFrame(-1);
    DebuggeeLocation where = symbol.debuggeeAddress(-1);

    if (copy && type.hasFlag(TypeFlags::fortranDescriptor) && type.hasFlag(TypeFlags::pointer)) {
        copy->setSymbolLocation(where);
        moveToFortranPointerTarget(*copy, where);
        const TypeItem target = copy->pointee();
        *copy = target;
    }

    switch (where.kind()) {
    case DebuggeeLocation::debuggeeMemory:
    case DebuggeeLocation::fatPointer: break;
    case DebuggeeLocation::registerLocation:
        // A register has no address.
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    default: throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    }
    const TypeItem* pointer = CreatedTypeItem::findPointerType(type);
    if (pointer == nullptr)
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    auto item = std::make_unique<StackItemAddress>(env, where, *pointer);
    item->setScope(&symbol.scope());
    if (marks.playbackGuard)
        item->setPlaybackGuarded(true);
    item->setName(symbol.name());
    if (marks.addressLoad) {
        item->load(where);
        item->setLoadedFromVariable(true);
    }
    push(item.get());
    item.release();
}
