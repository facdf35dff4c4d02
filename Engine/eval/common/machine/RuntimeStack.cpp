#include "machine/RuntimeStack.h"

#include <memory>

#include "machine/StackItem.h"
#include "services/InvalidOp.h"

RuntimeStack* RuntimeStack::allocate()
{
    return new RuntimeStack;
}

RuntimeStack::~RuntimeStack()
{
    popAll();
}

void RuntimeStack::emptyStack(const char* function, unsigned line)
{
    throw InvalidOp(InvalidOp::RTRC_Empty_Stack, function, line);
}

void RuntimeStack::push(StackItem* item)
{
    // The bottom item has no next item: the explicit mark tells that it is
    // on a stack all the same.
    if (item == nullptr || item->onStack_ || item->next_ != nullptr)
        throw InvalidOp(InvalidOp::RTRC_StackPush, __PRETTY_FUNCTION__, __LINE__);
    item->next_ = top_;
    item->onStack_ = true;
    top_ = item;
    ++count_;
}

StackItem* RuntimeStack::pop()
{
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    StackItem* item = top_;
    top_ = item->next_;
    item->next_ = nullptr;
    item->onStack_ = false;
    --count_;
    return item;
}

void RuntimeStack::popAll()
{
    while (top_ != nullptr)
        delete pop();
    delete heldSection_;
    heldSection_ = nullptr;
    notAllocatedSeen_ = false;
    storeSeen_ = false;
    guardedStoreSeen_ = false;
    optimizedAddressSeen_ = false;
    userCallSeen_ = false;
    skipState_ = running;
}

void RuntimeStack::genPop()
{
    if (isRunning())
        delete pop();
}

bool RuntimeStack::ValueOnStackIsZero()
{
    if (!isRunning())
        return false;
    std::unique_ptr<StackItem> item(pop());
    return item->isZero() != 0;
}

void RuntimeStack::genJump(std::uint32_t label)
{
    if (!isRunning())
        return;
    skipState_ = skipping;
    jumpLabel_ = label;
}

void RuntimeStack::genLabel(std::uint32_t label)
{
    if (skipState_ == skipping && label == jumpLabel_)
        skipState_ = running;
}

void RuntimeStack::genCall(std::uint32_t, bool builtin)
{
    userCallSeen_ = !builtin;
    if (isRunning())
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
}

void RuntimeStack::genCOBOLCall(ArgMode*, unsigned int)
{
    if (isRunning())
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
}

void RuntimeStack::holdSection(StackItem* section)
{
    if (section == heldSection_)
        return;
    delete heldSection_;
    heldSection_ = section;
}

void RuntimeStack::pushArraySection()
{
    if (!isRunning() || heldSection_ == nullptr)
        return;
    delete pop();
    std::unique_ptr<StackItem> section(heldSection_);
    heldSection_ = nullptr;
    push(section.get());
    section.release();
}
