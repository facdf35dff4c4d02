// The handlers of jumps, labels, the formatted result name, and the test of
// the top value.

#include "compiler/InterfaceGuards.h"
#include "compiler/OpcodeHandlerSupport.h"
#include "compiler/OpcodeHandlers.h"
#include "services/SVC.h"

using opcodehandlers::machineOperationUnavailable;

void genLabel(unsigned int label)
{
    static const char signature[] = "void genLabel(unsigned int)";
    validateTag(label, signature, __LINE__);
    machineOperationUnavailable(signature, __LINE__);
}

void genTrueJump(unsigned int label)
{
    static const char signature[] = "void genTrueJump(unsigned int)";
    validateTag(label, signature, __LINE__);
    machineOperationUnavailable(signature, __LINE__);
}

void genFalseJump(unsigned int label)
{
    static const char signature[] = "void genFalseJump(unsigned int)";
    validateTag(label, signature, __LINE__);
    machineOperationUnavailable(signature, __LINE__);
}

void genJump(unsigned int label)
{
    static const char signature[] = "void genJump(unsigned int)";
    validateTag(label, signature, __LINE__);
    machineOperationUnavailable(signature, __LINE__);
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
