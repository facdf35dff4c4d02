#ifndef NORVEXA_TESTS_TYPES_SYMBOLSFIXTURE_H
#define NORVEXA_TESTS_TYPES_SYMBOLSFIXTURE_H

// A simulated program for the symbol and scope tests: a compilation unit
// "unit" holding a function "main" (section 1), an expression environment of
// the chosen language initialised on the function's context, and helpers to
// declare symbols and read the host's call log.

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "testhost/TestHostFixture.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

template <class F>
int symbolsInvalidOpCode(F&& f)
{
    try {
        f();
    } catch (const InvalidOp& e) {
        return e.code();
    }
    return 0;
}

class SymbolsTest : public TestHostFixture {
protected:
    explicit SymbolsTest(int language = EvaluationEnvironment::languageCPP) : TestHostFixture(true), language_(language)
    {}

    void SetUp() override
    {
        TestHostFixture::SetUp();
        unit = &host.addContext("unit", CS2_FILE);
        mainContext = &host.addContext("main", CS2_FUNCTION, unit);
        const TYPE_INDEX intType{0, 130};
        mainEntry = &records().function("main", records().functionType(intType, {}), 1, 0x100);
        mainContext->blockSymbol = mainEntry;
        host.addSection(1, 0x10000);
        env = std::make_unique<ExpressionRepresentation>(language_, nullptr);
        scope = env->initializeAndMakeCurrent(mainContext);
        host.clearCalls();
        host.clearLines();
    }

    void TearDown() override
    {
        env.reset();
        TestHostFixture::TearDown();
    }

    HostRecordStore& records() { return host.records(); }

    _SYMBOL_ENTRY& declare(LCC_Eval_Context_Info* context, _SYMBOL_ENTRY& entry)
    {
        return host.declare(*context, entry);
    }

    unsigned searches() const { return host.callCount(HS_ExprSearchForSymbolEntry); }

    bool searchedWith(const std::string& part) const
    {
        for (const TestHost::Call& c : host.callsTo(HS_ExprSearchForSymbolEntry))
            if (c.arguments.find(part) != std::string::npos)
                return true;
        return false;
    }

    // Whether some trace line contains the text.
    bool traced(const std::string& part) const { return host.traced(part); }

    static std::string hex(const void* p)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%" PRIxPTR, reinterpret_cast<std::uintptr_t>(p));
        return text;
    }

    int language_;
    std::unique_ptr<ExpressionRepresentation> env;
    LCC_Eval_Context_Info* unit = nullptr;
    LCC_Eval_Context_Info* mainContext = nullptr;
    _SYMBOL_ENTRY* mainEntry = nullptr;
    ScopeItem* scope = nullptr;
};

class CobolSymbolsTest : public SymbolsTest {
protected:
    CobolSymbolsTest() : SymbolsTest(EvaluationEnvironment::languageCOBOL) {}
};

class FortranSymbolsTest : public SymbolsTest {
protected:
    FortranSymbolsTest() : SymbolsTest(EvaluationEnvironment::languageFortran) {}
};

class CSymbolsTest : public SymbolsTest {
protected:
    CSymbolsTest() : SymbolsTest(1) {}
};

#endif
