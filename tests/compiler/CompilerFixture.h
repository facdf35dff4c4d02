#ifndef NORVEXA_TESTS_COMPILER_COMPILERFIXTURE_H
#define NORVEXA_TESTS_COMPILER_COMPILERFIXTURE_H

// A simulated host with an expression representation current on one of its
// contexts, and probes for the two kinds of failure the byte code raises.

#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "compiler/EE_InstructionStream.h"
#include "frontend/EE_Exception.h"
#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "testhost/TestHostFixture.h"

// What an InvalidOp carried; empty when none was thrown.
struct RaisedInvalidOp {
    int code;
    std::string function;
    unsigned line;
};

// A function's text as g++ spells it: clang puts a space before the '&' and
// '*' of a parameter's type.
inline std::string compactFunctionText(const char* text)
{
    std::string compact;
    for (const char* c = text; *c != '\0'; ++c)
        if (!(*c == ' ' && (c[1] == '&' || c[1] == '*')))
            compact += *c;
    return compact;
}

template <class F>
std::optional<RaisedInvalidOp> raisedInvalidOp(F&& f)
{
    try {
        f();
    } catch (const InvalidOp& e) {
        return RaisedInvalidOp{e.code(), compactFunctionText(e.function() != nullptr ? e.function() : ""), e.line()};
    }
    return std::nullopt;
}

// Checks what an InvalidOp carried; the line only when one is given.
inline void expectInvalidOp(const std::optional<RaisedInvalidOp>& raised, int code, const std::string& function,
                            unsigned line = 0)
{
    ASSERT_TRUE(raised.has_value());
    EXPECT_EQ(raised->code, code);
    EXPECT_EQ(raised->function, function);
    if (line != 0) {
        EXPECT_EQ(raised->line, line);
    }
}

// The code of an EE_Exception without node; -1 when none was thrown, -2 when
// one with a node was.
template <class F>
int eeExceptionCode(F&& f)
{
    try {
        f();
    } catch (const EE_Exception& e) {
        return e.node == nullptr ? static_cast<int>(e.code) : -2;
    }
    return -1;
}

// A stream whose blocks a test may reach into.
class RawStream : public EE_InstructionStream {
public:
    Buffer& raw() { return buffer; }
};

class CompilerTest : public TestHostFixture {
protected:
    explicit CompilerTest(int language = EvaluationEnvironment::languageCPP, bool traceOn = true)
        : TestHostFixture(traceOn), env(language, nullptr)
    {}

    void SetUp() override
    {
        TestHostFixture::SetUp();
        context = &host.addContext("main", CS2_FUNCTION);
        env.makeCurrent(context);
        host.clearLines();
    }

    ExpressionRepresentation env;
    const LCC_Eval_Context_Info* context = nullptr;
};

#endif
