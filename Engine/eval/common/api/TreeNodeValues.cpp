// Formatting a node's value and changing it from the user's text.

#include <array>
#include <string>

#include "api/EntryFrame.h"
#include "api/LiveRepresentations.h"
#include "api/TreeNodeEntryPoints.h"
#include "frontend/EE_Language.h"
#include "machine/StackItem.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/Message.h"
#include "services/SVC.h"
#include "tree/DebugType.h"
#include "tree/RootTreeNode.h"
#include "types/TypeItem.h"

#include <plomkit/ThreadOwned.h>

namespace {

constexpr int messageNoValue = 50;
constexpr int messageInvalidReference = 47;
constexpr int messageSubscriptOutOfBounds = 48;
constexpr int messageTypeNotUsable = 12;

const char formatSignature[] = "UBYTE2 DbgFormatTreeValue2a(UpdateTreeNode*, UBYTE2, StackItem*, UBYTE1**, UBYTE4)";

// The text of a fixed message for the host: one copy per thread, so that
// threads reading in their own locales do not share it.
UBYTE1* fixedMessage(int id)
{
    auto& texts = threadOwned<std::array<ByteString, 3>>([] {});
    ByteString& text = texts[id == messageNoValue ? 0 : id == messageInvalidReference ? 1 : 2];
    if (text.empty())
        text = Message(id).textInUnicode().asUTF8();
    return text.data();
}

// The value of a COBOL condition followed by its conditional variable's
// name and value: "TRUE (X = 5)". Null when the value is not a condition's.
const char* withConditionalVariable(UpdateTreeNode& node, const StackItem& value, const char* text)
{
    if (!value.type().isCobolBool())
        return nullptr;
    EvaluationEnvironment& environment = *EvaluationEnvironment::currentRep();
    StackItem* variable = environment.conditionalVarItem();
    if (variable == nullptr)
        return nullptr;
    const TypeItem& type = variable->type();
    const _TYPE_ENTRY* entry = type.typeEntry();
    const DBG_REPS rep = entry != nullptr && entry->leaf == 6
                             ? 6
                             : DBG_REPS(DebugType::instance().resultTypes(type, 0)->representations16()[0]);
    UpdateTreeNode* root = buildRootNode(*variable);
    // The root goes back whatever the formatting does.
    struct Release {
        UpdateTreeNode* node;
        ~Release()
        {
            try {
                node->removeReference();
            } catch (...) {
            }
        }
    } release{root};
    const char* variableText = nullptr;
    root->FormatValue(rep, *variable, variableText, 64);
    std::string joined = text != nullptr ? text : "";
    joined += " (";
    joined.append(reinterpret_cast<const char*>(environment.conditionalVarName().data()),
                  environment.conditionalVarName().length());
    joined += " = ";
    joined += variableText != nullptr ? variableText : "";
    joined += ")";
    return node.setFormattedValue(
        ByteString(reinterpret_cast<const UBYTE1*>(joined.data()), static_cast<unsigned>(joined.size())));
}

UBYTE2 formatWithItem(EntryFrame& frame, UpdateTreeNode& node, UBYTE2 rep, StackItem& item, UBYTE1*& out,
                      UBYTE4 maxLength)
{
    try {
        frame.makeCurrent(item.environment());
        StackItem* value = &item;
        if (item.type().hasFlag(TypeFlags::arraySection)) {
            value = node.evaluateNow();
            if (value == nullptr)
                throw InvalidOp(InvalidOp::RTRC_SubscriptOutOfBounds, formatSignature, __LINE__);
        }
        const char* text = nullptr;
        const UBYTE2 status = node.FormatValue(rep, *value, text, maxLength);
        if (const char* joined = withConditionalVariable(node, *value, text))
            text = joined;
        out = reinterpret_cast<UBYTE1*>(const_cast<char*>(text));
        return status;
    } catch (const InvalidOp& error) {
        switch (error.code()) {
        case InvalidOp::RTRC_IncompleteSymbol: return statusIncompleteSymbol;
        case InvalidOp::RTRC_InvalidReference: out = fixedMessage(messageInvalidReference); return statusSuccess;
        case InvalidOp::RTRC_SubscriptOutOfBounds:
            out = fixedMessage(messageSubscriptOutOfBounds);
            return statusSuccess;
        default: return statusFailure;
        }
    }
}

} // namespace

