// The evaluation environment: the current environment of each thread, frame
// and OpenMP stack bases, owned products, code page and the language and
// multibyte queries.

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "ThreadBarrier.h"

#include "testhost/inprocess/ContextFixtures.h"
#include "api/LocalsRepresentation.h"
#include "machine/StackItem.h"
#include "services/CurrentEnvironmentQueries.h"
#include "services/SVC.h"
#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "types/ScopeItem.h"

namespace {

const LCC_Eval_Context_Info* fakeContext(std::uintptr_t n)
{
    return reinterpret_cast<const LCC_Eval_Context_Info*>(n);
}

ByteString bytes(const char* text)
{
    return ByteString(reinterpret_cast<const unsigned char*>(text), static_cast<unsigned>(std::strlen(text)));
}

SYMBOL_ENTRY openMpEntry(std::int32_t offsetLow, std::uint32_t offsetHigh = 0)
{
    SYMBOL_ENTRY e{};
    e.automatic.kind = SE_AUTOMATIC;
    e.automatic.frameOffsetLow = offsetLow;
    e.automatic.frameOffsetHigh = offsetHigh;
    return e;
}

class EnvironmentTest : public ContextTest {};

} // namespace

TEST(EvaluationEnvironment, CurrentEnvironmentIsPerThread)
{
    // A thread that never made an environment current has none.
    std::thread([] {
        EXPECT_EQ(codeOf([] { EvaluationEnvironment::currentRep(); }), InvalidOp::RTRC_AssertFail);
        EXPECT_EQ(EvaluationEnvironment::currentOrNull(), nullptr);
        EXPECT_EQ(codeOf([] { isCobolLanguage(); }), InvalidOp::RTRC_AssertFail);
    }).join();

    // Two threads, each with its own current environment at the same time.
    ThreadBarrier sync(2);
    std::atomic<int> good{0};
    auto worker = [&](int language) {
        ExpressionRepresentation env(language, nullptr);
        EXPECT_EQ(env.makeCurrent(fakeContext(language)), nullptr);
        sync.arrive_and_wait();
        if (EvaluationEnvironment::currentRep() == &env &&
            EvaluationEnvironment::currentRep()->context() == fakeContext(language) &&
            isCobolLanguage() == (language == 6))
            ++good;
        sync.arrive_and_wait();
    };
    std::thread a(worker, 6), b(worker, 2);
    a.join();
    b.join();
    EXPECT_EQ(good.load(), 2);
}

TEST(EvaluationEnvironment, MakeCurrentAndDestruction)
{
    std::thread([] {
        auto* first = new ExpressionRepresentation(2, nullptr);
        ExpressionRepresentation second(6, nullptr);
        EXPECT_EQ(first->makeCurrent(fakeContext(1)), nullptr);
        EXPECT_EQ(second.makeCurrent(nullptr), first);
        // A null context leaves the environment's own.
        EXPECT_EQ(second.context(), nullptr);
        EXPECT_EQ(first->makeCurrent(nullptr), &second);
        EXPECT_EQ(first->context(), fakeContext(1));

        // Destroying the current environment leaves the thread with none.
        delete first;
        EXPECT_EQ(EvaluationEnvironment::currentOrNull(), nullptr);

        // Destroying another environment leaves the current one current.
        second.makeCurrent(nullptr);
        {
            ExpressionRepresentation other(0, nullptr);
        }
        EXPECT_EQ(EvaluationEnvironment::currentRep(), &second);
    }).join();
}

TEST(EvaluationEnvironment, LanguageQueries)
{
    std::thread([] {
        struct Case {
            int language;
            bool cobol, cpp, fortran;
        } cases[] = {
            {6, true, false, false}, {2, false, true, false}, {11, false, false, true}, {1, false, false, false}};
        for (const Case& c : cases) {
            ExpressionRepresentation env(c.language, nullptr);
            env.makeCurrent(nullptr);
            EXPECT_EQ(isCobolLanguage(), c.cobol);
            EXPECT_EQ(isCPPLanguage(), c.cpp);
            EXPECT_EQ(isFortranLanguage(), c.fortran);
        }
    }).join();
}

