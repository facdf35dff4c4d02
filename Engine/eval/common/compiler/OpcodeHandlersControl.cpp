// The handlers of jumps, labels, the formatted result name, and the test of
// the top value.

#include "compiler/InterfaceGuards.h"
#include "compiler/OpcodeHandlerSupport.h"
#include "compiler/OpcodeHandlers.h"
#include "machine/RuntimeStack.h"
#include "services/ExpressionRepresentation.h"
#include "services/SVC.h"

using opcodehandlers::currentRepresentation;
using opcodehandlers::currentStack;

// Jumps go forward only: the value stack skips every instruction up to the
// label it was told, which it meets through genLabel.

void genLabel(unsigned int label)
{
    static const char signature[] = "void genLabel(unsigned int)";
    validateTag(label, signature, __LINE__);
    currentStack(signature, __LINE__).genLabel(label);
}

void genTrueJump(unsigned int label)
{
    static const char signature[] = "void genTrueJump(unsigned int)";
    validateTag(label, signature, __LINE__);
    RuntimeStack& stack = currentStack(signature, __LINE__);
    if (!stack.ValueOnStackIsZero())
        stack.genJump(label);
}

void genFalseJump(unsigned int label)
{
    static const char signature[] = "void genFalseJump(unsigned int)";
    validateTag(label, signature, __LINE__);
    RuntimeStack& stack = currentStack(signature, __LINE__);
    if (stack.ValueOnStackIsZero())
        stack.genJump(label);
}

void genJump(unsigned int label)
{
    static const char signature[] = "void genJump(unsigned int)";
    validateTag(label, signature, __LINE__);
    currentStack(signature, __LINE__).genJump(label);
}

// The format handlers act only while the value stack runs: the dry run and
// a skip leave the formatted result name as it is.
void formatAppendIntegral()
{
    static const char signature[] = "void formatAppendIntegral()";
    RuntimeStack& stack = currentStack(signature, __LINE__);
    if (stack.skipState() != RuntimeStack::running)
        return;
    NORVEXA_HANDLER_TRACE(signature, "Entry");
    stack.formatAppendIntegral();
}

void formatAppendString(const char* text)
{
    static const char signature[] = "void formatAppendString(const Char*)";
    ExpressionRepresentation& representation = currentRepresentation(signature, __LINE__);
    if (representation.runtimeStack().skipState() != RuntimeStack::running)
        return;
    if (text == nullptr)
        text = "";
    NORVEXA_HANDLER_TRACE(signature, "Value = %s", text);
    representation.appendFormattedResultName(text);
}

bool ValueOnStackIsZero()
{
    static const char signature[] = "boolean ValueOnStackIsZero()";
    NORVEXA_HANDLER_TRACE(signature, "Entry");
    return currentStack(signature, __LINE__).ValueOnStackIsZero();
}
