// The handlers of jumps, labels, the formatted result name, and the test of
// the top value.

#include "compiler/InterfaceGuards.h"
#include "compiler/OpcodeHandlerSupport.h"
#include "compiler/OpcodeHandlers.h"
#include "services/SVC.h"

using opcodehandlers::machineOperationUnavailable;

namespace {

// Labels and jumps: the label is checked, then handed to the value stack.
void labelOperation(const char* signature, unsigned line, unsigned int label)
{
    validateTag(label, signature, line);
    machineOperationUnavailable(signature, line);
}

} // namespace

void genLabel(unsigned int label)
{
    labelOperation("void genLabel(unsigned int)", __LINE__, label);
}

void genTrueJump(unsigned int label)
{
    labelOperation("void genTrueJump(unsigned int)", __LINE__, label);
}

void genFalseJump(unsigned int label)
{
    labelOperation("void genFalseJump(unsigned int)", __LINE__, label);
}

void genJump(unsigned int label)
{
    labelOperation("void genJump(unsigned int)", __LINE__, label);
}

// The format handlers act only while the value stack runs; its state is not
// offered yet.
void formatAppendIntegral()
{
    static const char signature[] = "void formatAppendIntegral()";
    machineOperationUnavailable(signature, __LINE__);
}

void formatAppendString(const char* text)
{
    static const char signature[] = "void formatAppendString(const Char*)";
    (void)text;
    machineOperationUnavailable(signature, __LINE__);
}

bool ValueOnStackIsZero()
{
    static const char signature[] = "boolean ValueOnStackIsZero()";
    NORVEXA_HANDLER_TRACE(signature, "Entry");
    machineOperationUnavailable(signature, __LINE__);
}