TEST(EvaluationEnvironment, ConstructionDefaults)
{
    ExpressionRepresentation env(2, nullptr);
    EXPECT_EQ(env.language(), 2);
    EXPECT_EQ(env.frameIndex(), 0);
    EXPECT_EQ(env.addressSize(), 4u);
    EXPECT_EQ(env.validationReturnCode(), 10000);
    EXPECT_FALSE(env.isStaticExpression());
    EXPECT_TRUE(env.localsOption());
    EXPECT_FALSE(env.isUpdate());
    EXPECT_EQ(env.conditionalVarItem(), nullptr);
    EXPECT_EQ(env.scopes().count(), 0u);
    EXPECT_EQ(env.asLocalsRepresentation(), nullptr);
    EXPECT_EQ(env.asExprRepresentation(), &env);
}

TEST_F(EnvironmentTest, CodePageIsAskedOnce)
{
    ExpressionRepresentation env(6, nullptr);
    env.makeCurrent(fakeContext(1));
    fake.codePage = "";
    EXPECT_STREQ(env.getEBCDICcodepage(), "QUV-1047");
    fake.codePage = "QUV-273";
    EXPECT_STREQ(env.getEBCDICcodepage(), "QUV-1047");
    EXPECT_EQ(static_cast<int>(host.callCount(HS_ExprGetCodepage)), 1);

    ExpressionRepresentation named(6, nullptr);
    named.makeCurrent(fakeContext(1));
    EXPECT_STREQ(named.getEBCDICcodepage(), "QUV-273");
    EXPECT_STREQ(named.getEBCDICcodepage(), "QUV-273");
    EXPECT_EQ(static_cast<int>(host.callCount(HS_ExprGetCodepage)), 2);
}

TEST(EvaluationEnvironment, ConstantStringsAreInterned)
{
    ExpressionRepresentation env(2, nullptr);
    const ByteString& a = env.getConstantString(bytes("HELLO"));
    const ByteString& b = env.getConstantString(bytes("HELLO"));
    const ByteString& c = env.getConstantString(bytes("HELLP"));
    const ByteString& d = env.getConstantString(bytes("HELL"));
    EXPECT_EQ(&a, &b);
    EXPECT_NE(&a, &c);
    EXPECT_NE(&a, &d);
    const unsigned char withZero[] = {'A', 0, 'B'};
    const ByteString& e = env.getConstantString(ByteString(withZero, 3));
    const ByteString& f = env.getConstantString(ByteString(withZero, 2));
    EXPECT_NE(&e, &f);
    EXPECT_EQ(e.length(), 3u);
    // Products of the request are reset; constant strings live on.
    env.reset();
    EXPECT_EQ(&env.getConstantString(bytes("HELLO")), &a);
}

TEST(EvaluationEnvironment, ScopesAreListedOnceAndUnregisterFromTheirOwner)
{
    std::thread([] {
        ExpressionRepresentation env(2, nullptr);
        env.makeCurrent(fakeContext(7));
        auto* block = new ScopeItem(fakeContext(7), ScopeItem::block);
        auto* file = new ScopeItem(fakeContext(8), ScopeItem::file);
        EXPECT_EQ(env.scopes().count(), 2u);
        env.addScope(*block);
        env.addScope(*file);
        EXPECT_EQ(env.scopes().count(), 2u);
        EXPECT_EQ(env.environmentFileScope(), file);
        EXPECT_EQ(fileScope(), file);
        EXPECT_EQ(env.fileScopeContext(), fakeContext(8));

        delete file;
        EXPECT_EQ(env.scopes().count(), 1u);
        EXPECT_EQ(env.environmentFileScope(), nullptr);
        EXPECT_EQ(env.fileScopeContext(), fakeContext(7));

        // A scope made for this environment, deleted while another one is
        // current, still unregisters from its own.
        ExpressionRepresentation other(2, nullptr);
        other.makeCurrent(nullptr);
        delete block;
        EXPECT_EQ(env.scopes().count(), 0u);

        // Reset deletes the scopes that are left, without touching the
        // current environment.
        env.makeCurrent(nullptr);
        new ScopeItem(fakeContext(7), ScopeItem::file);
        new ScopeItem(fakeContext(7), ScopeItem::block);
        other.makeCurrent(nullptr);
        env.reset();
        EXPECT_EQ(env.scopes().count(), 0u);
        EXPECT_EQ(env.environmentFileScope(), nullptr);
        EXPECT_EQ(other.scopes().count(), 0u);

        // An environment destroyed while another is current deletes its
        // scopes without raising.
        env.makeCurrent(nullptr);
        new ScopeItem(fakeContext(7), ScopeItem::block);
        other.makeCurrent(nullptr);
    }).join();
}

