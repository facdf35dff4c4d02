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

#include "services/ExpressionRepresentation.h"
#include "testhost/TestHost.h"

class ScopeItem;

class SampleDebuggee {
public:
    // Language codes as the evaluator tests them.
    enum : int { languageC = 1, languageCpp = 2, languageCobol = 6 };

    static SampleDebuggee& instance();

    ScopeItem* enter(int language);

private:
    SampleDebuggee();
    void declareC();
    void declareCobol();

    TestHost host_{false};
    LCC_Eval_Context_Info* cMain_ = nullptr;
    LCC_Eval_Context_Info* cobolMain_ = nullptr;
    std::map<int, std::unique_ptr<ExpressionRepresentation>> representations_;
};

#endif
