#include "machine/RuntimeStack.h"

#include <memory>

#include "machine/FortranPointerTarget.h"
#include "machine/StackItem.h"
#include "machine/StackItemFunction.h"
#include "machine/StackItemS.h"
#include "machine/StackItemString.h"
#include "machine/SymbolMarks.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/CreatedTypeItem.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

// The loads of the program's variables: by symbol, through an address on
// the stack, members of aggregates, `this`, base-class parts and named
// constants. A failed load leaves the stack as it was below the item it
// popped.

namespace {

EvaluationEnvironment& current()
{
    return *EvaluationEnvironment::currentRep();
}

bool isFortranPointer(const TypeItem& type)
{
    return type.hasFlag(TypeFlags::fortranDescriptor) && type.hasFlag(TypeFlags::pointer);
}

bool isFortranArray(const TypeItem& type)
{
    return type.hasFlag(TypeFlags::fortranDescriptor) && type.hasFlag(TypeFlags::array);
}

[[noreturn]] void withName(InvalidOp::InvalidOperation code, const char* name, const char* function, unsigned line)
{
    throw InvalidOp(code, function, line, name != nullptr ? name : "");
}

} // namespace

void RuntimeStack::genLoad(const SymbolItem& symbol, int frame)
{
    if (!isRunning())
        return;
    const SymbolMarks marks = SymbolMarks::of(symbol);
    EvaluationEnvironment& env = current();
    const bool cobol = env.language() == EvaluationEnvironment::languageCOBOL;
    if (cobol && marks.optimized)
        withName(InvalidOp::RTRC_AccessOptVar, symbol.name(), __PRETTY_FUNCTION__, __LINE__);
    if (marks.constant) {
        genLoadConstant(symbol);
        return;
    }
    if (marks.imaginaryUnit) {
        genLoadI(4);
        genConvert(symbol.dataType());
        return;
    }

    try {
        DebuggeeLocation where = symbol.debuggeeAddress(frame);
        if (SVC::traceEnabled()->load())
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "genLoad(%s) from location %s", symbol.name(), where.format());
        const TypeItem& type = symbol.dataType();
        if (cobol && where.kind() == DebuggeeLocation::none && !type.hasFlag(TypeFlags::fileDescriptor))
            throw InvalidOp(InvalidOp::RTRC_ReadMemoryFailed, __PRETTY_FUNCTION__, __LINE__);

        std::unique_ptr<StackItem> item;
        const LCC_Eval_Context_Info* context = symbol.scope().context();
        if (type.hasFlag(TypeFlags::function)) {
            item = std::make_unique<StackItemFunction>(env, symbol);
            push(item.get());
            item.release();
            return;
        }
        if (isFortranPointer(type)) {
            type.setSymbolLocation(where);
            type.hasTypeStructureChanged();
            const bool allocated = type.isAllocated();
            const bool associated = type.isAssociated();
            if (allocated && associated && !type.dereference(where))
                where.dereference(&type);
            item.reset(makeStackItem(type.pointee(), context));
            item->setIsAllocated(allocated);
            item->setIsAssociated(associated);
        } else if (isFortranArray(type)) {
            type.setSymbolLocation(where);
            type.hasTypeStructureChanged();
            item.reset(makeStackItem(type, context));
            item->setIsAllocated(type.isAllocated());
            item->setIsAssociated(type.isAssociated());
        } else {
            if (type.hasFlag(TypeFlags::upcShared) && where.kind() != DebuggeeLocation::fatPointer)
                // Shared data is reached through the host's parallel-language
                // session, which this host does not offer.
                throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
            item.reset(makeStackItem(type, context));
        }
        if (type.boundTypeData() != nullptr && env.frameIndex() < 0)
            symbol.setFrame(-1);
        item->setScope(&symbol.scope());
        item->setName(symbol.name());
        if (item->isAllocated() && item->isAssociated()) {
            item->load(where);
            item->setLoadedFromVariable(true);
            if (marks.registerVariable)
                item->setFromRegisterVariable(true);
        }
        where.clear();
        if (marks.playbackGuard)
            item->setPlaybackGuarded(true);
        push(item.get());
        item.release();
    } catch (const InvalidOp& e) {
        if (e.code() == InvalidOp::RTRC_NotAllocated)
            setNotAllocatedSeen();
        throw;
    }
}

void RuntimeStack::genLoadIndirect(std::int64_t offset, const TypeItem& type)
{
    genLoadIndirectCommon(offset, type, true);
}

void RuntimeStack::genLoadIndirectRank(int rank, const TypeItem& type)
{
    if (!isRunning())
        return;
    const TypeItem* element = nullptr;
    try {
        element = &type.rankType(static_cast<unsigned>(rank));
    } catch (const InvalidOp&) {
        // The type has no element type of that rank.
        element = nullptr;
    }
    if (element == nullptr) {
        setNotAllocatedSeen();
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    }
    genLoadIndirectCommon(0, *element, false);
}

