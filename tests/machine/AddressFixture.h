#ifndef NORVEXA_TESTS_MACHINE_ADDRESSFIXTURE_H
#define NORVEXA_TESTS_MACHINE_ADDRESSFIXTURE_H

// A simulated program for the address, function and load tests: a unit
// holding a function "main" whose section 1 starts at 0x10000, and an
// expression representation of a chosen language and address size made
// current on main's context, with main's scope to find symbols in.

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "machine/RuntimeStack.h"
#include "services/ExpressionRepresentation.h"
#include "testhost/TestHostFixture.h"
#include "testhost/inprocess/MachineFixture.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"

class AddressFixture : public TestHostFixture {
protected:
    enum : int {
        languageC = 1,
        languageCPP = 2,
        languageCOBOL = 6,
        languageFortran = 11
    };
    static constexpr TYPE_INDEX intType{0, 130};

    explicit AddressFixture(int language = languageC, unsigned addressSize = 4)
        : TestHostFixture(false), language_(language), addressSize_(addressSize)
    {}

    void SetUp() override
    {
        TestHostFixture::SetUp();
        unit = &host.addContext("unit", CS2_FILE);
        mainContext = &host.addContext("main", CS2_FUNCTION, unit);
        mainContext->blockSymbol = &records().function("main", records().functionType(intType, {}), 1, 0x100);
        host.addSection(1, 0x10000, addressSize_ * 8);
        use(language_, addressSize_);
    }

    void TearDown() override
    {
        rep_.reset();
        TestHostFixture::TearDown();
    }

    // A fresh representation of the language and address size, current on
    // main's context (the earlier one goes).
    void use(int language, unsigned addressSize)
    {
        rep_.reset();
        unit->locationType = mainContext->locationType = addressSize == 8 ? 4 : 0;
        rep_ = std::make_unique<ExpressionRepresentation>(language, nullptr);
        scope = rep_->initializeAndMakeCurrent(mainContext);
    }

    HostRecordStore& records() { return host.records(); }
    ExpressionRepresentation& rep() { return *rep_; }
    RuntimeStack& stack() { return rep_->runtimeStack(); }
    _SYMBOL_ENTRY& declare(_SYMBOL_ENTRY& entry) { return host.declare(*mainContext, entry); }
    SymbolItem& variable(const char* name)
    {
        SymbolItem* symbol = scope->findVariable(name, 1);
        if (symbol == nullptr)
            throw std::runtime_error(std::string("no symbol ") + name);
        return *symbol;
    }

    LCC_Eval_Context_Info* unit = nullptr;
    LCC_Eval_Context_Info* mainContext = nullptr;
    ScopeItem* scope = nullptr;

private:
    int language_;
    unsigned addressSize_;
    std::unique_ptr<ExpressionRepresentation> rep_;
};

#endif
