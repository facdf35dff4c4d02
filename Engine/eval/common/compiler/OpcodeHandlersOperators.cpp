// The handlers of the operators and of the instructions without operand.

#include "compiler/OpcodeHandlerSupport.h"
#include "compiler/OpcodeHandlers.h"
#include "machine/RuntimeStack.h"
#include "services/SVC.h"

using opcodehandlers::currentStack;

// An instruction without operand: trace "Entry", then the value stack's
// operation of the same name.
#define NORVEXA_PLAIN_HANDLER(name)                                                                                    \
    void name()                                                                                                        \
    {                                                                                                                  \
        static const char signature[] = "void " #name "()";                                                            \
        NORVEXA_HANDLER_TRACE(signature, "Entry");                                                                     \
        currentStack(signature, __LINE__).name();                                                                      \
    }

NORVEXA_PLAIN_HANDLER(genPointerAdd)
NORVEXA_PLAIN_HANDLER(genAdd)
NORVEXA_PLAIN_HANDLER(genPointerSubtract)
NORVEXA_PLAIN_HANDLER(genSubtract)
NORVEXA_PLAIN_HANDLER(genMult)
NORVEXA_PLAIN_HANDLER(genDivide)
NORVEXA_PLAIN_HANDLER(genModulus)
NORVEXA_PLAIN_HANDLER(genConcatenate)
NORVEXA_PLAIN_HANDLER(genBitAnd)
NORVEXA_PLAIN_HANDLER(genBitOr)
NORVEXA_PLAIN_HANDLER(genBitXor)
NORVEXA_PLAIN_HANDLER(genNegate)
NORVEXA_PLAIN_HANDLER(genComplement)
NORVEXA_PLAIN_HANDLER(genNot)
NORVEXA_PLAIN_HANDLER(genRealPart)
NORVEXA_PLAIN_HANDLER(genImaginaryPart)
NORVEXA_PLAIN_HANDLER(genLoadNULL)
NORVEXA_PLAIN_HANDLER(genLoadThis)
NORVEXA_PLAIN_HANDLER(genLogicalShiftLeft)
NORVEXA_PLAIN_HANDLER(genLogicalShiftRight)
NORVEXA_PLAIN_HANDLER(genArithmeticShiftRight)
NORVEXA_PLAIN_HANDLER(genEQ)
NORVEXA_PLAIN_HANDLER(genNE)
NORVEXA_PLAIN_HANDLER(genLT)
NORVEXA_PLAIN_HANDLER(genLE)
NORVEXA_PLAIN_HANDLER(genGT)
NORVEXA_PLAIN_HANDLER(genGE)
NORVEXA_PLAIN_HANDLER(genStore)
NORVEXA_PLAIN_HANDLER(genDupValue)
NORVEXA_PLAIN_HANDLER(genPop)
NORVEXA_PLAIN_HANDLER(genArraySection)
NORVEXA_PLAIN_HANDLER(genSubstring)
NORVEXA_PLAIN_HANDLER(pushArraySection)
NORVEXA_PLAIN_HANDLER(genVectorSubscript)

#undef NORVEXA_PLAIN_HANDLER

void genPow(unsigned int exponent)
{
    static const char signature[] = "void genPow(unsigned int)";
    NORVEXA_HANDLER_TRACE(signature, "Entry");
    currentStack(signature, __LINE__).genPow(exponent);
}

void genLoadI(short size)
{
    static const char signature[] = "void genLoadI(short)";
    NORVEXA_HANDLER_TRACE(signature, "len = %d", size);
    currentStack(signature, __LINE__).genLoadI(size);
}

void genIndex(long long elementSize)
{
    static const char signature[] = "void genIndex(long long)";
    NORVEXA_HANDLER_TRACE(signature, "Offset = %lld", elementSize);
    currentStack(signature, __LINE__).genIndex(elementSize);
}

void genCall(unsigned int function, bool builtin)
{
    static const char signature[] = "void genCall(unsigned int, bool)";
    NORVEXA_HANDLER_TRACE(signature, "Tag = %u, %s", function, builtin ? "builtin" : "");
    currentStack(signature, __LINE__).genCall(function, builtin);
}

void genCOBOLCall(const ArgMode* modes, unsigned int byteCount)
{
    static const char signature[] = "void genCOBOLCall(ArgMode*, unsigned int)";
    NORVEXA_HANDLER_TRACE(signature, "Entry");
    currentStack(signature, __LINE__).genCOBOLCall(const_cast<ArgMode*>(modes), byteCount);
}
