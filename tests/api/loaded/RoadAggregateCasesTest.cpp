// End-to-end cases of aggregates: an SQLCA host variable's nine fields and
// an array of SQL integers, and a Fortran array whose descriptor gives its
// data and bounds, subscripted from its lower bound.

#include <algorithm>
#include <string>
#include <vector>

#include "RoadSuite.h"
#include "testhost/DwarfExpression.h"

namespace {

using L = RoadLanguage;
constexpr int skip = RoadCase::noEvaluation;

// :SQLCA (code 1000, 136 bytes) at 0x200 with SQLCODE -204; :CODES, three
// INTEGERs (496) 1, 2, 3 at 0x300.
void sqlProgram(RoadProgram& p)
{
    auto declare = [&p](const char* name, UBYTE4 sqlType, UBYTE4 length, UBYTE4 count, UBYTE8 offset,
                        const std::vector<UBYTE1>& bytes) {
        HostRecordStore::SqlVariable v;
        v.sqlType = sqlType;
        v.length = length;
        v.maxLength = length;
        v.elementCount = count;
        v.address = RoadProgram::data + offset;
        v.addressWidth = p.bits;
        p.declare(p.records().sqlHostVariable(name, v));
        // The whole of the variable's storage is there, zeros after the bytes given.
        std::vector<UBYTE1> storage(bytes);
        storage.resize(std::max<std::size_t>(storage.size(), static_cast<std::size_t>(length) * (count ? count : 1)), 0);
        p.poke(offset, storage);
    };
    declare(":SQLCA", 1000, 136, 0, 0x200,
            {0xE2, 0xD8, 0xD3, 0xC3, 0xC1, 0x40, 0x40, 0x40, 0, 0, 0, 136, 0xFF, 0xFF, 0xFF, 0x34});
    declare(":CODES", 496, 4, 3, 0x300, {0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3});
}

void sqlcaFields(RoadRun& r)
{
    UpdateTreeNode* root = r.root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(r.memberCount(root), 9u);
    const char* const names[] = {"SQLCAID", "SQLCABC", "SQLCODE", "SQLERRML", "SQLERRMC",
                                 "SQLERRP", "SQLERRD", "SQLWARN", "SQLSTATE"};
    for (unsigned n = 1; n <= 9; ++n) {
        std::string name;
        UpdateTreeNode* field = r.member(root, n, name);
        ASSERT_NE(field, nullptr) << n;
        EXPECT_EQ(name, names[n - 1]);
        std::string text;
        if (n == 3) {
            EXPECT_EQ(r.format(field, 2, text), 0);
            EXPECT_EQ(text, "-204");
        }
    }
}

// The host offers the structure and array forms.
void sqlProgramWithForms(RoadProgram& p)
{
    sqlProgram(p);
    p.host.setVersion(DBG_VERSION_RECORD{5, 0, 1, {}});
}

// The root's text: empty where the host offers no structure form; where it
// does, braced dots while its fields are not made yet, then its fields.
RoadOracle sqlcaText(bool forms)
{
    return [forms](RoadRun& r) {
        UpdateTreeNode* root = r.root();
        ASSERT_NE(root, nullptr);
        std::string text;
        EXPECT_EQ(r.format(root, 2, text), 0);
        EXPECT_EQ(text, forms ? "{ ... }" : "");
        std::string name;
        EXPECT_EQ(r.memberCount(root), 9u);
        for (unsigned n = 1; n <= 9; ++n)
            ASSERT_NE(r.member(root, n, name), nullptr) << n;
        EXPECT_EQ(r.format(root, 2, text), 0);
        if (!forms) {
            EXPECT_EQ(text, "");
            return;
        }
        ASSERT_GE(text.size(), 4u);
        EXPECT_EQ(text.substr(0, 2), "{ ") << text;
        EXPECT_EQ(text.substr(text.size() - 2), " }") << text;
        EXPECT_NE(text.find("SQLCA"), std::string::npos) << text;
        EXPECT_NE(text.find(", 136, -204, "), std::string::npos) << text;
    };
}

// The array's bounds, its elements' values and the name the host gives an
// element (DbgArrayElementFullName, from the array's node and an index).
void anArray(RoadRun& r)
{
    UpdateTreeNode* root = r.root();
    ASSERT_NE(root, nullptr);
    std::string text;
    EXPECT_EQ(r.format(root, 2, text), 1012);
    UBYTE4 count = 0;
    BYTE4 first = -1;
    EXPECT_EQ(r.dbg.arrayInfo(r.result, root, &count, &first), 0);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(first, 1);
    for (UBYTE8 n = 1; n <= 3; ++n) {
        UpdateTreeNode* element = r.element(root, n);
        ASSERT_NE(element, nullptr) << n;
        EXPECT_EQ(r.format(element, 2, text), 0) << n;
        EXPECT_EQ(text, std::to_string(n));
    }
    const UBYTE1* name = r.dbg.arrayElementName(r.result, root, nullptr, 2);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(name), ":CODES(2)");
}

