#ifndef NORVEXA_FUZZ_SAMPLEDEBUGGEE_H
#define NORVEXA_FUZZ_SAMPLEDEBUGGEE_H

// The sample debuggee the text targets parse against: the simulated host,
// installed once per process, holding a C program and a COBOL program,
// each a compilation unit with one function and a few variables of the
// common kinds. enter() prepares a fresh request in one language, as an
// expression build does: the language's representation is made current on
// the calling thread and reset, and the new block scope is returned.

#include <map>
#include <memory>
#include <utility>

#include "services/ExpressionRepresentation.h"
#include "testhost/TestHost.h"

class ScopeItem;

class SampleDebuggee {
public:
    // Language codes as the evaluator tests them.
    enum : int {
        languageC = 1,
        languageCpp = 2,
        languageCobol = 6
    };

    static SampleDebuggee& instance();

    ScopeItem* enter(int language);

    // The function context of the road target's program in C (languageC)
    // or COBOL (languageCobol) of 8-byte (bits 64) or 4-byte (32)
    // addresses: variables as in the parsers' programs, a frame on its
    // stack. The host's call log is emptied.
    LCC_Eval_Context_Info* roadContext(int language, unsigned bits);
    // Where section 2 (the road program of 8-byte addresses) or 3 (4-byte)
    // starts.
    static UBYTE8 roadBase(unsigned bits) { return bits == 64 ? 0x20000 : 0x30000; }
    static UBYTE4 roadSection(unsigned bits) { return bits == 64 ? 2 : 3; }

    TestHost& host() { return host_; }

private:
    SampleDebuggee();
    LCC_Eval_Context_Info& declareC(UBYTE4 section, unsigned bits);
    LCC_Eval_Context_Info& declareCobol(UBYTE4 section, unsigned bits);
    void setLocationType(LCC_Eval_Context_Info& unit, LCC_Eval_Context_Info& main, unsigned bits);

    TestHost host_{false};
    LCC_Eval_Context_Info* cMain_ = nullptr;
    LCC_Eval_Context_Info* cobolMain_ = nullptr;
    std::map<int, std::unique_ptr<ExpressionRepresentation>> representations_;
    std::map<std::pair<int, unsigned>, LCC_Eval_Context_Info*> roadContexts_;
};

#endif
