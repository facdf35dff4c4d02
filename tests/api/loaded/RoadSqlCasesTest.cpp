// End-to-end cases of SQL host variables: typed from the host's symbol
// entry without a build, formatted by their SQL type, and an unknown one.

#include <string>
#include <vector>

#include "RoadSuite.h"

namespace {

// :AMOUNT, a DECIMAL(5, 2) (SQL type 484) holding -123.45 as packed digits.
void sqlProgram(RoadProgram& p)
{
    HostRecordStore::SqlVariable v;
    v.sqlType = 484;
    v.length = 5 << 8 | 2;
    v.address = RoadProgram::data + 0x200;
    v.addressWidth = p.bits;
    p.declare(p.records().sqlHostVariable(":AMOUNT", v));
    p.poke(0x200, {0x12, 0x34, 0x5D});
}

void decimalShown(RoadRun& r)
{
    UpdateTreeNode* root = r.root();
    ASSERT_NE(root, nullptr);
    std::string text;
    EXPECT_EQ(r.format(root, 2, text), 0);
    EXPECT_EQ(text, "-123.45");
    UBYTE2 count = 0;
    UBYTE2* reps = nullptr;
    UBYTE2* results = nullptr;
    UBYTE2 defaultRep = 0;
    UBYTE1* typeName = nullptr;
    UBYTE2 dataType = 0;
    UBYTE2 length = 0;
    ASSERT_EQ(r.dbg.resultsRepsAndDataType(r.result, root, &count, &reps, &results, &defaultRep, &typeName, &dataType,
                                           &length),
              0);
    EXPECT_EQ(dataType, 9);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(std::vector<UBYTE2>(reps, reps + count), (std::vector<UBYTE2>{2, 1}));
}

const RoadCase sqlCases[] = {
    {"a decimal host variable", RoadLanguage::sql, sqlProgram, ":AMOUNT", 0, -1, nullptr, 0, ":AMOUNT", decimalShown},
    {"a decimal host variable, representation released first", RoadLanguage::sql, sqlProgram, ":AMOUNT", 0, -1, nullptr,
     0, ":AMOUNT", decimalShown, RoadCleanup::representationFirst},
    {"an unknown host variable", RoadLanguage::sql, sqlProgram, ":NOSUCH", 10000, -1, nullptr, RoadCase::noEvaluation,
     nullptr, nullptr},
};

TEST_P(RoadSuite, Sql)
{
    runAll(sqlCases);
}

} // namespace
