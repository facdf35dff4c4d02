#include "tree/RootTreeNode.h"

#include <cstdio>
#include <limits>

#include "machine/StackItem.h"
#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "tree/NodeTypes.h"

namespace {

constexpr const char loadName[] = "void RootTreeNode::loadExpressionResult(const StackItem&)";

} // namespace

RootTreeNode::RootTreeNode(const TypeItem& type, EvaluationEnvironment& environment, const char* name)
    : UpdateTreeNode(type, name, 0), environment_(&environment)
{
    if (ExpressionRepresentation* rep = environment.asExprRepresentation())
        parameters_ = rep->parameters();
    setRank(type.rankOf());
}

RootTreeNode::~RootTreeNode()
{
    // An element root owns the results it evaluated; the top root's result
    // is the host's.
    freeBuffer();
    result_ = nullptr;
    delete owned_;
}

bool RootTreeNode::isFortran() const
{
    return environment_ != nullptr && environment_->language() == EvaluationEnvironment::languageFortran;
}

bool RootTreeNode::typeIsArraySection() const
{
    return dataType().hasFlag(TypeFlags::arraySection);
}

void RootTreeNode::recordState(std::uint8_t& state, bool on)
{
    if (((state & 1) != 0) != on)
        state = static_cast<std::uint8_t>((on ? 1 : 0) | 2);
}

void RootTreeNode::forgetResult(const StackItem* item)
{
    if (item == nullptr || item != result_)
        return;
    result_ = nullptr;
    if (bufferIsBorrowed())
        freeBuffer();
    setStoredBufferSize(0);
    clearFlags(flagLoaded);
}

// ---- slots ------------------------------------------------------------------

void RootTreeNode::invalidate()
{
    clearFlags(flagLoaded);
    if (parent() == nullptr)
        result_ = nullptr;
    freeBuffer();
    setStoredBufferSize(0);
    TreeNode::invalidate();
}

void RootTreeNode::setInternalRepresentation() const
{
    if (environment_ != nullptr)
        environment_->makeCurrent(nullptr);
}

bool RootTreeNode::useAddress() const
{
    return result_ != nullptr && result_->isString();
}

unsigned char* RootTreeNode::evaluationBuffer() const
{
    if (ownBuffer() != nullptr)
        return const_cast<unsigned char*>(ownBuffer());
    if (result_ == nullptr)
        return nullptr;
    auto* start = static_cast<unsigned char*>(result_->resultBuffer());
    if (start != nullptr)
        borrowBuffer(start, start + result_->size());
    return start;
}

std::uint64_t RootTreeNode::evaluationBufferSize() const
{
    if (storedBufferSize() == 0 && result_ != nullptr)
        setStoredBufferSize(result_->size());
    return storedBufferSize();
}

std::uint64_t RootTreeNode::dataLength() const
{
    return result_ != nullptr && result_->inDebuggerAddressSpace() ? result_->stringLength() : 0;
}

void RootTreeNode::addLengthAttribute() const
{
    if (!isFortran() || result_ == nullptr || !result_->inDebuggerAddressSpace())
        return;
    const TypeItem& type = dataType();
    if (!type.hasFlag(TypeFlags::pointer) || !type.pointee().hasFlag(TypeFlags::character))
        return;
    char text[40];
    std::snprintf(text, sizeof text, "(len=%ld)", static_cast<long>(result_->size()));
    appendTypeName(text);
}

bool RootTreeNode::updateLengthAttribute(unsigned oldLength) const
{
    if (result_ == nullptr || !result_->inDebuggerAddressSpace())
        return false;
    const TypeItem& type = dataType();
    if (!type.hasFlag(TypeFlags::pointer) || !type.pointee().hasFlag(TypeFlags::character))
        return false;
    return result_->stringLength() != oldLength;
}

std::uint32_t RootTreeNode::QueryArrayType() const
{
    if (typeIsArraySection() || parent() != nullptr)
        return 0x4001;
    return TreeNode::QueryArrayType();
}

// ---- loading ----------------------------------------------------------------

void RootTreeNode::loadResult(const StackItem& item)
{
    if (!isLoaded())
        loadExpressionResult(item);
    environment_ = &item.environment();
}

