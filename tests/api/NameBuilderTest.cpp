#include <functional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "../tree/TreeFixture.h"
#include "api/NameBuilderEntryPoints.h"
#include "api/LiveRepresentations.h"
#include "api/NodeName.h"
#include "services/InvalidOp.h"
#include "testseam/SVCTestSeam.h"

namespace {

UBYTE1* u(const char* text)
{
    return reinterpret_cast<UBYTE1*>(const_cast<char*>(text));
}

std::string shown(const UBYTE1* text)
{
    return text != nullptr ? reinterpret_cast<const char*>(text) : "<null>";
}

class NameBuilderTest : public TreeTest {
protected:
    // The nodes are the host's, as if handed out to it: the entry points
    // refuse any other.
    explicit NameBuilderTest(int language = languageC) : TreeTest(language) {}
    void SetUp() override
    {
        TreeTest::SetUp();
        LiveRepresentations::add(rep());
    }
    void TearDown() override
    {
        for (UpdateTreeNode* node : held_)
            LiveRepresentations::takeBackNode(node);
        LiveRepresentations::remove(rep());
        TreeTest::TearDown();
    }

    Reference<TestRoot> root(const TypeItem& type, const char* name = "v")
    {
        Reference<TestRoot> made = TreeTest::root(type, name);
        hold(made.get());
        return made;
    }

    UpdateTreeNode* child(TreeNode& parent, const TypeItem& type, const char* name, std::int64_t offset)
    {
        return hold(TreeTest::child(parent, type, name, offset));
    }

    UpdateTreeNode* hold(UpdateTreeNode* node)
    {
        LiveRepresentations::handOutNode(node);
        held_.push_back(node);
        return node;
    }

