// Evaluation: the byte code replayed on the representation's value stack,
// the result checked against the validated type, named, and handed out; an
// evaluation error becomes a status and, where the host shows one, an item
// that carries the failure.

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "api/EntryFrame.h"
#include "api/LiveRepresentations.h"
#include "api/ExpressionEntryPoints.h"
#include "api/ResultRootLink.h"
#include "api/StatusMappings.h"
#include "compiler/TypeDescriptorKinds.h"
#include "frontend/EE_Language.h"
#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"
#include "machine/StackItemEvalError.h"
#include "machine/StackItemNull.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/TypeItem.h"

namespace {

// A host integer entry that is a true bit field: not of a plain width at
// bit offset 0.
bool isBitFieldEntry(const _TYPE_ENTRY* entry)
{
    if (entry == nullptr || entry->leaf != TE_INTEGER)
        return false;
    const unsigned bits = entry->integer.bitLength;
    return entry->integer.bitOffset != 0 || (bits != 8 && bits != 16 && bits != 32 && bits != 64);
}

const char signature[] =
    "short unsigned int DbgEvaluateExpr_i(ExpressionRepresentation&, const LCC_Eval_Context_Info*, StackItem*&, "
    "UBYTE1*&, bool)";

UBYTE1* chars(const ByteString& text)
{
    return const_cast<UBYTE1*>(text.data());
}

// A copy of a text (null reads as empty), held in place when it is short.
class TextCopy {
public:
    TextCopy() = default;
    explicit TextCopy(const char* text) { assign(text); }
    TextCopy(const TextCopy&) = delete;
    TextCopy& operator=(const TextCopy&) = delete;

    void assign(const char* text)
    {
        const std::size_t length = text != nullptr ? std::strlen(text) : 0;
        if (length < sizeof inPlace_) {
            std::memcpy(inPlace_, text != nullptr ? text : "", length + 1);
        } else {
            long_.assign(text, length);
            text_ = long_.c_str();
        }
        held_ = true;
    }

