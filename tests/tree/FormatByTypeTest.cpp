#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "services/FatPtr.h"
#include "services/InvalidOp.h"
#include "tree/FormatTreeNode.h"
#include "tree/TreeFixture.h"
#include "types/CreatedTypeItem.h"

namespace {

// A root whose evaluation buffer the test fills.
class HeldNode : public TestRoot {
public:
    using TestRoot::TestRoot;

    void hold(const std::vector<std::uint8_t>& bytes)
    {
        freeBuffer();
        ensureBuffer(bytes.size());
        if (!bytes.empty())
            std::memcpy(evaluationBuffer(), bytes.data(), bytes.size());
    }
};

// Which formatter a row calls.
enum class F {
    externalFloat,
    alphaNumericEdited,
    numericEdited,
    nationalExternalFloat,
    nationalEdited,
    nationalNumericEdited,
    nationalString,
    dbcsString,
    dbcsEdited,
    nationalDecimal,
    indexName,
    indexDataItem,
    enumeration,
    fileDesc,
    bitstring,
    primitive
};

struct Row {
    const char* label;
    TypeItem type;
    std::vector<std::uint8_t> bytes;
    F call;
    DBG_REPS rep;
    unsigned maxLength;
    std::string text; // the expected text, when code is 0
    int code = 0;     // the expected InvalidOp code
    const char* name = "V";
};

class FormatByTypeTest : public TreeTest {
protected:
    TypeItem type(TYPE_INDEX index) { return TypeItem(index); }

    // A record of the 16- and 20-byte edited layouts (length at 8).
    TypeItem edited(UBYTE4 leaf, UBYTE4 length)
    {
        TYPE_INDEX index;
        host.records().newType(leaf, &index).externalFloat.length = length;
        return TypeItem(index);
    }

    Reference<HeldNode> node(const TypeItem& t, const std::vector<std::uint8_t>& bytes, const char* name = "V")
    {
        Reference<HeldNode> n(new HeldNode(t, name, rep()));
        n->hold(bytes);
        return n;
    }

    static ByteString call(const FormatTreeNode& n, F f, DBG_REPS rep, unsigned maxLength)
    {
        switch (f) {
        case F::externalFloat: return n.formatExternalFloat(rep);
        case F::alphaNumericEdited: return n.formatAlphaNumericEdited(rep);
        case F::numericEdited: return n.formatNumericEdited(rep);
        case F::nationalExternalFloat: return n.formatNationalExternalFloat(rep);
        case F::nationalEdited: return n.formatNationalEdited(rep);
        case F::nationalNumericEdited: return n.formatNationalNumericEdited(rep);
        case F::nationalString: return n.formatNationalString(rep, maxLength);
        case F::dbcsString: return n.formatDbcsString(rep, maxLength);
        case F::dbcsEdited: return n.formatDbcsEdited(rep);
        case F::nationalDecimal: return n.formatNationalDecimal(rep);
        case F::indexName: return n.formatIndexName(rep);
        case F::indexDataItem: return n.formatIndexDataItem(rep);
        case F::enumeration: return n.formatEnum(rep, maxLength);
        case F::fileDesc: return n.formatFileDesc(rep);
        case F::bitstring: return n.formatBitstring(rep);
        case F::primitive: return n.formatPrimitive(rep, n.formatType().typeIndex().index(), maxLength);
        }
        return ByteString();
    }

    void check(const std::vector<Row>& rows)
    {
        for (const Row& r : rows) {
            auto n = node(r.type, r.bytes, r.name);
            std::string got;
            int code = codeOf([&] { got = text(call(*n, r.call, r.rep, r.maxLength)); });
            EXPECT_EQ(code, r.code) << r.label;
            if (r.code == 0) {
                EXPECT_EQ(got, r.text) << r.label;
            }
        }
    }