    // The node below parent, the parent shown in rep beforehand.
    UpdateTreeNode* below(UpdateTreeNode& parent, DBG_REPS rep, const char* name)
    {
        parent.setRepresentation(rep);
        return child(parent, TypeItem(130u), name, 0);
    }

private:
    std::vector<UpdateTreeNode*> held_;
};

TEST_F(NameBuilderTest, BuildersJoinParentAndMemberOrAnswerTheirEmptyText)
{
    auto base = root(TypeItem(host.records().classType({"Base", "", 16})), "b");
    UpdateTreeNode* element = child(*base, TypeItem(130u), "TAB", 0);
    using Builder = std::function<UBYTE1*(UBYTE1*, UBYTE1*)>;
    const Builder member = [](UBYTE1* p, UBYTE1* m) { return DbgClassDataMemberFullName(nullptr, nullptr, p, m); };
    const Builder baseClass = [&](UBYTE1* p, UBYTE1* m) {
        return DbgClassBaseClassFullName(nullptr, base.get(), p, m);
    };
    const Builder unnamedBase = [](UBYTE1* p, UBYTE1* m) { return DbgClassBaseClassFullName(nullptr, nullptr, p, m); };
    const Builder structElement = [](UBYTE1* p, UBYTE1* m) { return DbgStructElementFullName(nullptr, nullptr, p, m); };
    const Builder deref = [](UBYTE1* p, UBYTE1*) { return DbgDerefPointerFullName(nullptr, nullptr, p); };
    const Builder unambiguous = [](UBYTE1* p, UBYTE1*) { return DbgMakeUnambiguousFullName(p); };
    const Builder arrayElement = [&](UBYTE1*, UBYTE1* m) {
        return DbgArrayElementFullName(nullptr, m != nullptr ? element : nullptr, nullptr, -1);
    };
    struct Case {
        const char* what;
        const Builder& builder;
        const char* parent;
        const char* member;
        const char* expected; // null: a null pointer
    } cases[] = {
        {"member of a plain name", member, "obj", "m", "obj.m"},
        {"member: a.b is no plain name", member, "a.b", "m", "(a.b).m"},
        {"member of a call", member, "f(x)", "m", "f(x).m"},
        {"member of a sum", member, "a+b", "m", "(a+b).m"},
        {"member, null parent", member, nullptr, "m", ""},
        {"member, null member", member, "obj", nullptr, ""},
        {"base class", baseClass, "obj", "x", "(*((Base*)&obj))"},
        {"base class, null last argument", baseClass, "obj", nullptr, ""},
        {"base class, null parent", baseClass, nullptr, "x", ""},
        {"base class, null node", unnamedBase, "obj", "x", ""},
        {"struct element of a sum", structElement, "a+b", "c", "(a+b).c"},
        {"struct element of a.b", structElement, "a.b", "c", "a.b.c"},
        {"struct element of a subscript", structElement, "arr[i+1]", "c", "arr[i+1].c"},
        {"struct pointer target", structElement, "p", "*p", "*p"},
        {"struct pointer target of a sum", structElement, "a+b", "*x", "*(a+b)"},
        {"struct element, null parent", structElement, nullptr, "c", nullptr},
        {"struct element, null member", structElement, "s", nullptr, nullptr},
        {"dereference a plain name", deref, "p", nullptr, "*p"},
        {"dereference s.p", deref, "s.p", nullptr, "*(s.p)"},
        {"dereference, empty", deref, "", nullptr, ""},
        {"dereference, null", deref, nullptr, nullptr, ""},
        {"unambiguous sum", unambiguous, "a+b", nullptr, "(a+b)"},
        {"unambiguous, empty", unambiguous, "", nullptr, ""},
        {"unambiguous, null", unambiguous, nullptr, nullptr, ""},
        {"array element", arrayElement, nullptr, "x", "TAB(-1)"},
        {"array element, null node", arrayElement, nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        const UBYTE1* result =
            c.builder(c.parent != nullptr ? u(c.parent) : nullptr, c.member != nullptr ? u(c.member) : nullptr);
        EXPECT_EQ(shown(result), c.expected != nullptr ? c.expected : "<null>") << c.what;
    }

    // A simple name comes back as the caller's own pointer.
    char name[] = "arr[i+1].m";
    EXPECT_EQ(DbgMakeUnambiguousFullName(u(name)), u(name));
}

TEST_F(NameBuilderTest, TracedBuildersWriteTheirResult)
{
    SVCTestSeam::setTrace(true);
    host.clearLines();
    DbgDerefPointerFullName(nullptr, nullptr, u("a+b"));
    DbgStructElementFullName(nullptr, nullptr, u("q"), u("r"));
    EXPECT_TRUE(host.traced("returns \"*(a+b)\""));
    EXPECT_FALSE(host.traced("q.r"));
    SVCTestSeam::setTrace(false);
}

TEST_F(NameBuilderTest, NodeExpressionsInC)
{
    auto s = root(TypeItem(130u), "s");
    UpdateTreeNode* arr = below(*s, 12, "arr");
    UpdateTreeNode* element = below(*arr, 11, "[3]");

    auto q = root(TypeItem(130u), "*q");
    UpdateTreeNode* targetElement = below(*q, 11, "[3]");

    auto m = root(TypeItem(130u), "m");
    UpdateTreeNode* row = below(*m, 11, "[1]");
    UpdateTreeNode* cell = below(*row, 11, "[3]");

    auto p = root(TypeItem(130u), "p");
    UpdateTreeNode* target = below(*p, 19, "*p");

    auto sum = root(TypeItem(130u), "a+b");
    UpdateTreeNode* sumTarget = below(*sum, 19, "*x");
    auto sumOwner = root(TypeItem(130u), "a+b");
    UpdateTreeNode* sumMember = below(*sumOwner, 13, "c");
    UpdateTreeNode* sumMemberTarget = below(*sumMember, 19, "*c");

    auto obj = root(TypeItem(130u), "obj");
    UpdateTreeNode* base = below(*obj, 15, "Base");
    base->setFlags(TreeNode::flagBaseClass);
    UpdateTreeNode* unnamed = below(*obj, 14, "");

    auto nameless = root(TypeItem(130u), "");
    UpdateTreeNode* belowNameless = below(*nameless, 7, "x");

    struct Case {
        UpdateTreeNode* node;
        const char* expected;
    } cases[] = {
        {element, "s.arr[3]"},
        {targetElement, "(*q)[3]"},
        {cell, "m[1][3]"},
        {target, "*p"},
        {sumTarget, "*(a+b)"},
        {sumMember, "(a+b).c"},
        {sumMemberTarget, "*(a+b).c"},
        {base, "obj"},
        {unnamed, "obj"},
        {s.get(), "s"},
        {belowNameless, "x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text(nodeName(*c.node)), c.expected);
        EXPECT_EQ(shown(DbgBuildNodeExpression(c.node)), c.expected);
    }
    EXPECT_EQ(DbgBuildNodeExpression(nameless.get()), nullptr);
    EXPECT_EQ(DbgBuildNodeExpression(nullptr), nullptr);
}

TEST_F(NameBuilderTest, BelowAParentNeverFormattedThereIsNoExpression)
{
    auto s = root(TypeItem(130u), "s");
    UpdateTreeNode* member = child(*s, TypeItem(130u), "m", 0);
    try {
        nodeName(*member);
        ADD_FAILURE() << "no exception";
    } catch (const InvalidOp& e) {
        EXPECT_EQ(e.code(), InvalidOp::RTRC_IncompatTypes);
    }
    EXPECT_EQ(DbgBuildNodeExpression(member), nullptr);
    s->setRepresentation(2);
    EXPECT_EQ(DbgBuildNodeExpression(member), nullptr);
}

class CobolNameBuilderTest : public NameBuilderTest {
protected:
    CobolNameBuilderTest() : NameBuilderTest(6) {}
};

TEST_F(CobolNameBuilderTest, NodeExpressionsQualifyWithOf)
{
    auto rec = root(TypeItem(130u), "REC");
    UpdateTreeNode* grp = below(*rec, 12, "GRP");
    UpdateTreeNode* fld = below(*grp, 12, "FLD");
    UpdateTreeNode* tab = child(*rec, TypeItem(130u), "TAB", 0);
    UpdateTreeNode* element = below(*tab, 11, "TAB(3)");
    UpdateTreeNode* noSubscript = below(*tab, 11, "X");
    EXPECT_EQ(shown(DbgBuildNodeExpression(fld)), "FLD OF GRP OF REC");
    EXPECT_EQ(shown(DbgBuildNodeExpression(element)), "TAB OF REC(3)");
    EXPECT_EQ(shown(DbgBuildNodeExpression(noSubscript)), "TAB OF REC");
}

TEST(NameBuilderThreads, EachThreadKeepsItsOwnText)
{
    auto run = [](const char* parent, std::string& seen) {
        UBYTE1* mine = nullptr;
        for (int i = 0; i < 2000; ++i) {
            mine = DbgStructElementFullName(nullptr, nullptr, u(parent), u("m"));
            UBYTE1* other = DbgDerefPointerFullName(nullptr, nullptr, u(parent));
            (void)other;
        }
        seen = shown(mine);
    };
    std::string first, second;
    std::thread a(run, "a+b", std::ref(first));
    std::thread b(run, "x", std::ref(second));
    a.join();
    b.join();
    EXPECT_EQ(first, "(a+b).m");
    EXPECT_EQ(second, "x.m");

    UBYTE1* here = DbgClassDataMemberFullName(nullptr, nullptr, u("r"), u("s"));
    std::thread([] { DbgClassDataMemberFullName(nullptr, nullptr, u("other"), u("t")); }).join();
    EXPECT_EQ(shown(here), "r.s");
}

TEST(DemangleEntryTest, BothTextsOrNotSupported)
{
#if defined(_WIN32)
    GTEST_SKIP() << "the demangler companion is a Linux library";
#endif
    struct Case {
        UBYTE4 language;
        const char* mangled;
        UBYTE2 status;
    } cases[] = {{0, "_ZN2ns1fEi", 0},
                 {3, "_ZN2ns1fEi", 0},
                 {4, "_ZN2ns1fEi", 0},
                 {5, "_ZN2ns1fEi", 10002},
                 {0, "garbage", 10002}};
    for (const Case& c : cases) {
        UBYTE1* readable = nullptr;
        UBYTE1* name = nullptr;
        EXPECT_EQ(DbgDemangleName(c.language, u(c.mangled), &readable, &name), c.status) << c.language;
        if (c.status == 0) {
            EXPECT_EQ(shown(readable), "ns::f(int)");
            EXPECT_EQ(shown(name), "ns::f");
        } else {
            EXPECT_EQ(readable, nullptr);
            EXPECT_EQ(name, nullptr);
        }
    }
    UBYTE1* name = nullptr;
    EXPECT_EQ(DbgDemangleName(0, u("_ZNK1A1gEv"), nullptr, &name), 0);
    EXPECT_EQ(shown(name), "A::g");
}

} // namespace
