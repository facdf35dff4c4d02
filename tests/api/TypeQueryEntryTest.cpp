#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "LocalsFixture.h"
#include "api/TypeQueryEntryPoints.h"

// What a name is, type names, the data types and representations offered,
// the shared-variable refusals; views built and refreshed on two threads.

namespace {

class TypeQueryEntryTest : public LocalsFixture {
protected:
    // DbgWhatIs's answer, or the status when it fails.
    std::string whatIs(const char* name, const LCC_Eval_Context_Info* context)
    {
        UBYTE1* text = reinterpret_cast<UBYTE1*>(const_cast<char*>("untouched"));
        const UBYTE2 rc = DbgWhatIs(reinterpret_cast<const UBYTE1*>(name), context, 2, &text);
        if (rc != statusSuccess)
            return std::to_string(rc) + ":" + reinterpret_cast<const char*>(text);
        std::string out(reinterpret_cast<const char*>(text));
        std::free(text);
        return out;
    }
};

} // namespace

TEST_F(TypeQueryEntryTest, WhatIsAName)
{
    staticInt(*unit, "count", 0x30);
    HostRecordStore::ClassSpec spec;
    spec.name = "S";
    spec.byteSize = 8;
    spec.members = {{"a", intType, 0}, {"b", charType, 4}};
    const TYPE_INDEX s = records().classType(spec);
    host.declare(*unit, records().typeName("S", s));
    host.declare(*unit, records().typeName("number", intType));

    EXPECT_EQ(whatIs("count", block), "int count;");
    EXPECT_EQ(whatIs("S", block), "struct S {\n\tsigned char b;\n\tint a;\n};");
    EXPECT_EQ(whatIs("number", block), "int number");
    EXPECT_EQ(whatIs("nothing", block), "10000:untouched");
    EXPECT_EQ(whatIs("count", nullptr), "10000:untouched");
    EXPECT_EQ(DbgWhatIs(reinterpret_cast<const UBYTE1*>("count"), block, 2, nullptr), statusFailure);
}

TEST_F(TypeQueryEntryTest, TypesAndRepresentations)
{
    EXPECT_STREQ(reinterpret_cast<const char*>(DbgBuildTypeFullName(block, intType)), "int");

    UBYTE4 count = 0;
    UBYTE4* list = nullptr;
    ASSERT_EQ(DbgQueryTypes(&count, &list, 2), statusSuccess);
    EXPECT_GT(count, 0u);
    EXPECT_NE(list, nullptr);
    EXPECT_EQ(DbgQueryTypes(nullptr, &list, 2), statusFailure);
    EXPECT_EQ(DbgQueryTypes(&count, nullptr, 2), statusFailure);

    ASSERT_EQ(DbgQueryTypeRepresentations(list[0], &count, &list), statusSuccess);
    EXPECT_GT(count, 0u);
    const UBYTE4 type = DbgQueryTypes(&count, &list, 2) == statusSuccess ? list[0] : 0;
    EXPECT_EQ(DbgQueryTypeRepresentations(41, &count, &list), statusFailure);
    EXPECT_EQ(DbgQueryTypeRepresentations(type, nullptr, &list), statusFailure);

    // Refused before the table is asked: nothing is traced for them.
    host.setTraceSwitch(true);
    host.clearLines();
    EXPECT_EQ(DbgSetDefaultRep(41, 2), statusFailure);
    EXPECT_EQ(DbgSetDefaultRep(type, 24), statusFailure);
    UBYTE4 reps = 0;
    UBYTE4* repList = nullptr;
    ASSERT_EQ(DbgQueryTypeRepresentations(type, &reps, &repList), statusSuccess);
    EXPECT_EQ(DbgSetDefaultRep(type, repList[0]), statusSuccess);

    for (auto entry : {DbgChangeSharedVariableElement, DbgEvaluateSharedVariableElement, DbgGetSharedVariableElement,
                       DbgGetSharedVariableDimension, DbgGetSharedVariableProperties})
        EXPECT_EQ(entry(), statusFailure);
}

TEST_F(TypeQueryEntryTest, ViewsOnTwoThreads)
{
    for (int i = 0; i < 40; ++i) {
        staticInt(*block, "v" + std::to_string(i), 0x100 + 4 * i);
        storeInt(0x100 + 4 * i, i);
    }
    auto work = [&](std::vector<int>& out) {
        for (int round = 0; round < 20; ++round) {
            LocalsRepresentation* view = nullptr;
            out.push_back(static_cast<int>(DbgBuildLocalVariables(block, 2, &view, 0)));
            DbgRefreshLocalVariableFrame(view, block, 0);
            DbgRefreshLocalVariableFrame(view, block, 0);
            StackItem* value = nullptr;
            out.push_back(DbgGetLocalValue(view, 0, &value));
            DbgFreeLocalVariables(view);
        }
    };
    std::vector<int> first;
    std::vector<int> second;
    std::thread other(work, std::ref(second));
    work(first);
    other.join();
    ASSERT_EQ(first.size(), 40u);
    EXPECT_EQ(first, second);
    for (std::size_t i = 0; i < first.size(); i += 2) {
        EXPECT_EQ(first[i], 40);
        EXPECT_EQ(first[i + 1], statusLocalUnchanged);
    }
}