    static std::vector<std::uint8_t> fileBlock(std::uint8_t state, std::uint8_t mode, std::uint8_t status)
    {
        std::vector<std::uint8_t> block(64, 0);
        const std::uint8_t marker[8] = {0xC3, 0xC2, 0xD3, 0xC4, 0xC2, 0xC7, 0xC6, 0xC9};
        std::memcpy(block.data(), marker, 8);
        block[24] = state;
        block[25] = mode;
        block[48] = status;
        return block;
    }
};

class CobolFormatByTypeTest : public FormatByTypeTest {
protected:
    void SetUp() override
    {
        FormatByTypeTest::SetUp();
        useRepresentation(EvaluationEnvironment::languageCOBOL, 4);
    }
};

TEST_F(CobolFormatByTypeTest, PicturesAndIndexesByRepresentation)
{
    auto& r = host.records();
    const std::vector<std::uint8_t> onePointFive = {0xF1, 0x4B, 0xF5};
    const std::vector<std::uint8_t> nationalOnePointFive = {0x00, 0x31, 0x00, 0x2E, 0x00, 0x35};
    check({
        {"external float in hexadecimal", edited(TE_EXTERNAL_FLOAT, 3), onePointFive, F::externalFloat, 1, 80,
         "X'F14BF5'"},
        {"external float as text", edited(TE_EXTERNAL_FLOAT, 3), onePointFive, F::externalFloat, 2, 80, "1.5"},
        {"alphanumeric-edited",
         edited(TE_ALPHA_NUMERIC_EDITED, 2),
         {0xC1, 0xC2},
         F::alphaNumericEdited,
         1,
         80,
         "X'C1C2'"},
        {"numeric-edited as text", edited(TE_NUMERIC_EDITED, 3), onePointFive, F::numericEdited, 22, 80, "1.5"},
        {"national external float in hexadecimal", edited(TE_NATIONAL_EXTERNAL_FLOAT, 6), nationalOnePointFive,
         F::nationalExternalFloat, 1, 80, "NX'0031002E0035'"},
        {"national external float as text", edited(TE_NATIONAL_EXTERNAL_FLOAT, 6), nationalOnePointFive,
         F::nationalExternalFloat, 2, 80, "'1.5'"},
        {"national-edited with a NUL",
         edited(TE_NATIONAL_EDITED, 4),
         {0x00, 0x41, 0x00, 0x00},
         F::nationalEdited,
         2,
         80,
         "'A.'"},
        {"national numeric-edited",
         edited(TE_NATIONAL_NUMERIC_EDITED, 2),
         {0x00, 0x37},
         F::nationalNumericEdited,
         1,
         80,
         "NX'0037'"},
        {"national decimal in hexadecimal",
         type(r.nationalDecimalType(2, 0, false, TN_SignNone)),
         {0x00, 0x31, 0x00, 0x32},
         F::nationalDecimal,
         1,
         80,
         "NX'00310032'"},
        {"national decimal as DISPLAY shows it",
         type(r.nationalDecimalType(2, 0, false, TN_SignNone)),
         {0x00, 0x31, 0x00, 0x32},
         F::nationalDecimal,
         2,
         80,
         "12"},
        {"signed national decimal with a scale",
         type(r.nationalDecimalType(3, -1, true, TN_SignTrailingSeparate)),
         {0x00, 0x31, 0x00, 0x32, 0x00, 0x35, 0x00, 0x2D},
         F::nationalDecimal,
         2,
         80,
         "12.5-"},
        {"index name as occurrence V/E+1", type(r.indexNameType(4, 10)), {0, 0, 0, 30}, F::indexName, 2, 80, "4"},
        {"index name stored value in hexadecimal",
         type(r.indexNameType(4, 10)),
         {0, 0, 0, 30},
         F::indexName,
         1,
         80,
         "0x0000001E"},
        {"index name raw bytes as stored",
         type(r.indexNameType(2, 10)),
         {0, 30},
         F::indexName,
         21,
         80,
         std::string("\0\x1E", 2)},
        {"index name without element size", type(r.indexNameType(4, 0)), {0, 0, 0, 30}, F::indexName, 2, 80, "30"},
        {"index name occurrence past its width",
         type(r.indexNameType(2, 1)),
         {0xFF, 0xFF},
         F::indexName,
         2,
         80,
         "65536"},
        {"index name of 3 bytes",
         type(r.indexNameType(3, 1)),
         {0, 0, 1},
         F::indexName,
         2,
         80,
         "",
         InvalidOp::RTRC_NotSupported},
        {"index data item in hexadecimal",
         type(r.indexDataItemType(4)),
         {0, 0, 1, 0x0A},
         F::indexDataItem,
         1,
         80,
         "X'0000010A'"},
        {"index data item in decimal", type(r.indexDataItemType(4)), {0, 0, 1, 0x0A}, F::indexDataItem, 2, 80, "266"},
        {"short buffer",
         edited(TE_EXTERNAL_FLOAT, 3),
         {0xF1},
         F::externalFloat,
         1,
         80,
         "",
         InvalidOp::RTRC_InvalidFormat},
        {"wrong kind",
         edited(TE_ALPHA_NUMERIC_EDITED, 2),
         {0xC1, 0xC2},
         F::externalFloat,
         1,
         80,
         "",
         InvalidOp::RTRC_Other},
        {"wrong kind: a primitive", TypeItem(130u), {0, 0, 0, 1}, F::indexName, 2, 80, "", InvalidOp::RTRC_Other},
    });
}

TEST_F(CobolFormatByTypeTest, NationalStringsQuotedAndCut)
{
    const TypeItem n4 = type(host.records().charstringType(4, TE_NATIONAL_STRING));
    const TypeItem n12 = type(host.records().charstringType(12, TE_NATIONAL_STRING));
    const TypeItem& doubleQuoted = *CreatedTypeItem::findOrCreateNationalStringType(4, true, false, false, nullptr);
    const TypeItem& hexLiteral = *CreatedTypeItem::findOrCreateNationalStringType(4, false, true, false, nullptr);
    const std::vector<std::uint8_t> ab = {0x00, 0x41, 0x00, 0x42};
    const std::vector<std::uint8_t> abcdef = {0, 'A', 0, 'B', 0, 'C', 0, 'D', 0, 'E', 0, 'F'};
    check({
        {"text", n4, ab, F::nationalString, 2, 20, "N'AB'"},
        {"hexadecimal", n4, ab, F::nationalString, 1, 20, "NX'00410042'"},
        {"hexadecimal that just fits", n4, ab, F::nationalString, 1, 12, "NX'00410042'"},
        {"hexadecimal cut after whole bytes", n4, ab, F::nationalString, 1, 11, "NX'0041...'"},
        {"hexadecimal cut to no byte", n4, ab, F::nationalString, 1, 8, "NX'...'"},
        {"hexadecimal with no room", n4, ab, F::nationalString, 1, 5, "..."},
        {"characters cut by the room", n12, abcdef, F::nationalString, 2, 8, "N'ABCD..."},
        {"double quotes asked for", doubleQuoted, ab, F::nationalString, 2, 20, "N\"AB\""},
        {"written in hexadecimal", hexLiteral, ab, F::nationalString, 2, 20, "NX'00410042'"},
    });
}

TEST_F(CobolFormatByTypeTest, DbcsStringsThroughTheMixedCodePage)
{
#if defined(_WIN32)
    GTEST_SKIP() << "the Windows test host converts no DBCS page";
#endif
    host.setDefaultCodePage("939");
    useRepresentation(EvaluationEnvironment::languageCOBOL, 4);
    const TypeItem g4 = edited(TE_DBCS_STRING, 4);
    const TypeItem& doubleQuoted = *CreatedTypeItem::findOrCreateDbcsStringType(4, true, false, false, nullptr);
    const std::vector<std::uint8_t> bytes = {0x45, 0x41, 0x40, 0x40};
    check({
        {"graphic text", g4, bytes, F::dbcsString, 2, 20, "G'\xE4\xB8\x80\xE3\x80\x80'"},
        {"graphic text, double quotes", doubleQuoted, bytes, F::dbcsString, 2, 20, "G\"\xE4\xB8\x80\xE3\x80\x80\""},
        {"hexadecimal with shift codes", g4, bytes, F::dbcsString, 1, 20, "X'0E454140400F'"},
        {"DBCS-edited in hexadecimal", edited(TE_DBCS_EDITED, 2), {0x45, 0x41}, F::dbcsEdited, 1, 20, "X'0E45410F'"},
        {"DBCS-edited as text, no G", edited(TE_DBCS_EDITED, 2), {0x45, 0x41}, F::dbcsEdited, 2, 20, "'\xE4\xB8\x80'"},
    });
}

TEST_F(CobolFormatByTypeTest, FileInformationBlocks)
{
    const TypeItem fd = type(host.records().fileDescriptorType("FILE1"));
    std::vector<std::uint8_t> sort = {'S', 'D', 'F', 'I', 'L', 'E', 0, 0};
    std::vector<std::uint8_t> shortBlock = fileBlock(1, 1, 0);
    shortBlock.resize(48);
    check({
        {"sort file", fd, sort, F::fileDesc, 2, 80, "No status available for sort file SD SORTF", 0, "SORTF"},
        {"representation 1", fd, fileBlock(1, 1, 0x35), F::fileDesc, 1, 80, "X'40'"},
        {"open for input", fd, fileBlock(1, 1, 0x35), F::fileDesc, 2, 80, "OPEN INPUT, FILE STATUS: 35"},
        {"open for extend", fd, fileBlock(1, 4, 0x00), F::fileDesc, 2, 80, "OPEN EXTEND, FILE STATUS: 00"},
        {"closed", fd, fileBlock(3, 1, 0x42), F::fileDesc, 2, 80, "CLOSED, FILE STATUS: 42"},
        {"unknown state", fd, fileBlock(7, 1, 0xAB), F::fileDesc, 2, 80, "UNKNOWN, FILE STATUS: ab"},
        {"no marker", fd, std::vector<std::uint8_t>(64, 0x40), F::fileDesc, 2, 80, "", InvalidOp::RTRC_Other},
        {"block ending before the status", fd, shortBlock, F::fileDesc, 2, 80, "", InvalidOp::RTRC_Other},
    });
    // No block at all.
    Reference<HeldNode> none(new HeldNode(fd, "F", rep()));
    EXPECT_EQ(codeOf([&] { none->formatFileDesc(2); }), InvalidOp::RTRC_Other);
}

TEST_F(CobolFormatByTypeTest, KeptLoadErrorShowsItsMessage)
{
    auto n = node(edited(TE_EXTERNAL_FLOAT, 3), {});
    n->setFlags2(TreeNode::flag2LoadError);
    EXPECT_EQ(text(n->formatExternalFloat(1)), "ZEMT0052E The value could not be loaded (error 0).");
    // The kind is checked first.
    EXPECT_EQ(codeOf([&] { n->formatNumericEdited(1); }), InvalidOp::RTRC_Other);
}

TEST_F(CobolFormatByTypeTest, AddressesAreShownAsHexadecimalLiterals)
{
    // A pointer to char holding 0x0001F000, shown in hexadecimal, decimal
    // and as raw bytes.
    check({
        {"hexadecimal", TypeItem(148u | 32u), {0x00, 0x01, 0xF0, 0x00}, F::primitive, 9, 80, "H'0001F000'"},
        {"decimal stays decimal", TypeItem(148u | 32u), {0x00, 0x01, 0xF0, 0x00}, F::primitive, 10, 80, "126976"},
    });
}

TEST_F(FormatByTypeTest, EnumerationsNameTheirValue)
{
    auto& r = host.records();
    const TypeItem colour = type(r.enumType("colour", TYPE_INDEX{0, 130}, {{"RED", 2}, {"NEG", -3}}));
    const TypeItem small = type(r.enumType("small", TYPE_INDEX{0, 128}, {{"M1", -1}}));
    const TypeItem wide = type(r.enumType("wide", TYPE_INDEX{0, 155}, {{"BIG", -5000000000ll}}));
    const TypeItem overHost = type(r.enumType("h", r.integerType(32, false), {{"A", 1}}));
    check({
        {"value with its name", colour, {0, 0, 0, 2}, F::enumeration, 2, 50, "2 /* RED */"},
        {"no room for the name", colour, {0, 0, 0, 2}, F::enumeration, 2, 11, "2"},
        {"room just enough", colour, {0, 0, 0, 2}, F::enumeration, 2, 12, "2 /* RED */"},
        {"negative enumerator", colour, {0xFF, 0xFF, 0xFF, 0xFD}, F::enumeration, 2, 50, "-3 /* NEG */"},
        {"one-byte negative", small, {0xFF}, F::enumeration, 2, 50, "-1 /* M1 */"},
        {"eight-byte negative",
         wide,
         {0xFF, 0xFF, 0xFF, 0xFE, 0xD5, 0xFA, 0x0E, 0x00},
         F::enumeration,
         2,
         50,
         "-5000000000 /* BIG */"},
        {"no enumerator", colour, {0, 0, 0, 7}, F::enumeration, 1, 50, "0x00000007"},
        {"underlying type not primitive", overHost, {0, 0, 0, 1}, F::enumeration, 2, 50, "", InvalidOp::RTRC_Other},
        {"short buffer", colour, {0, 0}, F::enumeration, 2, 50, "", InvalidOp::RTRC_InvalidFormat},
    });
}

TEST_F(FormatByTypeTest, BitFieldsInEachRepresentation)
{
    auto& r = host.records();
    const TypeItem one = type(r.integerType(1, true, 0));
    const TypeItem seven = type(r.integerType(7, true, 3));
    const TypeItem sevenSigned = type(r.integerType(7, false, 3));
    const TypeItem whole = type(r.integerType(32, true, 0));
    const TypeItem wholeSigned = type(r.integerType(32, false, 0));
    // 0x1E000000 at offset 3, width 7: 1111000 = 120 ('x'); signed -8.
    const std::vector<std::uint8_t> x = {0x1E, 0x00, 0x00, 0x00};
    check({
        {"1 bit, decimal", one, {0x80, 0, 0, 0}, F::bitstring, 2, 80, "1"},
        {"1 bit, boolean", one, {0x80, 0, 0, 0}, F::bitstring, 17, 80, "TRUE"},
        {"1 bit, binary", one, {0x7F, 0xFF, 0xFF, 0xFF}, F::bitstring, 4, 80, "0"},
        {"7 bits, hexadecimal", seven, x, F::bitstring, 1, 80, "0x78"},
        {"7 bits, decimal", seven, x, F::bitstring, 2, 80, "120"},
        {"7 bits, octal", seven, x, F::bitstring, 3, 80, "0170"},
        {"7 bits, binary", seven, x, F::bitstring, 4, 80, "1111000"},
        {"7 bits, character", seven, x, F::bitstring, 5, 80, "'x'"},
        {"7 bits, boolean", seven, x, F::bitstring, 17, 80, "?? /* 120*/"},
        {"7 signed bits, decimal", sevenSigned, x, F::bitstring, 2, 80, "-8"},
        {"7 signed bits, hexadecimal", sevenSigned, x, F::bitstring, 1, 80, "0x78"},
        {"16 bits, character", type(r.integerType(16, true, 0)), {0x00, 0x41, 0xFF, 0xFF}, F::bitstring, 5, 80, "L'A'"},
        {"8 bits, EBCDIC character", type(r.integerType(8, true, 0)), {0xC1, 0, 0, 0}, F::bitstring, 22, 80, "'A'"},
        {"32 bits, decimal", whole, {0xFF, 0xFF, 0xFF, 0xFE}, F::bitstring, 2, 80, "4294967294"},
        {"32 signed bits, decimal", wholeSigned, {0xFF, 0xFF, 0xFF, 0xFE}, F::bitstring, 2, 80, "-2"},
        {"32 bits, hexadecimal", whole, {0xFF, 0xFF, 0xFF, 0xFE}, F::bitstring, 1, 80, "0xFFFFFFFE"},
        {"no floating point", seven, x, F::bitstring, 8, 80, "", InvalidOp::RTRC_InvalidFormat},
        // Bits past the fourth byte: the unit is 8 bytes.
        {"past the 4-byte unit", type(r.integerType(7, true, 30)), {0, 0, 0, 0x03, 0xC0}, F::bitstring, 2, 80, "120"},
        {"wider than 32 bits",
         type(r.integerType(33, true, 0)),
         {0x80, 0, 0, 0, 0x80},
         F::bitstring,
         2,
         80,
         "4294967297"},
        {"40 signed bits, decimal",
         type(r.integerType(40, false, 0)),
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFE},
         F::bitstring,
         2,
         80,
         "-2"},
        {"40 bits, hexadecimal",
         type(r.integerType(40, true, 8)),
         {0, 0x12, 0x34, 0x56, 0x78, 0x9A},
         F::bitstring,
         1,
         80,
         "0x123456789A"},
        {"past the 8-byte unit",
         type(r.integerType(7, true, 60)),
         {0, 0, 0, 0, 0, 0, 0, 0, 0},
         F::bitstring,
         2,
         80,
         "",
         InvalidOp::RTRC_NotSupported},
        // A field loaded by itself holds the bytes its bits reach, no more.
        {"buffer of the field's bytes", seven, {0x1E, 0x00}, F::bitstring, 2, 80, "120"},
        {"buffer shorter than the field", seven, {0x1E}, F::bitstring, 2, 80, "", InvalidOp::RTRC_InvalidFormat},
    });
}

