// Validation: the expression built into byte code, run once without
// touching the program to learn whether it calls or stores, and its result
// type checked and handed out as a value-less item.

#include <cstdio>
#include <cstring>
#include <memory>

#include "HostRecordAccess.h"
#include "api/EntryFrame.h"
#include "api/LiveRepresentations.h"
#include "api/ExpressionEntryPoints.h"
#include "api/LifeCycle.h"
#include "api/StatusMappings.h"
#include "compiler/CxxevalInterface.h"
#include "compiler/ExpressionBuild.h"
#include "compiler/ParseError.h"
#include "frontend/EE_Language.h"
#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/CreatedTypeItem.h"
#include "types/SqlTypeRegistry.h"
#include "types/SymbolItem.h"
#include "types/TypeCache.h"
#include "types/TypeItem.h"

namespace {

constexpr const char* signature = validationTraceFunction;

const char* nameOf(const TypeItem& type)
{
    const char* name = type.demangledTypeName(0, false);
    return name != nullptr ? name : "";
}

bool isEmptyIndex(const TypeItem& type)
{
    return type.typeIndex().module() == 0 && type.typeIndex().index() == 0;
}

[[noreturn]] void refuseType(int message, const TypeItem& type)
{
    throw Message(message, nameOf(type), nullptr);
}

// A referent of a COBOL reference that validation accepts as it is.
bool isCobolDataKind(std::uint32_t kind)
{
    switch (kind) {
    case TE_CHARSTRING:
    case TE_PACKED_DECIMAL:
    case TE_FIXED_POINT_BINARY:
    case TE_ZONED_DECIMAL:
    case TE_FILE_DESCRIPTOR:
    case TE_DBCS_STRING:
    case TE_DBCS_EDITED: return true;
    default: return kind >= TE_NATIONAL_DECIMAL && kind <= TE_NATIONAL_NUMERIC_EDITED;
    }
}

bool isArrayKind(std::uint32_t kind)
{
    switch (kind) {
    case TE_ARRAY:
    case TE_INTEGER:
    case TE_ENUM:
    case TE_ENUM2:
    case TE_VUM_ARRAY:
    case TE_F90_DESC_ARRAY:
    case TE_COBOL_TABLE: return true;
    default: return false;
    }
}

bool isAggregateKind(std::uint32_t kind)
{
    switch (kind) {
    case TE_CLASS:
    case TE_STRUCT:
    case TE_GROUP:
    case TE_NAMESPACE64:
    case TE_NAMESPACE65:
    case TE_NAMESPACE66: return true;
    default: return false;
    }
}

// The type validation hands out for the built result type, or a refusal
// (Message 18, 19 or 20).
const TypeItem* checkedResultType(const TypeItem* type, UBYTE2 status, bool cobol)
{
    if (type->typeIndex().module() == 0)
        return type;
    const _TYPE_ENTRY* entry = type->typeEntry();
    if (entry == nullptr)
        return type;
    const std::uint32_t kind = entry->leaf;
    SVC::fTrace(signature, validationTraceLine, "ResultType at %p | EntryType at %p | NodeType is %d",
                static_cast<const void*>(type), static_cast<const void*>(entry), static_cast<int>(kind));
    if (kind == TE_MEMBERFUNCTION || kind == TE_PROCEDURE) {
        if (status != statusCallsFunction)
            return type;
        SVC::fTrace(signature, validationTraceLine,
                    "Fixup for parser bug - validate type is incorrect for function calls");
        const TypeItem::FunctionInfoBlock_t* info = type->functionInfoBlock();
        if (info == nullptr)
            throw Message(18);
        if (info->returnType != nullptr)
            return info->returnType;
        return CreatedTypeItem::findOrCreateType(TYPE_INDEX{0, 151});
    }
    if (isCobolDataKind(kind))
        return type;
    if (isAggregateKind(kind)) {
        if (type->isEmptyClassOrStruct())
            refuseType(20, *type);
        return type;
    }
    if (isArrayKind(kind)) {
        SVC::fTrace(signature, validationTraceLine, "Array as is");
        return type;
    }
    if (kind == TE_POINTER || kind == TE_F90_ALLOCATABLE) {
        SVC::fTrace(signature, validationTraceLine, "Pointer as is");
        return type;
    }
    if (kind == TE_F90_POINTER) {
        SVC::fTrace(signature, validationTraceLine, "Fortran pointer, as the pointee");
        const TypeItem& pointee = type->pointee();
        if (isEmptyIndex(pointee))
            throw Message(18);
        return &pointee;
    }
    if (kind == TE_REFERENCE) {
        const TypeItem referent(type->referent());
        if (isEmptyIndex(referent))
            refuseType(19, *type);
        if (referent.typeIndex().module() == 0 || referent.typeEntry() == nullptr)
            return type;
        const std::uint32_t target = referent.typeEntry()->leaf;
        if (isArrayKind(target) || target == TE_POINTER || target == TE_F90_ALLOCATABLE || target == TE_F90_POINTER) {
            SVC::fTrace(signature, validationTraceLine, "Array in Refs");
            return type;
        }
        if (target == TE_CLASS || target == TE_STRUCT || target == TE_GROUP) {
            if (referent.isEmptyClassOrStruct())
                refuseType(20, *type);
            return type;
        }
        if (cobol && isCobolDataKind(target)) {
            SVC::fTrace(signature, validationTraceLine, "Ref of COBOL type");
            return type;
        }
        refuseType(19, *type);
    }
    refuseType(19, *type);
}

// A name with none of the characters of an operator, a literal or a
// subscript.
bool isPlainName(const char* text)
{
    if (*text >= '0' && *text <= '9')
        return false;
    return std::strpbrk(text, "-+*/%<>=!&|^~?:.[]()'\"") == nullptr;
}

// The declared type of a plain name, when it is the result type carrying
// condition names: the declared type describes the result better.
const TypeItem* declaredType(const char* text, const ScopeItem* scope, const TypeItem* type)
{
    if (!isPlainName(text))
        return type;
    for (const ScopeItem* s = scope; s != nullptr; s = scopeContainer(s)) {
        const SymbolItem* symbol = symFindVar(text, s);
        if (symbol == nullptr)
            continue;
        const TypeItem* declared = symType(symbol);
        if (declared != nullptr && *declared == *type) {
            const _TYPE_ENTRY* qualifier = declared->firstQualifierEntry();
            if (qualifier != nullptr && qualifier->leaf == TE_QUALIFIER)
                return declared;
        }
        break;
    }
    return type;
}

// The level and name of the COBOL item the expression designates, appended
// to the result name: "05 GRP", "77 X"; "@" opening a name shows as "%".
void appendCobolName(ExpressionRepresentation& rep, const SymbolItem& symbol)
{
    char level[4] = "";
    const SYMBOL_ENTRY* entry = symbol.entry();
    const unsigned number = symbol.levelNumber();
    if (entry != nullptr && entry->kind == 6)
        std::snprintf(level, sizeof level, "77");
    else if (number >= 1 && number <= 99)
        std::snprintf(level, sizeof level, "%02u", number);
    if (level[0] != '\0') {
        rep.appendFormattedResultName(level);
        rep.appendFormattedResultName(" ");
    }
    const char* name = symbol.name();
    if (name != nullptr && name[0] == '@') {
        rep.appendFormattedResultName("%");
        ++name;
    }
    rep.appendFormattedResultName(name != nullptr ? name : "");
}

// An SQL host variable: no build, its type entry made from the host's
// symbol entry. 0 and the type result, or 10000 when the host knows no such
// variable.
UBYTE2 validateSqlVariable(ExpressionRepresentation& rep, const LCC_Eval_Context_Info* context, StackItem*& out)
{
    rep.exprInfo()->parameterCount = 0;
    ByteString text = rep.expression(nullptr);
    SYMBOL_LIST* found = SVC::Expr2SearchForSymbolEntries(rep.context(), text.data(), 1, 0);
    const SYMBOL_ENTRY* first = symbolListEntry(found, 0);
    if (first == nullptr) {
        SVC::fTrace(signature, validationTraceLine, "Cannot find symbol %s",
                    reinterpret_cast<const char*>(text.data()));
        return statusFailure;
    }
    SqlTypeEntry record;
    record.setSqlType(sqlVariableType(*first))
        .setLength(sqlVariableLength(*first))
        .setMaxLength(sqlVariableMaxLength(*first))
        .setAddress(static_cast<std::uint64_t>(sqlVariableAddressHigh(*first)) << 32 | sqlVariableAddressLow(*first))
        .setAddressWidth(sqlVariableAddressWidth(*first))
        .setElementCount(static_cast<std::int32_t>(sqlVariableElementCount(*first)))
        .setCcsid(sqlVariableCcsid(*first));
    std::shared_ptr<SqlTypeRegistry::Registration> registration = SqlTypeRegistry::add(record);
    rep.keepUntilFreed(registration);
    std::unique_ptr<StackItem> item(RuntimeStack::makeStackItem(registration->typeItem(), context));
    SVC::fTrace(signature, validationTraceLine, "SQL variable - skipping validation");
    // The evaluation holds a copy of this result for the next validation,
    // which hands it out with the saved status: it must be this success,
    // not a failure left from before.
    rep.setValidationReturnCode(statusSuccess);
    rep.saveValidationResult(item.get());
    out = item.release();
    return statusSuccess;
}

// Steps from the reset to the type result: the status, and out set on
// success.
UBYTE2 validate(ExpressionRepresentation& rep, const LCC_Eval_Context_Info* context, StackItem*& out)
{
    rep.setStaticExpression(true);
    rep.setEvaluationStackFrame(-1, nullptr);
    ScopeItem* scope = rep.initializeAndMakeCurrent(context);
    rep.clearFormattedResultName();
    expression_info* info = new expression_info{};
    rep.saveExprInfo(info);

    if (rep.language() == EE_LanguageSQL)
        return validateSqlVariable(rep, context, out);

    RuntimeStack& stack = rep.runtimeStack();
    const ByteString text = rep.expression(nullptr);
    const char* chars = reinterpret_cast<const char*>(text.data());
    stack.popAll();
    stack.setSkipState(RuntimeStack::dryRun);
    const TypeItem* type = exprBuild(chars, scope, info);
    if (SVC::tracing())
        SVC::fTrace(signature, validationTraceLine, "Type of validation result is \"%s\"",
                    type != nullptr ? nameOf(*type) : "<NULL>");
    stack.popAll();
    if (type == nullptr || isEmptyIndex(*type))
        throw Message(21);

    const bool cobol = rep.language() == EvaluationEnvironment::languageCOBOL;
    if (cobol && info->rootSymbol != nullptr)
        appendCobolName(rep, *info->rootSymbol);

    stack.popAll();
    stack.setSkipState(RuntimeStack::dryRun);
    exprEval(info);
    UBYTE2 status = statusSuccess;
    if (stack.userCallSeen()) {
        SVC::fTrace(signature, validationTraceLine, "Expression involves a call");
        status = statusCallsFunction;
    } else if (stack.storeSeen()) {
        rep.markStores();
        SVC::fTrace(signature, validationTraceLine, "Expression involves a store");
        status = rep.isStaticExpression() ? statusStoresFrameIndependent : statusStoresInFrame;
    }
    stack.popAll();

    type = checkedResultType(type, status, cobol);
    if (!cobol)
        type = declaredType(chars, scope, type);

    std::unique_ptr<StackItem> item(RuntimeStack::makeStackItem(*type, context));
    if (SVC::tracing()) {
        SVC::fTrace(signature, validationTraceLine, "Expression = %s", chars);
        SVC::fTrace(signature, validationTraceLine, "Validation result type = %s", type->format());
    }
    rep.saveValidationResult(item.get());
    out = item.release();
    rep.typeCache().clearCache();
    rep.setValidationReturnCode(status);
    return status;
}

} // namespace