TEST_F(EnvironmentTest, InitializeAndMakeCurrent)
{
    fake.locationType = 4;
    ExpressionRepresentation env(2, nullptr);
    EXPECT_EQ(env.addressSize(), 4u);
    env.makeCurrent(fakeContext(1));
    auto* stale = new ScopeItem(fakeContext(1), ScopeItem::block);
    (void)stale;
    ScopeItem* scope = env.initializeAndMakeCurrent(fakeContext(3));
    EXPECT_EQ(scope, env.blockScope());
    EXPECT_EQ(EvaluationEnvironment::currentRep(), &env);
    EXPECT_EQ(env.context(), fakeContext(3));
    EXPECT_EQ(env.addressSize(), 8u);
    // The earlier scope went with the reset; the context's own scope is kept.
    ASSERT_EQ(env.scopes().count(), 1u);
    ASSERT_NE(env.blockScope(), nullptr);
    EXPECT_EQ(env.blockScope()->context(), fakeContext(3));

    fake.locationType = 2;
    env.initializeAndMakeCurrent(fakeContext(3));
    EXPECT_EQ(env.addressSize(), 4u);
    EXPECT_EQ(env.scopes().count(), 1u);
}

TEST_F(EnvironmentTest, StackFrameSelection)
{
    fake.setFrames({EE_ADDR{32, 0x7000, 0}, EE_ADDR{64, 0x8000, 1}});
    ExpressionRepresentation env(2, nullptr);
    env.makeCurrent(fakeContext(1));

    env.setEvaluationStackFrame(-1, nullptr);
    EXPECT_EQ(env.frameIndex(), -1);
    EXPECT_EQ(codeOf([&] { env.currentStackBase(0); }), InvalidOp::RTRC_FIXME);

    env.setEvaluationStackFrame(1, nullptr);
    EXPECT_EQ(env.frameIndex(), 1);
    EXPECT_EQ(env.currentStackBase(0).addr(), 0x100008000ull);
    EXPECT_EQ(codeOf([&] { env.currentStackBase(1); }), InvalidOp::RTRC_FIXME);

    // The host has no frame 5: the base stays cleared, nothing is raised.
    env.setEvaluationStackFrame(5, nullptr);
    EXPECT_EQ(env.frameIndex(), 5);
    EXPECT_EQ(codeOf([&] { env.currentStackBase(0); }), InvalidOp::RTRC_FIXME);

    CALLSTACK_ITEM2 item{};
    item.stackBase = EE_ADDR{32, 0x1234, 0};
    env.setEvaluationStackFrame(0, &item);
    EXPECT_EQ(env.currentStackBase(0).addr(), 0x1234u);

    env.clearStackBase();
    EXPECT_EQ(env.frameIndex(), -1);
    EXPECT_EQ(codeOf([&] { env.currentStackBase(0); }), InvalidOp::RTRC_FIXME);
}

TEST_F(EnvironmentTest, OpenMpChain)
{
    // Frame base 0x1000; region 1's base is the pointer at 0x1000 + 8, region
    // 2's the pointer at region 1's base - 8.
    fake.poke(0x1008, {0x00, 0x00, 0x20, 0x00});
    fake.poke(0x1FF8, {0x00, 0x00, 0x30, 0x00});
    fake.setFrames({EE_ADDR{32, 0x1000, 0}});
    ExpressionRepresentation env(2, nullptr);
    env.makeCurrent(fakeContext(1));
    SYMBOL_ENTRY first = openMpEntry(8);
    SYMBOL_ENTRY second = openMpEntry(-8, 0);
    env.addOpenMpEnv(first);
    env.addOpenMpEnv(second);
    env.setEvaluationStackFrame(0, nullptr);

    EXPECT_EQ(env.currentStackBase(0).addr(), 0x1000u);
    EXPECT_EQ(env.currentStackBase(2).addr(), 0x3000u);
    const int reads = static_cast<int>(host.callCount(HS_Expr2ReadMemory));
    EXPECT_EQ(env.currentStackBase(1).addr(), 0x2000u);
    EXPECT_EQ(env.currentStackBase(2).addr(), 0x3000u);
    EXPECT_EQ(static_cast<int>(host.callCount(HS_Expr2ReadMemory)), reads); // answered from the cached addresses
    EXPECT_EQ(codeOf([&] { env.currentStackBase(3); }), InvalidOp::RTRC_FIXME);

    // A new frame forgets the cached bases; a region whose pointer cannot
    // be read gives a cleared base, without an exception.
    fake.setFrames({EE_ADDR{32, 0x5000, 0}});
    env.setEvaluationStackFrame(0, nullptr);
    EXPECT_FALSE(env.currentStackBase(1).isValid());
    EXPECT_FALSE(env.currentStackBase(2).isValid());

    // An entry of another storage kind makes a region without a base.
    ExpressionRepresentation other(2, nullptr);
    other.makeCurrent(fakeContext(1));
    SYMBOL_ENTRY staticEntry{};
    staticEntry.kind = SE_STATIC;
    other.addOpenMpEnv(staticEntry);
    other.setEvaluationStackFrame(0, nullptr);
    EXPECT_TRUE(other.currentStackBase(0).isValid());
    EXPECT_FALSE(other.currentStackBase(1).isValid());
}

