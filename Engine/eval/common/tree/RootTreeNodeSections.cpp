#include <cstdio>
#include <string>

#include <plomkit/EncodedString.h>

#include "frontend/EE_Language.h"
#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"
#include "machine/StackItemArraySection.h"
#include "services/CurrentEnvironmentScope.h"
#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "services/Message.h"
#include "services/SVC.h"
#include "tree/RootTreeNode.h"

#include <plomkit/ThreadOwned.h>

// A root's formatting, and the element roots of an array section, each of
// which runs the expression again with its own subscript parameters.

namespace {

// The catalogue messages shown in place of a value.
enum : int {
    messageUnreadable = 47,
    messageSubscriptOutOfRange = 48,
    messageEvaluationFailed = 49,
};

const char arrayInfoName[] = "virtual UBYTE2 RootTreeNode::QueryArrayInfo(UBYTE4&, BYTE4&) const";

// The UTF-8 text of a message, kept per thread until the next message of
// the same slot.
const char* messageText(ByteString& slot, int id)
{
    slot = Message(id).textInUnicode().asUTF8();
    return reinterpret_cast<const char*>(slot.data());
}

// The element count of a section result; negative counts (bounds against
// the stride) hold no element.
std::uint64_t sectionCount(const StackItem& result)
{
    if (auto* section = dynamic_cast<const StackItemArraySection*>(&result)) {
        const std::int64_t n = section->elementCount();
        return n > 0 ? static_cast<std::uint64_t>(n) : 0;
    }
    return result.size();
}

} // namespace

std::uint16_t RootTreeNode::FormatValue(DBG_REPS rep, StackItem& item, const char*& text, unsigned int maxLength) const
{
    if (messageId_ != 0) {
        ByteString& shown = threadOwned<ByteString>([] {});
        text = messageText(shown, messageId_);
        return 0;
    }
    ByteString& unreadable = threadOwned<ByteString>([] {});
    if (readFailed_) {
        text = messageText(unreadable, messageUnreadable);
        return 0;
    }
    if (const char* error = item.evaluationError()) {
        text = error;
        return 0;
    }
    RootTreeNode* self = const_cast<RootTreeNode*>(this);
    StackItem* shown = &item;
    if (item.type().hasFlag(TypeFlags::arraySection)) {
        if (result_ == nullptr)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        shown = result_;
        self->loadExpressionResult(*shown);
    } else if (item.environment().language() != EE_LanguageSQL) {
        self->loadExpressionResult(item);
    }
    if (readFailed_) {
        text = messageText(unreadable, messageUnreadable);
        return 0;
    }
    return FormatTreeNode::FormatValue(rep, *shown, text, maxLength);
}

StackItem* RootTreeNode::evaluateNow()
{
    if (parent() == nullptr)
        return nullptr;
    // A failure shown before is forgotten: the element is evaluated afresh.
    messageId_ = 0;
    ExpressionRepresentation* rep = environment_ != nullptr ? environment_->asExprRepresentation() : nullptr;
    try {
        if (rep == nullptr)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        CurrentEnvironmentScope current(*rep);
        rep->setParameters(parameters_, isSectionElement_ ? 1 : 0);
        RuntimeStack& stack = rep->runtimeStack();
        stack.popAll();
        replay(rep->exprInfo());
        if (stack.count() == 0)
            throw InvalidOp(InvalidOp::RTRC_Empty_Stack, __PRETTY_FUNCTION__, __LINE__);
        freeBuffer();
        setStoredBufferSize(0);
        clearFlags(flagLoaded);
        result_ = nullptr;
        delete owned_;
        owned_ = stack.pop();
        result_ = owned_;
        if (stack.count() != 0)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        setDataType(result_->type());
        setFormatType(result_->formatType());
        return result_;
    } catch (const InvalidOp& error) {
        if (rep != nullptr)
            rep->runtimeStack().popAll();
        messageId_ =
            error.code() == InvalidOp::RTRC_SubscriptOutOfBounds ? messageSubscriptOutOfRange : messageEvaluationFailed;
        return result_;
    }
}

std::uint16_t RootTreeNode::QueryArrayInfo(unsigned int& count, int& flag) const
{
    if (!typeIsArraySection()) {
        SVC::fTrace(arrayInfoName, __LINE__, "!array.isArraySection():Ne=%d,Bx=%d", static_cast<int>(count), flag);
        return TreeNode::QueryArrayInfo(count, flag);
    }
    flag = 0;
    if (result_ != nullptr && result_->isZero() == 0) {
        const std::uint64_t n = sectionCount(*result_);
        count = n > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<unsigned>(n);
        SVC::fTrace(arrayInfoName, __LINE__, "Ne=%d,Bx=%d", static_cast<int>(count), flag);
        SVC::fTrace(arrayInfoName, __LINE__, "NumElements=%d", static_cast<int>(count));
        return 0;
    }
    count = 1;
    return 10000;
}

std::uint16_t RootTreeNode::QueryArrayElementInfo(unsigned long long index, UpdateTreeNode*& node) const
{
    if (!typeIsArraySection())
        return TreeNode::QueryArrayElementInfo(index, node);
    if (isDetached() || result_ == nullptr || result_->isZero() != 0)
        return 10000;
    const std::uint64_t count = sectionCount(*result_);
    if (index < 1 || index > count)
        return 10000;
    const auto* section = dynamic_cast<const StackItemArraySection*>(result_);

    char suffix[48];
    const bool cobol = environment_ != nullptr && environment_->language() == EvaluationEnvironment::languageCOBOL;
    if (cobol)
        std::snprintf(suffix, sizeof suffix, ")(%d)", static_cast<int>(index));
    else
        std::snprintf(suffix, sizeof suffix, ")[%d]", static_cast<int>(index - 1));
    const std::string name = std::string(1, '(')
                                 .append(reinterpret_cast<const char*>(this->name().data()), this->name().length())
                                 .append(suffix);
    if (UpdateTreeNode* made = childNamed(name)) {
        node = made;
        return 0;
    }

    Reference<UpdateTreeNode> made(new RootTreeNode(dataType(), *internalRep(), name.c_str()));
    auto* element = static_cast<RootTreeNode*>(made.get());
    element->parameters_ = parameters_;
    // The section's subscript parameter: its entry takes the element's
    // index, the entry before it -1. A position outside the parameters
    // cannot be evaluated.
    const std::uint64_t p = section != nullptr ? section->fourthOperand() : parameters_.count();
    const bool usable = p < parameters_.count();
    if (usable) {
        element->parameters_[static_cast<unsigned>(p)] = static_cast<int>(index - 1);
        if (p > 0)
            element->parameters_[static_cast<unsigned>(p - 1)] = -1;
    }
    element->isSectionElement_ = p > 0;
    const_cast<RootTreeNode*>(this)->addChild(made);
    if (usable)
        element->evaluateNow();
    else
        element->messageId_ = messageEvaluationFailed;
    node = element;
    return 0;
}
