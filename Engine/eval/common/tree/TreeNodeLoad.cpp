#include "tree/TreeNode.h"

#include <cstring>
#include <limits>

#include "HostRecordAccess.h"
#include "machine/BaseClassLocation.h"
#include "services/ByteOrder.h"
#include "services/EvaluationEnvironment.h"
#include "services/FatPtr.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"

namespace {

const char* validity(bool loaded)
{
    return loaded ? "Valid" : "Invalid";
}

const _TYPE_ENTRY* entryOf(const TypeItem& type)
{
    return type.typeIndex().module() == 0 ? nullptr : type.typeEntry();
}

} // namespace

DebuggeeLocation TreeNode::debuggeeAddress() const
{
    if (location_.kind() == DebuggeeLocation::none && parent_ != nullptr && (flags_ & flagStaticMember) == 0) {
        DebuggeeLocation where = parent_->debuggeeAddress();
        if (where.kind() != DebuggeeLocation::none)
            where.increment(offset_);
        location_ = where;
    }
    return location_;
}

DebuggeeAddress TreeNode::bufferAsAddress(const void* bytes, unsigned int size)
{
    if (size != 1 && size != 2 && size != 4 && size != 8)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes,
                        "static DebuggeeAddress TreeNode::bufferAsAddress(const void*, unsigned int)", 226);
    const std::uint64_t value = byteorder::fromBigEndian(bytes, size);
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    const bool wide = size == 8 || (env != nullptr && env->addressSize() == 8);
    return DebuggeeAddress(value, wide ? 8 : 4);
}

unsigned TreeNode::pointerSize(const TypeItem& pointerType) const
{
    const _TYPE_ENTRY* e = entryOf(pointerType);
    if (e != nullptr && e->leaf == TE_POINTER && environmentLanguage() != EvaluationEnvironment::languageCOBOL) {
        if ((e->pointer.flags & TNpointer_Bytes4) != 0)
            return 4;
        if ((e->pointer.flags & TNpointer_Bytes8) != 0)
            return 8;
    }
    return environmentAddressSize();
}

bool TreeNode::loadThisNode(NodeLoadType type)
{
    flags_ &= static_cast<std::uint8_t>(~flagLoaded);
    if (parent_ == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, "bool TreeNode::loadThisNode(TreeNode::NodeLoadType)", 81);
    if ((parent_->flags_ & flagMayNotLoad) != 0)
        throw InvalidOp(InvalidOp::RTRC_Other, "bool TreeNode::loadThisNode(TreeNode::NodeLoadType)", 87);
    if (SVC::tracing())
        SVC::fTrace("TreeNode::loadThisNode()", 91, "Loading child %s of %s; parent data is %s",
                    debugNodeIdentifier().data(), parent_->debugNodeIdentifier().data(), validity(parent_->isLoaded()));
    if ((flags_ & flagStaticMember) != 0)
        return loadStaticDataMember(type);

    flags_ = static_cast<std::uint8_t>((flags_ & ~flagLoaded) | (parent_->flags_ & flagLoaded));
    if (!parent_->isLoaded()) {
        if (parent_->parent_ == nullptr) {
            loadDebuggeeData(false, type);
        } else {
            parent_->loadThisNode(loadNode);
            if (!parent_->isLoaded())
                loadDebuggeeData(false, type);
        }
    }
    flags_ = static_cast<std::uint8_t>((flags_ & ~flagFromParent) | (parent_->flags_ & flagFromParent));

    if ((flags_ & flagBaseClass) != 0)
        return loadBaseClass(type);
    if ((flags_ & flagReference) != 0)
        return loadReference(type);

    const TypeItem& parentItem = parent_->typeOfDataItem();
    if ((parent_->flags2_ & flag2PointerTargets) != 0) {
        offset_ = 0;
        dereferenceParent();
        return loadDebuggeeData(true, type);
    }
    if (parentItem.hasFlag(TypeFlags::pointer)) {
        dereferenceParent();
        if (SVC::tracing())
            SVC::fTrace(__PRETTY_FUNCTION__, 127, "Array via pointer element address is '%s'", location_.format());
        return loadDebuggeeData(true, type);
    }
    if (parentItem.hasFlag(TypeFlags::array)) {
        DebuggeeLocation where = parent_->debuggeeAddress();
        if (where.kind() != DebuggeeLocation::none)
            where.increment(offset_);
        location_ = where;
        if (SVC::tracing())
            SVC::fTrace(__PRETTY_FUNCTION__, 136, "Array Element address is '%s'", location_.format());
        freeBuffer();
        if (!dataType_.hasFlag(TypeFlags::array))
            return loadDebuggeeData(true, type);
        return loadArray(type);
    }
    if (dataType_.hasFlag(TypeFlags::array))
        return loadArray(type);
    if ((parent_->flags_ & flagLoadError) != 0 && (parent_->flags2_ & flag2LoadError) != 0) {
        flags_ |= flagLoadError;
        flags2_ |= flag2LoadError;
        errorDetail_ = parent_->errorDetail_;
        return loadDebuggeeData(true, type);
    }
    const unsigned char* inside = evaluationBuffer();
    const unsigned char* end = evaluationBufferEnd();
    const std::uint64_t size = dataType_.typeSize();
    const bool fits = inside != nullptr && end != nullptr && inside >= evaluationBufferStart() && inside <= end &&
                      size <= static_cast<std::uint64_t>(end - inside);
    if (fits && !dataType_.hasFlag(TypeFlags::pointerToShared))
        return loadDebuggeeData(false, type);
    return loadDebuggeeData(true, type);
}

