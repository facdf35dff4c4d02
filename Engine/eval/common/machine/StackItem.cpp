#include "machine/StackItem.h"

#include <memory>

#include "machine/RuntimeStack.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "tree/RootTreeNode.h"

namespace {

// hasValue, isAllocated and isAssociated.
constexpr std::uint8_t freshFirstFlags = 0xE0;

} // namespace

StackItem::StackItem(EvaluationEnvironment& environment, const TypeItem& type, const ScopeItem* scope)
    : type_(type), environment_(environment), scope_(scope), flags1_(freshFirstFlags)
{}

StackItem::StackItem(EvaluationEnvironment& environment, unsigned int builtinIndex, const ScopeItem* scope)
    : type_(builtinIndex), environment_(environment), scope_(scope), flags1_(freshFirstFlags)
{}

StackItem::StackItem(EvaluationEnvironment& environment, AssignedType type)
    : type_(type.type, TypeItem::AsAssigned{}), environment_(environment), scope_(nullptr), flags1_(freshFirstFlags)
{}

StackItem::StackItem(const StackItem& other)
    : type_(other.type_),
      environment_(other.environment_),
      scope_(other.scope_),
      flags1_(other.flags1_),
      flags2_(other.flags2_)
{
    setFromRegisterVariable(false);
    setFromRegister(false);
}

StackItem::~StackItem()
{
    if (treeRoot_ != nullptr) {
        // A root the host still holds must not keep pointing at this item.
        treeRoot_->forgetResult(this);
        treeRoot_->removeReference();
    }
    location_.clear();
}

const ScopeItem* StackItem::scope() const
{
    if (scope_ == nullptr)
        scope_ = fileScope();
    return scope_;
}

void StackItem::takeRegisterMarks(const StackItem& other)
{
    if (other.fromRegisterVariable())
        setFromRegisterVariable(true);
    if (other.fromRegister())
        setFromRegister(true);
}

RootTreeNode* StackItem::getTreeRoot()
{
    if (treeRoot_ == nullptr) {
        const ByteString text = environment_.expression(this);
        auto* root = new RootTreeNode(type_, environment_, reinterpret_cast<const char*>(text.data()));
        root->addReference();
        treeRoot_ = root;
    }
    return treeRoot_;
}

void StackItem::loadBuffer(const DebuggeeLocation& where, void* buffer)
{
    if (where.kind() == DebuggeeLocation::none) {
        setHasValue(false);
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    const std::uint64_t n = size();
    if (n != 0) {
        if (buffer == nullptr) {
            setHasValue(false);
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        }
        try {
            ReadDebuggeeData(buffer, n, where);
        } catch (...) {
            setHasValue(false);
            throw;
        }
        setHasValue(true);
        return;
    }
    if (where.kind() == DebuggeeLocation::registerLocation)
        setFromRegister(true);
    location_.clear();
    setInDebuggerAddressSpace();
    setHasValue(true);
}

void StackItem::ReadDebuggeeData(void* buffer, std::uint64_t count, const DebuggeeLocation& where)
{
    if (where.kind() == DebuggeeLocation::none)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    if (where.kind() == DebuggeeLocation::registerLocation)
        setFromRegister(true);
    location_.clear();
    clearInDebuggerAddressSpace();

    // The location reads at most 2^32 - 1 bytes at a time; a longer value is
    // read piece by piece from a moving copy of the place.
    constexpr std::uint64_t piece = 0x40000000u;
    std::uint64_t got = 0;
    try {
        auto* bytes = static_cast<unsigned char*>(buffer);
        if (count <= piece) {
            // One piece: read from the place itself, no moving copy needed.
            got = where.read(bytes, static_cast<unsigned>(count));
        } else {
            DebuggeeLocation at(where);
            while (got < count) {
                const unsigned ask = static_cast<unsigned>(count - got < piece ? count - got : piece);
                const unsigned read = at.read(bytes + got, ask);
                got += read;
                if (read < ask)
                    break;
                if (got < count)
                    at.increment(static_cast<long long>(read));
            }
        }
    } catch (const InvalidOp&) {
        throw;
    } catch (...) {
        // Any other failure of the host counts as nothing read.
        got = 0;
    }
    if (got < count)
        throw InvalidOp(InvalidOp::RTRC_ReadMemoryFailed, __PRETTY_FUNCTION__, __LINE__);
    location_ = where;
}

StackItem* StackItem::convertType(const TypeItem& target, const LCC_Eval_Context_Info* context)
{
    std::unique_ptr<StackItem> converted(RuntimeStack::makeStackItem(target, context));
    converted->genConvert(*this);
    delete this;
    return converted.release();
}