const RoadCase sqlCases[] = {
    {"an SQLCA", L::sql, sqlProgram, ":SQLCA", 0, -1, nullptr, 0, ":SQLCA", sqlcaFields},
    {"an SQLCA, nodes released last", L::sql, sqlProgram, ":SQLCA", 0, -1, nullptr, 0, ":SQLCA", sqlcaFields,
     RoadCleanup::nodesLast},
    {"an SQLCA's text", L::sql, sqlProgramWithForms, ":SQLCA", 0, -1, nullptr, 0, ":SQLCA", sqlcaText(true)},
    {"an SQLCA's text, no structure form", L::sql, sqlProgram, ":SQLCA", 0, -1, nullptr, 0, ":SQLCA",
     sqlcaText(false)},
    {"an array of host variables", L::sql, sqlProgram, ":CODES", 0, -1, nullptr, 0, ":CODES", anArray},
};

TEST_P(RoadSuite, SqlAggregates)
{
    runAll(sqlCases);
}

// INTEGER ARR(4) = (5, 7, 9, 11): a descriptor at 0x30 whose first word
// points to the data at 0x80, bounds 1 and 4.
void fortranProgram(RoadProgram& p)
{
    const unsigned width = p.bits / 8;
    HostRecordStore::FortranBlocks blocks;
    blocks.dataLocation = dwarf::Builder().pushObjectAddress().derefSize(static_cast<std::uint8_t>(width)).bytes();
    blocks.lowerBound = dwarf::Builder().lit(1).bytes();
    blocks.upperBound = dwarf::Builder().lit(4).bytes();
    blocks.dimension = 1;
    p.variable("arr", p.records().fortranDescArrayType(p.records().integerType(32, false), blocks), 0x30);
    std::vector<UBYTE1> address;
    const UBYTE8 target = RoadProgram::data + 0x80;
    for (unsigned i = width; i-- > 0;)
        address.push_back(static_cast<UBYTE1>(target >> (8 * i)));
    p.poke(0x30, address);
    p.poke(0x80, {0, 0, 0, 5, 0, 0, 0, 7, 0, 0, 0, 9, 0, 0, 0, 11});
}

const RoadCase fortranCases[] = {
    {"an element compared", L::fortran, fortranProgram, "arr[2] == 7", 0, -1, nullptr, skip, nullptr,
     [](RoadRun& r) { r.expectCondition(0); }},
    {"elements subtracted", L::fortran, fortranProgram, "arr[4] - arr[1] == 6", 0, -1, nullptr, skip, nullptr,
     [](RoadRun& r) { r.expectCondition(0); }},
    {"an element", L::fortran, fortranProgram, "arr[3]", 0, -1, nullptr, 0, "arr[3]", nullptr},
};

TEST_P(RoadSuite, Fortran)
{
    runAll(fortranCases);
}

}  // namespace
