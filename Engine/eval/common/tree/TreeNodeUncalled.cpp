#include "tree/TreeNode.h"

#include "services/FatPtr.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"

// Members that nothing in the library calls yet: loading a pointer-or-array
// node, loading an element of an array in shared memory, and the element
// type of a Fortran array.

bool TreeNode::loadPointerOrArray(NodeLoadType type)
{
    flags_ &= static_cast<std::uint8_t>(~flagLoaded);
    if (parent_ == nullptr || !parent_->isLoaded())
        return loadDebuggeeData(false, type);
    const unsigned size = environmentAddressSize();
    const unsigned char* held = evaluationBuffer();
    const unsigned char* end = parent_->evaluationBufferEnd();
    if (held == nullptr || end == nullptr || held > end || static_cast<std::uint64_t>(end - held) < size)
        return loadDebuggeeData(false, type);
    const DebuggeeAddress address = bufferAsAddress(held, size);
    SVC::fTrace(__PRETTY_FUNCTION__, 685, "Array Element address is %llx",
                static_cast<unsigned long long>(address.addr()));
    freeBuffer();
    location_ = DebuggeeLocation(address);
    flags_ |= flagLoaded;
    return loadDebuggeeData(true, type);
}

bool TreeNode::loadSharedArray(NodeLoadType type)
{
    flags_ &= static_cast<std::uint8_t>(~flagLoaded);
    const unsigned char* held = parent_ != nullptr ? parent_->evaluationBuffer() : nullptr;
    if (held == nullptr)
        return loadDebuggeeData(false, type);
    try {
        FatPtr pointer(reinterpret_cast<const char*>(held), parent_->typeOfDataItem());
        pointer.load();
        location_ = pointer;
        flags_ |= flagLoaded;
    } catch (const InvalidOp&) {
        flags_ &= static_cast<std::uint8_t>(~flagLoaded);
        return false;
    }
    return loadDebuggeeData(true, type);
}

std::uint16_t TreeNode::getElementType(TypeItem& element) const
{
    const TypeItem& array = typeOfDataItem();
    const ByteString identifier = debugNodeIdentifier();
    const char* arrayName = array.demangledTypeName();
    if (!array.hasFlag(TypeFlags::array)) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Array %s, Node = %s is invalid",
                    arrayName != nullptr ? arrayName : "", identifier.data());
        return 10000;
    }
    if (!array.isAssociated()) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Array %s, Node = %s is not associated",
                    arrayName != nullptr ? arrayName : "", identifier.data());
        return 10011;
    }
    if (!array.isAllocated()) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Array %s, Node = %s is not allocated",
                    arrayName != nullptr ? arrayName : "", identifier.data());
        return 10006;
    }
    try {
        element = array.dereference();
    } catch (const InvalidOp&) {
        element = TypeItem();
    }
    if (element.typeIndex().module() == 0 && element.typeIndex().index() == 0) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Element type is invalid for array %s, Node = %s",
                    arrayName != nullptr ? arrayName : "", identifier.data());
        return 10000;
    }
    return 0;
}
