#include "api/LocalVariableStdSym.h"

#include <cctype>
#include <cstring>
#include <memory>

#include "HostRecordAccess.h"
#include "api/LocalValueRoot.h"
#include "api/LocalsRepresentation.h"
#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/LocalSymbolItem.h"
#include "types/ScopeItem.h"
#include "types/TypeItemSupport.h"

namespace {

const unsigned char* bytesOf(const char* text)
{
    return reinterpret_cast<const unsigned char*>(text);
}

// An unnamed aggregate, or one the compiler named "__<digit>...".
bool isAnonymous(const char* name, const TypeItem& type)
{
    const std::size_t length = std::strlen(name);
    const bool generated =
        length > 2 && name[0] == '_' && name[1] == '_' && std::isdigit(static_cast<unsigned char>(name[2]));
    return (length == 0 || generated) && type.isClassOrStruct();
}

} // namespace

LocalVariableStdSym::LocalVariableStdSym(LocalSymbolItem& symbol) : LocalVariable(&symbol, symbol.entry())
{
    const char* shown = LocalsRepresentation::localSymbolDisplayName(symbol.entry());
    if (shown == nullptr)
        shown = "";
    name_ = ByteString(bytesOf(shown), static_cast<unsigned>(std::strlen(shown)));
    constant_ = symbol.entry()->kind == SE_CONSTANT;
    if (constant_) {
        // Read once; the private stack deletes what a failed load leaves.
        try {
            std::unique_ptr<RuntimeStack> stack(RuntimeStack::allocate());
            stack->genLoadConstant(symbol);
            value_ = stack->pop();
        } catch (const InvalidOp&) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Constant %s cannot be read", shown);
        }
    }
    if (value_ == nullptr) {
        value_ = RuntimeStack::makeStackItem(symbol.dataType(), symbol.scope().context());
        if (isAnonymous(shown, symbol.dataType()))
            name_ = ByteString(bytesOf("<anonymous>"), 11);
    }
    value_->setScope(&symbol.scope());
}

LocalVariableStdSym::~LocalVariableStdSym()
{
    delete value_;
}

SymbolItem* LocalVariableStdSym::symbolItem() const
{
    return symbol_;
}

LocalSymbolItem& LocalVariableStdSym::local() const
{
    return static_cast<LocalSymbolItem&>(*symbol_);
}

bool LocalVariableStdSym::load(int frame, bool& associated)
{
    LocalSymbolItem& symbol = local();
    const DebuggeeLocation& location = symbol.debuggeeAddress(frame);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "%s - symbol = %s from location %s",
                reinterpret_cast<const char*>(name_.data()), symbol.name(), location.format());
    if (symbol.stackBaseSelector() != 0 && location.isNull())
        return false;
    if (location.kind() == DebuggeeLocation::debuggeeMemory)
        value_->type().setSymbolLocation(location);
    const TypeItem& declared = symbol.dataType();
    if (!TypeItemSupport::isFortranPointer(declared)) {
        value_->load(location);
        return false;
    }
    // The pointer's states are read from its descriptor, which the type
    // finds only once it knows where the symbol lives.
    declared.setSymbolLocation(location);
    const TypeItem before(value_->type());
    const bool allocated = declared.isAllocated();
    associated = declared.isAssociated();
    if (allocated && associated)
        value_->load(location);
    value_->setIsAllocated(allocated);
    value_->setIsAssociated(associated);
    return before != value_->type();
}

StackItem* LocalVariableStdSym::evaluate(int frame)
{
    failed_ = false;
    changeState_ = unchanged;
    try {
        bool associated = true;
        const bool typeChanged = constant_ ? false : load(frame, associated);
        const bool changedRoot = refreshValueRoot(*value_, local().stackBaseSelector(), associated);
        value_->setFromRegisterVariable(symbol_->entry()->kind == SE_REGISTER || symbol_->isRegister());
        if (value_->environment().language() == EvaluationEnvironment::languageFortran &&
            (changedRoot || typeChanged)) {
            changeState_ = rebuild;
            value_->releaseTreeRoot();
            previous_.clear();
            return value_;
        }
        compareWithPrevious(shownValueBytes(*value_));
    } catch (const InvalidOp& e) {
        previous_.clear();
        changeState_ = e.code() == InvalidOp::RTRC_ForceRebuildExpr ? rebuild : changed;
        if (e.code() != InvalidOp::RTRC_InvalidReference)
            failed_ = true;
    } catch (...) {
        failed_ = true;
        previous_.clear();
        changeState_ = changed;
    }
    return value_;
}