    bool held() const { return held_; }
    const char* text() const { return text_; }

private:
    // Written by assign before anything reads it.
    char inPlace_[128];
    std::string long_;
    const char* text_ = inPlace_;
    bool held_ = false;
};

// Whether a result's type, equal to the validated one, also has its name.
// A type of the same index, bound to nothing, is named as the validated
// one: the name is built (and compared) only for a type of another index.
// validatedName holds the validated type's name as it read before the run
// when the type is bound (the run may bind it anew); an unbound type is
// named now.
bool sameName(const TypeItem& result, const TypeItem& validated, const TextCopy& validatedName)
{
    const TYPE_INDEX& r = result.unsimplifiedTypeIndex();
    const TYPE_INDEX& v = validated.unsimplifiedTypeIndex();
    if (r.module == v.module && r.index == v.index && result.boundTypeData() == nullptr &&
        validated.boundTypeData() == nullptr && result.isCreated() == validated.isCreated())
        return true;
    TextCopy validatedNow;
    if (!validatedName.held())
        validatedNow.assign(validated.demangledTypeName(0, false));
    const char* before = validatedName.held() ? validatedName.text() : validatedNow.text();
    const char* name = result.demangledTypeName(0, false);
    return std::strcmp(before, name != nullptr ? name : "") == 0;
}

// Keeps item as the result the next validation hands out (owned by the
// representation until then), dropping one held before.
void holdResult(ExpressionRepresentation& rep, StackItem* item)
{
    StackItem* before = rep.evaluationResult();
    rep.setEvaluationResult(item);
    if (before != item)
        delete before;
}

// The name of a COBOL result: the data name validation recorded, with the
// subscripts this run recorded in place of the written ones.
UBYTE1* cobolResultName(ExpressionRepresentation& rep, const TypeItem& validated)
{
    const ByteString recorded = rep.formattedResultName();
    if (recorded.empty())
        return chars(rep.text());
    const List<std::uint64_t>& values = rep.evaluationValues();
    const bool array = validated.hasFlag(TypeFlags::array);
    if (!validated.isClassOrStruct() && !array && values.count() == 0)
        return chars(rep.text());
    if (!array && values.count() > 0) {
        const int open = recorded.indexOf('(');
        std::string name(reinterpret_cast<const char*>(recorded.data()),
                         open < 0 ? recorded.length() : static_cast<unsigned>(open) + 1);
        if (open < 0)
            name += '(';
        for (unsigned i = 0; i < values.count(); ++i) {
            char number[24];
            std::snprintf(number, sizeof number, "%" PRIu64, values[i]);
            if (i > 0)
                name += ", ";
            name += number;
        }
        name += ')';
        rep.clearFormattedResultName();
        rep.appendFormattedResultName(name.c_str());
    }
    return chars(rep.formattedResultName());
}

// Whether the host asks to be warned of a COBOL store: setting 3 on,
// setting 5 off; a setting the host cannot answer asks nothing.
bool cobolStoreWarning(ExpressionRepresentation& rep)
{
    COMPILATION_SETTING_VALUE setting{};
    if (!SVC::ExprGetCompilationSettingValue(rep.context(), 3, &setting) || setting.value == 0)
        return false;
    setting = COMPILATION_SETTING_VALUE{};
    if (!SVC::ExprGetCompilationSettingValue(rep.context(), 5, &setting))
        return false;
    return setting.value == 0;
}

// The evaluation up to the result handed out; popped is the result taken off
// the stack and not yet handed out or held (the handlers delete it).
UBYTE2 evaluate(ExpressionRepresentation& rep, const LCC_Eval_Context_Info* context, StackItem*& result, UBYTE1*& name,
                bool convert, std::unique_ptr<StackItem>& popped)
{
    RuntimeStack& stack = rep.runtimeStack();
    StackItem* validation = rep.validationResult();
    if (validation == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, signature, __LINE__);

    if (rep.language() == EE_LanguageSQL) {
        // The host may free what it is handed before the next validation
        // takes the held result over: the two are copies of their own.
        std::unique_ptr<StackItem> handed(validation->clone());
        holdResult(rep, validation->clone());
        name = chars(rep.text());
        SVC::fTrace(signature, __LINE__, "SQL variable - skipping evaluation");
        result = handed.release();
        return statusSuccess;
    }

    invalidateResultRoot(*validation);
    // The validation result's type, and the name of a bound one as it reads
    // before the run (the run may bind it anew).
    const TypeItem& validated = validation->type();
    TextCopy validatedName;
    if (validated.boundTypeData() != nullptr)
        validatedName.assign(validated.demangledTypeName(0, false));

    const TypeItem* type = rep.isArrayAssignment() ? HandleArrayEvaluate(rep, context) : HandleEvaluate(rep, context);
    if (type == nullptr) {
        SVC::fTrace(signature, __LINE__, "!resultType");
        throw InvalidOp(InvalidOp::RTRC_ParserError, signature, __LINE__);
    }
    rep.makeCurrent(context);

    const bool cobol = rep.language() == EvaluationEnvironment::languageCOBOL;
    if (cobol && stack.count() == 0 && type->hasFlag(TypeFlags::voidType)) {
        result = RuntimeStack::makeStackItem(*type, rep.context());
        name = nullptr;
        return statusSuccess;
    }
    if (stack.count() == 0) {
        SVC::fTrace(signature, __LINE__, "stack.isEmpty()");
        throw InvalidOp(InvalidOp::RTRC_Empty_Stack, signature, __LINE__);
    }
    popped.reset(stack.pop());
    if (stack.count() != 0) {
        SVC::fTrace(signature, __LINE__, "!stack.isEmpty()");
        throw InvalidOp(InvalidOp::RTRC_Other, signature, __LINE__);
    }

    if (!popped->type().hasFlag(TypeFlags::arraySection)) {
        const bool differs = popped->type() != validated || !sameName(popped->type(), validated, validatedName);
        if (differs && describedAlike(popped->type(), validated)) {
            // The program's own type of the validated kind and size: the
            // value takes the validated type and keeps its place.
            popped->setType(validated);
        } else if (differs && isBitFieldEntry(popped->type().typeEntry()) && validated.typeEntry() == nullptr) {
            // A bit field whose value validation typed as the built-in
            // integer its field describes (a store into it): that integer.
            StackItem* converted = popped->convertType(validated, context);
            (void)popped.release();
            popped.reset(converted);
        } else if (differs) {
            SVC::fTrace(signature, __LINE__,
                        "*** WARNING *** Type of result from evaluation does not match type of result from validation");
            if (!convert) {
                if (SVC::tracing()) {
                    SVC::fTrace(signature, __LINE__, "Expression = %s",
                                reinterpret_cast<const char*>(rep.text().data()));
                    SVC::fTrace(signature, __LINE__, "Old Validation result type = %s", validated.format());
                    SVC::fTrace(signature, __LINE__, "New Evaluation result type = %s", popped->type().format());
                }
                holdResult(rep, popped.release());
                throw InvalidOp(InvalidOp::RTRC_ForceRebuildExpr, signature, __LINE__);
            }
            // A successful conversion deletes the item it converted (or
            // hands back the same item); one that fails leaves it ours.
            StackItem* converted = popped->convertType(validated, context);
            (void)popped.release();
            popped.reset(converted);
        }
    }

    // Named before the root takes the result, so that nothing fails once
    // the root points at it.
    name = cobol ? cobolResultName(rep, validated) : chars(rep.text());
    handResultToRoot(*validation, popped.get());
    result = popped.release();
    if (SVC::tracing())
        SVC::fTrace(signature, __LINE__, "EvalResultInfo is %p", static_cast<void*>(result));
    if (result->inDebuggerAddressSpace()) {
        SVC::fTrace(signature, __LINE__, "tos->inDebuggerAddressSpace()");
        validation->setInDebuggerAddressSpace();
    }
    if (SVC::tracing())
        SVC::fTrace(signature, __LINE__, "Result Name is %s",
                    name != nullptr ? reinterpret_cast<const char*>(name) : "");
    return statusSuccess;
}

} // namespace

