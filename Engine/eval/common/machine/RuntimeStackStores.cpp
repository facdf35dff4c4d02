#include "machine/RuntimeStack.h"

#include <algorithm>
#include <memory>

#include "machine/StackItem.h"
#include "machine/StackItemArraySection.h"
#include "machine/StackItemCompound.h"
#include "machine/StackItemS.h"
#include "machine/SymbolMarks.h"
#include "services/ByteOrder.h"
#include "services/DebuggeeAddress.h"
#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

// Assignment: the value on top written to the address below it, or into a
// member of the structure whose address is below it. No write happens in
// browse mode, into a COBOL variable the optimizer removed, into a guarded
// COBOL variable during playback, or in parameter mode.

namespace {

EvaluationEnvironment& current()
{
    return *EvaluationEnvironment::currentRep();
}

bool inParameterMode()
{
    ExpressionRepresentation* rep = current().asExprRepresentation();
    return rep != nullptr && (rep->flags() & ExpressionRepresentation::parametersSet) != 0;
}

void refuseInBrowseMode()
{
    if ((debuggerEnvironment() & debuggerEnvironmentBrowseMode) != 0)
        throw InvalidOp(InvalidOp::RTRC_NotInBrowseMode, __PRETTY_FUNCTION__, __LINE__);
}

// The debuggee address an address item designates, at the
// representation's address width. An item that designates a buffer of the
// evaluator has no address to write to.
DebuggeeAddress targetAddress(const StackItem& address)
{
    if (address.asLocation().kind() == DebuggeeLocation::debuggerBuffer)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    return DebuggeeAddress(address.asUnsigned(), current().addressSize() == 4 ? 4 : 8);
}

// The size of the receiving item an address item designates, when its type
// says it (0: unknown, as behind a pointer to void or to an array of
// unknown extent).
std::uint64_t receiverSize(const StackItem& address)
{
    const TypeItem& type = address.type();
    if (!type.hasFlag(TypeFlags::pointer) || type.hasFlag(TypeFlags::fortranDescriptor))
        return 0;
    try {
        return type.pointee().typeSize();
    } catch (const InvalidOp&) {
        return 0;
    }
}

bool isPointerToShared(const StackItem& value)
{
    return value.type().hasFlag(TypeFlags::pointer) && value.type().hasFlag(TypeFlags::pointerToShared);
}

// A host integer entry that is a true bit field, not a plain integer of 8,
// 16, 32 or 64 bits at offset 0.
bool isBitField(const _TYPE_ENTRY* entry)
{
    if (entry == nullptr || entry->leaf != TE_INTEGER)
        return false;
    const unsigned bits = entry->integer.bitLength;
    return entry->integer.bitOffset != 0 || (bits != 8 && bits != 16 && bits != 32 && bits != 64);
}

} // namespace

void RuntimeStack::genStore()
{
    setStoreSeen();
    if (!isRunning())
        return;
    refuseInBrowseMode();
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    std::unique_ptr<StackItem> value(pop());
    value->checkValue();
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    if (isCobolLanguage()) {
        if (optimizedAddressSeen())
            throw InvalidOp(InvalidOp::RTRC_AccessOptVar, __PRETTY_FUNCTION__, __LINE__,
                            top_->name() != nullptr ? top_->name() : "");
        if (top_->playbackGuarded()) {
            if (SVC::ExprGetPlaybackMode())
                throw InvalidOp(InvalidOp::RTRC_WriteInPlayback, __PRETTY_FUNCTION__, __LINE__);
            setGuardedStoreSeen();
        }
    }
    const DebuggeeAddress target = targetAddress(*top_);
    const std::uint64_t limit = receiverSize(*top_);
    delete pop();

    // An array section's size is an element count, not bytes.
    if (dynamic_cast<const StackItemArraySection*>(value.get()) != nullptr)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    const void* bytes = value->resultBuffer();
    if (bytes == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    if (isPointerToShared(*value))
        return;
    const std::uint64_t size = value->size();
    // Nothing is written past the receiving item: a longer value is refused
    // before any byte is written.
    if (limit != 0 && size > limit)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    if (inParameterMode())
        return;
    if (size != 0)
        target.write(bytes, static_cast<unsigned>(size));
}

void RuntimeStack::genStoreMember(const SymbolItem& member)
{
    setStoreSeen();
    if (!isRunning())
        return;
    if (isCobolLanguage()) {
        if (optimizedAddressSeen())
            throw InvalidOp(InvalidOp::RTRC_AccessOptVar, __PRETTY_FUNCTION__, __LINE__,
                            member.name() != nullptr ? member.name() : "");
        if (SymbolMarks::of(member).playbackGuard) {
            if (SVC::ExprGetPlaybackMode())
                throw InvalidOp(InvalidOp::RTRC_WriteInPlayback, __PRETTY_FUNCTION__, __LINE__);
            setGuardedStoreSeen();
        }
    }
    refuseInBrowseMode();
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    std::unique_ptr<StackItem> value(pop());
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    top_->genPointerAdd(StackItemS8(current(), member.getMemberOffset()));

    const TypeItem& memberType = member.dataType();
    const _TYPE_ENTRY* entry = memberType.typeEntry();
    if (isBitField(entry)) {
        const unsigned width = entry->integer.bitLength;
        const unsigned offset = entry->integer.bitOffset;
        if (width < 1 || offset + width > 64)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        // The field's big-endian unit; only the bytes that hold the field are
        // read and written back, so the store changes the field's bits alone.
        const unsigned unit = TypeItem::bitFieldUnit(offset, width);
        const unsigned count = (offset + width + 7) / 8;
        const std::uint64_t mask = (~std::uint64_t{0} >> (64 - width)) << (8 * unit - offset - width);
        const std::uint64_t bits = (value->asUnsigned() << (8 * unit - offset - width)) & mask;
        const DebuggeeAddress target = targetAddress(*top_);
        unsigned char bytes[8] = {};
        if (target.read(bytes, count) < count)
            throw InvalidOp(InvalidOp::RTRC_ReadMemoryFailed, __PRETTY_FUNCTION__, __LINE__);
        const std::uint64_t word = (byteorder::fromBigEndian(bytes, unit) & ~mask) | bits;
        byteorder::toBigEndian(bytes, word, unit);
        if (!inParameterMode())
            target.write(bytes, count);
        delete pop();
        return;
    }
    const std::uint64_t memberSize = memberType.typeSize();
    if (value->size() != memberSize && !(isPointerToShared(*value) && memberSize == 0))
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    push(value.get());
    value.release();
    genStore();
}
