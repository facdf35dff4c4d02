#include "types/LocalSymbolItem.h"

#include "HostRecordAccess.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/Register.h"
#include "services/SVC.h"
#include "types/BoundTypeItem.h"

LocalSymbolItem::LocalSymbolItem(SYMBOL_ENTRY& entry, ScopeItem& scope, std::uint32_t stackBaseSelector)
    : SymbolItem(symbolEntryDisplayName(entry), scope), selector_(stackBaseSelector)
{
    _entry = &entry;
    // The bound form, as for every symbol: a type whose shape the program
    // fixes at run time reads it from where the symbol lives.
    _dataType = *BoundTypeItem::getType(TypeItem(typeOfSymbol(entry)));
}

const DebuggeeLocation& LocalSymbolItem::debuggeeAddress(int frame) const
{
    if (_noStorage)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    if (_addressState == addressCached && !_location.isNull()) {
        _dataType.setSymbolLocation(_location);
        return _location;
    }
    if (symbolEntryIncomplete(*_entry))
        throw InvalidOp(InvalidOp::RTRC_IncompleteSymbol, __PRETTY_FUNCTION__, __LINE__);
    EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
    if (env->asLocalsRepresentation() == nullptr)
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);

    if (kind_ == notClassified) {
        kind_ = beingClassified;
        if (_entry->kind == SE_AUTOMATIC) {
            // The frame offset counts in the context that declares the entry.
            const LCC_Eval_Context_Info* context = env->context();
            for (unsigned depth = 0; context != nullptr && depth < 4096; ++depth) {
                if (SVC::ExprGetContextType2(context) == CS2_FILE)
                    break;
                if (SVC::ExprSymbolEntryWithinContext(*_entry, context)) {
                    kind_ = frameOffset;
                    registerOrOffset_ = static_cast<std::uint64_t>(automaticFrameOffset(*_entry));
                    break;
                }
                const LCC_Eval_Context_Info* outer = nullptr;
                SVC::ExprGetContainingContextInfo(context, outer);
                context = outer;
            }
        } else if (_entry->kind == SE_REGISTER) {
            kind_ = inRegister;
            registerOrOffset_ = Register::id(symbolEntryRegisterName(*_entry));
        } else {
            kind_ = general;
        }
    }

    switch (kind_) {
    case frameOffset: {
        DebuggeeAddress base = env->currentStackBase(selector_);
        base += registerOrOffset_;
        _location = base;
        break;
    }
    case general: computeAddress(env->context(), frame); break;
    case inRegister:
        if (env->frameIndex() != 0)
            throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
        _location = Register(static_cast<unsigned long>(registerOrOffset_));
        break;
    default: throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    }
    _dataType.setSymbolLocation(_location);
    return _location;
}