void RootTreeNode::loadExpressionResult(const StackItem& item)
{
    invalidate();
    readFailed_ = false;
    environment_ = &item.environment();

    if (isEmptyNodeType(dataType()) || !item.hasValue())
        throw InvalidOp(InvalidOp::RTRC_Other, loadName, __LINE__);
    setDataType(item.type());
    if (isEmptyNodeType(dataType()))
        throw InvalidOp(InvalidOp::RTRC_Other, loadName, __LINE__);

    recordState(associated_, item.isAssociated());
    recordState(allocated_, item.isAllocated());
    result_ = const_cast<StackItem*>(&item);
    if (item.inDebuggerAddressSpace())
        setFlags(flagMayNotLoad);
    else
        clearFlags(flagMayNotLoad);
    clearFlags(flagFromParent | flagRegister);
    if (item.fromRegisterVariable())
        setFlags(flagFromParent);
    if (item.fromRegister())
        setFlags(flagRegister);
    lengthAttribute_ = item.inDebuggerAddressSpace() ? static_cast<std::uint32_t>(item.stringLength()) : 0xFFFFFFFFu;
    if (SVC::tracing())
        SVC::fTrace(loadName, __LINE__, "Location is %s", item.location().format());

    const TypeItem& type = dataType();
    const bool descriptor = type.hasFlag(TypeFlags::fortranDescriptor);
    if (descriptor && type.hasFlag(TypeFlags::array)) {
        setLocation(DebuggeeLocation(type.getDataAddress(item.location())));
    } else if ((type.hasFlag(TypeFlags::reference) || (descriptor && type.hasFlag(TypeFlags::pointer))) &&
               !type.hasFlag(TypeFlags::addressOfReference)) {
        const DebuggeeLocation target(type.getDataAddress(item.location()));
        if (SVC::tracing())
            SVC::fTrace(loadName, __LINE__, "Address of reference = %s", target.format());
        setLocation(target);
        freeBuffer();
        if (!formatType().hasFlag(TypeFlags::array)) {
            bool read = false;
            try {
                const std::uint64_t size = formatType().typeSize();
                if (size > std::numeric_limits<unsigned>::max())
                    throw InvalidOp(InvalidOp::RTRC_ReadMemoryFailed, loadName, __LINE__);
                ensureBuffer(size);
                read = size == 0 ||
                       target.read(const_cast<unsigned char*>(ownBuffer()), static_cast<unsigned>(size)) == size;
            } catch (...) {
                read = false;
            }
            if (!read) {
                freeBuffer();
                setFlags(flagLoaded);
                readFailed_ = true;
                return;
            }
        }
    } else {
        setLocation(item.location());
    }

    // A COBOL variable lives at an address: one without is a variable whose
    // storage is gone. A file description has none, and a value the evaluator
    // made itself (a literal, a sum, a comparison, an array section) is no
    // variable.
    if (environment_->language() == EvaluationEnvironment::languageCOBOL && item.loadedFromVariable() &&
        location().kind() == DebuggeeLocation::none && !type.hasFlag(TypeFlags::fileDescriptor) &&
        !item.inDebuggerAddressSpace())
        throw InvalidOp(InvalidOp::RTRC_ReadMemoryFailed, loadName, __LINE__);

    if (SVC::tracing())
        SVC::fTrace(loadName, __LINE__, "Address set to %s", location().format());
    setFlags(flagLoaded);
    if ((associated_ & 1) != 0 && !typeIsArraySection())
        loadChildren();
}

void RootTreeNode::updateResult(const StackItem* item)
{
    if (item == nullptr)
        return;
    // A root loaded just now took the item's type already; assigning it
    // again would only copy the same type over itself.
    const bool freshlyLoaded = !isLoaded();
    loadResult(*item);
    setFormatType(item->formatType());
    if (!freshlyLoaded)
        setDataType(item->type());
    if (!isFortran())
        return;
    if (!statesRecorded_) {
        statesRecorded_ = true;
        recordedAssociated_ = item->isAssociated();
        recordedAllocated_ = item->isAllocated();
        return;
    }
    const char* function = "virtual void RootTreeNode::updateResult(const StackItem*)";
    if (dataType().hasTypeStructureChanged())
        throw InvalidOp(InvalidOp::RTRC_ForceRebuildExpr, function, __LINE__);
    if (!typeIsArraySection()) {
        const bool associated = item->isAssociated();
        const bool allocated = item->isAllocated();
        const bool differs = associated != recordedAssociated_ || allocated != recordedAllocated_;
        recordedAssociated_ = associated;
        recordedAllocated_ = allocated;
        if (differs)
            throw InvalidOp(InvalidOp::RTRC_ForceRebuildExpr, function, __LINE__);
    }
    if (updateLengthAttribute(lengthAttribute_))
        throw InvalidOp(InvalidOp::RTRC_ForceRebuildExpr, function, __LINE__);
    const TypeItem& type = dataType();
    if (type.hasFlag(TypeFlags::fortranDescriptor) && type.hasFlag(TypeFlags::pointer) &&
        formatType().hasFlag(TypeFlags::array)) {
        TypeItem& shown = const_cast<TypeItem&>(formatType());
        const char* keptText = shown.demangledTypeNameReset();
        const std::string kept = keptText != nullptr ? keptText : "";
        const char* now = shown.demangledTypeName(rank());
        if (kept != (now != nullptr ? now : ""))
            throw InvalidOp(InvalidOp::RTRC_ForceRebuildExpr, function, __LINE__);
    }
}

bool RootTreeNode::changed(bool associated) const
{
    recordState(associated_, associated);
    if ((associated_ & 2) != 0) {
        // Reported once: the next question is about changes after this one.
        associated_ &= 1;
        return true;
    }
    if (isFortran() && dataType().hasFlag(TypeFlags::array)) {
        const TypeItem& type = dataType();
        const std::string kept =
            type.hasValidName()
                ? std::string(reinterpret_cast<const char*>(type.cachedName().data()), type.cachedName().length())
                : std::string();
        const char* now = type.demangledTypeName(rank(), true);
        return kept != (now != nullptr ? now : "");
    }
    return false;
}
