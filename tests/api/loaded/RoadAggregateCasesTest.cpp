// End-to-end cases of aggregates: an SQLCA host variable's nine fields and
// an array of SQL integers, and a Fortran array whose descriptor gives its
// data and bounds, subscripted from its lower bound, beside Fortran
// scalars: INTEGERs in arithmetic, LOGICALs in || and && and refused in
// arithmetic.

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
        storage.resize(std::max<std::size_t>(storage.size(), static_cast<std::size_t>(length) * (count ? count : 1)),
                       0);
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
    {"an SQLCA's text, no structure form", L::sql, sqlProgram, ":SQLCA", 0, -1, nullptr, 0, ":SQLCA", sqlcaText(false)},
    {"an array of host variables", L::sql, sqlProgram, ":CODES", 0, -1, nullptr, 0, ":CODES", anArray},
};

TEST_P(RoadSuite, SqlAggregates)
{
    runAll(sqlCases);
}

// A descriptor array at an offset whose first word points to its data,
// bounds low and high.
void fortranArray(RoadProgram& p, const char* name, TYPE_INDEX element, UBYTE8 offset, UBYTE8 data, std::int64_t low,
                  std::int64_t high)
{
    const unsigned width = p.bits / 8;
    HostRecordStore::FortranBlocks blocks;
    blocks.dataLocation = dwarf::Builder().pushObjectAddress().derefSize(static_cast<std::uint8_t>(width)).bytes();
    blocks.lowerBound = dwarf::Builder().constS(low).bytes();
    blocks.upperBound = dwarf::Builder().constS(high).bytes();
    blocks.dimension = 1;
    p.variable(name, p.records().fortranDescArrayType(element, blocks), offset);
    std::vector<UBYTE1> address;
    const UBYTE8 target = RoadProgram::data + data;
    for (unsigned i = width; i-- > 0;)
        address.push_back(static_cast<UBYTE1>(target >> (8 * i)));
    p.poke(offset, address);
}

// INTEGER ARR(4) = (5, 7, 9, 11): a descriptor at 0x30 whose first word
// points to the data at 0x80, bounds 1 and 4. INTEGER NEG(-1:1) =
// (-3, 0, 3) at 0xA0 (descriptor at 0x40); INTEGER(8) BIG at 0x50 holding
// 2**32; INTEGER N at 0x58 holding 2; LOGICAL OK = .TRUE. at 0x5C, LOGICAL
// OFF = .FALSE. at 0x60, LOGICAL(8) WIDE = .TRUE. at 0x68.
void fortranProgram(RoadProgram& p)
{
    const TYPE_INDEX integer = p.records().integerType(32, false);
    fortranArray(p, "arr", integer, 0x30, 0x80, 1, 4);
    p.poke(0x80, {0, 0, 0, 5, 0, 0, 0, 7, 0, 0, 0, 9, 0, 0, 0, 11});
    fortranArray(p, "neg", integer, 0x40, 0xA0, -1, 1);
    p.poke(0xA0, {0xFF, 0xFF, 0xFF, 0xFD, 0, 0, 0, 0, 0, 0, 0, 3});
    p.variable("big", p.records().integerType(64, false), 0x50);
    p.poke(0x50, {0, 0, 0, 1, 0, 0, 0, 0});
    p.variable("n", integer, 0x58);
    p.poke(0x58, {0, 0, 0, 2});
    p.variable("ok", TYPE_INDEX{0, 146}, 0x5C);
    p.variable("off", TYPE_INDEX{0, 146}, 0x60);
    p.variable("wide", TYPE_INDEX{0, 157}, 0x68);
    p.poke(0x5C, {0, 0, 0, 1, 0, 0, 0, 0});
    p.poke(0x68, {0, 0, 0, 0, 0, 0, 0, 1});
}

// The result shown in decimal.
RoadOracle shows(const char* text)
{
    return [text](RoadRun& r) {
        UpdateTreeNode* root = r.root();
        ASSERT_NE(root, nullptr);
        std::string value;
        EXPECT_EQ(r.format(root, 2, value), 0);
        EXPECT_EQ(value, text);
    };
}

// The result in its default representation (a LOGICAL's .true. or .false.).
RoadOracle showsAsWritten(const char* text)
{
    return [text](RoadRun& r) {
        UpdateTreeNode* root = r.root();
        ASSERT_NE(root, nullptr);
        std::string value;
        EXPECT_EQ(r.format(root, 0, value), 0);
        EXPECT_EQ(value, text);
    };
}

