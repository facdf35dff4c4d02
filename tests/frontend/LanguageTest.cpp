#include <gtest/gtest.h>

#include "testseam/LanguageTestSeam.h"
#include "frontend/EE_Language.h"
#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "testhost/TestHostFixture.h"

namespace {

class FrontendLanguage : public TestHostFixture {
protected:
    void SetUp() override
    {
        TestHostFixture::SetUp();
        context = &host.addContext("main", CS2_FUNCTION);
        saved = EE_setCurrentLanguage(-1);
    }

    void TearDown() override
    {
        EE_setCurrentLanguage(saved);
        TestHostFixture::TearDown();
    }

    const LCC_Eval_Context_Info* context = nullptr;
    int saved = -1;
};

TEST_F(FrontendLanguage, FollowsTheCurrentRequestUnlessSetExplicitly)
{
    EXPECT_EQ(EE_currentLanguage(), 0) << "no environment, no setting: C";

    ExpressionRepresentation cobol(EvaluationEnvironment::languageCOBOL, nullptr);
    EvaluationEnvironment* previous = cobol.makeCurrent(context);
    EXPECT_EQ(EE_currentLanguage(), EE_LanguageCobol);
    EXPECT_TRUE(EE_isCobolLanguage());

    {
        ExpressionRepresentation fortran(EvaluationEnvironment::languageFortran, nullptr);
        fortran.makeCurrent(context);
        EXPECT_EQ(EE_currentLanguage(), EE_LanguageFortran);
        cobol.makeCurrent(context);
    }

    EE_setCurrentLanguage(EE_LanguageCPP);
    EXPECT_EQ(EE_currentLanguage(), EE_LanguageCPP) << "an explicit setting wins";
    EXPECT_FALSE(EE_isCobolLanguage());
    EE_setCurrentLanguage(-1);
    EXPECT_EQ(EE_currentLanguage(), EE_LanguageCobol);

    if (previous != nullptr)
        previous->makeCurrent(context);
}

} // namespace