UBYTE2 DbgValidateExpr(ExpressionRepresentation* rep, const LCC_Eval_Context_Info* context, StackItem** out)
{
    return EntryFrame::run(signature, validationTraceLine, UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
        if (!evaluatorInitialized() || !LiveRepresentations::isLive(rep) || context == nullptr || out == nullptr)
            return statusFailure;
        frame.makeCurrent(*rep, context);
        if (StackItem* held = rep->evaluationResult()) {
            rep->setEvaluationResult(nullptr);
            if (SVC::tracing())
                SVC::fTrace(signature, validationTraceLine, "Type of previous validation result is \"%s\"",
                            nameOf(held->type()));
            rep->saveValidationResult(held);
            LiveRepresentations::handOutResult(held);
            *out = held;
            return rep->validationReturnCode();
        }
        UBYTE2 status = statusFailure;
        StackItem* result = nullptr;
        try {
            status = validate(*rep, context, result);
        } catch (...) {
            // Whatever failed, the host gets no item: a status reached
            // before the failure is no answer.
            status = validationFailureStatus(*rep);
            if (status == statusNotInBrowseMode)
                return status;
            rep->typeCache().clearCache();
            rep->setValidationReturnCode(status);
            return status;
        }
        if (result != nullptr) {
            LiveRepresentations::handOutResult(result);
            *out = result;
        }
        return status;
    });
}
