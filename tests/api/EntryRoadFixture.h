#ifndef NORVEXA_TESTS_API_ENTRYROADFIXTURE_H
#define NORVEXA_TESTS_API_ENTRYROADFIXTURE_H

// The entry points of an expression in-process, over the road fixture's
// program: the evaluator initialised with the simulated host's table for
// each test, representations built, validated and evaluated as a host does,
// and released by the test (Expression releases what it still holds).

#include <string>

#include "../compiler/RoadFixture.h"
#include "api/ExpressionEntryPoints.h"
#include "api/PluginEntryPoints.h"
#include "machine/StackItem.h"
#include "services/ExpressionRepresentation.h"

// One expression as a host holds it.
struct Expression {
    ExpressionRepresentation* rep = nullptr;
    StackItem* typeResult = nullptr;
    StackItem* result = nullptr;
    UBYTE1* name = nullptr;
    UBYTE2 built = 0;
    UBYTE2 validated = 0;
    UBYTE2 evaluated = 0;

    Expression() = default;
    Expression(const Expression&) = delete;
    Expression& operator=(const Expression&) = delete;
    ~Expression() { release(); }

    void release()
    {
        DbgFreeEvalResultInfo(result);
        DbgFreeTypeResultInfo(typeResult);
        DbgFreeExprIntRep(rep);
        result = typeResult = nullptr;
        rep = nullptr;
    }
    std::string nameText() const { return name != nullptr ? reinterpret_cast<const char*>(name) : "<null>"; }
    int messageId() const { return rep->message().id(); }
    std::string messageText() const
    {
        const ByteString text = rep->message().textAsByteString();
        return reinterpret_cast<const char*>(text.data());
    }
};

class EntryRoadTest : public RoadTest {
protected:
    explicit EntryRoadTest(int language = 1) : RoadTest(language), language_(language) {}

    void SetUp() override
    {
        RoadTest::SetUp();
        ASSERT_EQ(DbgInitialize(host.activate()), 1);
    }

    void TearDown() override
    {
        DbgTerminateRunTime();
        RoadTest::TearDown();
    }

    // Builds and validates text in the test's language (or the one given).
    void validate(Expression& e, const std::string& text, int language = -1)
    {
        e.built = DbgBuildExprIntRep(reinterpret_cast<unsigned char*>(const_cast<char*>(text.c_str())), mainContext,
                                     static_cast<UBYTE4>(language < 0 ? language_ : language), 0, &e.rep);
        ASSERT_EQ(e.built, 0) << text;
        e.validated = DbgValidateExpr(e.rep, mainContext, &e.typeResult);
    }

    // Validates (when not validated yet) and evaluates text.
    void evaluate(Expression& e, const std::string& text, int language = -1)
    {
        if (e.rep == nullptr)
            validate(e, text, language);
        DbgFreeEvalResultInfo(e.result);
        e.result = nullptr;
        e.evaluated = DbgEvaluateExpr(e.rep, mainContext, &e.result, &e.name);
    }

    // The catalogue text of message id with the inserts.
    static std::string catalogue(int id, const char* insert = nullptr)
    {
        Message m(id);
        if (insert != nullptr)
            m.setInserts(insert, nullptr);
        const ByteString text = m.textAsByteString();
        return reinterpret_cast<const char*>(text.data());
    }

private:
    int language_;
};

#endif
