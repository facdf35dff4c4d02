#include <algorithm>
#include <string>
#include <vector>

#include "LocalsFixture.h"
#include "api/LiveRepresentations.h"
#include "api/TreeNodeEntryPoints.h"
#include "api/TypeQueryEntryPoints.h"
#include "tree/RootTreeNode.h"
#include "tree/UpdateTreeNode.h"
#include "types/SymbolItem.h"

// The data members of the object a member function runs on (flag 0x04),
// and the class queries of a node.

namespace {

using Names = std::vector<std::string>;

// struct Base { int m; int z; };  struct D : Base { int m; int d; };
// void D::f() { int z; } stopped with this = 0x20000.
class LocalsMembersTest : public LocalsFixture {
protected:
    static constexpr UBYTE8 object = 0x20000;

    void SetUp() override
    {
        LocalsFixture::SetUp();
        HostRecordStore::ClassSpec base;
        base.name = "Base";
        base.byteSize = 8;
        base.members = {{"m", intType, 0}, {"z", intType, 4}};
        baseType = records().classType(base);
        HostRecordStore::ClassSpec derived;
        derived.name = "D";
        derived.byteSize = 16;
        derived.bases = {{baseType, 0}};
        derived.members = {{"m", intType, 8}, {"d", intType, 12}};
        derivedType = records().classType(derived);
        method = &memberFunction("D::f", derivedType);
        thisEntry = &staticInt(*method, "this", 0xA0, records().pointerType(derivedType, 8));
        host.memory().storeBigEndian(sectionBase + 0xA0, object, 8);
        staticInt(*method, "z", 0xA8);
        storeInt(0xA8, 9);
        for (UBYTE8 i = 0; i < 4; ++i)
            host.memory().storeBigEndian(object + 4 * i, 1 + i, 4);
    }

    // A member-function context of a class, its frame on top of the stack.
    LCC_Eval_Context_Info& memberFunction(const std::string& name, TYPE_INDEX klass)
    {
        TYPE_INDEX type{};
        _TYPE_ENTRY& f = records().newType(TE_MEMBERFUNCTION, &type);
        f.memberfunction.functionType = records().functionType(TYPE_INDEX{0, 151}, {});
        _SYMBOL_ENTRY& e = records().newSymbol(SE_MEMBER_FUNCTION, name);
        e.memberfunction.type = type;
        e.memberfunction.classType = klass;
        e.memberfunction.functionName = records().text(name);
        LCC_Eval_Context_Info& context = host.addContext(name, CS2_MEMBER_FUNCTION, unit);
        context.locationType = 4;
        context.blockSymbol = &e;
        host.callStack(&context).clear();
        host.addFrame(&context, frameBase);
        return context;
    }

    // The reads of the "this" pointer in the call log.
    unsigned thisReads() const
    {
        unsigned n = 0;
        for (const auto& call : host.callsTo(HS_Expr2ReadMemory))
            n += call.arguments.find("address=0x100a0/") != std::string::npos ? 1 : 0;
        return n;
    }

    TYPE_INDEX baseType{};
    TYPE_INDEX derivedType{};
    LCC_Eval_Context_Info* method = nullptr;
    _SYMBOL_ENTRY* thisEntry = nullptr;
};

} // namespace

TEST_F(LocalsMembersTest, MembersOfTheObjectAndItsBase)
{
    LocalsRepresentation* plain = build(method);
    EXPECT_EQ(names(plain), (Names{"z", "this"}));
    host.clearCalls();
    DbgRefreshLocalVariableFrame(plain, method, 0);
    const unsigned withoutMembers = thisReads();
    // Base::m is hidden by D::m, Base::z by the local z.
    LocalsRepresentation* view = build(method, LocalsRepresentation::addObjectMembers);
    ASSERT_EQ(names(view), (Names{"z", "this", "m", "d"}));
    host.clearCalls();
    DbgRefreshLocalVariableFrame(view, method, 0);
    // The local "this" is read as before, the object's pointer once more
    // for both members.
    const unsigned perRefresh = thisReads();
    EXPECT_GT(perRefresh, withoutMembers);
    StackItem* m = nullptr;
    StackItem* d = nullptr;
    EXPECT_EQ(status(view, "m", &m), statusLocalChanged);
    EXPECT_EQ(status(view, "d", &d), statusLocalChanged);
    EXPECT_EQ(number(m), 3u);
    EXPECT_EQ(number(d), 4u);
    // The member's handle is its symbol, named as the member.
    const UBYTE1* name = nullptr;
    StackItem* value = nullptr;
    const UBYTEP handle = DbgGetLocalVariable(view, static_cast<UBYTE4>(indexOf(view, "d")), &name, &value);
    ASSERT_NE(handle, 0u);
    EXPECT_STREQ(reinterpret_cast<SymbolItem*>(handle)->name(), "d");

    // Once per refresh, for every member; the items stay the same.
    host.clearCalls();
    host.memory().storeBigEndian(object + 12, 40, 4);
    DbgRefreshLocalVariableFrame(view, method, 0);
    EXPECT_LE(thisReads(), perRefresh);
    StackItem* held = nullptr;
    EXPECT_EQ(status(view, "d", &held), statusLocalChanged);
    EXPECT_EQ(held, d);
    EXPECT_EQ(number(d), 40u);
    EXPECT_EQ(status(view, "m", &held), statusLocalUnchanged);
    EXPECT_FALSE(view->variables()[static_cast<unsigned>(indexOf(view, "m"))].failed());
    EXPECT_EQ(held, m);

    // A member that cannot be read does not stop the others.
    host.memory().storeBigEndian(object + 8, 30, 4);
    host.memory().markUnreadable(object + 12, 4);
    DbgRefreshLocalVariableFrame(view, method, 0);
    EXPECT_EQ(status(view, "d"), statusLocalChanged);
    EXPECT_TRUE(view->variables()[static_cast<unsigned>(indexOf(view, "d"))].failed());
    EXPECT_EQ(status(view, "m"), statusLocalChanged);
    EXPECT_EQ(number(m), 30u);
    EXPECT_EQ(status(view, "z"), statusLocalUnchanged);
}