TEST(EvaluationEnvironment, OpenMpOffsets)
{
    struct Case {
        std::int32_t low;
        std::uint32_t high;
        std::int64_t offset;
    } cases[] = {
        {8, 0, 8},
        {-8, 0, -8},
        {0x10, 1, 0x100000010ll},
        {-16, 0xFFFFFFFFu, -16},
    };
    for (const Case& c : cases) {
        SYMBOL_ENTRY e = openMpEntry(c.low, c.high);
        EvaluationEnvironment::OpenMpEnv env(e);
        EXPECT_TRUE(env.isValid());
        EXPECT_EQ(env.offset(), c.offset);
    }
}

TEST(EvaluationEnvironment, ConditionalVarItemIsOwned)
{
    int deleted = 0;
    {
        ExpressionRepresentation env(2, nullptr);
        env.setConditionalVarItem(new CountedItem(env, deleted));
        env.setConditionalVarItem(new CountedItem(env, deleted));
        EXPECT_EQ(deleted, 1);
        StackItem* same = env.conditionalVarItem();
        env.setConditionalVarItem(same);
        EXPECT_EQ(deleted, 1);
        env.reset();
        EXPECT_EQ(deleted, 1);
    }
    EXPECT_EQ(deleted, 2);
}

TEST(EvaluationEnvironment, ConditionalVarNameIsKeptAsText)
{
    ExpressionRepresentation env(6, nullptr);
    EXPECT_EQ(env.conditionalVarName().length(), 0u);
    std::string name = "ACCOUNT-STATUS";
    env.setConditionalVarName(name.c_str());
    name[0] = 'X'; // a copy was taken
    const ByteString& kept = env.conditionalVarName();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(kept.data()), kept.length()), "ACCOUNT-STATUS");
    env.setConditionalVarName(nullptr);
    EXPECT_EQ(env.conditionalVarName().length(), 0u);
}

TEST(EvaluationEnvironment, UpcSessionMadeOnce)
{
    ExpressionRepresentation env(2, nullptr);
    EXPECT_EQ(env.upcDebugSession(), env.upcDebugSession());
}