void RuntimeStack::genLoadIndirectCommon(std::int64_t offset, const TypeItem& type, bool tellBoundType)
{
    if (!isRunning())
        return;
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    std::unique_ptr<StackItem> popped(pop());
    try {
        // A literal's characters are held by the evaluator: a load stays
        // inside the characters and the null from the literal's position on.
        if (const auto* literal = dynamic_cast<const StackItemString*>(popped.get());
            literal != nullptr && (offset < 0 || static_cast<std::uint64_t>(offset) > literal->readableSize() ||
                                   type.typeSize() > literal->readableSize() - static_cast<std::uint64_t>(offset)))
            throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
        DebuggeeLocation where = popped->asLocation();
        if (SVC::traceEnabled()->load())
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "genLoadIndirect() type %s from address %s, offset %ld",
                        type.shortTypeName(), where.format(), static_cast<long>(offset));
        where.increment(offset);
        if (!type.hasFlag(TypeFlags::array))
            where.convertToLocal();
        if (tellBoundType && type.boundTypeData() != nullptr)
            type.setSymbolLocation(where);

        const LCC_Eval_Context_Info* context = popped->scope() != nullptr ? popped->scope()->context() : nullptr;
        std::unique_ptr<StackItem> item;
        if (isFortranPointer(type)) {
            type.setSymbolLocation(where);
            moveToFortranPointerTarget(type, where);
            item.reset(makeStackItem(type.dereference(0), context));
        } else {
            item.reset(makeStackItem(type, context));
        }
        item->load(where);
        item->setLoadedFromVariable(true);
        // Whatever is reached through an address is debuggee storage.
        item->setPlaybackGuarded(true);
        item->setScope(popped->scope());
        item->setName(popped->name());
        where.clear();
        // A value reached through an address is no condition name's variable:
        // only the condition-name test names one, so that a relation on a
        // group member or an element shows its truth value alone.
        push(item.get());
        StackItem* pushed = item.release();
        pushed->takeRegisterMarks(*popped);
    } catch (const InvalidOp& e) {
        if (e.code() == InvalidOp::RTRC_NotAllocated)
            setNotAllocatedSeen();
        throw;
    }
}

void RuntimeStack::genLoadMemberSym(const SymbolItem& member)
{
    if (!isRunning())
        return;
    if (isCobolLanguage()) {
        if (optimizedAddressSeen())
            withName(InvalidOp::RTRC_AccessOptVar, member.name(), __PRETTY_FUNCTION__, __LINE__);
        if (member.dataType().typeSize() == 0)
            withName(InvalidOp::RTRC_BadODOObjectValue, member.name(), __PRETTY_FUNCTION__, __LINE__);
    }
    if (SymbolMarks::of(member).staticMember) {
        if (top_ == nullptr)
            emptyStack(__PRETTY_FUNCTION__, __LINE__);
        delete pop();
        genLoad(member, -1);
        return;
    }
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    top_->setName(member.name());
    genLoadIndirect(member.getMemberOffset(), member.dataType());
}

void RuntimeStack::genLoadThis()
{
    if (!isRunning())
        return;
    const ScopeItem* scope = current().blockScope();
    while (scope != nullptr && scope->scopeType() != ScopeItem::memberFunction) {
        if (scope->scopeType() == ScopeItem::file)
            scope = nullptr;
        else
            scope = scope->container();
    }
    if (scope == nullptr)
        throw InvalidOp(InvalidOp::RTRC_ParserError, __PRETTY_FUNCTION__, __LINE__);
    const SymbolItem* self = scope->findVariable("this", 1);
    if (self == nullptr)
        throw InvalidOp(InvalidOp::RTRC_ParserError, __PRETTY_FUNCTION__, __LINE__);
    genLoad(*self, -1);
}

void RuntimeStack::genLoadBaseAddress(const TypeItem& base, const TypeItem& derived)
{
    if (!isRunning())
        return;
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    const auto isClass = [](const TypeItem& t) {
        const _TYPE_ENTRY* e = t.typeEntry();
        return e != nullptr && (e->leaf == TE_CLASS || e->leaf == TE_GROUP);
    };
    if (!isClass(base) || !isClass(derived))
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const TypeItem& type = top_->type();
    if (type.hasFlag(TypeFlags::pointer) && !type.hasFlag(TypeFlags::reference) && type.pointee() == derived) {
        const TypeItem* pointer = CreatedTypeItem::findPointerType(base);
        if (pointer == nullptr)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        genConvert(*pointer);
        return;
    }
    if (type.hasFlag(TypeFlags::reference) && type.referent() == derived) {
        const TypeItem* reference = CreatedTypeItem::findReferenceType(base);
        if (reference == nullptr)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        genConvert(*reference);
        return;
    }
    throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}