unsigned short DbgEvaluateExpr_i(ExpressionRepresentation& rep, const LCC_Eval_Context_Info* context,
                                 StackItem*& result, UBYTE1*& name, bool convert)
{
    RuntimeStack& stack = rep.runtimeStack();
    std::unique_ptr<StackItem> popped;
    try {
        rep.initParameters();
        UBYTE2 status = statusFailure;
        try {
            status = evaluate(rep, context, result, name, convert, popped);
        } catch (const InvalidOp& error) {
            const int code = stack.notAllocatedSeen() ? InvalidOp::RTRC_NotAllocated : error.code();
            stack.popAll();
            popped.reset();
            SVC::fTrace(signature, __LINE__, "catch (const InvalidOp& invalidOp)");
            return evaluationFailureStatus(rep, code, error, result);
        } catch (...) {
            stack.popAll();
            popped.reset();
            SVC::fTrace(signature, __LINE__, "catch (...)");
            return statusFailure;
        }

        if (status == statusSuccess && result != nullptr && rep.language() == EvaluationEnvironment::languageCOBOL &&
            stack.storeSeen() && cobolStoreWarning(rep)) {
            Message warning(41);
            Message::MessageServer::instance()->setType('W');
            std::unique_ptr<StackItem> item(new StackItemEvalError(rep, warning.textAsByteString()));
            // The root must not keep pointing at the result it loses.
            if (StackItem* validation = rep.validationResult())
                invalidateResultRoot(*validation);
            delete result;
            result = item.release();
            stack.popAll();
            return statusCobolStoreWarning;
        }
        stack.popAll();
        if (SVC::tracing())
            SVC::fTrace(signature, __LINE__, "DBG2_CALL_OK");
        return status;
    } catch (...) {
        // Outside the evaluation's own handlers: the warning, the mapping,
        // the parameters. Nothing half-made is handed out.
        stack.popAll();
        return statusFailure;
    }
}

UBYTE2 DbgEvaluateExpr(ExpressionRepresentation* rep, const LCC_Eval_Context_Info* context, StackItem** result,
                       UBYTE1** name)
{
    static const char entrySignature[] =
        "UBYTE2 DbgEvaluateExpr(ExpressionRepresentation*, const LCC_Eval_Context_Info*, StackItem**, UBYTE1**)";
    return EntryFrame::run(entrySignature, 0, UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
        if (result != nullptr)
            *result = nullptr;
        if (result == nullptr || !LiveRepresentations::isLive(rep) || context == nullptr || name == nullptr)
            return statusFailure;
        frame.makeCurrent(*rep, context);
        StackItem* item = nullptr;
        UBYTE1* text = nullptr;
        const UBYTE2 status = DbgEvaluateExpr_i(*rep, context, item, text, false);
        LiveRepresentations::handOutResult(item);
        *result = item;
        *name = text;
        return status;
    });
}
