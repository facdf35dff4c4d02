#include "machine/StackItemFileDesc.h"

#include <cstring>

#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"

StackItemFileDesc::StackItemFileDesc(EvaluationEnvironment& environment, const TypeItem& type)
    : StackItem(environment, type)
{
}

StackItemFileDesc::StackItemFileDesc(const StackItemFileDesc& other) : StackItem(other)
{
    std::memcpy(info_, other.info_, sizeof info_);
}

StackItemFileDesc::~StackItemFileDesc() = default;

StackItem* StackItemFileDesc::clone() const
{
    return new StackItemFileDesc(*this);
}

std::uint64_t StackItemFileDesc::size() const
{
    return sizeof info_;
}

void* StackItemFileDesc::resultBuffer() const
{
    return const_cast<unsigned char*>(info_);
}

void StackItemFileDesc::load(const DebuggeeLocation& location)
{
    const _TYPE_ENTRY* entry = type_.typeEntry();
    const char* name = entry != nullptr && entry->leaf == TE_FILE_DESCRIPTOR
                           ? entry->fileDescriptor.name
                           : nullptr;
    if (name != nullptr && std::strcmp(name, "SD") == 0) {
        // A sort file description has no file information to ask for.
        std::memset(info_, 0, sizeof info_);
        std::memcpy(info_, "SDFILE", sizeof "SDFILE");
    } else {
        if (location.kind() == DebuggeeLocation::none)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        SVC::ExprGetFileInfo(environment_.context(), location.address().toEE_ADDR(), info_,
                             sizeof info_);
    }
    location_ = location;
}
