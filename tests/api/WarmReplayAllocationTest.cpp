// A warm replay allocates nothing: once an expression has been validated and
// evaluated, evaluating it again (the byte code replayed, the result handed
// out and released) makes no heap allocation in the evaluator. The host's
// memory reads and searches answer quietly (testhost/QuietSlots), so that
// every operator new counted here is the evaluator's.

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "api/ExpressionEntryPoints.h"
#include "api/PluginEntryPoints.h"
#include "machine/StackItem.h"
#include "testhost/ProgramFile.h"
#include "testhost/QuietSlots.h"
#include "testhost/inprocess/TestHostFixture.h"
#include "ReplacedOperatorNew.h"

namespace {

// Counted only while a test asks, on the thread that asked.
thread_local bool counting = false;
std::atomic<unsigned long> allocations{0};

} // namespace

// Every form of operator new of this test program counts here
// (ReplacedOperatorNew.h).
void* replacedAllocate(std::size_t size)
{
    if (counting)
        allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size != 0 ? size : 1))
        return p;
    throw std::bad_alloc();
}

namespace {

const char* const program = R"(language c
int a = 3;
int b = 4;
int i = 2;
struct holder { int arr[4]; int x; } s = {{1, 2, 3, 4}, 5};
struct holder *p = &s;
)";

class WarmReplay : public TestHostFixture {
protected:
    WarmReplay() : TestHostFixture(false) {}

    void SetUp() override
    {
        makeQuiet(host);
        TestHostFixture::SetUp();
        programFile = std::make_unique<ProgramFile>(ProgramFile::read(program, host, ProgramFile::Options{}));
        ASSERT_EQ(DbgInitialize(&host.table()), 1);
    }

    void TearDown() override
    {
        DbgTerminateRunTime();
        TestHostFixture::TearDown();
    }

    // The allocations of one evaluation of a validated representation,
    // after `warm` evaluations; its value in value.
    unsigned long allocationsOfReplay(const std::string& text, std::int64_t& value, int warm = 2)
    {
        std::string buffer = text;
        ExpressionRepresentation* rep = nullptr;
        StackItem* type = nullptr;
        EXPECT_EQ(DbgBuildExprIntRep(reinterpret_cast<unsigned char*>(buffer.data()), programFile->context(),
                                     static_cast<UBYTE4>(programFile->languageCode()), 0, &rep),
                  0)
            << text;
        EXPECT_LT(DbgValidateExpr(rep, programFile->context(), &type), 10000) << text;
        unsigned long counted = 0;
        for (int run = 0; run <= warm; ++run) {
            StackItem* result = nullptr;
            UBYTE1* name = nullptr;
            allocations = 0;
            counting = run == warm;
            const UBYTE2 status = DbgEvaluateExpr(rep, programFile->context(), &result, &name);
            value = result != nullptr ? result->asSigned() : -1;
            DbgFreeEvalResultInfo(result);
            counting = false;
            counted = allocations;
            EXPECT_EQ(status, 0) << text;
        }
        DbgFreeTypeResultInfo(type);
        DbgFreeExprIntRep(rep);
        return counted;
    }

    std::unique_ptr<ProgramFile> programFile;
};

TEST_F(WarmReplay, AllocatesNothing)
{
    struct Case {
        const char* text;
        std::int64_t value;
    };
    const Case cases[] = {
        {"1 + 2", 3},
        {"a + b", 7},
        {"s.arr[i] * 2 + p->x", 11},
    };
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NORVEXA_REPLAY_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(NORVEXA_REPLAY_SANITIZED)
    GTEST_SKIP() << "under AddressSanitizer released stack items are not kept for reuse";
#endif
    for (const Case& c : cases) {
        std::int64_t value = 0;
        EXPECT_EQ(allocationsOfReplay(c.text, value), 0u) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

// The count sees an allocation made while it counts, and a validation (which
// makes its types and byte code) allocates.
TEST_F(WarmReplay, TheCountSeesAllocations)
{
    counting = true;
    allocations = 0;
    void* volatile made = ::operator new(64);
    counting = false;
    ::operator delete(made);
    EXPECT_EQ(allocations.load(), 1u);

    std::string text = "a + b";
    ExpressionRepresentation* rep = nullptr;
    StackItem* type = nullptr;
    allocations = 0;
    counting = true;
    ASSERT_EQ(DbgBuildExprIntRep(reinterpret_cast<unsigned char*>(text.data()), programFile->context(),
                                 static_cast<UBYTE4>(programFile->languageCode()), 0, &rep),
              0);
    EXPECT_LT(DbgValidateExpr(rep, programFile->context(), &type), 10000);
    counting = false;
    EXPECT_GT(allocations.load(), 0u);
    DbgFreeTypeResultInfo(type);
    DbgFreeExprIntRep(rep);
}

} // namespace