bool TreeNode::loadDebuggeeData(bool fromDebuggee, NodeLoadType type)
{
    if (fromDebuggee) {
        const bool wasLoaded = isLoaded();
        location_ = debuggeeAddress();
        flags_ &= static_cast<std::uint8_t>(~flagLoaded);
        if (location_.isValid() && wasLoaded)
            flags_ |= flagLoaded;
        flags2_ &= static_cast<std::uint8_t>(~flag2LoadError);
        if (isLoaded()) {
            try {
                if (dataType_.hasFlag(TypeFlags::pointerToShared)) {
                    ensureBuffer(16);
                    FatPtr pointer(reinterpret_cast<const char*>(bufferStart_), dataType_);
                    pointer.load();
                } else {
                    // A reference holds the bytes of what it refers to.
                    const std::uint64_t size = typeOfDataItem().typeSize();
                    if (size != 0) {
                        if (size > std::numeric_limits<unsigned>::max())
                            throw InvalidOp(InvalidOp::RTRC_ReadMemoryFailed, __PRETTY_FUNCTION__, __LINE__);
                        ensureBuffer(size);
                        const unsigned read = location_.read(bufferStart_, static_cast<unsigned>(size));
                        if (read != size)
                            flags_ &= static_cast<std::uint8_t>(~flagLoaded);
                    }
                }
            } catch (const InvalidOp&) {
                flags_ &= static_cast<std::uint8_t>(~flagLoaded);
            }
        }
    }
    if (type == loadNodeAndChildren)
        loadChildren();
    if (SVC::tracing()) {
        DebuggeeLocation where = location_;
        SVC::fTrace("TreeNode::loadThisNode(NodeLoadType)", 657,
                    "Child %s of %s is at location %s.  Data in node is %s", debugNodeIdentifier().data(),
                    parent_ != nullptr ? parent_->debugNodeIdentifier().data()
                                       : reinterpret_cast<const unsigned char*>(""),
                    where.format(), validity(isLoaded()));
    }
    return isLoaded();
}

bool TreeNode::loadArray(NodeLoadType type)
{
    DebuggeeLocation where = parent_ != nullptr ? parent_->debuggeeAddress() : DebuggeeLocation();
    if (where.kind() != DebuggeeLocation::none)
        where.increment(offset_);
    location_ = where;
    const std::uint64_t address = where.kind() == DebuggeeLocation::debuggeeMemory ? where.address().addr() : 0;
    if (SVC::tracing())
        SVC::fTrace(__PRETTY_FUNCTION__, 57, "Array Element address is %llx", static_cast<unsigned long long>(address));
    const unsigned size = environmentAddressSize();
    if (bufferStart_ == nullptr || bufferBorrowed_ || ownBufferLength() < size) {
        freeBuffer();
        ensureBuffer(size);
    }
    byteorder::toBigEndian(bufferStart_, address, size);
    return loadDebuggeeData(false, type);
}

