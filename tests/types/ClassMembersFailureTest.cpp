// A host that fails half-way through reading a class's members, and then
// answers again: the failure reaches the request that met it, and no later
// request is served the partial member list.

#include <string>
#include <vector>

#include "HostRecordAccess.h"
#include "SymbolsFixture.h"
#include "types/ClassScopeItem.h"

namespace {

const TYPE_INDEX intType{0, 130};

class ClassMembersFailureTest : public SymbolsTest {
protected:
    TYPE_INDEX threeMembers()
    {
        HostRecordStore::ClassSpec layout;
        layout.name = "K";
        layout.byteSize = 12;
        layout.members = {{"x", intType, 0}, {"y", intType, 4}, {"z", intType, 8}};
        return records().classType(layout);
    }

    // Reads the class, its member list and the first member into the
    // request's type cache, so that the next type-entry call of the host is
    // the one for the second member.
    void readUpToSecondMember(TYPE_INDEX klass)
    {
        const _TYPE_ENTRY* k = TypeItem(klass).typeEntry();
        ASSERT_NE(k, nullptr);
        const _TYPE_ENTRY* list = TypeItem(TYPE_INDEX(k->klass.fieldList), nullptr, false).typeEntry();
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->leaf, TE_LIST);
        firstMember = TYPE_INDEX(list->list.first.types->type);
        secondMember = TYPE_INDEX(list->list.first.types->next->type);
        TypeItem(firstMember, nullptr, false).typeEntry();
    }

    TYPE_INDEX firstMember{}, secondMember{};
};

TEST_F(ClassMembersFailureTest, MemberListIsReadAgainAfterAFailureHalfWay)
{
    const TYPE_INDEX klass = threeMembers();
    ClassScopeItem* k = ClassScopeItem::getClassScope(TypeItem(klass), scope, true);
    ASSERT_NE(k, nullptr);
    readUpToSecondMember(klass);

    host.throwFromSlot(HS_ExprGetTypeEntry, 1);
    bool failed = false;
    try {
        k->findClassMemberVar("x");
    } catch (...) {
        failed = true;
    }
    ASSERT_TRUE(failed) << "the host's failure reaches the request";
    // The failing call was the second member's: the list was half read.
    const std::vector<TestHost::Call> calls = host.callsTo(HS_ExprGetTypeEntry);
    ASSERT_FALSE(calls.empty());
    char second[48];
    std::snprintf(second, sizeof second, "type={0x%x,%u}", secondMember.module, secondMember.index);
    EXPECT_NE(calls.back().arguments.find(second), std::string::npos) << calls.back().arguments;

    // The host answers again: every member is found, each once.
    host.clearProgram();
    for (const char* name : {"x", "y", "z"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(k->findClassMemberVar(name).typeEntry(), nullptr);
        SymbolItem* symbol = k->findVariable(name, 1);
        ASSERT_NE(symbol, nullptr);
        EXPECT_TRUE(symbol->isMember());
    }
    EXPECT_EQ(k->variables().count(), 3u);
}

} // namespace
