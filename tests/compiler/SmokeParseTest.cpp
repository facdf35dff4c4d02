// The C, C++ and COBOL parsers over the real services: names resolved in the
// simulated program, nodes, literal values and figurative constants made by
// the services, read back as the tree's full-form signature.

#include <string>

#include <gtest/gtest.h>

#include "ServicesFixture.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_Expression.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_Parser.h"

namespace {

std::string parsed(EE_OstrelServices& services, const char* text)
{
    EE_Parser parser(services, 0);
    try {
        EE_Expression* root = parser.parseTheExpression(text, 0);
        return root->signature(1).data();
    } catch (const EE_ParseException& e) {
        return "parse error " + std::to_string(e.code);
    } catch (const EE_Exception& e) {
        return "error " + std::to_string(e.code);
    }
}

struct Case {
    const char* text;
    const char* tree;
};

class CSmokeParse : public ServicesTest {
protected:
    void SetUp() override
    {
        ServicesTest::SetUp();
        for (const char* name : {"a", "b", "c", "i"})
            host.declare(*mainContext, records().staticVariable(name, TYPE_INDEX{0, 130}, 1, 0x20));
        host.declare(*mainContext, records().staticVariable("p", records().pointerType(TYPE_INDEX{0, 130}), 1, 0x40));
        host.declare(*mainContext,
                     records().staticVariable("arr", records().arrayType(TYPE_INDEX{0, 130}, 40), 1, 0x60));
        host.declare(*unit, records().function("f", records().functionType(TYPE_INDEX{0, 130}, {}), 1, 0x200));
        host.declare(*unit, records().typeName("T", TYPE_INDEX{0, 130}));
        host.declare(*unit, records().staticVariable("g", TYPE_INDEX{0, 130}, 1, 0x80));
    }
};

TEST_F(CSmokeParse, TreesOfCAndCppTexts)
{
    const Case cases[] = {
        {"-a", "-a"},
        {"a ? b : c", "a ? b : c"},
        {"f()", "f()"},
        {"f(a, b+1)", "f(a, b+1)"},
        {"arr[i]", "arr[i]"},
        {"*p", "*(p)"},
        {"sizeof a", "sizeof(a)"},
        {"::g", "g"},
        {"a + 1", "a+1"},
        {"(T)a", "(int) (a)"}, // the typedef is looked through
        {"nothing + 1", "parse error 3"},
        {"this", "error 2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parsed(*services, c.text), c.tree) << c.text;
}

class CobolSmokeParse : public CobolServicesTest {
protected:
    void SetUp() override
    {
        CobolServicesTest::SetUp();
        for (const char* name : {"A", "B", "X"}) {
            _SYMBOL_ENTRY& e = records().staticVariable(name, records().packedDecimalType(5, 0, true), 1, 0x20);
            e.statics.attributeD = 1;
            host.declare(*mainContext, e);
        }
    }
};

TEST_F(CobolSmokeParse, TreesOfCobolTexts)
{
    const Case cases[] = {
        {"A + B", "A"},
        {"- A", "-A"},
        {"NOT A", "!A"},
        {"(A)", "(A)"},
        {"LENGTH OF X", "sizeof(X)"},
        {"ADDRESS OF X", "ADDRESS OF X"},
        {"A = ZERO", "A"},
        {"'AB'", "'AB'"}, // shown as written
        {"NOWHERE", "parse error 3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parsed(*services, c.text), c.tree) << c.text;
}

} // namespace
