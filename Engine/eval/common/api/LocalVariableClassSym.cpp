#include "api/LocalVariableClassSym.h"

#include <cstring>

#include "api/ClassThisValue.h"
#include "api/LocalValueRoot.h"
#include "machine/StackItem.h"
#include "services/InvalidOp.h"
#include "types/SymbolItem.h"

LocalVariableClassSym::LocalVariableClassSym(ClassThisValue& thisValue, SymbolItem& member)
    : LocalVariable(&member, &member), thisValue_(thisValue)
{
    const char* shown = member.name();
    if (shown == nullptr)
        shown = "";
    name_ = ByteString(reinterpret_cast<const unsigned char*>(shown), static_cast<unsigned>(std::strlen(shown)));
}

LocalVariableClassSym::~LocalVariableClassSym()
{
    delete value_;
}

SymbolItem* LocalVariableClassSym::symbolItem() const
{
    return symbol_;
}

StackItem* LocalVariableClassSym::evaluate(int frame)
{
    failed_ = true;
    StackItem* fresh = thisValue_.value(*symbol_, frame);
    if (fresh == nullptr)
        throw InvalidOp(InvalidOp::RTRC_InvalidSymbol, __PRETTY_FUNCTION__, __LINE__);
    if (value_ == nullptr) {
        value_ = fresh;
    } else {
        // The item the host may hold stays the same object: it is reloaded
        // from where the fresh load found the member.
        const DebuggeeLocation where = fresh->location();
        delete fresh;
        value_->load(where);
    }
    refreshValueRoot(*value_, 0, true);
    changeState_ = unchanged;
    compareWithPrevious(shownValueBytes(*value_));
    failed_ = false;
    return value_;
}