TEST_F(LocalsMembersTest, TwoBasesDoNotHideEachOther)
{
    HostRecordStore::ClassSpec first;
    first.name = "B1";
    first.byteSize = 4;
    first.members = {{"u", intType, 0}};
    HostRecordStore::ClassSpec second = first;
    second.name = "B2";
    HostRecordStore::ClassSpec both;
    both.name = "E";
    both.byteSize = 8;
    both.bases = {{records().classType(first), 0}, {records().classType(second), 4}};
    both.members = {{"e", intType, 0}};
    const TYPE_INDEX e = records().classType(both);
    LCC_Eval_Context_Info& f = memberFunction("E::f", e);
    staticInt(f, "this", 0xB0, records().pointerType(e, 8));
    host.memory().storeBigEndian(sectionBase + 0xB0, object, 8);
    LocalsRepresentation* view = build(&f, LocalsRepresentation::addObjectMembers);
    EXPECT_EQ(names(view), (Names{"u", "u", "this", "e"}));
    DbgRefreshLocalVariableFrame(view, &f, 0);
    // Each read through its own base's part of the object.
    std::vector<std::uint64_t> us;
    for (UBYTE4 i = 0; i < 2; ++i) {
        StackItem* u = nullptr;
        DbgGetLocalValue(view, i, &u);
        us.push_back(number(u));
    }
    std::sort(us.begin(), us.end());
    EXPECT_EQ(us, (std::vector<std::uint64_t>{1, 2}));
}

TEST_F(LocalsMembersTest, ACyclicBaseListEnds)
{
    TYPE_INDEX self{};
    const TYPE_INDEX member = records().memberRecord("v", intType, 0);
    self = records().classOfFields("C", 4, {member});
    records().type(self)->klass.fieldList = records().typeList({member, records().baseRecord(self, 0)});
    LCC_Eval_Context_Info& f = memberFunction("C::f", self);
    host.declare(f, *thisEntry);
    LocalsRepresentation* view = build(&f, LocalsRepresentation::addObjectMembers);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(names(view), (Names{"v", "this"}));
}

TEST_F(LocalsMembersTest, ClassQueriesOfANode)
{
    staticInt(*mainContext, "dv", 0xC0, derivedType);
    host.callStack(mainContext).clear();
    host.addFrame(mainContext, frameBase);
    LocalsRepresentation* view = build(mainContext);
    DbgRefreshLocalVariableFrame(view, mainContext, 0);
    StackItem* dv = nullptr;
    ASSERT_EQ(status(view, "dv", &dv), statusLocalChanged);
    view->makeCurrent(mainContext);
    // The value's root, as the host holds it after asking for it.
    UpdateTreeNode* root = dv->getTreeRoot();
    LiveRepresentations::handOutNode(root);

    UBYTE4 members = 0;
    UBYTE4 bases = 0;
    const LCC_Eval_Context_Info* context = nullptr;
    TYPE_INDEX type{};
    ASSERT_EQ(DbgQueryClassInfo(dv, root, &members, &bases, &context, &type), statusSuccess);
    EXPECT_EQ(members, 2u);
    EXPECT_EQ(bases, 1u);
    EXPECT_EQ(context, mainContext);
    EXPECT_EQ(DbgQueryClassInfo(dv, root, &members, nullptr, &context, &type), statusFailure);

    UpdateTreeNode* child = root;
    UBYTE1* name = nullptr;
    // Members count from 1.
    EXPECT_EQ(DbgQueryClassDataMemInfo(dv, root, 3, &child, &name), statusFailure);
    EXPECT_EQ(child, nullptr);
    ASSERT_EQ(DbgQueryClassDataMemInfo(dv, root, 2, &child, &name), statusSuccess);
    ASSERT_NE(child, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(name), "d");
    // Each answer carries one reference for the host, given back by it.
    const unsigned held = child->referenceCount();
    UpdateTreeNode* again = nullptr;
    ASSERT_EQ(DbgQueryClassDataMemInfo(dv, root, 2, &again, &name), statusSuccess);
    EXPECT_EQ(again, child);
    EXPECT_EQ(child->referenceCount(), held + 1);
    DbgFreeTreeNodeInfo(child);
    DbgFreeTreeNodeInfo(child);

    UBYTE4 flags = 7;
    for (UBYTE4 bad : {0u, 2u}) {
        child = root;
        EXPECT_EQ(DbgQueryClassBaseClassInfo(dv, root, bad, &child, &name, &flags), statusFailure) << bad;
        EXPECT_EQ(child, nullptr);
    }
    ASSERT_EQ(DbgQueryClassBaseClassInfo(dv, root, 1, &child, &name, &flags), statusSuccess);
    EXPECT_EQ(flags, 0u);
    DbgFreeTreeNodeInfo(child);
    EXPECT_EQ(DbgQueryClassBaseClassInfo(dv, nullptr, 1, &child, &name, &flags), statusFailure);
    LiveRepresentations::takeBackNode(root);
}
