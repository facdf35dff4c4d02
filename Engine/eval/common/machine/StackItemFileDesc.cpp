#include "machine/StackItemFileDesc.h"

#include <algorithm>
#include <cstring>

#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/ScopeItem.h"

StackItemFileDesc::StackItemFileDesc(EvaluationEnvironment& environment, const TypeItem& type)
    : StackItem(environment, type), info_(std::max<std::uint64_t>(fileInformationSize, type.typeSize()), 0)
{
    setHasValue(true);
}

StackItemFileDesc::StackItemFileDesc(const StackItemFileDesc& other) : StackItem(other), info_(other.info_) {}

StackItemFileDesc::~StackItemFileDesc() = default;

StackItem* StackItemFileDesc::clone() const
{
    return new StackItemFileDesc(*this);
}

std::uint64_t StackItemFileDesc::size() const
{
    return type_.typeSize();
}

void* StackItemFileDesc::resultBuffer() const
{
    return const_cast<unsigned char*>(info_.data());
}

void StackItemFileDesc::load(const DebuggeeLocation& location)
{
    const _TYPE_ENTRY* entry = type_.typeEntry();
    const char* name = entry != nullptr && entry->leaf == TE_FILE_DESCRIPTOR ? entry->fileDescriptor.name : nullptr;
    if (name != nullptr && std::strcmp(name, "SD") == 0) {
        // A sort file description has no file information to ask for.
        std::fill(info_.begin(), info_.end(), 0);
        std::memcpy(info_.data(), "SDFILE", sizeof "SDFILE");
        setHasValue(true);
        return;
    }
    setHasValue(location.kind() != DebuggeeLocation::none);
    if (!hasValue())
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const ScopeItem* owner = givenScope();
    const LCC_Eval_Context_Info* context = owner != nullptr ? owner->context() : environment_.context();
    try {
        SVC::ExprGetFileInfo(context, location.address().toEE_ADDR(), info_.data(), fileInformationSize);
    } catch (...) {
        setHasValue(false);
        throw;
    }
    location_ = location;
    setHasValue(true);
}
