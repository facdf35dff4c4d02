#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "machine/StackItemComplexFloat.h"
#include "machine/StackItemDecimalFloat.h"
#include "testhost/DwarfExpression.h"
#include "testseam/SVCTestSeam.h"
#include "tree/UpdateFixture.h"
#include "types/Extended12.h"

namespace {

class UpdateTreeNodeTest : public UpdateTest {};

// Every primitive type takes the texts a C compiler assigns to a big-endian
// field of that type, byte for byte (the table of gen/gen_c_updates.py), in
// a 32-bit and a 64-bit program.
class CUpdateTest : public UpdateTest, public ::testing::WithParamInterface<unsigned> {
protected:
    CUpdateTest() : UpdateTest(languageC, GetParam()) {}
};

TEST_P(CUpdateTest, UpdatesWriteWhatACompilerStores)
{
    const auto rows = table("c_updates.tsv");
    ASSERT_GT(rows.size(), 300u);
    std::uint64_t address = 0x10000;
    for (const auto& row : rows) {
        const unsigned index = static_cast<unsigned>(std::stoul(row[0]));
        const std::vector<std::uint8_t> expected = fromHex(row[2]);
        host.memory().fill(address, expected.size() + 2, 0xEE);
        auto node = at(TypeItem(index), address);
        EXPECT_EQ(update(*node, row[1]), 0) << index << " " << row[1];
        EXPECT_EQ(memory(address, static_cast<std::uint32_t>(expected.size())), expected) << index << " " << row[1];
        // Nothing past the value is touched.
        EXPECT_EQ(memory(address + expected.size(), 2), (std::vector<std::uint8_t>{0xEE, 0xEE})) << index;
        address += 0x40;
    }
    EXPECT_TRUE(road.balanced());
}

INSTANTIATE_TEST_SUITE_P(AddressSizes, CUpdateTest, ::testing::Values(4u, 8u));

TEST_F(UpdateTreeNodeTest, CleanStringTurnsLineEndsToBlanksDropsCommentsAndStrips)
{
    struct Case {
        const char* text;
        const char* cleaned;
    };
    const Case cases[] = {
        {"42 // the answer", "42"},
        {"4/* a comment */2", "42"},
        {"  1 +\t2\r\n", "1 + 2"},
        {"1 /* a */ + /* b */ 2", "1  +  2"},
        {"1 /* never closed", "1 /* never closed"},
        {"1 /* never closed // line", "1 /* never closed"},
        {"// all comment", ""},
        {"\"a // b\"", "\"a"}, // comment marks inside quotes are comments too
        {"", ""},
        {"   ", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text(UpdateTreeNode::cleanString(reinterpret_cast<const unsigned char*>(c.text))), c.cleaned)
            << c.text;
    EXPECT_EQ(text(UpdateTreeNode::cleanString(nullptr)), "");
}

TEST_F(UpdateTreeNodeTest, TheCleanedTextIsEvaluatedAndEverythingIsReleased)
{
    auto node = at(TypeItem(130u), 0x2000);
    bool updating = false;
    road.value = [&](EvaluationEnvironment& e, const std::string& t) {
        updating = rep().isUpdate();
        EXPECT_EQ(EvaluationEnvironment::currentOrNull(), &e);
        return TestRoad::cLiteral(e, t);
    };
    EXPECT_EQ(update(*node, "4/* x */2 // y"), 0);
    EXPECT_EQ(road.texts.back(), "42");
    EXPECT_EQ(host.memory().bigEndian(0x2000, 4), 42u);
    EXPECT_TRUE(updating);
    EXPECT_FALSE(rep().isUpdate());
    EXPECT_EQ(EvaluationEnvironment::currentOrNull(), &rep());
    EXPECT_TRUE(road.balanced());
    EXPECT_EQ(road.built, 1);
}

// Statuses of the nested build, validation and evaluation; whatever fails,
// all that was handed out is released and the node's environment is
// current again.
TEST_F(UpdateTreeNodeTest, NestedFailuresMapToStatuses)
{
    struct Case {
        std::uint16_t build, validate, evaluate;
        const char* text;
        std::uint16_t status;
    };
    const Case cases[] = {
        {0, 0, 0, "7", 0},         {0, 1002, 0, "7", 0},      {0, 1000, 0, "7", 11043},  {0, 1001, 0, "7", 11043},
        {0, 1003, 0, "7", 11043},  {0, 10000, 0, "7", 10000}, {0, 0, 11050, "7", 11042}, {0, 0, 10000, "7", 10000},
        {10000, 0, 0, "7", 10000}, {0, 0, 0, "TRUE", 10000}, // no such name: the literal reader refuses it
    };
    for (const Case& c : cases) {
        road = TestRoad();
        road.buildStatus = c.build;
        road.validateStatus = c.validate;
        road.evaluateStatus = c.evaluate;
        host.memory().storeBigEndian(0x2000, 0x11111111, 4);
        auto node = at(TypeItem(130u), 0x2000);
        EXPECT_EQ(update(*node, c.text), c.status) << c.build << " " << c.validate << " " << c.evaluate;
        EXPECT_EQ(host.memory().bigEndian(0x2000, 4), c.status == 0 ? 7u : 0x11111111u);
        EXPECT_TRUE(road.balanced()) << c.validate << " " << c.evaluate;
        EXPECT_EQ(EvaluationEnvironment::currentOrNull(), &rep());
    }
    // Without a road of the entry points every evaluated update is refused.
    UpdateExpressionRoad::install(nullptr);
    auto node = at(TypeItem(130u), 0x2000);
    EXPECT_EQ(update(*node, "7"), 10000);
    EXPECT_EQ(EvaluationEnvironment::currentOrNull(), &rep());
}

TEST_F(UpdateTreeNodeTest, BooleanWordsOnlyWithTheBooleanRepresentation)
{
    auto node = at(TypeItem(144u), 0x2000);
    EXPECT_EQ(update(*node, "true", 17), 0);
    EXPECT_EQ(road.texts.back(), "1");
    EXPECT_EQ(memory(0x2000, 1), (std::vector<std::uint8_t>{1}));
    EXPECT_EQ(update(*node, " false ", 17), 0);
    EXPECT_EQ(road.texts.back(), "0");
    EXPECT_EQ(memory(0x2000, 1), (std::vector<std::uint8_t>{0}));
    // Any other spelling, or another representation, is an expression.
    EXPECT_EQ(update(*node, "TRUE", 17), 10000);
    EXPECT_EQ(road.texts.back(), "TRUE");
    EXPECT_EQ(update(*node, "true", 2), 10000);
    EXPECT_EQ(road.texts.back(), "true");
    EXPECT_TRUE(road.balanced());
}

TEST_F(UpdateTreeNodeTest, CharacterRepresentationsSetTheAlternateCharacterSet)
{
    auto node = at(TypeItem(148u), 0x2000);
    rep().setAlternateCharset(0);
    for (int r : {5, 6, 2, 22})
        EXPECT_EQ(update(*node, "65", r), 0);
    rep().setAlternateCharset(1);
    EXPECT_EQ(update(*node, "65", 2), 0);
    EXPECT_EQ(road.alternateCharsets, (std::vector<std::uint8_t>{1, 1, 0, 0, 1}));
}

TEST_F(UpdateTreeNodeTest, NodesThatCannotBeWritten)
{
    // No location: refused before anything is evaluated.
    auto floating = root(TypeItem(130u));
    EXPECT_EQ(update(*floating, "1"), 11041);
    // A pointer without location takes a string only.
    auto pointer = root(TypeItem(host.records().pointerType(TYPE_INDEX{0, 148}, 4)));
    EXPECT_EQ(update(*pointer, "1", 2), 11041);
    EXPECT_EQ(update(*pointer, "1", 6), 11041);
    EXPECT_EQ(road.built, 1);
    // A value in the evaluator's own memory.
    unsigned char buffer[4] = {};
    auto inside = root(TypeItem(130u));
    DebuggeeLocation where;
    where = static_cast<void*>(buffer);
    inside->setLocation(where);
    EXPECT_EQ(update(*inside, "1"), 11041);
    EXPECT_EQ(road.built, 1);
    EXPECT_TRUE(road.balanced());
}

TEST_F(UpdateTreeNodeTest, HexadecimalFloatInputIsInStorageOrder)
{
    struct Case {
        unsigned index;
        const char* text;
        std::uint16_t status;
        const char* stored; // the bytes after the update
    };
    const Case cases[] = {
        {136, "0x3F800000", 0, "3F800000"},      {136, "3F 80 00 00", 0, "3F800000"},
        {136, "0X41100000", 0, "41100000"},      {137, "0x3FF0000000000001", 0, "3FF0000000000001"},
        {196, "41100000", 0, "41100000"},        {136, "0x3F80", 11040, "EEEEEEEE"},
        {136, "0x3F8000000", 11040, "EEEEEEEE"},
    };
    for (const Case& c : cases) {
        host.memory().fill(0x2000, 8, 0xEE);
        auto node = at(TypeItem(c.index), 0x2000);
        EXPECT_EQ(update(*node, c.text, 1), c.status) << c.text;
        const auto expected = fromHex(c.stored);
        EXPECT_EQ(memory(0x2000, static_cast<std::uint32_t>(expected.size())), expected) << c.text;
    }
    // A character that is no hexadecimal digit: refused, nothing written.
    host.memory().fill(0x2000, 8, 0xEE);
    auto node = at(TypeItem(136u), 0x2000);
    host.clearCalls();
    EXPECT_EQ(raisedCode([&] { update(*node, "0x3F80000G", 1); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(host.callCount(HS_Expr2WriteMemory), 0u);
    EXPECT_EQ(road.built, 0);
}

TEST_F(UpdateTreeNodeTest, FortranCharacterTextIsPaddedOrCut)
{
    useRepresentation(EvaluationEnvironment::languageFortran, 4);
    TYPE_INDEX characterArray{};
    host.records().newType(TE_COBOL_TABLE, &characterArray);
    struct Case {
        const char* text;
        const char* stored;
    };
    const Case cases[] = {
        {"'ab'", "ab   "}, {"\"ab\"", "ab   "}, {"abcdefg", "abcde"}, {"'ab\"", "'ab\" "}, {"'", "'    "},
    };
    for (const Case& c : cases) {
        host.memory().fill(0x2000, 6, 0xEE);
        auto node = at(TypeItem(host.records().charstringType(5)), 0x2000);
        int deletions = 0;
        CountingItem item(rep(), deletions, 0, TypeItem(characterArray));
        std::string t = c.text;
        EXPECT_EQ(node->update(context, 2, reinterpret_cast<unsigned char*>(t.data()), item), 0) << c.text;
        std::vector<std::uint8_t> stored(c.stored, c.stored + 5);
        stored.push_back(0xEE);
        EXPECT_EQ(memory(0x2000, 6), stored) << c.text;
    }
    EXPECT_EQ(road.built, 0);
}

// A 3-bit field at bit offset 5 of its 4-byte unit: the unit is read and
// written once, and only the field's bits change.
TEST_F(UpdateTreeNodeTest, BitFieldsTouchOnlyTheirFourByteUnit)
{
    const TypeItem field(host.records().integerType(3, true, 5));
    for (bool endOfMemory : {false, true}) {
        host.memory().clear();
        host.memory().store(0x2000, {0xAA, 0xBB, 0xCC, 0xDD});
        if (!endOfMemory)
            host.memory().store(0x2004, {0x11, 0x22, 0x33, 0x44});
        auto node = at(field, 0x2000);
        host.clearCalls();
        EXPECT_EQ(update(*node, "5"), 0);
        EXPECT_EQ(memory(0x2000, 4), (std::vector<std::uint8_t>{0xAD, 0xBB, 0xCC, 0xDD}));
        const auto reads = host.callsTo(HS_Expr2ReadMemory);
        const auto writes = host.callsTo(HS_Expr2WriteMemory);
        ASSERT_EQ(reads.size(), 1u);
        ASSERT_EQ(writes.size(), 1u);
        EXPECT_NE(reads[0].arguments.find("count=4"), std::string::npos) << reads[0].arguments;
        EXPECT_NE(writes[0].arguments.find("count=4"), std::string::npos) << writes[0].arguments;
        if (!endOfMemory) {
            EXPECT_EQ(memory(0x2004, 4), (std::vector<std::uint8_t>{0x11, 0x22, 0x33, 0x44}));
        } else {
            EXPECT_FALSE(host.memory().isMapped(0x2004));
        }
    }
    // The low bits of the value; a field that ends the unit; a field past
    // the fourth byte, in its 8-byte unit; one unit too narrow for the field.
    host.memory().store(0x2000, {0xFF, 0xFF, 0xFF, 0xFF});
    auto low = at(TypeItem(host.records().integerType(4, true, 28)), 0x2000);
    EXPECT_EQ(update(*low, "0x12"), 0);
    EXPECT_EQ(memory(0x2000, 4), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xF2}));
    host.memory().store(0x2000, std::vector<std::uint8_t>(8, 0xFF));
    auto wide = at(TypeItem(host.records().integerType(30, true, 4)), 0x2000);
    EXPECT_EQ(update(*wide, "1"), 0);
    EXPECT_EQ(memory(0x2000, 8), (std::vector<std::uint8_t>{0xF0, 0, 0, 0, 0x7F, 0xFF, 0xFF, 0xFF}));
    auto beyond = at(TypeItem(host.records().integerType(30, true, 40)), 0x2000);
    EXPECT_EQ(update(*beyond, "1"), 10002);
    host.memory().clear();
    host.memory().store(0x2000, {0x00, 0x00});
    auto shortUnit = at(TypeItem(host.records().integerType(3, true, 5)), 0x2000);
    EXPECT_EQ(update(*shortUnit, "1"), 10000);
    EXPECT_TRUE(road.balanced());
}

// Integer entries of plain width are written as the integer of that width.
TEST_F(UpdateTreeNodeTest, PlainWidthIntegerEntriesAndEnumerations)
{
    struct Case {
        TYPE_INDEX type;
        const char* text;
        const char* stored;
    };
    const TYPE_INDEX int4 = host.records().integerType(32, false);
    const Case cases[] = {
        {host.records().integerType(8, false), "300", "2CEE"},
        {host.records().integerType(16, false), "-2", "FFFEEE"},
        {int4, "-2", "FFFFFFFEEE"},
        {host.records().integerType(64, true), "-2", "FFFFFFFFFFFFFFFEEE"},
        {host.records().enumType("e", int4, {}), "-1", "FFFFFFFFEE"},
    };
    for (const Case& c : cases) {
        host.memory().fill(0x2000, 9, 0xEE);
        auto node = at(TypeItem(c.type), 0x2000);
        EXPECT_EQ(update(*node, c.text), 0) << c.stored;
        const auto expected = fromHex(c.stored);
        EXPECT_EQ(memory(0x2000, static_cast<std::uint32_t>(expected.size())), expected);
    }
}

// The element of a shared array is updated with the value of the node's own
// name, at the address given.
TEST_F(UpdateTreeNodeTest, SharedVariableElements)
{
    struct Case {
        std::uint16_t validate, evaluate, status;
        const char* trace;
    };
    const Case cases[] = {
        {0, 0, 0, nullptr},
        {1001, 0, 11043, "Attempt to update static element 3 with side effect"},
        {0, 11050, 11042, "Attempt to update static element 3 with auto variable"},
        {9, 0, 10000, nullptr},
    };
    SVCTestSeam::setTrace(true);
    host.setTraceSwitch(true);
    for (const Case& c : cases) {
        road = TestRoad();
        road.validateStatus = c.validate;
        road.evaluateStatus = c.evaluate;
        host.memory().fill(0x2100, 4, 0xEE);
        auto node = root(TypeItem(130u), " 7 // the value");
        DebuggeeAddress element(std::uint64_t(0x2100), 4);
        EXPECT_EQ(node->updateSharedVariableElement(context, 3, element, 0), c.status);
        EXPECT_EQ(road.texts.back(), "7");
        EXPECT_EQ(host.memory().bigEndian(0x2100, 4), c.status == 0 ? 7u : 0xEEEEEEEEu);
        EXPECT_EQ(node->location().address().addr(), 0x2100u);
        if (c.trace != nullptr) {
            EXPECT_TRUE(host.traced(c.trace)) << c.trace;
        }
        EXPECT_TRUE(road.balanced());
        EXPECT_EQ(EvaluationEnvironment::currentOrNull(), &rep());
    }
}

// A Fortran allocatable is written where its descriptor locates the data,
// in the form of its object's primitive.
TEST_F(UpdateTreeNodeTest, AllocatablesAreWrittenWhereTheirDataIs)
{
    TYPE_INDEX alloc{};
    TNf90allocatable& a = host.records().newType(TE_F90_ALLOCATABLE, &alloc).f90allocatable;
    a.objectType = TYPE_INDEX{0, 130};
    a.dataLocation = host.records().dwarfBlock(dwarf::Builder().pushObjectAddress().plusUconst(16).bytes());
    host.memory().fill(0x2000, 32, 0xEE);
    auto node = at(TypeItem(alloc), 0x2000);
    EXPECT_EQ(update(*node, "-2"), 0);
    EXPECT_EQ(memory(0x2010, 5), fromHex("FFFFFFFEEE"));
    EXPECT_EQ(memory(0x2000, 4), fromHex("EEEEEEEE"));

    // An object that is no primitive cannot be written from text.
    TYPE_INDEX structured{};
    TNf90allocatable& b = host.records().newType(TE_F90_ALLOCATABLE, &structured).f90allocatable;
    b.objectType = host.records().charstringType(4);
    b.dataLocation = a.dataLocation;
    auto other = at(TypeItem(structured), 0x2000);
    EXPECT_EQ(update(*other, "1"), 10002);
    EXPECT_TRUE(road.balanced());
}

class UpdatePointerTest : public UpdateTest {
protected:
    UpdatePointerTest() : UpdateTest(languageC, 8) {}
};

// A 4-byte pointer in a 64-bit program is written with its own width; a
// string goes where the pointer points and the pointer keeps its value.
TEST_F(UpdatePointerTest, PointersKeepTheirOwnWidth)
{
    const TypeItem pointer4(host.records().pointerType(TYPE_INDEX{0, 148}, 4));
    host.memory().store(0x3000, {0x00, 0x00, 0x40, 0x00, 0x99, 0x99, 0x99, 0x99});
    host.memory().fill(0x4000, 8, 0xEE);
    auto node = at(pointer4, 0x3000);
    ASSERT_TRUE(node->loadAt(0x3000));
    EXPECT_EQ(update(*node, "\"hi\"", 6), 0);
    EXPECT_EQ(memory(0x4000, 4), (std::vector<std::uint8_t>{'h', 'i', 0, 0xEE}));
    EXPECT_EQ(memory(0x3000, 8), (std::vector<std::uint8_t>{0x00, 0x00, 0x40, 0x00, 0x99, 0x99, 0x99, 0x99}));

    EXPECT_EQ(update(*node, "0x5000"), 0);
    EXPECT_EQ(memory(0x3000, 8), (std::vector<std::uint8_t>{0x00, 0x00, 0x50, 0x00, 0x99, 0x99, 0x99, 0x99}));

    // A pointer to shared data: a value that is no fat pointer cannot be
    // written to it.
    TYPE_INDEX shared{};
    TNpointer& sp = host.records().newType(TE_POINTER, &shared).pointer;
    sp.flags = TNpointer_Bytes8 | TNpointer_ToShared;
    sp.target = TYPE_INDEX{0, 130};
    sp.name = host.records().text("");
    auto toShared = at(TypeItem(shared), 0x3000);
    EXPECT_EQ(update(*toShared, "0x5000"), 10002);

    const TypeItem pointer8(host.records().pointerType(TYPE_INDEX{0, 148}, 8));
    auto wide = at(pointer8, 0x3000);
    EXPECT_EQ(update(*wide, "0x123456789"), 0);
    EXPECT_EQ(memory(0x3000, 8), (std::vector<std::uint8_t>{0, 0, 0, 1, 0x23, 0x45, 0x67, 0x89}));
    EXPECT_TRUE(road.balanced());
}

// The primitive forms that carry no C compiler's oracle: the second long
// double layout, decimal and hexadecimal floating point, complex values.
TEST_F(UpdateTreeNodeTest, PrimitiveValuesOfEveryFloatingForm)
{
    UpdateTreeNode::PrimitiveTypeBuffer buffer{};
    StackItemD value(rep(), FloatNumber(static_cast<long double>(-2.5)));
    ASSERT_EQ(UpdateTreeNode::getPrimitiveValue(value, buffer, 139), Extended12::slotSize);
    EXPECT_EQ(Extended12::decode(buffer.bytes), -2.5L);
    EXPECT_EQ(buffer.bytes[10], 0);
    EXPECT_EQ(buffer.bytes[11], 0);

    StackItemComplexD complex(rep(), FloatNumber(static_cast<long double>(1.5)),
                              FloatNumber(static_cast<long double>(-0.25)), FloatNumber::IEEE);
    ASSERT_EQ(UpdateTreeNode::getPrimitiveValue(complex, buffer, 143), 2 * Extended12::slotSize);
    EXPECT_EQ(Extended12::decode(buffer.bytes), 1.5L);
    EXPECT_EQ(Extended12::decode(buffer.bytes + Extended12::slotSize), -0.25L);

    struct Case {
        unsigned index;
        const char* bytes;
    };
    const Case cases[] = {
        {196, "C1280000"}, // -2.5 hexadecimal, 4 bytes
        {197, "C128000000000000"},
        {140, "3FC00000BE800000"}, // 1.5 - 0.25i
        {141, "3FF8000000000000BFD0000000000000"},
        {204, "4118000000000000C040000000000000"},
        {159, "22500025"}, // 25 as decimal32 (densely packed)
        {192, "2238000000000025"},
        {193, "22080000000000000000000000000025"},
        {131, ""},
        {151, ""},
    };
    StackItemS4 twentyFive(rep(), 25);
    for (const Case& c : cases) {
        StackItem& v = c.index >= 159 && c.index <= 193 && c.index != 196 && c.index != 197
                           ? static_cast<StackItem&>(twentyFive)
                       : (c.index == 196 || c.index == 197) ? static_cast<StackItem&>(value)
                                                            : static_cast<StackItem&>(complex);
        const auto expected = fromHex(c.bytes);
        ASSERT_EQ(UpdateTreeNode::getPrimitiveValue(v, buffer, c.index), expected.size()) << c.index;
        EXPECT_EQ(std::vector<std::uint8_t>(buffer.bytes, buffer.bytes + expected.size()), expected) << c.index;
    }
    auto node = at(TypeItem(131u), 0x2000);
    EXPECT_EQ(update(*node, "1"), 10002);
}

} // namespace