bool TreeNode::loadReference(NodeLoadType type)
{
    const unsigned size = environmentAddressSize();
    const unsigned char* start = parent_->evaluationBuffer();
    const unsigned char* end = parent_->evaluationBufferEnd();
    if (start == nullptr || end == nullptr || offset_ < 0 ||
        static_cast<std::uint64_t>(end - start) < static_cast<std::uint64_t>(offset_) + size) {
        // The pointer is not in the parent's bytes: nothing to follow.
        flags_ &= static_cast<std::uint8_t>(~flagLoaded);
        return loadDebuggeeData(false, type);
    }
    location_ = DebuggeeLocation(bufferAsAddress(start + offset_, size));
    freeBuffer();
    if (typeOfDataItem().hasFlag(TypeFlags::characterString))
        return loadDebuggeeData(false, type);
    return loadDebuggeeData(true, type);
}

bool TreeNode::loadStaticDataMember(NodeLoadType type)
{
    flags_ &= static_cast<std::uint8_t>(~flagFromParent);
    DebuggeeAddress address = staticAddress_;
    if ((flags_ & flagReference) != 0 && address.isValid())
        address.dereference();
    location_ = DebuggeeLocation(address);
    flags_ &= static_cast<std::uint8_t>(~flagLoaded);
    if (location_.kind() == DebuggeeLocation::debuggeeMemory && location_.isValid())
        flags_ |= flagLoaded;
    return loadDebuggeeData(true, type);
}

bool TreeNode::loadBaseClass(NodeLoadType type)
{
    DebuggeeLocation parentWhere = parent_->debuggeeAddress();
    if (parentWhere.kind() != DebuggeeLocation::debuggeeMemory)
        return loadDebuggeeData(false, type);
    const DebuggeeAddress parentAddress = parentWhere.address();
    const DebuggeeAddress base = baseClassLocation(parentAddress, secondType_, parent_->typeOfDataItem());
    const unsigned char* start = parent_->evaluationBufferStart();
    const unsigned char* end = parent_->evaluationBufferEnd();
    // The address the start of the ancestors' buffer stands for.
    const unsigned char* parentBytes = parent_->evaluationBuffer();
    bool inside = false;
    if (start != nullptr && end != nullptr && parentBytes != nullptr) {
        const std::uint64_t startAddress = parentAddress.addr() - static_cast<std::uint64_t>(parentBytes - start);
        const std::uint64_t length = static_cast<std::uint64_t>(end - start);
        const std::uint64_t baseSize = dataType_.typeSize();
        inside = base.addr() >= startAddress && baseSize <= length && base.addr() - startAddress + baseSize <= length;
    }
    if (inside) {
        offset_ = static_cast<std::int64_t>(base.addr() - parentAddress.addr());
        location_ = DebuggeeLocation(base);
        return loadDebuggeeData(false, type);
    }
    if (SVC::tracing())
        SVC::fTrace(__PRETTY_FUNCTION__, 577, "Base address of base \"%s\", type \"%s\" outside of parent at offset %d",
                    secondType_.demangledTypeName(), dataType_.demangledTypeName(), static_cast<int>(offset_));
    flags_ |= flagLoaded;
    offset_ = 0;
    location_ = DebuggeeLocation(base);
    return loadDebuggeeData(true, type);
}

void TreeNode::dereferenceParent()
{
    freeBuffer();
    if (!parent_->isLoaded()) {
        location_.clear();
        return;
    }
    const TypeItem& pointerType = parent_->typeOfDataItem();
    const unsigned char* held = parent_->evaluationBuffer();
    if (held == nullptr) {
        location_.clear();
        return;
    }
    if (pointerType.hasFlag(TypeFlags::pointerToShared)) {
        location_ = FatPtr(reinterpret_cast<const char*>(held), pointerType);
    } else {
        const unsigned size = pointerSize(pointerType);
        const unsigned char* end = parent_->evaluationBufferEnd();
        if (end == nullptr || static_cast<std::uint64_t>(end - held) < size) {
            // The parent holds fewer bytes than the pointer has: the target
            // is not known and is not loaded.
            location_.clear();
            flags_ &= static_cast<std::uint8_t>(~flagLoaded);
            return;
        }
        location_ = DebuggeeLocation(bufferAsAddress(held, size));
    }
    if (location_.kind() == DebuggeeLocation::none)
        return;
    try {
        location_.increment(offset_);
    } catch (const InvalidOp&) {
        // The shared-memory session moves no pointer: the target is unknown.
        location_.clear();
        flags_ &= static_cast<std::uint8_t>(~flagLoaded);
    }
}
