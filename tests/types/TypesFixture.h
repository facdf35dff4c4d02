#ifndef NORVEXA_TESTS_TYPES_TYPESFIXTURE_H
#define NORVEXA_TESTS_TYPES_TYPESFIXTURE_H

// A simulated host with its type records and an expression environment made
// current on one of its contexts (C++ by default, 4-byte addresses).

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "testhost/TestHostFixture.h"
#include "types/CreatedTypeItem.h"
#include "types/TypeItem.h"

template <class F>
int invalidOpCode(F&& f)
{
    try {
        f();
    } catch (const InvalidOp& e) {
        return e.code();
    }
    return 0;
}

inline std::string nameOf(const TypeItem& t)
{
    return t.hasValidName() ? std::string(reinterpret_cast<const char*>(t.cachedName().data())) : std::string();
}

class TypesTest : public TestHostFixture {
protected:
    explicit TypesTest(int language = EvaluationEnvironment::languageCPP, bool traceOn = false)
        : TestHostFixture(traceOn), env(language, nullptr)
    {}

    void SetUp() override
    {
        TestHostFixture::SetUp();
        context = &host.addContext("main", CS2_FUNCTION);
        previous = env.makeCurrent(context);
    }

    void TearDown() override
    {
        previous = nullptr;
        TestHostFixture::TearDown();
    }

    // Switches the current environment to another language.
    void useLanguage(int language)
    {
        other = std::make_unique<ExpressionRepresentation>(language, nullptr);
        other->setAddressSize(env.addressSize());
        other->makeCurrent(context);
    }

    unsigned typeEntryCalls() const { return host.callCount(HS_ExprGetTypeEntry); }

    // A character string whose length a DWARF expression computes.
    TYPE_INDEX dynamicStringType(const std::vector<UBYTE1>& expression)
    {
        TYPE_INDEX s = records().charstringType(0);
        _TYPE_ENTRY* e = records().type(s);
        e->charstring.flags = TN_StringDynamicLength;
        e->charstring.size.expression = records().bytes(expression);
        e->charstring.expressionLength = static_cast<UBYTE4>(expression.size());
        return s;
    }
    HostRecordStore& records() { return host.records(); }

    ExpressionRepresentation env;
    std::unique_ptr<ExpressionRepresentation> other;
    const LCC_Eval_Context_Info* context = nullptr;
    EvaluationEnvironment* previous = nullptr;
};

#endif
