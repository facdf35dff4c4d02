// The SQL host-variable symbol record as the simulated host builds and
// hands it out: every field where the evaluator reads it, the storage
// address split into its two words, found by name through the symbol search.

#include <gtest/gtest.h>

#include "HostRecordAccess.h"
#include "testhost/TestHost.h"

namespace {

TEST(SqlHostVariableRecord, BuiltFieldsReadBackAndTheSearchFindsIt)
{
    TestHost host(false);
    DBG2_SERVICE_FUNCTIONS* table = host.activate();
    LCC_Eval_Context_Info& program = host.addContext("program", CS2_FILE);
    struct Case {
        const char* name;
        HostRecordStore::SqlVariable v;
    };
    const Case cases[] = {
        // A packed decimal (5, 2) in a 64-bit program above 4 GiB.
        {"AMOUNT", {484, 0x0502, 0x0502, 0x1'2345'6780ull, 64, 0, 0}},
        // An array of 3 UTF-16 strings in a 32-bit program.
        {"NAMES", {448, 20, 20, 0x8000, 32, 3, 1200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.declare(program, host.records().sqlHostVariable(c.name, c.v));
        std::vector<UBYTE1> name(c.name, c.name + std::char_traits<char>::length(c.name) + 1);
        SYMBOL_LIST* found = nullptr;
        ASSERT_EQ(table->Expr2SearchForSymbolEntries(&program, name.data(), 1, 0, &found), 0);
        ASSERT_NE(found, nullptr);
        const _SYMBOL_ENTRY& e = *found[0];
        EXPECT_EQ(symbolEntryKind(e), SE_SQL_HOST_VARIABLE);
        EXPECT_STREQ(symbolEntryName(e), c.name);
        EXPECT_EQ(sqlVariableType(e), c.v.sqlType);
        EXPECT_EQ(sqlVariableLength(e), c.v.length);
        EXPECT_EQ(sqlVariableMaxLength(e), c.v.maxLength);
        EXPECT_EQ(sqlVariableAddressLow(e), static_cast<UBYTE4>(c.v.address));
        EXPECT_EQ(sqlVariableAddressHigh(e), static_cast<UBYTE4>(c.v.address >> 32));
        EXPECT_EQ(sqlVariableAddressWidth(e), c.v.addressWidth);
        EXPECT_EQ(sqlVariableElementCount(e), c.v.elementCount);
        EXPECT_EQ(sqlVariableCcsid(e), c.v.ccsid);
        EXPECT_EQ(symbolEntryLevel(e), 0);
    }
}

} // namespace
