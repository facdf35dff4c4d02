#ifndef NORVEXA_TESTS_API_LOADED_ROADSUITE_H
#define NORVEXA_TESTS_API_LOADED_ROADSUITE_H

// The end-to-end suite: expressions taken from text to result through
// the plug-in loaded as a host loads it (libnorvexa.so; norvexa.dll under
// wine), over programs built on the simulated host alone, each case in a
// program of 32-bit and of 64-bit addresses (the suite's parameter).
//
// norvexa.dll puts its entry points in main's table only: there the checks
// that need an entry point reached by name (DbgTestExpr, the error texts,
// browse mode, the release of results and nodes) are left out, each case
// noting which (RoadRun::reaches), and the host releases representations
// alone, as a Windows host does.
//
// Adding cases: a test file of its own holds a table of RoadCase rows and a
// TEST_P of the RoadSuite fixture that runs them:
//
//     const RoadCase rows[] = {
//         {"sum", RoadLanguage::c, twoInts, "a + b", 0, -1, nullptr, 0, "a + b", nullptr},
//     };
//     TEST_P(RoadSuite, MyRows) { runAll(rows); }
//
// A fixture declares what a case's program holds (RoadProgram); an oracle
// checks what the case produced (RoadRun), after the statuses and the name
// the row names. The suite releases what the host was handed in the row's
// order. An oracle tests a condition with RoadRun::expectCondition and asks
// RoadRun::reaches before it calls another entry point reached by name only
// (those are null under Windows).

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HostRecords.h"
#include "testhost/LoadedEvaluator.h"
#include "testhost/RoadEntries.h"
#include "testhost/TestHost.h"

class ExpressionRepresentation;
class StackItem;
class UpdateTreeNode;

// The language codes the host passes.
enum class RoadLanguage : UBYTE4 {
    c = 1,
    cpp = 2,
    cobol = 6,
    fortran = 11,
    sql = 18
};

// A program of one compilation unit "unit" with a function "main" (data in
// section 1 from address data, a frame for automatic variables), its
// address size the context's.
class RoadProgram {
public:
    static constexpr UBYTE8 data = 0x10000;
    static constexpr UBYTE8 stack = 0x40000;

    RoadProgram(TestHost& host, unsigned bits);

    TestHost& host;
    unsigned bits;
    LCC_Eval_Context_Info* unit;
    LCC_Eval_Context_Info* main;
    // Where the case's expression is evaluated: main unless the fixture
    // names another context.
    LCC_Eval_Context_Info* context;

    HostRecordStore& records() { return host.records(); }
    // A variable of main in section 1 at the offset (COBOL: its level).
    _SYMBOL_ENTRY& variable(const std::string& name, TYPE_INDEX type, UBYTE8 offset, UBYTE1 level = 0);
    // An automatic variable of main at the frame offset.
    _SYMBOL_ENTRY& automatic(const std::string& name, TYPE_INDEX type, std::int64_t offset);
    // A member name of a COBOL group, found qualified or alone.
    _SYMBOL_ENTRY& member(const std::string& name, const _SYMBOL_ENTRY& group, UBYTE1 level = 0);
    _SYMBOL_ENTRY& declare(_SYMBOL_ENTRY& entry);
    // Bytes of section 1 at an offset.
    void poke(UBYTE8 offset, const std::vector<UBYTE1>& bytes);
    std::vector<UBYTE1> peek(UBYTE8 offset, unsigned count) const;
};

using RoadFixture = void (*)(RoadProgram&);

// What a case produced, for its oracle. Nodes the oracle asks for are
// released with the case.
struct RoadRun {
    RoadProgram& program;
    const RoadEntries& dbg;
    ExpressionRepresentation* rep = nullptr;
    StackItem* typeResult = nullptr;
    StackItem* result = nullptr;
    UBYTE1* name = nullptr;
    UBYTE2 validated = 0;
    UBYTE2 evaluated = 0;
    std::vector<UpdateTreeNode*> nodes;
    // The entry points reached by name only that a check of the case needed
    // and the library does not export.
    std::set<std::string>* unreached = nullptr;

    // Whether the host reaches an entry point (RoadEntries: null when it is
    // reached by name only and the library exports main alone); when not,
    // its name is noted and the caller leaves its check out.
    template <class Function>
    bool reaches(Function entry, const char* name) const
    {
        if (entry != nullptr)
            return true;
        if (unreached != nullptr)
            unreached->insert(name);
        return false;
    }

    // The error text of the representation.
    std::string errorText() const;
    // The result's root node (kept for release).
    UpdateTreeNode* root();
    // A node formatted in a representation: the status, the text in text.
    UBYTE2 format(UpdateTreeNode* node, UBYTE2 rep, std::string& text);
    // The member count and the n-th member (from 1) of a node, its name in
    // name (kept for release).
    UBYTE4 memberCount(UpdateTreeNode* node);
    UpdateTreeNode* member(UpdateTreeNode* node, unsigned n, std::string& name);
    // The element at an index of an array node (kept for release), or null.
    UpdateTreeNode* element(UpdateTreeNode* node, UBYTE8 index);
    // Evaluates the representation again; the status (the result replaces
    // the one held).
    UBYTE2 evaluateAgain();
    // Tests the representation as a condition (DbgTestExpr, by name only)
    // and expects the answer: 0 true, 10000 false.
    void expectCondition(UBYTE2 answer);
};

using RoadOracle = std::function<void(RoadRun&)>;

// The order in which the host releases what it was handed.
enum class RoadCleanup {
    resultsFirst,
    representationFirst,
    nodesLast
};

// One case. validation and evaluation are the statuses expected;
// evaluation noEvaluation when the case stops after validation. message:
// the catalogue message the error text ends with (-1: not checked), with
// insert. name: the result name (nullptr: not checked; "<null>": none).
struct RoadCase {
    static constexpr int noEvaluation = -1;

    const char* what;
    RoadLanguage language;
    RoadFixture fixture;
    const char* text;
    int validation;
    int message;
    const char* insert;
    int evaluation;
    const char* name;
    RoadOracle oracle;
    RoadCleanup cleanup = RoadCleanup::resultsFirst;
};

// The catalogue's text of a message with one insert (null: none), read from
// the catalogue's source as the library shows it.
std::string catalogueText(int id, const char* insert = nullptr);

class RoadSuite : public ::testing::TestWithParam<unsigned> {
protected:
    RoadSuite();
    void SetUp() override;
    void TearDown() override;

    // Runs one case in a fresh program of the suite's address size.
    void run(const RoadCase& c);
    template <std::size_t N>
    void runAll(const RoadCase (&cases)[N])
    {
        for (const RoadCase& c : cases)
            run(c);
    }

    // A fresh simulated host for each case, initialised into the library;
    // prepareHost, when set, changes it before the library copies its table
    // (a slot of the test's own).
    std::unique_ptr<TestHost> host;
    std::function<void(TestHost&)> prepareHost;
    // The checks left out, by the entry point they needed (see reaches).
    std::set<std::string> unreached;
    LoadedEvaluator evaluator{NORVEXA_LIBRARY_FILE};
    RoadEntries dbg{evaluator};
};

#endif
