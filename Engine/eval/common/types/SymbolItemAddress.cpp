// Addresses of symbols: where a symbol lives in the debuggee, by its storage
// code, and which call-stack frame an automatic symbol is taken from.

#include "types/SymbolItem.h"

#include <cstring>

#include "HostRecordAccess.h"
#include "machine/TypeModelStackItems.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/Register.h"
#include "services/SVC.h"
#include "types/ScopeItem.h"

namespace {

// Host search flags for a symbol made from a type: first inside functions,
// then (once a function context was passed) outside them, and for the
// storage of a static member.
constexpr UBYTE4 kSearchInFunction = 66142;
constexpr UBYTE4 kSearchOutside = 66070;
constexpr UBYTE4 kSearchStaticMember = 528;

// Context walks stop after this many steps: host contexts nest only a few
// levels, a longer chain is a cycle.
constexpr unsigned kContextWalkLimit = 4096;

DebuggeeAddress sectionAddress(const LCC_Eval_Context_Info* context, UBYTE4 section, UBYTE8 offset)
{
    DebuggeeAddress base(SVC::Expr2MapSection(context, section));
    base += offset;
    return base;
}

// Whether the entry is declared in the context or one of its containers
// below the file context. Host failures on the way answer false.
bool entryWithinChain(SYMBOL_ENTRY& entry, const LCC_Eval_Context_Info* context)
{
    try {
        for (unsigned depth = 0; context != nullptr && depth < kContextWalkLimit; ++depth) {
            if (SVC::ExprGetContextType2(context) == CS2_FILE)
                return false;
            if (SVC::ExprSymbolEntryWithinContext(entry, context))
                return true;
            SymbolItem::containingContext(context);
        }
    } catch (const InvalidOp&) {
    }
    return false;
}

bool isEmptyIndex(const TypeItem& type)
{
    return type.typeIndex().module() == 0 && type.typeIndex().index() == 0;
}

} // namespace