TEST(EvaluationEnvironment, MultibyteLength)
{
    const unsigned char e[] = {0xC3, 0xA9};
    const unsigned char euro[] = {0xE2, 0x82, 0xAC};
    const unsigned char a[] = {'a'};
    const unsigned char cont[] = {0x80};
    struct Case {
        const unsigned char* text;
        unsigned length;
        int expected;
    } cases[] = {
        {nullptr, 4, 0}, {a, 1, 1}, {a, 0, -1}, {e, 2, 2}, {e, 1, -1}, {euro, 3, 3}, {euro, 2, -1}, {cont, 1, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MBlen(c.text, c.length), c.expected);
}

TEST(EvaluationEnvironment, DebuggerEnvironmentBrowseMode)
{
    EXPECT_EQ(debuggerEnvironment(), 1u);
    setBrowseMode(true);
    EXPECT_EQ(debuggerEnvironment(), 17u);
    setBrowseMode(true);
    EXPECT_EQ(debuggerEnvironment(), 17u);
    setBrowseMode(false);
    EXPECT_EQ(debuggerEnvironment(), 1u);
}

TEST_F(EnvironmentTest, LocalsRepresentation)
{
    fake.locationType = 4;
    {
        LocalsRepresentation view(2, fakeContext(9), 1);
        EXPECT_EQ(view.addressSize(), 8u);
        EXPECT_TRUE(view.localsOption());
        EXPECT_EQ(view.context(), fakeContext(9));
        EXPECT_EQ(view.asLocalsRepresentation(), &view);
        EXPECT_EQ(view.asExprRepresentation(), nullptr);
        EXPECT_EQ(codeOf([&] { view.expression(nullptr); }), InvalidOp::RTRC_AssertFail);
    }
    fake.locationType = 0;
    LocalsRepresentation flat(2, fakeContext(9), 6);
    EXPECT_EQ(flat.addressSize(), 4u);
    EXPECT_FALSE(flat.localsOption());

    SYMBOL_ENTRY entry{};
    const char* name = "counter";
    const char* display = "counter (static)";
    entry.statics.name = name;
    entry.statics.displayName = display;
    struct Case {
        UBYTE4 kind;
        const char* expected;
    } cases[] = {{SE_STATIC, display}, {SE_SECTION_DATA, display}, {SE_AUTOMATIC, name}, {SE_REGISTER, name}};
    for (const Case& c : cases) {
        entry.kind = c.kind;
        EXPECT_EQ(LocalsRepresentation::localSymbolDisplayName(&entry), c.expected) << c.kind;
    }
    SYMBOL_ENTRY thread{};
    thread.threadstatic.kind = SE_THREAD_STATIC;
    thread.threadstatic.name = name;
    thread.threadstatic.displayName = display;
    EXPECT_EQ(LocalsRepresentation::localSymbolDisplayName(&thread), display);
}

namespace {
int typeEntryCalls = 0;
_TYPE_ENTRY someEntry{};
int countedTypeEntry(EXPR_CTX, UBYTE4, UBYTE4, TYPE_ENTRY** entry)
{
    ++typeEntryCalls;
    *entry = &someEntry;
    return 0;
}
} // namespace

TEST_F(EnvironmentTest, HostServicesAskTheCurrentEnvironment)
{
    host.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprGetTypeEntry, &countedTypeEntry);
    ASSERT_TRUE(host.install());
    fake.codePage = "QUV-500";
    ExpressionRepresentation env(2, nullptr);
    env.makeCurrent(fakeContext(4));
    env.setEvaluationStackFrame(3, nullptr);
    EXPECT_EQ(CurrentEnvironment::currentContext(), fakeContext(4));
    EXPECT_FALSE(CurrentEnvironment::isCobol());
    EXPECT_EQ(CurrentEnvironment::frameIndex(), 3);
    EXPECT_STREQ(CurrentEnvironment::ebcdicCodePageName(), "QUV-500");
    CurrentEnvironment::setFrameIndex(-2);
    EXPECT_EQ(env.frameIndex(), -2);

    // Host type entries are cached outside COBOL, but never under the
    // indices of the request's own types.
    typeEntryCalls = 0;
    SVC::ExprGetTypeEntry(fakeContext(4), TYPE_INDEX{0x500, 1});
    SVC::ExprGetTypeEntry(fakeContext(4), TYPE_INDEX{0x500, 1});
    EXPECT_EQ(typeEntryCalls, 1);
    SVC::ExprGetTypeEntry(fakeContext(4), TYPE_INDEX{0xFFFFFFFFu, 1});
    SVC::ExprGetTypeEntry(fakeContext(4), TYPE_INDEX{0xFFFFFFFFu, 1});
    EXPECT_EQ(typeEntryCalls, 3);

    ExpressionRepresentation cobol(6, nullptr);
    cobol.makeCurrent(fakeContext(5));
    EXPECT_TRUE(CurrentEnvironment::isCobol());
    SVC::ExprGetTypeEntry(fakeContext(5), TYPE_INDEX{0x500, 1});
    SVC::ExprGetTypeEntry(fakeContext(5), TYPE_INDEX{0x500, 1});
    EXPECT_EQ(typeEntryCalls, 5);
}

namespace {
class TracedEnvironmentTest : public TestHostFixture {};
} // namespace

TEST_F(TracedEnvironmentTest, WideCharacterTypeQueryIsTraced)
{
    ExpressionRepresentation env(2, nullptr);
    env.makeCurrent(nullptr);
    host.clearLines();
    EXPECT_EQ(typeWcharT(), EvaluationEnvironment::wcharType());
    ASSERT_EQ(host.texts().size(), 1u);
    const std::string line = host.texts()[0];
    EXPECT_EQ(line.rfind(" typeWcharT(", 0), 0u) << line;
    EXPECT_EQ(line.substr(line.size() - 8), "): Entry") << line;
}
