#include "types/LocalSymbolItem.h"

#include "HostRecordAccess.h"
#include "api/LocalsRepresentation.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/Register.h"
#include "services/SVC.h"

LocalSymbolItem::LocalSymbolItem(SYMBOL_ENTRY* entry, ScopeItem& scope, unsigned stackBase)
    : SymbolItem(entry != nullptr ? LocalsRepresentation::localSymbolDisplayName(entry) : nullptr, scope),
      stackBase_(stackBase)
{
    _entry = entry;
    if (entry != nullptr)
        _dataType = TypeItem(symbolEntryType(*entry));
}

void LocalSymbolItem::classify() const
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
    switch (_entry->kind) {
    case SE_AUTOMATIC: {
        kind_ = unresolvedKind;
        const LCC_Eval_Context_Info* context = env->context();
        try {
            for (unsigned depth = 0; context != nullptr && depth < 4096; ++depth) {
                if (SVC::ExprGetContextType2(context) == CS2_FILE)
                    break;
                if (SVC::ExprSymbolEntryWithinContext(*_entry, context)) {
                    if (_dataType.typeIndex().module() == 0 && _dataType.typeIndex().index() == 0)
                        _dataType = TypeItem(symbolEntryType(*_entry));
                    kind_ = frameOffsetKind;
                    value_ = static_cast<std::uint64_t>(automaticFrameOffset(*_entry));
                    break;
                }
                containingContext(context);
            }
        } catch (const InvalidOp&) {
        }
        break;
    }
    case SE_REGISTER:
        value_ = static_cast<std::uint64_t>(Register::id(symbolEntryRegisterName(*_entry)));
        kind_ = registerKind;
        break;
    default:
        kind_ = generalKind;
        break;
    }
}

const DebuggeeLocation& LocalSymbolItem::debuggeeAddress(int frame) const
{
    if (_noStorage)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    if (_addressState == addressCached && _location.kind() != DebuggeeLocation::none) {
        _dataType.setSymbolLocation(_location);
        return _location;
    }
    if (_entry == nullptr)
        throw InvalidOp(InvalidOp::RTRC_InvalidSymbol, __PRETTY_FUNCTION__, __LINE__);
    if (symbolEntryIncomplete(*_entry))
        throw InvalidOp(InvalidOp::RTRC_IncompleteSymbol, __PRETTY_FUNCTION__, __LINE__);
    EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
    if (env->asLocalsRepresentation() == nullptr)
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);

    if (kind_ == notClassified) {
        kind_ = unresolvedKind;  // until classified, a re-entry finds nothing
        classify();
    }
    switch (kind_) {
    case frameOffsetKind: {
        DebuggeeAddress base = env->currentStackBase(stackBase_);
        base += value_;
        _location = base;
        break;
    }
    case generalKind:
        return computeAddress(env->context(), frame);
    case registerKind:
        // Registers hold the variable only in the innermost frame.
        if (env->frameIndex() != 0)
            throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
        _location = DebuggeeLocation(static_cast<unsigned long>(value_));
        break;
    default:
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    }
    _dataType.setSymbolLocation(_location);
    return _location;
}
