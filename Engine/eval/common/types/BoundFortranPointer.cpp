#include "types/BoundFortranPointer.h"

#include <cstring>
#include <optional>
#include <string>

#include "HostRecordAccess.h"
#include "services/DebuggeeAddress.h"
#include "services/EvaluationEnvironment.h"
#include "services/SVC.h"

namespace {

// The longest dynamic-type name read from the descriptor.
constexpr unsigned nameRoom = 512;

} // namespace

void BoundFortranPointerData::setSymbolLocation(const DebuggeeLocation& location, const _TYPE_ENTRY& entry)
{
    storeAndPassOn(location, TYPE_INDEX(entry.f90pointer.targetType), location);
}

bool BoundFortranPointerData::hasTypeStructureChanged(TypeItem&) const
{
    std::optional<TypeItem> before;
    if (displayType_ != nullptr)
        before.emplace(*displayType_);
    rebuildDisplayType();
    if (!before)
        return false;
    return displayType_ == nullptr || *displayType_ != *before;
}

void BoundFortranPointerData::rebuildDisplayType() const
{
    BoundTypeItem* owner = static_cast<BoundTypeItem*>(const_cast<TypeItem*>(actualType()));
    TNf90pointer& copy = owner->entryCopy().f90pointer;
    const TYPE_INDEX declared = copy.targetType;
    const TypeItem* result = nullptr;
    try {
        if (copy.dynamicTypeName != nullptr) {
            EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
            UBYTE8 object = 0;
            const bool hasObject = location_.kind() == DebuggeeLocation::debuggeeMemory && location_.isValid();
            if (hasObject)
                object = location_.address().addr();
            DebuggeeAddress at(
                SVC::Expr2ComputeAbsDWARFaddress(env->context(), *copy.dynamicTypeName, hasObject ? &object : nullptr));
            at.dereference();
            // The name is read into a bounded buffer and taken only up to a
            // terminator found within what was read: memory without one is
            // no name.
            char text[nameRoom] = {};
            const unsigned got = at.read(text, nameRoom);
            const void* end = std::memchr(text, '\0', got);
            if (end != nullptr) {
                const std::string name(text, static_cast<std::size_t>(static_cast<const char*>(end) - text));
                if (displayType_ != nullptr &&
                    (name == displayType_->demangledTypeName() || name == displayType_->shortTypeName())) {
                    result = displayType_;
                } else if (!name.empty()) {
                    const TypeItem* found = CreatedTypeItem::findType(name.c_str());
                    if (found != nullptr) {
                        result = found;
                        copy.targetType = found->typeIndex().typeIndex();
                    }
                }
            }
        }
    } catch (...) {
        result = nullptr;
    }
    if (result == nullptr) {
        try {
            result = CreatedTypeItem::findOrCreateType(declared, nullptr);
        } catch (...) {
            result = nullptr;
        }
    }
    displayType_ = result;
}

BoundFortranPointer::BoundFortranPointer(const _TYPE_ENTRY& entry, const TYPE_INDEX& hostIndex) : data_(this)
{
    bind(entry, sizeof entry.f90pointer, hostIndex, data_, &record.f90pointer.targetType);
}

BoundFortranPointer::~BoundFortranPointer()
{
    data_.forgetLocation();
}
