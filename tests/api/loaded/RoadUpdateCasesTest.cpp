// End-to-end value updates: a result's node (the root or a member) changed
// from the user's text through DbgUpdateTreeValue in C, COBOL, Fortran and
// SQL host variables; the bytes written are the debuggee's big-endian image,
// and a refused text leaves memory as it was.

#include <cstring>
#include <string>
#include <vector>

#include "RoadSuite.h"
#include "testhost/DecimalImages.h"

namespace {

using L = RoadLanguage;
using Bytes = std::vector<UBYTE1>;

// int a = 3 at 0x20; s = {4, 'b'} at 0x40, a structure (leaf 31) of an int
// x and a char c.
void cProgram(RoadProgram& p)
{
    const TYPE_INDEX i32 = p.records().integerType(32, false);
    p.variable("a", i32, 0x20);
    HostRecordStore::StructSpec s;
    s.byteSize = 8;
    s.members = {{"x", i32}, {"c", p.records().integerType(8, false)}};
    s.offsets = {0, 4};
    p.variable("s", p.records().structType(s), 0x40);
    p.poke(0x20, {0, 0, 0, 3});
    p.poke(0x40, {0, 0, 0, 4, 0x82, 0, 0, 0});
}

// A structure f of 8 bytes at 0x80, all bits set, holding bit fields
// counted from the most significant bit of the first byte: unsigned mid:5
// at bit 7, odd:3 at bit 20 (its bits end in the third byte), and int
// wide:6 at bit 30 (across the first 4 bytes).
void bitFieldProgram(RoadProgram& p)
{
    HostRecordStore& records = p.records();
    HostRecordStore::StructSpec f;
    f.byteSize = 8;
    f.members = {{"mid", records.integerType(5, true, 7)},
                 {"odd", records.integerType(3, true, 20)},
                 {"wide", records.integerType(6, false, 30)}};
    f.offsets = {0, 0, 0};
    p.variable("f", records.structType(f), 0x80);
    p.poke(0x80, Bytes(8, 0xFF));
}

// P PIC S99V9 COMP-3 = 1.0 at 0x100, Z PIC S9(3) (trailing embedded sign)
// = 5 at 0x110, B PIC S9(4) COMP = 7 at 0x120, N PIC X(4) = "ABCD" at 0x130.
void cobolProgram(RoadProgram& p)
{
    HostRecordStore& records = p.records();
    p.variable("P", records.packedDecimalType(3, -1, true), 0x100, 77);
    p.variable("Z", records.zonedDecimalType(3, 0, true, TN_SignTrailingEmbedded), 0x110, 77);
    p.variable("B", records.binaryType(2, 4, 0, true), 0x120, 77);
    p.variable("N", records.charstringType(4), 0x130, 77);
    p.poke(0x100, decimalimage::packed("10", 3, true));
    p.poke(0x110, decimalimage::zoned("5", 3, true, TN_SignTrailingEmbedded));
    p.poke(0x120, decimalimage::binary(7, 2));
    p.poke(0x130, {0xC1, 0xC2, 0xC3, 0xC4});
}

// :AMOUNT DECIMAL(5, 2) = -123.45 at 0x200, :SMALL SMALLINT (500) = 7 at
// 0x210, :CODE CHAR(3) (452) = "XYZ" at 0x220.
void sqlProgram(RoadProgram& p)
{
    struct Variable {
        const char* name;
        UBYTE4 sqlType, length;
        UBYTE8 offset;
        Bytes bytes;
    };
    const Variable variables[] = {
        {":AMOUNT", 484, 5 << 8 | 2, 0x200, {0x12, 0x34, 0x5D}},
        {":SMALL", 500, 2, 0x210, {0x00, 0x07}},
        {":CODE", 452, 3, 0x220, {0xE7, 0xE8, 0xE9}},
    };
    for (const Variable& v : variables) {
        HostRecordStore::SqlVariable record;
        record.sqlType = v.sqlType;
        record.length = v.length;
        record.maxLength = v.length;
        record.address = RoadProgram::data + v.offset;
        record.addressWidth = p.bits;
        p.declare(p.records().sqlHostVariable(v.name, record));
        p.poke(v.offset, v.bytes);
    }
}

// INTEGER N = 3 at 0x60.
void fortranProgram(RoadProgram& p)
{
    p.variable("n", p.records().integerType(32, false), 0x60);
    p.poke(0x60, {0, 0, 0, 3});
}

// Updates the root (member 0) or the root's n-th member from text in
// representation 2 and checks the status and the bytes at offset after it.
RoadOracle writes(const char* text, UBYTE2 status, UBYTE8 offset, Bytes after, unsigned member = 0)
{
    return [=](RoadRun& r) {
        UpdateTreeNode* node = r.root();
        ASSERT_NE(node, nullptr);
        if (member != 0) {
            EXPECT_GE(r.memberCount(node), member);
            std::string name;
            node = r.member(node, member, name);
            ASSERT_NE(node, nullptr);
        }
        Bytes t(text, text + std::strlen(text) + 1);
        EXPECT_EQ(r.dbg.update(r.program.context, r.result, node, 2, t.data()), status) << text;
        EXPECT_EQ(r.program.peek(offset, static_cast<unsigned>(after.size())), after) << text;
    };
}

const RoadCase cases[] = {
    {"C: an int", L::c, cProgram, "a", 0, -1, nullptr, 0, "a", writes("12", 0, 0x20, {0, 0, 0, 12})},
    {"C: an int, negative", L::c, cProgram, "a", 0, -1, nullptr, 0, "a",
     writes("-2", 0, 0x20, {0xFF, 0xFF, 0xFF, 0xFE})},
    {"C: a structure's member", L::c, cProgram, "s", 0, -1, nullptr, 0, "s",
     writes("-1", 0, 0x40, {0xFF, 0xFF, 0xFF, 0xFF, 0x82}, 1)},
    {"C: a member's update, nodes released last", L::c, cProgram, "s", 0, -1, nullptr, 0, "s",
     writes("258", 0, 0x40, {0, 0, 1, 2, 0x82}, 1), RoadCleanup::nodesLast},
    {"C: a bit field at bit 7, only its bits written", L::c, bitFieldProgram, "f.mid", 0, -1, nullptr, 0, "f.mid",
     writes("2", 0, 0x80, {0xFE, 0x2F, 0xFF, 0xFF, 0xFF})},
    {"C: a bit field ending in the third byte", L::c, bitFieldProgram, "f.odd", 0, -1, nullptr, 0, "f.odd",
     writes("0", 0, 0x80, {0xFF, 0xFF, 0xF1, 0xFF, 0xFF})},
    {"C: a bit field ending in the third byte, as a member", L::c, bitFieldProgram, "f", 0, -1, nullptr, 0, "f",
     writes("5", 0, 0x80, {0xFF, 0xFF, 0xFB, 0xFF, 0xFF}, 2)},
    {"C: a bit field across the first 4 bytes is written in its 8-byte unit", L::c, bitFieldProgram, "f.wide", 0, -1,
     nullptr, 0, "f.wide", writes("1", 0, 0x80, {0xFF, 0xFF, 0xFF, 0xFC, 0x1F, 0xFF, 0xFF, 0xFF})},
    {"C: an empty text", L::c, cProgram, "a", 0, -1, nullptr, 0, "a", writes("", 10000, 0x20, {0, 0, 0, 3})},
    {"COBOL: packed decimal", L::cobol, cobolProgram, "P", 0, -1, nullptr, 0, nullptr,
     writes("3.5", 0, 0x100, decimalimage::packed("35", 3, true))},
    {"COBOL: packed decimal, negative", L::cobol, cobolProgram, "P", 0, -1, nullptr, 0, nullptr,
     writes("-12.3", 0, 0x100, decimalimage::packed("-123", 3, true))},
    {"COBOL: zoned decimal", L::cobol, cobolProgram, "Z", 0, -1, nullptr, 0, nullptr,
     writes("-42", 0, 0x110, decimalimage::zoned("-42", 3, true, TN_SignTrailingEmbedded))},
    {"COBOL: binary", L::cobol, cobolProgram, "B", 0, -1, nullptr, 0, nullptr,
     writes("-300", 0, 0x120, decimalimage::binary(-300, 2))},
    {"COBOL: alphanumeric, blank padded", L::cobol, cobolProgram, "N", 0, -1, nullptr, 0, nullptr,
     writes("'XY'", 0, 0x130, {0xE7, 0xE8, 0x40, 0x40})},
    {"COBOL: not a number", L::cobol, cobolProgram, "P", 0, -1, nullptr, 0, nullptr,
     writes("ABC", 10000, 0x100, decimalimage::packed("10", 3, true))},
    {"SQL: decimal", L::sql, sqlProgram, ":AMOUNT", 0, -1, nullptr, 0, ":AMOUNT",
     writes("-12.5", 0, 0x200, {0x01, 0x25, 0x0D})},
    {"SQL: decimal, representation released first", L::sql, sqlProgram, ":AMOUNT", 0, -1, nullptr, 0, ":AMOUNT",
     writes("1", 0, 0x200, {0x00, 0x10, 0x0C}), RoadCleanup::representationFirst},
    {"SQL: smallint", L::sql, sqlProgram, ":SMALL", 0, -1, nullptr, 0, ":SMALL", writes("-1", 0, 0x210, {0xFF, 0xFF})},
    {"SQL: fixed characters, blank padded", L::sql, sqlProgram, ":CODE", 0, -1, nullptr, 0, ":CODE",
     writes("AB", 0, 0x220, {0xC1, 0xC2, 0x40})},
    {"Fortran: an INTEGER", L::fortran, fortranProgram, "n", 0, -1, nullptr, 0, "n",
     writes("-7", 0, 0x60, {0xFF, 0xFF, 0xFF, 0xF9})},
    {"Fortran: an INTEGER, text refused", L::fortran, fortranProgram, "n", 0, -1, nullptr, 0, "n",
     writes("", 10000, 0x60, {0, 0, 0, 3})},
};

TEST_P(RoadSuite, Updates)
{
    runAll(cases);
}

} // namespace
