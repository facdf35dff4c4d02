// An array assignment is evaluated once for its section and once for each
// of the section's elements, with the element's number as the section's
// parameter. The section comes from the factory: no grammar makes one.

#include <string>

#include <gtest/gtest.h>

#include "EntryRoadFixture.h"
#include "api/LiveRepresentations.h"
#include "compiler/EE_ExpressionEvaluator.h"
#include "compiler/EE_InstructionStream.h"
#include "compiler/EE_OstrelServices.h"
#include "frontend/EE_ArraySectionExpression.h"
#include "frontend/EE_Expression.h"
#include "frontend/EE_LiteralExpression.h"

namespace {

class ArrayAssignment : public EntryRoadTest {
protected:
    // The byte code of the section lower:upper for the representation,
    // parameter 0 its element.
    void sectionCode(Expression& e, long long lower, long long upper)
    {
        ASSERT_EQ(DbgBuildExprIntRep(reinterpret_cast<unsigned char*>(const_cast<char*>("section")), mainContext, 1, 0,
                                     &e.rep),
                  0);
        EE_OstrelServices services(scope, nullptr);
        auto* info = new expression_info{};
        info->instructions = new EE_InstructionStream();
        services.setMachine(info->instructions);
        auto integer = [&](long long v) -> EE_Expression* {
            return services.createLiteralExpression(services.createIntegerLiteralValue(v));
        };
        EE_ExpressionEvaluator evaluator(services);
        EE_Expression* section =
            services.createArraySectionExpression(integer(lower), integer(upper), integer(1), 0, 0);
        EE_Expression* analysed = evaluator.analyze(*section);
        evaluator.evaluate(*analysed);
        info->instructions->genEnd();
        info->resultType = const_cast<TypeItem*>(TypeItem::simpleType(t_signedInt));
        info->parameterCount = 1;
        e.rep->saveExprInfo(info);
        e.rep->markStores();
        e.typeResult = RuntimeStack::makeStackItem(*TypeItem::simpleType(t_signedInt), mainContext);
        // Held by the host, as a validation's result is, so that its free
        // releases it.
        LiveRepresentations::handOutResult(e.typeResult);
        e.rep->saveValidationResult(e.typeResult);
    }

    // Each run of the section's byte code starts with its one constant.
    unsigned runs() const
    {
        unsigned n = 0;
        for (const TestHost::TraceLine& line : host.lines())
            if (line.text.find("genLoadIntegralConstant(") != std::string::npos)
                ++n;
        return n;
    }
};

TEST_F(ArrayAssignment, RunsOnceForTheSectionAndOnceForEachElement)
{
    struct Case {
        long long lower;
        long long upper;
        unsigned runs;
    };
    for (const Case& c : {Case{1, 3, 4}, Case{2, 2, 2}, Case{5, 4, 1}}) {
        Expression e;
        sectionCode(e, c.lower, c.upper);
        ASSERT_TRUE(e.rep->isArrayAssignment());
        host.clearLines();
        evaluate(e, "section");
        EXPECT_EQ(runs(), c.runs) << c.lower << ":" << c.upper;
        EXPECT_EQ(e.evaluated, 0) << c.lower << ":" << c.upper;
        EXPECT_EQ(e.rep->runtimeStack().count(), 0u);
    }
}

} // namespace