RoadOracle holds(UBYTE8 offset, std::vector<UBYTE1> bytes)
{
    return
        [offset, bytes](RoadRun& r) { EXPECT_EQ(r.program.peek(offset, static_cast<unsigned>(bytes.size())), bytes); };
}

RoadOracle isTrue()
{
    return [](RoadRun& r) { r.expectCondition(0); };
}

// Integer literals are C's: a default INTEGER's 4 bytes where the value
// fits. An element, a member of a sum with a literal, keeps the element's
// value and the validated type (no 1020); so do || and && over LOGICALs.
const RoadCase fortranCases[] = {
    {"an element compared", L::fortran, fortranProgram, "arr[2] == 7", 0, -1, nullptr, skip, nullptr, isTrue()},
    {"elements subtracted", L::fortran, fortranProgram, "arr[4] - arr[1] == 6", 0, -1, nullptr, skip, nullptr,
     isTrue()},
    {"an element", L::fortran, fortranProgram, "arr[3]", 0, -1, nullptr, 0, "arr[3]", shows("9")},
    {"an element beside a literal", L::fortran, fortranProgram, "(0, arr[3])", 0, -1, nullptr, 0, nullptr, shows("9")},
    {"a literal's size", L::fortran, fortranProgram, "sizeof(1)", 0, -1, nullptr, 0, nullptr, shows("4")},
    {"a wide literal's size", L::fortran, fortranProgram, "sizeof(3000000000)", 0, -1, nullptr, 0, nullptr, shows("8")},
    {"an element plus a literal", L::fortran, fortranProgram, "arr[1] + 1", 0, -1, nullptr, 0, nullptr, shows("6")},
    {"its size", L::fortran, fortranProgram, "sizeof(arr[1] + 1)", 0, -1, nullptr, 0, nullptr, shows("4")},
    {"INTEGER(8) plus a literal", L::fortran, fortranProgram, "big + 1", 0, -1, nullptr, 0, nullptr,
     shows("4294967297")},
    {"its size", L::fortran, fortranProgram, "sizeof(big + 1)", 0, -1, nullptr, 0, nullptr, shows("8")},
    {"integer division", L::fortran, fortranProgram, "arr[1] / 2", 0, -1, nullptr, 0, nullptr, shows("2")},
    {"a real operand", L::fortran, fortranProgram, "arr[1] / 2.0 == 2.5", 0, -1, nullptr, skip, nullptr, isTrue()},
    {"a signed comparison", L::fortran, fortranProgram, "arr[1] - 6 < 0", 0, -1, nullptr, skip, nullptr, isTrue()},
    {"not equal", L::fortran, fortranProgram, "arr[1] /= 5", 0, -1, nullptr, skip, nullptr,
     [](RoadRun& r) { r.expectCondition(10000); }},
    {"leading zeros are decimal", L::fortran, fortranProgram, "arr[03] == 9 && 089 == 89 && 010 == 10", 0, -1, nullptr,
     skip, nullptr, isTrue()},
    {"a computed subscript", L::fortran, fortranProgram, "arr[5 - 3]", 0, -1, nullptr, 0, nullptr, shows("7")},
    {"a variable subscript", L::fortran, fortranProgram, "arr[n + 1]", 0, -1, nullptr, 0, nullptr, shows("9")},
    {"a negative subscript", L::fortran, fortranProgram, "neg[-1]", 0, -1, nullptr, 0, nullptr, shows("-3")},
    {"a subscript below zero computed", L::fortran, fortranProgram, "neg[n - 3] + neg[1]", 0, -1, nullptr, 0, nullptr,
     shows("0")},
    {"double precision literals", L::fortran, fortranProgram,
     "sizeof(1.5d0) == 8 && 1.5d0 * 2 == 3 && 1d-3 * 1000 == 1 && arr[1] + 0.5d0 == 5.5", 0, -1, nullptr, skip, nullptr,
     isTrue()},
    {"a double precision literal read once, correctly rounded", L::fortran, fortranProgram,
     "9007199254740993.0000000001d0 == 9007199254740994.0", 0, -1, nullptr, skip, nullptr, isTrue()},
    {"a store into an element", L::fortran, fortranProgram, "arr[2] = arr[2] * 3 - 1", 1003, -1, nullptr, 0, nullptr,
     holds(0x84, {0, 0, 0, 20})},
    {"a store of a literal into INTEGER(8)", L::fortran, fortranProgram, "big = -1", 1003, -1, nullptr, 0, nullptr,
     holds(0x50, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
    // || and && answer the truth value validation typed them with, whichever
    // operand decides: a LOGICAL(4) or LOGICAL(8) on the right included.
    {"|| decided by a LOGICAL on the right", L::fortran, fortranProgram, "n /= 2 || ok", 0, -1, nullptr, 0, nullptr,
     showsAsWritten(".true.")},
    {"|| decided by a false LOGICAL on the right", L::fortran, fortranProgram, "n != 2 || off", 0, -1, nullptr, 0,
     nullptr, showsAsWritten(".false.")},
    {"|| decided on the left", L::fortran, fortranProgram, "n == 2 || off", 0, -1, nullptr, 0, nullptr,
     showsAsWritten(".true.")},
    {"&& decided by a LOGICAL on the right", L::fortran, fortranProgram, "n == 2 && ok", 0, -1, nullptr, 0, nullptr,
     showsAsWritten(".true.")},
    {"&& decided by a false LOGICAL on the right", L::fortran, fortranProgram, "ok && off", 0, -1, nullptr, 0, nullptr,
     showsAsWritten(".false.")},
    {"&& decided on the left", L::fortran, fortranProgram, "off && ok", 0, -1, nullptr, 0, nullptr,
     showsAsWritten(".false.")},
    {"a LOGICAL(8) on the right", L::fortran, fortranProgram, "off || wide", 0, -1, nullptr, 0, nullptr,
     showsAsWritten(".true.")},
    {"tested as a condition", L::fortran, fortranProgram, "n /= 2 || off", 0, -1, nullptr, skip, nullptr,
     [](RoadRun& r) { r.expectCondition(10000); }},
    {"LOGICALs compared and negated", L::fortran, fortranProgram, "ok == ok && ok != off && !off", 0, -1, nullptr, 0,
     nullptr, showsAsWritten(".true.")},
    // A LOGICAL, or a comparison's truth value, takes no part in arithmetic,
    // shifts or bitwise operations, as gfortran refuses them.
    {"a LOGICAL plus a literal", L::fortran, fortranProgram, "ok + 1", 11000, 12, "ok", skip, nullptr, nullptr},
    {"a comparison plus a literal", L::fortran, fortranProgram, "(n == 2) + 1", 11000, 12, "n==2", skip, nullptr,
     nullptr},
    {"a LOGICAL on the right", L::fortran, fortranProgram, "n - off", 11000, 12, "off", skip, nullptr, nullptr},
    {"a LOGICAL(8) multiplied", L::fortran, fortranProgram, "wide * 2", 11000, 12, "wide", skip, nullptr, nullptr},
    {"a LOGICAL divisor", L::fortran, fortranProgram, "n / ok", 11000, 12, "ok", skip, nullptr, nullptr},
    {"a LOGICAL's remainder", L::fortran, fortranProgram, "ok % 2", 11000, 12, "ok", skip, nullptr, nullptr},
    {"a LOGICAL shifted", L::fortran, fortranProgram, "ok << 1", 11000, 12, "ok", skip, nullptr, nullptr},
    {"a LOGICAL and-ed bitwise", L::fortran, fortranProgram, "ok & 1", 11000, 12, "ok", skip, nullptr, nullptr},
    {"a LOGICAL negated", L::fortran, fortranProgram, "-ok", 11000, 12, "ok", skip, nullptr, nullptr},
    {"a LOGICAL with a unary plus", L::fortran, fortranProgram, "+ok", 11000, 12, "ok", skip, nullptr, nullptr},
    {"a LOGICAL complemented", L::fortran, fortranProgram, "~ok", 11000, 12, "ok", skip, nullptr, nullptr},
    {"a LOGICAL incremented", L::fortran, fortranProgram, "ok++", 11000, 12, "ok", skip, nullptr,
     holds(0x5C, {0, 0, 0, 1})},
    {"a LOGICAL added to", L::fortran, fortranProgram, "ok += 1", 11000, 12, "ok", skip, nullptr,
     holds(0x5C, {0, 0, 0, 1})},
    {"a LOGICAL added to an INTEGER", L::fortran, fortranProgram, "n += ok", 11000, 12, "ok", skip, nullptr,
     holds(0x58, {0, 0, 0, 2})},
};

TEST_P(RoadSuite, Fortran)
{
    runAll(fortranCases);
}

} // namespace
