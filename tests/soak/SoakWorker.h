#ifndef NORVEXA_TESTS_SOAK_SOAKWORKER_H
#define NORVEXA_TESTS_SOAK_SOAKWORKER_H

#include <string>

#include "SoakEntries.h"
#include "testhost/ProgramFile.h"

class TestHost;

// The work of one host thread: a C and a COBOL program of its own (their
// variables in sections of their own, so that no other thread reads or
// writes them), on which each round builds, validates and evaluates
// expressions, asks the error texts of those that fail, formats and updates
// an SQL host variable and updates variables from text. A round answers a
// record of every status, result name, text and the programs' bytes after
// it: the same for every round, on any thread, with any other threads
// running.
class SoakWorker {
public:
    // Builds the programs into the host (before any thread calls): worker n
    // uses sections 2n + 1 and 2n + 2.
    SoakWorker(TestHost& host, const SoakEntries& dbg, unsigned n, unsigned bits);

    // One round; cobolFirst: the COBOL program's work is done first (the
    // record keeps one order).
    std::string round(bool cobolFirst);

    unsigned bits() const { return bits_; }
    // The C program's type of "a", for the type-name builder.
    TYPE_INDEX intType() const;
    const LCC_Eval_Context_Info* context() const { return c_.context(); }

private:
    std::string cRound();
    std::string cobolRound();
    // Builds, validates, evaluates; the error text of a failure; a result of
    // an SQL host variable or of a failed evaluation formatted.
    std::string expression(const ProgramFile& program, const std::string& text, UBYTE4 language);
    // Evaluates name and changes its value through its root node to the
    // value of text; then formats it when it is an SQL host variable.
    std::string update(const ProgramFile& program, const std::string& name, UBYTE4 language, const std::string& text);
    std::string bytes(const ProgramFile& program);

    TestHost& host_;
    const SoakEntries& dbg_;
    unsigned bits_;
    ProgramFile c_;
    ProgramFile cobol_;
};

#endif
