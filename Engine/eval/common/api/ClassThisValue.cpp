#include "api/ClassThisValue.h"

#include <memory>
#include <string>

#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"
#include "services/SVC.h"
#include "types/CreatedTypeItem.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

namespace {

const char* typeText(const TypeItem* type)
{
    const char* text = type != nullptr ? type->format() : nullptr;
    return text != nullptr ? text : "";
}

} // namespace

ClassThisValue::ClassThisValue(SymbolItem& thisSymbol)
    : classType_(CreatedTypeItem::findDereferencedType(thisSymbol.dataType())), thisSymbol_(&thisSymbol)
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Building %s %s", typeText(classType_), thisSymbol.name());
}

ClassThisValue::ClassThisValue(ClassThisValue& derived, const TypeItem& base) : classType_(&base), derived_(&derived)
{
    // The trace text of a type lives only until the next one is made.
    const std::string baseText = typeText(classType_);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Converting to class %s from class %s", baseText.c_str(),
                typeText(derived.classType_));
}

ClassThisValue::~ClassThisValue()
{
    delete cached_;
}

void ClassThisValue::reset()
{
    delete cached_;
    cached_ = nullptr;
}

void ClassThisValue::pushThis(RuntimeStack& stack, int frame)
{
    if (cached_ != nullptr) {
        stack.push(cached_->clone());
        return;
    }
    if (derived_ != nullptr) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Converting to base class (%s)", typeText(classType_));
        derived_->pushThis(stack, frame);
        stack.genLoadBaseAddress(*classType_, *derived_->classType_);
    } else {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Computing this pointer for derived class (%s)",
                    typeText(classType_));
        stack.genLoad(*thisSymbol_, frame);
    }
    stack.genDupValue();
    cached_ = stack.pop();
}

StackItem* ClassThisValue::value(SymbolItem& member, int frame)
{
    // The private stack deletes whatever a failed load leaves on it.
    std::unique_ptr<RuntimeStack> stack(RuntimeStack::allocate());
    pushThis(*stack, frame);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Loading class data member %s", member.name());
    stack->genLoadIndirect(member.getMemberOffset(), member.dataType());
    return stack->pop();
}
