// Addresses of symbols: where a symbol lives in the debuggee, by its storage
// code, and which call-stack frame an automatic symbol is taken from.

#include "types/SymbolItem.h"

#include "HostRecordAccess.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/Register.h"
#include "services/SVC.h"
#include "types/ScopeItem.h"

namespace {

DebuggeeAddress sectionAddress(const LCC_Eval_Context_Info* context, UBYTE4 section, UBYTE8 offset)
{
    DebuggeeAddress base(SVC::Expr2MapSection(context, section));
    base += offset;
    return base;
}

// Whether the symbol's entry is declared in the context or one of its
// containers below the file context.
bool entryWithinChain(SYMBOL_ENTRY& entry, const LCC_Eval_Context_Info* context)
{
    try {
        for (unsigned depth = 0; context != nullptr && depth < 4096; ++depth) {
            if (SVC::ExprGetContextType2(context) == CS2_FILE)
                return false;
            if (SVC::ExprSymbolEntryWithinContext(entry, context))
                return true;
            const LCC_Eval_Context_Info* outer = nullptr;
            SVC::ExprGetContainingContextInfo(context, outer);
            context = outer;
        }
    } catch (const InvalidOp&) {
    }
    return false;
}

} // namespace

const DebuggeeLocation& SymbolItem::debuggeeAddress(int frame) const
{
    if (_noStorage)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    if (_addressState == addressCached && !_location.isNull())
        return _location;
    if (_entry == nullptr)
        throw InvalidOp(InvalidOp::RTRC_InvalidSymbol, __PRETTY_FUNCTION__, __LINE__);
    return computeAddress(_scope->context(), frame);
}

const DebuggeeLocation& SymbolItem::computeAddress(const LCC_Eval_Context_Info* context, int frame) const
{
    if (_noStorage)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    if (_addressState == addressCached && !_location.isNull())
        return _location;
    if (_entry == nullptr)
        throw InvalidOp(InvalidOp::RTRC_InvalidSymbol, __PRETTY_FUNCTION__, __LINE__);
    if (symbolEntryIncomplete(*_entry))
        throw InvalidOp(InvalidOp::RTRC_IncompleteSymbol, __PRETTY_FUNCTION__, __LINE__);

    DebuggeeAddress address;
    switch (_entry->kind) {
    case SE_FUNCTION:
    case SE_ENTRY_FUNCTION:
    case SE_SECTION_DATA:
    case SE_MEMBER_FUNCTION:
    case SE_SECTION_DATA36:
    case SE_COMMON_MEMBER:
        address = sectionAddress(context, symbolEntrySection(*_entry), symbolEntryOffset(*_entry));
        _addressState = addressCached;
        break;
    case SE_THREAD_STATIC:
        address = DebuggeeAddress(SVC::Expr2ComputeThreadStaticBase(context));
        address += symbolEntryOffset(*_entry);
        _addressState = addressRecomputed;
        break;
    case SE_AUTOMATIC:
        address = computeAutoAddress(context, *_entry, frame);
        break;
    case SE_STATIC:
        address = computeStaticAddress(context, *_entry);
        break;
    case SE_DWARF_LOCATION:
        address = computeDWExprAddress(context, *_entry, frame);
        break;
    case SE_REGISTER: {
        if (EvaluationEnvironment::currentRep()->asExprRepresentation() == nullptr)
            throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
        _location = Register(static_cast<unsigned long>(Register::id(symbolEntryRegisterName(*_entry))));
        return _location;
    }
    case SE_BUILTIN_PROCEDURE:
        _location = symbolEntryBuiltinBuffer(*_entry);
        _addressState = addressCached;
        return _location;
    default:
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    }
    _location = address;
    _dataType.setSymbolLocation(_location);
    return _location;
}

DebuggeeAddress SymbolItem::computeAutoAddress(const LCC_Eval_Context_Info*, SYMBOL_ENTRY& entry, int frame) const
{
    const std::int64_t offset = automaticFrameOffset(entry);
    if (isCobolLanguage())
        return DebuggeeAddress(static_cast<std::uint64_t>(offset));
    EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
    if (env->frameIndex() >= 0 && frame < 0)
        frame = env->frameIndex();
    if (setFrame(frame) == nullptr)
        throw InvalidOp(InvalidOp::RTRC_NotAllocated, __PRETTY_FUNCTION__, __LINE__);
    DebuggeeAddress base = env->currentStackBase(_scope->nestingLevel());
    base += static_cast<std::uint64_t>(offset);
    return base;
}

DebuggeeAddress SymbolItem::computeStaticAddress(const LCC_Eval_Context_Info* context, SYMBOL_ENTRY& entry) const
{
    DebuggeeAddress address = sectionAddress(context, symbolEntrySection(entry), symbolEntryOffset(entry));
    _addressState = addressCached;
    return address;
}

DebuggeeAddress SymbolItem::computeDWExprAddress(const LCC_Eval_Context_Info* context, SYMBOL_ENTRY& entry,
                                                 int) const
{
    DebuggeeAddress address(SVC::Expr2ComputeAbsDWARFaddress(context, symbolEntryLocation(entry)));
    _addressState = addressCached;
    return address;
}

const LCC_Eval_Context_Info* SymbolItem::setFrame(int frame) const
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
    if (_entry == nullptr)
        return nullptr;
    if (frame < 0 && env->frameIndex() >= 0)
        frame = env->frameIndex();
    const int first = frame >= 0 ? frame : 0;
    const int last = frame >= 0 ? frame : 0xFFFF;
    for (int n = first; n <= last; ++n) {
        CALLSTACK_ITEM2 item{};
        try {
            SVC::Expr2GetCallStackEntry(env->context(), static_cast<UBYTE2>(n), &item);
        } catch (const InvalidOp&) {
            if (frame >= 0)
                throw;
            return nullptr;
        }
        const LCC_Eval_Context_Info* context = callStackContext(item);
        if (context == nullptr)
            return nullptr;
        if (entryWithinChain(*_entry, context)) {
            if (frame >= 0)
                env->setEvaluationStackFrame(n, &item);
            else
                env->setEvaluationStackFrame(n, nullptr);
            return context;
        }
    }
    return nullptr;
}

std::int64_t SymbolItem::getMemberOffset() const
{
    if (_member.expressionLength != 0) {
        const UBYTE8 initial = 0;
        return SVC::GetDwarfValue(_scope->context(), _member.expression(), _member.expressionLength, &initial);
    }
    return static_cast<std::int64_t>(_member.offset);
}
