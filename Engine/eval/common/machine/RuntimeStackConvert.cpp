#include "machine/RuntimeStack.h"

#include <memory>

#include "machine/StackItem.h"
#include "machine/StackItemString.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "types/CreatedTypeItem.h"
#include "types/TypeItem.h"

// The cast of the machine: the top item is replaced by an item of the
// target type whose value is converted from it.

namespace {

// A host integer entry that is a true bit field: not of a plain width at
// bit offset 0 (those are plain integers and convert as such).
bool isBitField(const _TYPE_ENTRY* entry)
{
    if (entry == nullptr || entry->leaf != TE_INTEGER)
        return false;
    const TNinteger& integer = entry->integer;
    const bool plainWidth =
        integer.bitLength == 8 || integer.bitLength == 16 || integer.bitLength == 32 || integer.bitLength == 64;
    return !(plainWidth && integer.bitOffset == 0);
}

// The leaf code of a character array held as a string.
constexpr UBYTE4 boundStringLeaf = 83;

} // namespace

void RuntimeStack::convertToBuiltin(unsigned int index)
{
    genConvert(TypeItem(index));
}

void RuntimeStack::bitFieldToInteger()
{
    if (top_ == nullptr || !isBitField(top_->type().typeEntry()))
        return;
    switch (top_->type().kind()) {
    case t_signedChar: convertToBuiltin(128); break;
    case t_unsignedChar: convertToBuiltin(132); break;
    case t_signedShortInt: convertToBuiltin(129); break;
    case t_unsignedShortInt: convertToBuiltin(133); break;
    case t_signedLongInt: convertToBuiltin(130); break;
    case t_unsignedLongInt: convertToBuiltin(134); break;
    case t_signedLongLongInt: convertToBuiltin(155); break;
    case t_unsignedLongLongInt: convertToBuiltin(156); break;
    default: break;
    }
}

void RuntimeStack::genConvert(const TypeItem& target)
{
    if (!isRunning())
        return;
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);

    // Between two array types the item stays; a string is re-laid, anything
    // else only takes the new type.
    if (target.hasFlag(TypeFlags::array) && top_->type().hasFlag(TypeFlags::array)) {
        if (top_->isString())
            genConvertString(target);
        else
            top_->setType(target);
        return;
    }

    // A string literal held by the evaluator takes a pointer or array type of
    // its own characters in place; the item refuses any other type.
    if (top_->inDebuggerAddressSpace() && dynamic_cast<StackItemString*>(top_) != nullptr) {
        top_->convertType(target, nullptr);
        return;
    }

    const _TYPE_ENTRY* entry = target.typeEntry();
    if (isBitField(entry)) {
        const unsigned bits = entry->integer.bitLength;
        const bool isSigned = (entry->integer.flags & TNinteger_Unsigned) == 0;
        if (bits == 0 || bits > 64)
            throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
        if (bits == 1)
            convertToBuiltin(132);
        if (bits <= 8)
            convertToBuiltin(isSigned ? 128 : 132);
        else if (bits <= 16)
            convertToBuiltin(isSigned ? 129 : 133);
        else if (bits <= 32)
            convertToBuiltin(isSigned ? 130 : 134);
        else
            convertToBuiltin(isSigned ? 155 : 156);
        return;
    }

    if (entry != nullptr && entry->leaf == boundStringLeaf) {
        adjustString(target);
        top_->setType(target);
        return;
    }

    const bool fromRegisterVariable = top_->fromRegisterVariable();
    const bool fromRegister = top_->fromRegister();
    const ScopeItem* scope = top_->scope_; // null stays the file scope
    std::unique_ptr<StackItem> converted;

    const bool pointerToFortranPointer = target.hasFlag(TypeFlags::pointer) &&
                                         target.pointee().hasFlag(TypeFlags::fortranDescriptor) &&
                                         target.pointee().hasFlag(TypeFlags::pointer);
    if (pointerToFortranPointer) {
        const TypeItem& fortranPointer = target.pointee();
        const DebuggeeLocation where = top_->asLocation();
        if (where.kind() != DebuggeeLocation::debuggeeMemory)
            throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
        if (!fortranPointer.isAllocated())
            throw InvalidOp(InvalidOp::RTRC_FortranPointerNotAllocated, __PRETTY_FUNCTION__, __LINE__);
        if (!fortranPointer.isAssociated())
            throw InvalidOp(InvalidOp::RTRC_FortranPointerNotAssociated, __PRETTY_FUNCTION__, __LINE__);
        const TypeItem* pointerType = CreatedTypeItem::findPointerType(fortranPointer.pointee());
        converted.reset(makeStackItem(*pointerType, nullptr));
        converted->setScope(scope);
        converted->load(where);
        converted->setLoadedFromVariable(true);
    } else {
        top_->checkValue();
        converted.reset(makeStackItem(target, nullptr));
        if (!target.hasFlag(TypeFlags::voidType))
            converted->genConvert(*top_);
        converted->setScope(scope);
        if (top_->loadedFromVariable())
            converted->setLoadedFromVariable(true);
        // A converted address designates the same storage: its guard stays.
        if (top_->playbackGuarded())
            converted->setPlaybackGuarded(true);
    }

    if (fromRegisterVariable)
        converted->setFromRegisterVariable(true);
    if (fromRegister)
        converted->setFromRegister(true);
    delete pop();
    push(converted.get());
    converted.release();
}