CONTEXT_SCOPE2 SymbolItem::containingContext(const LCC_Eval_Context_Info*& context)
{
    const LCC_Eval_Context_Info* outer = nullptr;
    CONTEXT_SCOPE2 kind = CS2_UNKNOWN;
    try {
        SVC::ExprGetContainingContextInfo(context, outer);
        if (outer != nullptr)
            kind = SVC::ExprGetContextType2(outer);
    } catch (const InvalidOp&) {
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    if (outer == nullptr || kind == CS2_UNKNOWN)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    context = outer;
    return kind;
}

const DebuggeeLocation& SymbolItem::debuggeeAddress(int frame) const
{
    if (_noStorage)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    if (_addressState == addressCached && _location.kind() != DebuggeeLocation::none)
        return _location;
    if (_entry != nullptr)
        return computeAddress(_scope->context(), frame);

    // A symbol made from a type. A member placed by a location expression
    // is where the expression says.
    if (_member.expressionLength > 0) {
        const UBYTE8 initial = 0;
        _location = DebuggeeAddress(static_cast<std::uint64_t>(
            SVC::GetDwarfValue(_scope->context(), _member.expression(), _member.expressionLength, &initial)));
        return _location;
    }

    // Otherwise the host is asked for the entry by name, from the scope's
    // context outward; a static member is found under its storage's name.
    const char* name = this->name();
    UBYTE4 flags = kSearchInFunction;
    if (_isMember && (_member.flags & MemberLayout::staticMember) != 0 && _memberType != nullptr &&
        !isEmptyIndex(*_memberType)) {
        const _TYPE_ENTRY* record = _memberType->typeEntry();
        const char* storage = (record != nullptr && record->leaf == TE_MEMBER && memberIsStatic(record->member))
                                  ? record->member.location.storageName
                                  : nullptr;
        if (storage == nullptr || storage[0] == '\0')
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        name = storage;
        flags = kSearchStaticMember;
    }
    const LCC_Eval_Context_Info* context = _scope->context();
    if (context == nullptr)
        throw InvalidOp(InvalidOp::RTRC_InvalidSymbol, __PRETTY_FUNCTION__, __LINE__);
    UBYTE1* searched = reinterpret_cast<UBYTE1*>(const_cast<char*>(name));
    SYMBOL_ENTRY* found = nullptr;
    CONTEXT_SCOPE2 kind = SVC::ExprGetContextType2(context);
    for (unsigned depth = 0; kind > CS2_FILE && depth < kContextWalkLimit; ++depth) {
        found = SVC::ExprSearchForSymbolEntry(context, searched, 1, flags);
        if (found != nullptr)
            break;
        if (kind == CS2_FUNCTION || kind == CS2_MEMBER_FUNCTION)
            flags = kSearchOutside;
        kind = containingContext(context);
    }
    if (found == nullptr) {
        if (kind != CS2_FILE)
            throw InvalidOp(InvalidOp::RTRC_InvalidSymbol, __PRETTY_FUNCTION__, __LINE__);
        found = SVC::ExprSearchForSymbolEntry(context, searched, 1, kSearchOutside);
        if (found == nullptr)
            throw InvalidOp(InvalidOp::RTRC_InvalidSymbol, __PRETTY_FUNCTION__, __LINE__);
    }
    _entry = found;
    return computeAddress(context, frame);
}

const DebuggeeLocation& SymbolItem::computeAddress(const LCC_Eval_Context_Info* context, int frame) const
{
    if (_noStorage)
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    if (_addressState == addressCached && _location.kind() != DebuggeeLocation::none)
        return _location;
    if (_entry == nullptr)
        throw InvalidOp(InvalidOp::RTRC_InvalidSymbol, __PRETTY_FUNCTION__, __LINE__);
    if (symbolEntryIncomplete(*_entry))
        throw InvalidOp(InvalidOp::RTRC_IncompleteSymbol, __PRETTY_FUNCTION__, __LINE__);

    // Symbols whose type was not known when they were made take it from the
    // entry now.
    auto typeFromEntry = [this]() {
        if (isEmptyIndex(_dataType))
            _dataType = TypeItem(symbolEntryType(*_entry));
    };

    DebuggeeAddress address;
    switch (_entry->kind) {
    case SE_FUNCTION:
    case SE_ENTRY_FUNCTION:
    case SE_SECTION_DATA:
    case SE_MEMBER_FUNCTION:
        address = sectionAddress(context, symbolEntrySection(*_entry), symbolEntryOffset(*_entry));
        typeFromEntry();
        _addressState = addressCached;
        break;
    case SE_SECTION_DATA36:
        address = sectionAddress(context, symbolEntrySection(*_entry), symbolEntryOffset(*_entry));
        _addressState = addressCached;
        break;
    case SE_COMMON_MEMBER: address = computeCommonBlockAddress(context, *_entry); break;
    case SE_THREAD_STATIC:
        address = DebuggeeAddress(SVC::Expr2ComputeThreadStaticBase(context));
        address += symbolEntryOffset(*_entry);
        typeFromEntry();
        _addressState = addressRecomputed;
        break;
    case SE_AUTOMATIC: address = computeAutoAddress(context, *_entry, frame); break;
    case SE_STATIC: address = computeStaticAddress(context, *_entry); break;
    case SE_DWARF_LOCATION: address = computeDWExprAddress(context, *_entry, frame); break;
    case SE_REGISTER: return computeRegisterAddress(context, *_entry);
    case SE_BUILTIN_PROCEDURE:
        _location = symbolEntryBuiltinBuffer(*_entry);
        _addressState = addressCached;
        return _location;
    default: throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    }

    if (_dataType.hasFlag(TypeFlags::upcShared)) {
        // Data shared between the threads of a parallel program would be
        // reached through a fat pointer, which this system cannot make.
        _addressState = addressCached;
        EvaluationEnvironment::currentRep()->upcDebugSession();
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    }
    _location = address;
    _dataType.setSymbolLocation(_location);
    return _location;
}

DebuggeeAddress SymbolItem::computeAutoAddress(const LCC_Eval_Context_Info* context, SYMBOL_ENTRY& entry,
                                               int frame) const
{
    const std::int64_t offset = automaticFrameOffset(entry);
    if (isCobolLanguage())
        return DebuggeeAddress(static_cast<std::uint64_t>(offset));
    EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
    if (env->frameIndex() >= 0 && frame < 0)
        frame = env->frameIndex();
    if (setFrame(frame) == nullptr)
        throw InvalidOp(InvalidOp::RTRC_NotAllocated, __PRETTY_FUNCTION__, __LINE__);
    if (isEmptyIndex(_dataType))
        _dataType = TypeItem(symbolEntryType(entry));

    if (const char* pointerName = _dataType.typeFlags().basedPointerName()) {
        // A based variable lives where its pointer variable points.
        SymbolItem* pointer = makeVarSymbol(pointerName, *_scope);
        if (pointer == nullptr)
            throw InvalidOp(InvalidOp::RTRC_NotAllocated, __PRETTY_FUNCTION__, __LINE__);
        DebuggeeLocation where(pointer->computeAddress(context, frame));
        where.dereference(&pointer->dataType());
        return where.address();
    }

    DebuggeeAddress base = env->currentStackBase(_scope->nestingLevel());
    base += static_cast<std::uint64_t>(offset);
    return base;
}

DebuggeeAddress SymbolItem::computeStaticAddress(const LCC_Eval_Context_Info* context, SYMBOL_ENTRY& entry) const
{
    DebuggeeAddress address = sectionAddress(context, symbolEntrySection(entry), symbolEntryOffset(entry));
    if (isEmptyIndex(_dataType))
        _dataType = TypeItem(symbolEntryType(entry));
    if (isCobolLanguage() && _ownerSymbol != nullptr && _ownerSymbol->dataType().hasFlag(TypeFlags::fileDescriptor)) {
        // The record area of a file: readable only while the file's
        // information says so, and never reused across evaluations.
        EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
        StackItemFileDesc file(*env, _ownerSymbol->dataType());
        file.load(_ownerSymbol->debuggeeAddress(-1));
        const auto* info = static_cast<const unsigned char*>(file.resultBuffer());
        if (info != nullptr && std::memcmp(info, kFileInformationMarker, sizeof kFileInformationMarker) == 0 &&
            info[24] != 1)
            throw InvalidOp(InvalidOp::RTRC_ReadMemoryFailed, __PRETTY_FUNCTION__, __LINE__);
        if (_addressState == addressFileRecord)
            throw InvalidOp(InvalidOp::RTRC_ForceRebuildExpr, __PRETTY_FUNCTION__, __LINE__);
        _addressState = addressFileRecord;
        return address;
    }
    _addressState = addressCached;
    return address;
}

DebuggeeAddress SymbolItem::computeCommonBlockAddress(const LCC_Eval_Context_Info* context, SYMBOL_ENTRY& entry) const
{
    DebuggeeAddress address = sectionAddress(context, symbolEntrySection(entry), symbolEntryOffset(entry));
    if (isEmptyIndex(_dataType))
        _dataType = TypeItem(symbolEntryType(entry));
    _addressState = addressCached;
    return address;
}

const DebuggeeLocation& SymbolItem::computeRegisterAddress(const LCC_Eval_Context_Info* context,
                                                           SYMBOL_ENTRY& entry) const
{
    // A register holds the variable only in the innermost frame, and only
    // an expression may ask for it.
    if (EvaluationEnvironment::currentRep()->asExprRepresentation() == nullptr)
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    if (!SVC::Expr2GetTopStackEntry(context))
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    _location = DebuggeeLocation(static_cast<unsigned long>(Register::id(symbolEntryRegisterName(entry))));
    return _location;
}

DebuggeeAddress SymbolItem::computeDWExprAddress(const LCC_Eval_Context_Info* context, SYMBOL_ENTRY& entry,
                                                 int frame) const
{
    const DwarfLocation location = symbolEntryLocation(entry);
    EvaluationEnvironment* env = EvaluationEnvironment::currentRep();

    // Evaluated against the top frame of the context's call stack.
    auto topFrameAddress = [&]() {
        CALLSTACK_ITEM2 item{};
        SVC::Expr2GetCallStackEntry(context, 0, &item);
        env->setEvaluationStackFrame(-2, nullptr);
        return DebuggeeAddress(SVC::Expr2ComputeDWARFaddress(callStackContext(item), location.bytes, location.length));
    };

    switch (_addressState) {
    case addressRecomputed: return topFrameAddress();
    case addressCached: return DebuggeeAddress(SVC::Expr2ComputeAbsDWARFaddress(context, location));
    case addressNotComputed:
        _addressState = addressFileRecord;
        if (!_dataType.hasFlag(TypeFlags::fortranDescriptor)) {
            try {
                DebuggeeAddress address(SVC::Expr2ComputeAbsDWARFaddress(context, location));
                _addressState = addressCached;
                return address;
            } catch (const InvalidOp&) {
                if (!isCobolLanguage()) {
                    try {
                        DebuggeeAddress address = topFrameAddress();
                        _addressState = addressRecomputed;
                        return address;
                    } catch (const InvalidOp&) {
                    }
                }
            }
        }
        break;
    default: break;
    }

    const LCC_Eval_Context_Info* frameContext = setFrame(frame);
    if (frameContext == nullptr)
        throw InvalidOp(InvalidOp::RTRC_NotAllocated, __PRETTY_FUNCTION__, __LINE__);
    if (isCobolLanguage() && location.length == 0) {
        TypeItem type(symbolEntryType(entry));
        const _TYPE_ENTRY* record = type.typeEntry();
        if (record != nullptr && record->leaf == TE_FILE_DESCRIPTOR && record->fileDescriptor.name != nullptr &&
            std::strcmp(record->fileDescriptor.name, "SD") == 0)
            return DebuggeeAddress(std::uint64_t(0));
    }
    return DebuggeeAddress(SVC::Expr2ComputeDWARFaddress(frameContext, location.bytes, location.length));
}

const LCC_Eval_Context_Info* SymbolItem::setFrame(int frame) const
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
    if (_entry == nullptr)
        return nullptr;
    if (frame < 0 && env->frameIndex() >= 0)
        frame = env->frameIndex();
    if (frame >= 0) {
        CALLSTACK_ITEM2 item{};
        SVC::Expr2GetCallStackEntry(env->context(), static_cast<UBYTE2>(frame), &item);
        const LCC_Eval_Context_Info* context = callStackContext(item);
        if (context == nullptr || !entryWithinChain(*_entry, context))
            return nullptr;
        env->setEvaluationStackFrame(frame, &item);
        return context;
    }
    // No frame chosen yet: the innermost frame that holds the symbol.
    for (int n = 0; n <= 0xFFFF; ++n) {
        CALLSTACK_ITEM2 item{};
        try {
            SVC::Expr2GetCallStackEntry(env->context(), static_cast<UBYTE2>(n), &item);
        } catch (const InvalidOp&) {
            return nullptr;
        }
        const LCC_Eval_Context_Info* context = callStackContext(item);
        if (context == nullptr)
            return nullptr;
        if (entryWithinChain(*_entry, context)) {
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
