// The query interface: scopes.

#include "compiler/CxxevalInterface.h"
#include "compiler/InterfaceGuards.h"
#include "compiler/OpcodeHandlerSupport.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/ClassScopeItem.h"
#include "types/ScopeItem.h"
#include "types/TypeItem.h"

namespace {

bool scopeOfKind(const ScopeItem* scope, ScopeItem::ScopeType kind)
{
    return scope != nullptr && scope->scopeType() == kind;
}

} // namespace

bool scopeIsFile(const ScopeItem* scope)
{
    const bool answer = scopeOfKind(scope, ScopeItem::file);
    NORVEXA_HANDLER_TRACE("bool scopeIsFile(const ScopeItem*)", "Scope=%p.File?=%d", static_cast<const void*>(scope),
                          int(answer));
    return answer;
}

bool scopeIsBlock(const ScopeItem* scope)
{
    const bool answer = scopeOfKind(scope, ScopeItem::block);
    NORVEXA_HANDLER_TRACE("bool scopeIsBlock(const ScopeItem*)", "Scope=%p", static_cast<const void*>(scope));
    return answer;
}

bool scopeIsClass(const ScopeItem* scope)
{
    const bool answer = scope != nullptr && scope->isClassOrStructureScope();
    NORVEXA_HANDLER_TRACE("bool scopeIsClass(const ScopeItem*)", "Scope=%p.Class?=%d", static_cast<const void*>(scope),
                          int(answer));
    return answer;
}

bool scopeIsMemberFunc(const ScopeItem* scope)
{
    const bool answer = scopeOfKind(scope, ScopeItem::memberFunction);
    NORVEXA_HANDLER_TRACE("bool scopeIsMemberFunc(const ScopeItem*)", "Scope=%p.MemFunc?=%d",
                          static_cast<const void*>(scope), int(answer));
    return answer;
}

const ScopeItem* scopeContainer(const ScopeItem* scope)
{
    NORVEXA_HANDLER_TRACE("const ScopeItem* scopeContainer(const ScopeItem*)", "Scope=%p",
                          static_cast<const void*>(scope));
    return scope != nullptr ? scope->container() : nullptr;
}

const char* scopeClassName(const ScopeItem* scope)
{
    const char* name = scope != nullptr ? scope->name() : nullptr;
    NORVEXA_HANDLER_TRACE("const char* scopeClassName(const ScopeItem*)", "name = \"%s\" for scope %p",
                          name != nullptr ? name : "<NULL>", static_cast<const void*>(scope));
    return name;
}

const TypeItem* scopeType(const ScopeItem* scope)
{
    const ClassScopeItem* classScope =
        scope != nullptr && scope->isClassOrStructureScope() ? dynamic_cast<const ClassScopeItem*>(scope) : nullptr;
    return classScope != nullptr ? &classScope->classType() : nullptr;
}

const ScopeItem* scopeFilescope()
{
    const ScopeItem* scope = fileScope();
    NORVEXA_HANDLER_TRACE("const ScopeItem* scopeFilescope()", "Scope=%p", static_cast<const void*>(scope));
    return scope;
}

const ScopeItem* scopeDefiningType(const TypeItem* type)
{
    static const char signature[] = "const ScopeItem* scopeDefiningType(const TypeItem*)";
    NORVEXA_HANDLER_TRACE(signature, "Entry");
    validateType(type, signature, __LINE__);
    // Primitives (module 0), the evaluator's own types (-1) and the static
    // types (-2) have no host entry.
    const std::uint32_t module = type->typeIndex().module();
    if (module != 0 && module != 0xFFFFFFFFu && module != 0xFFFFFFFEu)
        throw InvalidOp(InvalidOp::RTRC_FIXME, signature, __LINE__);
    return fileScope();
}

const ScopeItem* memberFuncOwningClassScope(const ScopeItem* scope)
{
    static const char signature[] = "const ScopeItem* memberFuncOwningClassScope(const ScopeItem*)";
    NORVEXA_HANDLER_TRACE(signature, "Entry");
    validateScope(scope, signature, __LINE__);
    if (scope->scopeType() != ScopeItem::memberFunction) {
        traceInterfaceError("invalid scope", signature, __LINE__);
        throw InvalidOp(InvalidOp::RTRC_Other, signature, __LINE__);
    }
    return scope->container();
}