UBYTE2 DbgFormatTreeValue2a(UpdateTreeNode* node, UBYTE2 rep, StackItem* item, UBYTE1** out, UBYTE4 maxLength)
{
    return EntryFrame::run(formatSignature, __LINE__, UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
        if (!LiveRepresentations::isLiveNode(node))
            return statusFailure;
        UBYTE2 status = statusFailure;
        UBYTE1* text = nullptr;
        if (item == nullptr) {
            // Nothing to show: the tree is loaded afresh next time.
            status = frame.guard([&]() -> UBYTE2 {
                node->rootNode()->invalidate();
                if (out == nullptr)
                    return statusFailure;
                text = fixedMessage(messageNoValue);
                return statusAggregateValue;
            });
        } else if (out != nullptr && rep < 24 && LiveRepresentations::isLiveResult(item)) {
            status = frame.guard([&] { return formatWithItem(frame, *node, rep, *item, text, maxLength); });
        }
        if (out != nullptr && (status == statusSuccess || status == statusAggregateValue))
            *out = text;
        const bool shown = status == statusSuccess || status == statusAggregateValue;
        if (status >= statusFailure) {
            // The error text says that the value cannot be shown so (in that
            // representation), not what an earlier step left there.
            frame.guard([&]() -> UBYTE2 {
                if (EvaluationEnvironment* environment = node->internalRep()) {
                    const ByteString name = environment->expression(nullptr);
                    environment->message() =
                        Message(messageTypeNotUsable, reinterpret_cast<const char*>(name.data()), nullptr);
                }
                return statusSuccess;
            });
        }
        SVC::fTrace(formatSignature, __LINE__, "rc = %d; Tree value = \"%s\"", status,
                    shown && text != nullptr ? reinterpret_cast<const char*>(text) : "??");
        return status;
    });
}

UBYTE2 DbgUpdateTreeValue(const LCC_Eval_Context_Info* context, StackItem* item, UpdateTreeNode* node, UBYTE2 rep,
                          UBYTE1* text)
{
    static const char signature[] =
        "UBYTE2 DbgUpdateTreeValue(const LCC_Eval_Context_Info*, StackItem*, UpdateTreeNode*, UBYTE2, UBYTE1*)";
    return EntryFrame::run(signature, __LINE__, UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
        if ((debuggerEnvironment() & debuggerEnvironmentBrowseMode) != 0)
            return statusNotInBrowseMode;
        if (context == nullptr || !LiveRepresentations::isLiveResult(item) || !LiveRepresentations::isLiveNode(node) ||
            text == nullptr)
            return statusFailure;
        try {
            EvaluationEnvironment* environment = node->internalRep();
            if (environment == nullptr)
                return statusFailure;
            frame.makeCurrent(*environment);
            if (text[0] == 0 && EvaluationEnvironment::currentRep()->language() != EE_LanguageSQL)
                return statusFailure;
            const UBYTE2 status = node->update(context, rep, text, *item);
            if (status != statusSuccess)
                SVC::fTrace(signature, __LINE__, "Failed; rc = %d", status);
            else
                SVC::fTrace(signature, __LINE__, "Successful");
            return status;
        } catch (const InvalidOp& error) {
            if (error.code() == InvalidOp::RTRC_BadContext) {
                SVC::fTrace(signature, __LINE__, "Bad Context");
                return UBYTE2(11042);
            }
            SVC::fTrace(signature, __LINE__, "Invalid op code %d", static_cast<int>(error.code()));
            return statusFailure;
        } catch (...) {
            SVC::fTrace(signature, __LINE__, "Exception caught");
            return statusFailure;
        }
    });
}
