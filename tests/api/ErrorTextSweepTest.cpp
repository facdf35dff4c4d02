// Every failure a user can provoke from the example host's sample programs
// says what failed: the error text after a build, validation, test or
// evaluation that answers 10000 or more names the expression and holds a
// catalogue message about it, never an empty text, a placeholder or the
// evaluator's inner names.

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "api/ErrorTextEntryPoints.h"
#include "api/ExpressionEntryPoints.h"
#include "api/PluginEntryPoints.h"
#include "machine/StackItem.h"
#include "testhost/ProgramFile.h"
#include "testhost/TestHost.h"

namespace {

const UBYTE1* const locale = reinterpret_cast<const UBYTE1*>("en_US");

struct Failure {
    const char* sample; // the example program file
    const char* expression;
    UBYTE2 status;       // the first status of 10000 or more on the road
    const char* message; // what the error text says after the expression
};

// The road a host takes: build, validate, test (a valid expression without
// side effect), evaluate. The first status of 10000 or more, and the error
// text then.
struct Outcome {
    UBYTE2 status = 0;
    std::string text;
};

class ErrorTextSweep : public ::testing::Test {
protected:
    Outcome run(const Failure& f)
    {
        TestHost host(false);
        ProgramFile::Options options;
        const ProgramFile program =
            ProgramFile::readFile(std::string(NORVEXA_EXAMPLES_DIR) + "/" + f.sample, host, options);
        EXPECT_EQ(DbgInitialize(host.activate()), 1);
        Outcome out;
        std::string text = f.expression;
        ExpressionRepresentation* rep = nullptr;
        const UBYTE2 built = DbgBuildExprIntRep(reinterpret_cast<unsigned char*>(text.data()), program.context(),
                                                static_cast<UBYTE4>(program.languageCode()), 0, &rep);
        if (built >= 10000 || rep == nullptr) {
            out.status = built;
        } else {
            StackItem* type = nullptr;
            const UBYTE2 validated = DbgValidateExpr(rep, program.context(), &type);
            DbgFreeTypeResultInfo(type);
            UBYTE2 status = validated;
            if (status < 10000 && validated == 0)
                status = DbgTestExpr(rep, program.context());
            if (status < 10000) {
                StackItem* result = nullptr;
                UBYTE1* name = nullptr;
                status = DbgEvaluateExpr(rep, program.context(), &result, &name);
                DbgFreeEvalResultInfo(result);
            }
            out.status = status;
            if (status >= 10000) {
                const UBYTE1* shown = DbgExtendedErrorInfo(rep, locale);
                out.text = shown != nullptr ? reinterpret_cast<const char*>(shown) : "";
            }
            DbgFreeExprIntRep(rep);
        }
        DbgTerminateRunTime();
        return out;
    }
};

TEST_F(ErrorTextSweep, EveryFailureOfTheSamplesSaysWhatFailed)
{
    const Failure failures[] = {
        // C
        {"c.prog", "nosuch", 11002, "ZEMT0003E The name nosuch is not defined in the current context."},
        {"c.prog", "a +", 11000, "ZEMT0002E The expression is incomplete."},
        {"c.prog", "", 11000, "ZEMT0002E The expression is incomplete."},
        {"c.prog", "pt + 1", 11000, "ZEMT0012E The type of pt cannot be used here."},
        {"c.prog", "*a", 11000, "ZEMT0010E a is not a valid operand of the operation."},
        {"c.prog", "f % 2", 11000, "ZEMT0015E The operation cannot be evaluated: f%2"},
        {"c.prog", "(struct nosuch *)0", 11002, "ZEMT0003E The name nosuch is not defined in the current context."},
        {"c.prog", "a / (b - 4)", 10007, "ZEMT0029E Division by zero."},
        {"c.prog", "*(int*)0", 11051, "ZEMT0034E The storage of *(int*)0 is not allocated or cannot be accessed."},
        {"c.prog", "arr[1000000]", 11051,
         "ZEMT0034E The storage of arr[1000000] is not allocated or cannot be accessed."},
        // A condition that is no scalar; failures inside a condition answer
        // as the evaluation does, never as false.
        {"c.prog", "pt", 10002, "ZEMT0012E The type of pt cannot be used here."},
        {"c.prog", "arr[1000000] == 1", 11051,
         "ZEMT0034E The storage of arr[1000000] == 1 is not allocated or cannot be accessed."},
        // An array is no receiver; a member is named as written.
        {"c.prog", "arr = 1", 11000, "ZEMT0012E The type of arr cannot be used here."},
        {"c.prog", "un.b = 1", 11000, "ZEMT0012E The type of (un).b cannot be used here."},
        {"c.prog", "*pt.x", 11000, "ZEMT0010E (pt).x is not a valid operand of the operation."},
        {"c.prog", "pt.x.y", 11000,
         "ZEMT0007E The operator cannot be applied to (pt).x: it is not a pointer, or not a class, structure or "
         "union."},
        // C++: a member of a base class.
        {"cpp.prog", "*sq.id", 11000, "ZEMT0010E (sq).id is not a valid operand of the operation."},
        {"cpp.prog", "nosuch + 1", 11002, "ZEMT0003E The name nosuch is not defined in the current context."},
        // Fortran: bounds of its own.
        {"fortran.prog", "arr[6]", 10010, "ZEMT0030E A subscript or index of arr[6] is out of range."},
        {"fortran.prog", "z[5]", 10010, "ZEMT0030E A subscript or index of z[5] is out of range."},
        {"fortran.prog", "m[2][3]", 10010, "ZEMT0030E A subscript or index of m[2][3] is out of range."},
        {"fortran.prog", "n / 0", 10007, "ZEMT0029E Division by zero."},
        {"fortran.prog", "arr[0] == 1", 10010, "ZEMT0030E A subscript or index of arr[0] == 1 is out of range."},
        // Fewer subscripts than the array's rank: refused, never a bare
        // 1020 nor the column's address stored.
        {"fortran.prog", "m[1]", 11000, "ZEMT0035E m[1] has the wrong number of subscripts."},
        {"fortran.prog", "n = m[1]", 11000, "ZEMT0035E m[1] has the wrong number of subscripts."},
        {"fortran.prog", "m[1] + 1", 11000, "ZEMT0035E m[1] has the wrong number of subscripts."},
        {"fortran.prog", "arr[m[2]]", 11000, "ZEMT0035E m[2] has the wrong number of subscripts."},
        // COBOL
        {"cobol.prog", "NOSUCH", 11002, "ZEMT0004S The data name NOSUCH is not defined in the program."},
        {"cobol.prog", "FLD OF GRP / 0", 10007, "ZEMT0029E Division by zero."},
        {"cobol.prog", "NAME + 1", 11000, "ZEMT0013E The class or category of the data item NAME cannot be used here."},
        {"cobol.prog", "FLD +", 11000, "ZEMT0002E The expression is incomplete."},
        {"cobol.prog", "TAB", 10002, "ZEMT0012E The type of TAB cannot be used here."},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(std::string(f.sample) + ": " + f.expression);
        const Outcome out = run(f);
        EXPECT_EQ(out.status, f.status);
        EXPECT_EQ(out.text, "  >> " + std::string(f.expression) + "\n\n" + f.message);
    }
}

} // namespace