TEST_F(FormatByTypeTest, PointersToCharacters)
{
    const TypeItem charPointer(148u | 32u);
    const TypeItem wcharPointer(149u | 32u);
    poke(0x2000, {'h', 'i', 0});
    poke(0x2100, {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', 0});
    poke(0x2200, {0x01, '1', 0});
    poke(0x2300, {0x88, 0x89, 0x00}); // "hi" in EBCDIC
    poke(0x2400, {0x00, 'A', 0x00, 'B', 0, 0});
    const std::vector<std::uint8_t> at2000 = {0, 0, 0x20, 0}, at2100 = {0, 0, 0x21, 0};
    check({
        {"string", charPointer, at2000, F::primitive, 6, 80, "\"hi\""},
        {"string in the target's code page", charPointer, {0, 0, 0x23, 0}, F::primitive, 23, 80, "hi"},
        {"null pointer", charPointer, {0, 0, 0, 0}, F::primitive, 6, 80, "NULL"},
        {"cut by the maximum length", charPointer, at2100, F::primitive, 6, 8, "\"hell..."},
        {"maximum length 0", charPointer, at2100, F::primitive, 6, 0, ""},
        {"maximum length 2", charPointer, at2100, F::primitive, 6, 2, ""},
        {"maximum length 3", charPointer, at2100, F::primitive, 6, 3, "..."},
        {"break after an escape", charPointer, {0, 0, 0x22, 0}, F::primitive, 6, 40, "\"\\x01\" \"1\""},
        {"unreadable", charPointer, {0, 0, 0x90, 0}, F::primitive, 6, 40, "", InvalidOp::RTRC_ReadMemoryFailed},
        {"wide string", wcharPointer, {0, 0, 0x24, 0}, F::primitive, 6, 40, "L\"AB\""},
        {"hexadecimal", charPointer, at2000, F::primitive, 9, 80, "0x00002000"},
        {"decimal", charPointer, at2000, F::primitive, 10, 80, "8192"},
        {"raw", charPointer, at2000, F::primitive, 21, 80, "8192"},
        {"shared form of a plain pointer", charPointer, at2000, F::primitive, 20, 80, "",
         InvalidOp::RTRC_InvalidFormat},
        {"no address forms: array", charPointer, at2000, F::primitive, 11, 80, ""},
        // A host without the address forms still sees the address.
        {"no address forms: default", charPointer, at2000, F::primitive, 19, 80, "0x00002000"},
        {"no such form", charPointer, at2000, F::primitive, 12, 80, ""},
        {"buffer shorter than an address",
         charPointer,
         {0, 0x20},
         F::primitive,
         9,
         80,
         "",
         InvalidOp::RTRC_InvalidFormat},
        {"a plain value", TypeItem(130u), {0, 0, 1, 0x0A}, F::primitive, 2, 80, "266"},
    });

    // Nothing is read when no character has room.
    const unsigned before = reads();
    EXPECT_EQ(text(node(charPointer, at2100)->formatPrimitive(6, charPointer.typeIndex().index(), 2)), "");
    EXPECT_EQ(reads(), before);

    DBG_VERSION_RECORD version{};
    version.addressForms = 1;
    host.setVersion(version);
    check({
        {"default address form", charPointer, at2000, F::primitive, 19, 80, "0x00002000"},
        {"array form of a pointer", charPointer, at2000, F::primitive, 11, 80, ""},
    });
}

TEST_F(FormatByTypeTest, AddressesInEightBytesAndInTheEvaluator)
{
    useRepresentation(languageC, 8);
    check({
        {"eight-byte hexadecimal",
         TypeItem(148u | 32u),
         {0, 0, 0, 1, 0, 0, 0x20, 0},
         F::primitive,
         9,
         80,
         "0x0000000100002000"},
    });
    auto n = node(TypeItem(148u | 32u), {0});
    int local = 0;
    DebuggeeLocation inEvaluator;
    inEvaluator = static_cast<void*>(&local);
    const auto pointer = reinterpret_cast<std::uintptr_t>(&local);
    char digits[40];
    std::snprintf(digits, sizeof digits, "0x%0*llX", int(2 * sizeof(void*)), static_cast<unsigned long long>(pointer));
    EXPECT_EQ(text(n->formatAddressAsHex(inEvaluator)), digits);
    std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(pointer));
    EXPECT_EQ(text(n->formatAddressAsDecimal(inEvaluator)), digits);
    EXPECT_EQ(codeOf([&] { n->formatAddressAsHex(DebuggeeLocation()); }), InvalidOp::RTRC_InvalidFormat);
}

TEST_F(FormatByTypeTest, StringsInTheEvaluatorsOwnBuffer)
{
    auto n = node(TypeItem(148u | 32u), {'a', 'b', 0, 'c'});
    n->setFlags(TreeNode::flagMayNotLoad);
    EXPECT_EQ(text(n->formatPrimitive(6, 148u | 32u, 40)), "\"ab\"");
    EXPECT_EQ(reads(), 0u);
    EXPECT_EQ(n->getLocation().kind(), DebuggeeLocation::debuggerBuffer);
}

TEST_F(FormatByTypeTest, FunctionNamesAndSharedPointers)
{
    const TypeItem function = type(host.records().functionType(TYPE_INDEX{0, 130}, {}));
    auto n = node(TypeItem(148u | 32u), {0, 0, 0, 0});
    host.setLinkNames(0x3000, "main", "", "");
    poke(0x3108, {0, 0, 0x30, 0});
    auto at = [](std::uint64_t a) { return DebuggeeLocation(DebuggeeAddress(a, 4)); };
    EXPECT_EQ(text(n->formatAddress(at(0x3000), 6, function, 80)), "main");
    EXPECT_EQ(text(n->formatAddress(at(0x3100), 23, function, 80)), "main"); // through the descriptor
    EXPECT_EQ(text(n->formatAddress(at(0x3200), 6, function, 80)),
              "ZEMT0059I No function is known at address 0x00003200.");
    DebuggeeLocation shared;
    shared = FatPtr();
    EXPECT_EQ(text(n->formatAddress(shared, 20, TypeItem(148u), 80)),
              "ZEMT0055E Pointers to shared data cannot be shown.");
    // A pointee that is no character.
    EXPECT_EQ(codeOf([&] { n->formatAddress(at(0x3000), 6, TypeItem(130u), 80); }), InvalidOp::RTRC_InvalidFormat);
}

TEST_F(FormatByTypeTest, WideCharacterLiterals)
{
    auto n = node(TypeItem(130u), {});
    struct Case {
        std::vector<std::uint8_t> bytes;
        unsigned size, count, maxLength;
        std::string text;
        int code;
    } cases[] = {
        {{0x00, 'A', 0x00, 'B'}, 2, 2, 30, "L\"AB\"", 0},
        {{0, 0, 0, 'A'}, 4, 1, 30, "L\"A\"", 0},
        {{0, 0, 0, 0, 0, 0, 0, 'A'}, 8, 1, 30, "L\"A\"", 0},
        {{0x00, 0x01, 0x00, '7'}, 2, 2, 30, "L\"\\x1\" L\"7\"", 0},
        {{0, 'A', 0, 'B', 0, 'C', 0, 'D', 0, 'E', 0, 'F', 0, 'G', 0, 'H', 0, 'I'}, 2, 9, 13, "L\"ABCDEFGH...", 0},
        {{0x00, 'A'}, 2, 1, 12, "...", 0},
        {{0x00, 'A'}, 2, 1, 2, "", 0},
        {{0, 0, 'A'}, 3, 1, 30, "", InvalidOp::RTRC_Other},
    };
    for (const Case& c : cases) {
        std::string got;
        int code = codeOf([&] { got = text(n->formatWcharOther(c.bytes.data(), c.size, c.count, c.maxLength, true)); });
        EXPECT_EQ(code, c.code) << c.text;
        if (c.code == 0) {
            EXPECT_EQ(got, c.text);
        }
    }
    // Each character by its wide code (0x41 is A, never an EBCDIC byte),
    // C's escapes where C writes one.
    const std::uint8_t wide[] = {0x00, 0x41, 0x00, 0x0A, 0x00, 0x27, 0x00, 0x01, 0x00, 0x42};
    EXPECT_EQ(text(n->formatWchar(wide, 2, 5, 40, true)), "L\"A\\n\\'\\x1\" L\"B\"");
}

TEST_F(FormatByTypeTest, LocationsHeldInTheBuffer)
{
    struct Case {
        TypeItem type;
        std::vector<std::uint8_t> bytes;
        std::uint64_t address;
        int code;
    } cases[] = {
        {TypeItem(148u | 32u), {0, 0, 0x20, 0}, 0x2000, 0},
        {type(host.records().pointerType(TYPE_INDEX{0, 130}, 8)), {0, 0, 0, 1, 0, 0, 0x20, 0}, 0x100002000ull, 0},
        {TypeItem(148u | 32u), {0, 0x20}, 0, InvalidOp::RTRC_InvalidFormat},
    };
    for (const Case& c : cases) {
        auto n = node(c.type, c.bytes);
        DebuggeeLocation location;
        EXPECT_EQ(codeOf([&] { location = n->getLocation(); }), c.code);
        if (c.code == 0) {
            EXPECT_EQ(location.kind(), DebuggeeLocation::debuggeeMemory);
            EXPECT_EQ(location.address().addr(), c.address);
        }
    }
}

class FortranFormatByTypeTest : public FormatByTypeTest {
protected:
    void SetUp() override
    {
        FormatByTypeTest::SetUp();
        useRepresentation(EvaluationEnvironment::languageFortran, 4);
    }
};

TEST_F(FortranFormatByTypeTest, ArrayElementNames)
{
    HostRecordStore::FortranBlocks blocks;
    blocks.lowerBound = {0x32}; // DW_OP_lit2
    blocks.upperBound = {0x35};
    blocks.dimension = 1;
    const TypeItem array = type(host.records().fortranDescArrayType(TYPE_INDEX{0, 130}, blocks, 2));
    auto a = node(array, {});
    struct Case {
        const char* name;
        int index;
        int size;
        std::string text;
    } cases[] = {
        {"a", 3, 64, "a(:, 4 )"},
        {"a(:, 4 )", 1, 64, "a(2 , 4 )"},
        {"a", 3, 4, "a(:,"},
    };
    for (const Case& c : cases) {
        char out[64];
        std::memset(out, '#', sizeof out);
        int n = a->FortranArrayElementName(reinterpret_cast<UBYTE1*>(const_cast<char*>(c.name)), c.index, out, c.size);
        EXPECT_EQ(std::string(out, static_cast<std::size_t>(n)), c.text) << c.name;
        EXPECT_EQ(out[n], n < c.size ? '\0' : '#') << c.name;
    }
    auto scalar = node(TypeItem(130u), {});
    char out[8];
    EXPECT_EQ(
        codeOf([&] { scalar->FortranArrayElementName(reinterpret_cast<UBYTE1*>(const_cast<char*>("a")), 1, out, 8); }),
        InvalidOp::RTRC_FIXME);
}

} // namespace
