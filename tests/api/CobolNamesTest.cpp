// The names of COBOL results: the level and data name validation records
// for an expression that designates one item, emptied by each validation.

#include <string>

#include <gtest/gtest.h>

#include "EntryRoadFixture.h"

namespace {

class CobolNames : public EntryRoadTest {
protected:
    CobolNames() : EntryRoadTest(EvaluationEnvironment::languageCOBOL) {}

    void SetUp() override
    {
        EntryRoadTest::SetUp();
        digits = records().packedDecimalType(3, 0, true);
    }

    // A level item of main at the offset, holding 7.
    void item(const std::string& name, unsigned level, std::uint64_t offset)
    {
        _SYMBOL_ENTRY& e = records().staticVariable(name, digits, 1, offset, static_cast<UBYTE1>(level));
        e.statics.attributeD = 1;
        declare(mainContext, e);
        host.memory().storeBigEndian(kData + offset, 0x007C, 2);
    }

    static std::string recorded(const Expression& e)
    {
        return reinterpret_cast<const char*>(e.rep->formattedResultName().data());
    }

    TYPE_INDEX digits{};
};

TEST_F(CobolNames, TheLevelAndTheNameOfTheItem)
{
    struct Case {
        const char* name;
        unsigned level;
        const char* recorded;
    };
    const Case cases[] = {
        {"@ABC", 5, "05 %ABC"}, // an at sign opening the name shows as a percent sign
        {"TOP", 1, "01 TOP"},   {"DEEP", 49, "49 DEEP"}, {"NONE", 0, "NONE"}, {"HIGH", 120, "HIGH"},
    };
    std::uint64_t offset = 0x100;
    for (const Case& c : cases) {
        item(c.name, c.level, offset);
        offset += 16;
        Expression e;
        validate(e, c.name);
        ASSERT_EQ(e.validated, 0) << c.name << ": " << e.messageText();
        EXPECT_EQ(recorded(e), c.recorded) << c.name;
        // Validated again: the name is made anew, not appended to.
        StackItem* again = nullptr;
        DbgFreeTypeResultInfo(e.typeResult);
        e.typeResult = nullptr;
        ASSERT_EQ(DbgValidateExpr(e.rep, mainContext, &again), 0) << c.name;
        e.typeResult = again;
        EXPECT_EQ(recorded(e), c.recorded) << c.name << " validated twice";
        evaluate(e, c.name);
        EXPECT_EQ(e.evaluated, 0) << c.name;
        EXPECT_EQ(e.nameText(), c.name) << "an item that is neither a group nor a table is named by the text";
    }
}

// An item whose entry is of kind 6 is a level-77 item whatever its level
// field holds.
TEST_F(CobolNames, AnEntryOfKindSixIsLevel77)
{
    _SYMBOL_ENTRY& e = records().registerVariable("LONE", digits, "r3");
    declare(mainContext, e);
    Expression lone;
    validate(lone, "LONE");
    ASSERT_EQ(lone.validated, 0) << lone.messageText();
    EXPECT_EQ(recorded(lone), "77 LONE");
}

// A member found through its group's scope: the level its group's member
// record gives, then the subscript of a table element.
TEST_F(CobolNames, AMemberShowsTheLevelOfItsMemberRecord)
{
    HostRecordStore::ClassSpec g;
    g.name = "GRP";
    g.leaf = TE_GROUP;
    g.byteSize = 8;
    g.members = {{.name = "TAB", .type = records().arrayType(digits, 6), .offset = 0, .levelNumber = 5},
                 {.name = "BARE", .type = digits, .offset = 6}};
    _SYMBOL_ENTRY& group = records().staticVariable("GRP", records().classType(g), 1, 0x200, 1);
    group.statics.attributeD = 1;
    declare(mainContext, group);
    declare(mainContext, records().qualifiedName("TAB", group, 5));
    declare(mainContext, records().qualifiedName("BARE", group));
    for (unsigned i = 0; i < 4; ++i)
        host.memory().storeBigEndian(kData + 0x200 + 2 * i, 0x010C + 0x100 * i, 2);

    struct Case {
        const char* text;
        const char* recorded;
        const char* evaluated; // the result name handed out
    };
    const Case cases[] = {
        {"TAB(3)", "05 TAB(3)", "05 TAB(3)"},
        {"TAB", "05 TAB", "05 TAB"},
        {"BARE", "BARE", "BARE"},
    };
    for (const Case& c : cases) {
        Expression e;
        for (int run = 0; run < 2; ++run) {
            evaluate(e, c.text);
            ASSERT_EQ(e.validated, 0) << c.text << ": " << e.messageText();
            EXPECT_EQ(e.evaluated, 0) << c.text;
            EXPECT_EQ(e.nameText(), c.evaluated) << c.text << " run " << run;
            EXPECT_EQ(recorded(e), c.recorded) << c.text << " run " << run;
        }
    }
}

} // namespace
