// The current environment across threads: the scoped guard restores the
// environment that was current before on every exit, and an environment
// freed on one thread is no longer current on any other.

#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "ThreadBarrier.h"

#include "testhost/inprocess/ContextFixtures.h"
#include "services/CurrentEnvironmentQueries.h"
#include "services/CurrentEnvironmentRegistry.h"
#include "services/CurrentEnvironmentScope.h"
#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"

namespace {

const LCC_Eval_Context_Info* fakeContext(std::uintptr_t n)
{
    return reinterpret_cast<const LCC_Eval_Context_Info*>(n);
}

} // namespace

TEST(CurrentEnvironmentScope, RestoresThePreviousEnvironmentOnEveryExit)
{
    std::thread([] {
        enum class Exit {
            normal,
            invalidOp,
            stdException,
            otherException
        };
        const Exit exits[] = {Exit::normal, Exit::invalidOp, Exit::stdException, Exit::otherException};
        ExpressionRepresentation outer(6, nullptr);
        for (EvaluationEnvironment* before :
             {static_cast<EvaluationEnvironment*>(nullptr), static_cast<EvaluationEnvironment*>(&outer)}) {
            for (Exit exit : exits) {
                if (before != nullptr)
                    before->makeCurrent(nullptr);
                else
                    CurrentEnvironmentRegistry::exchange(nullptr);
                ExpressionRepresentation inner(2, nullptr);
                try {
                    CurrentEnvironmentScope scope(inner, fakeContext(5));
                    EXPECT_EQ(scope.previous(), before);
                    EXPECT_EQ(EvaluationEnvironment::currentRep(), &inner);
                    EXPECT_EQ(inner.context(), fakeContext(5));
                    EXPECT_TRUE(isCPPLanguage());
                    {
                        // Nested scopes unwind one level at a time.
                        ExpressionRepresentation nested(11, nullptr);
                        CurrentEnvironmentScope again(nested);
                        EXPECT_EQ(again.previous(), &inner);
                        EXPECT_TRUE(isFortranLanguage());
                    }
                    EXPECT_EQ(EvaluationEnvironment::currentRep(), &inner);
                    switch (exit) {
                    case Exit::normal: break;
                    case Exit::invalidOp: throw InvalidOp(InvalidOp::RTRC_Other, "test", __LINE__);
                    case Exit::stdException: throw std::runtime_error("host failed");
                    case Exit::otherException: throw 42;
                    }
                } catch (...) {
                }
                EXPECT_EQ(EvaluationEnvironment::currentOrNull(), before)
                    << "exit " << int(exit) << (before ? " over an environment" : " over none");
            }
        }
        CurrentEnvironmentRegistry::exchange(nullptr);
    }).join();
}

TEST(CurrentEnvironmentScope, AnEnvironmentFreedOnAnotherThreadIsCurrentNowhere)
{
    // The host makes a representation current on one thread, frees it on a
    // second, and evaluates again on the first: the first thread must not
    // reach the freed environment, neither as its current environment nor
    // through a scope that saved it as the one to restore.
    auto* leftCurrent = new ExpressionRepresentation(6, nullptr);
    auto* savedByScope = new ExpressionRepresentation(6, nullptr);
    ThreadBarrier step(2);

    std::thread first([&] {
        leftCurrent->makeCurrent(fakeContext(1));
        step.arrive_and_wait(); // 1: the second thread frees it
        step.arrive_and_wait(); // 2
        EXPECT_EQ(EvaluationEnvironment::currentOrNull(), nullptr);
        EXPECT_EQ(CurrentEnvironment::currentContext(), nullptr);
        EXPECT_EQ(codeOf([] { isCobolLanguage(); }), InvalidOp::RTRC_AssertFail);

        ExpressionRepresentation next(2, nullptr);
        {
            CurrentEnvironmentScope scope(next, fakeContext(2));
            EXPECT_EQ(scope.previous(), nullptr);
            EXPECT_TRUE(isCPPLanguage());
            EXPECT_EQ(CurrentEnvironment::currentContext(), fakeContext(2));
        }
        EXPECT_EQ(EvaluationEnvironment::currentOrNull(), nullptr);

        savedByScope->makeCurrent(fakeContext(3));
        {
            CurrentEnvironmentScope scope(next, fakeContext(2));
            EXPECT_EQ(scope.previous(), savedByScope);
            step.arrive_and_wait(); // 3: the second thread frees the saved one
            step.arrive_and_wait(); // 4
            EXPECT_EQ(EvaluationEnvironment::currentRep(), &next);
        }
        EXPECT_EQ(EvaluationEnvironment::currentOrNull(), nullptr)
            << "the scope must not restore an environment freed meanwhile";
        EXPECT_EQ(CurrentEnvironment::currentContext(), nullptr);
    });
    std::thread second([&] {
        step.arrive_and_wait(); // 1
        ExpressionRepresentation mine(11, nullptr);
        mine.makeCurrent(nullptr);
        delete leftCurrent;
        // Its own current environment is not touched.
        EXPECT_EQ(EvaluationEnvironment::currentOrNull(), &mine);
        step.arrive_and_wait(); // 2
        step.arrive_and_wait(); // 3
        delete savedByScope;
        EXPECT_FALSE(CurrentEnvironmentRegistry::isAlive(savedByScope));
        step.arrive_and_wait(); // 4
    });
    first.join();
    second.join();
}

TEST(CurrentEnvironmentScope, ThreadsEndingWhileEnvironmentsDieLeaveNoStaleSlot)
{
    // Threads come and go with an environment current, and the environments
    // are freed afterwards on the main thread: the slots of ended threads
    // are not written.
    std::vector<std::unique_ptr<ExpressionRepresentation>> reps;
    for (int i = 0; i < 8; ++i)
        reps.push_back(std::make_unique<ExpressionRepresentation>(2, nullptr));
    std::vector<std::thread> threads;
    for (auto& rep : reps)
        threads.emplace_back([&rep] { rep->makeCurrent(nullptr); });
    for (auto& t : threads)
        t.join();
    reps.clear();
    SUCCEED();
}
