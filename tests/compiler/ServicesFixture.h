#ifndef NORVEXA_TESTS_COMPILER_SERVICESFIXTURE_H
#define NORVEXA_TESTS_COMPILER_SERVICESFIXTURE_H

// A services object over the program of the symbol tests ("unit" with the
// function "main"), made in main's scope, and a nested class with a member
// function for the tests that need class scopes.

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "../types/SymbolsFixture.h"
#include "CompilerFixture.h"
#include "compiler/CxxevalInterface.h"
#include "compiler/EE_OstrelServices.h"
#include "compiler/EE_OstrelTypeDescriptor.h"
#include "types/CreatedTypeItem.h"
#include "types/ScopeItem.h"

class ServicesTest : public SymbolsTest {
protected:
    explicit ServicesTest(int language = EvaluationEnvironment::languageCPP) : SymbolsTest(language) {}

    void SetUp() override
    {
        SymbolsTest::SetUp();
        services = std::make_unique<EE_OstrelServices>(scope, scopeFilescope());
    }

    void TearDown() override
    {
        services.reset();
        SymbolsTest::TearDown();
    }

    const TypeItem* hostType(TYPE_INDEX index) { return CreatedTypeItem::findOrCreateType(index); }
    const TypeItem* intType() { return hostType(TYPE_INDEX{0, 130}); }

    static const TypeItem* keyOf(const EE_TypeDescriptor* descriptor)
    {
        return descriptor != nullptr ? EE_OstrelTypeDescriptor::typeOf(*descriptor) : nullptr;
    }

    // Class Outer with class Inner nested in it, and the scope of the member
    // function Inner::get.
    struct NestedClasses {
        TYPE_INDEX outer{};
        TYPE_INDEX inner{};
        ScopeItem* method = nullptr;
    };

    NestedClasses nestedClasses()
    {
        NestedClasses n;
        HostRecordStore::ClassSpec outer;
        outer.name = "Outer";
        outer.byteSize = 4;
        outer.isStruct = false;
        outer.members = {{"count", TYPE_INDEX{0, 130}, 0}};
        n.outer = records().classType(outer);
        HostRecordStore::ClassSpec inner;
        inner.name = "Inner";
        inner.byteSize = 4;
        inner.isStruct = false;
        inner.flags = TNclass_Nested;
        inner.enclosingClass = n.outer;
        inner.members = {{"value", TYPE_INDEX{0, 130}, 0}};
        n.inner = records().classType(inner);

        LCC_Eval_Context_Info& context = host.addContext("Outer::Inner::get", CS2_MEMBER_FUNCTION, unit);
        TYPE_INDEX t{};
        _TYPE_ENTRY& f = records().newType(TE_MEMBERFUNCTION, &t);
        f.memberfunction.functionType = records().functionType(TYPE_INDEX{0, 130}, {});
        _SYMBOL_ENTRY& get = records().newSymbol(SE_MEMBER_FUNCTION, "get");
        get.memberfunction.type = t;
        get.memberfunction.classType = n.inner;
        get.memberfunction.functionName = records().text("Outer::Inner::get");
        context.blockSymbol = &get;
        n.method = new ScopeItem(&context, get, *scope);
        return n;
    }

    std::unique_ptr<EE_OstrelServices> services;
};

class CobolServicesTest : public ServicesTest {
protected:
    CobolServicesTest() : ServicesTest(EvaluationEnvironment::languageCOBOL) {}
};

#endif
