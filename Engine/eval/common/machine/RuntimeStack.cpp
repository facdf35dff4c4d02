#include "machine/RuntimeStack.h"

#include "machine/StackItemInteger.h"
#include "services/EvaluationEnvironment.h"
#include "types/TypeItem.h"

RuntimeStack* RuntimeStack::allocate()
{
    return new RuntimeStack;
}

RuntimeStack::~RuntimeStack()
{
    popAll();
}

void RuntimeStack::push(StackItem* item)
{
    item->next = top_;
    top_ = item;
    ++count_;
}

void RuntimeStack::popAll()
{
    while (top_ != nullptr) {
        StackItem* item = top_;
        top_ = item->next;
        item->next = nullptr;
        delete item;
    }
    count_ = 0;
}

StackItem* RuntimeStack::makeStackItem(const TypeItem& type, const LCC_Eval_Context_Info* context)
{
    EvaluationEnvironment& environment = *EvaluationEnvironment::currentRep();
    (void)context;
    unsigned code = type.equivalentPrimitiveType();
    if (code == 223) {
        // A host integer entry of a plain C size stands for the primitive of
        // that size and signedness (a bit field does not).
        const _TYPE_ENTRY* entry = type.typeEntry();
        if (entry != nullptr && entry->leaf == TE_INTEGER && entry->integer.bitOffset == 0) {
            const bool isUnsigned = (entry->integer.flags & TNinteger_Unsigned) != 0;
            switch (entry->integer.bitLength) {
            case 8: code = isUnsigned ? 132 : 128; break;
            case 16: code = isUnsigned ? 133 : 129; break;
            case 32: code = isUnsigned ? 134 : 130; break;
            case 64: code = isUnsigned ? 156 : 155; break;
            default: break;
            }
        }
    }
    switch (code) {
    case 128: return new StackItemInteger<signed char>(environment, type);
    case 129: return new StackItemInteger<short>(environment, type);
    case 130: return new StackItemInteger<int>(environment, type);
    case 155: return new StackItemInteger<long long>(environment, type);
    case 132:
    case 148: return new StackItemInteger<unsigned char>(environment, type);
    case 133: return new StackItemInteger<unsigned short>(environment, type);
    case 134: return new StackItemInteger<unsigned int>(environment, type);
    case 156: return new StackItemInteger<unsigned long long>(environment, type);
    default: return nullptr;
    }
}
