#include "machine/RuntimeStack.h"

#include <memory>

#include "machine/StackItemCharstring.h"
#include "machine/StackItemDbcsString.h"
#include "machine/StackItemFigConstant.h"
#include "machine/StackItemNationalString.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "types/TypeItem.h"

// The loads of text constants: alphanumeric (as figurative-constant items,
// which take the size of what they meet), national and DBCS.

namespace {

void pushOwned(RuntimeStack& stack, StackItem* item)
{
    std::unique_ptr<StackItem> owned(item);
    stack.push(owned.get());
    owned.release();
}

} // namespace

void RuntimeStack::genLoadCharstringConstant(const char* text, std::uint64_t length, const TypeItem& type)
{
    pushOwned(*this, new StackItemFigConstant(*EvaluationEnvironment::currentRep(), text, length, type));
}

void RuntimeStack::genLoadNationalStringConstant(const char* text, std::uint64_t length, const TypeItem& type)
{
    pushOwned(*this, new StackItemNationalString(*EvaluationEnvironment::currentRep(), text, length, type));
}

void RuntimeStack::genLoadDbcsStringConstant(const char* text, std::uint64_t length, const TypeItem& type)
{
    pushOwned(*this, new StackItemDbcsString(*EvaluationEnvironment::currentRep(), text, length, type));
}

void RuntimeStack::genLoadFigConstant(const char* text, std::uint64_t length, const TypeItem& type)
{
    if (!isRunning())
        return;
    if (!type.hasFlag(TypeFlags::characterString))
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    pushOwned(*this, new StackItemFigConstant(*EvaluationEnvironment::currentRep(), text, length, type));
}

void RuntimeStack::pushBoundString(const char* text, std::uint64_t length, const TypeItem& type)
{
    pushOwned(*this, new StackItemCharstring(*EvaluationEnvironment::currentRep(), text, length, type));
}
