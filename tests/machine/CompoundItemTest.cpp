#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AddressFixture.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/FloatNumber.h"
#include "machine/StackItemAddress.h"
#include "machine/StackItemCompound.h"
#include "machine/StackItemS.h"
#include "machine/StackItemU.h"
#include "services/InvalidOp.h"

// Compound items: bit fields read and stored in the big-endian unit gcc
// uses, COBOL group text compares and conversions, enumerations and common
// blocks.

namespace {

class CompoundItemTest : public AddressFixture {
protected:
    // A compound item of the type loaded from bytes stored at address.
    std::unique_ptr<StackItemCompound> loaded(TYPE_INDEX type, std::uint64_t address,
                                              const std::vector<std::uint8_t>& bytes)
    {
        host.memory().store(address, bytes);
        auto item = std::make_unique<StackItemCompound>(rep(), TypeItem(type));
        item->load(DebuggeeLocation(DebuggeeAddress(address, 4)));
        return item;
    }

    TYPE_INDEX group(UBYTE4 size)
    {
        HostRecordStore::ClassSpec spec;
        spec.name = "G" + std::to_string(size);
        spec.byteSize = size;
        spec.leaf = TE_GROUP;
        return records().classType(spec);
    }
};

struct OracleRow {
    unsigned offset, width;
    bool isSigned;
    unsigned unit;
    long long value;
    std::vector<std::uint8_t> bytes;
    std::string text;
};

std::vector<OracleRow> bitFieldTable()
{
    const char* dir = std::getenv("NORVEXA_TEST_DATA");
    std::ifstream in(std::string(dir != nullptr ? dir : "tests/machine/data") + "/bitfield_oracle.tsv");
    std::vector<OracleRow> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line[0] == 'o')
            continue;
        std::istringstream fields(line);
        OracleRow row;
        char sign = 0;
        std::string hex;
        fields >> row.offset >> row.width >> sign >> row.unit >> row.value >> hex;
        row.isSigned = sign == 's';
        for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
            row.bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
        row.text = line;
        rows.push_back(row);
    }
    return rows;
}

const std::vector<std::uint8_t> a5(8, 0xA5);

} // namespace

TEST_F(CompoundItemTest, BitFieldsReadAndStoreAsGccLaysThemOut)
{
    const std::vector<OracleRow> rows = bitFieldTable();
    ASSERT_GT(rows.size(), 2000u) << "the table bitfield_oracle.tsv was not found or is cut short";
    const std::uint64_t address = 0x20000;
    for (const OracleRow& row : rows) {
        ASSERT_EQ(TypeItem::bitFieldUnit(row.offset, row.width), row.unit) << row.text;
        const TYPE_INDEX type = records().integerType(row.width, !row.isSigned, static_cast<UBYTE1>(row.offset));

        // Read back: the value gcc stored, signed or not as the field is.
        auto item = loaded(type, address, row.bytes);
        EXPECT_EQ(item->asSigned(), row.value) << row.text;
        const std::uint64_t mask = (std::uint64_t{1} << row.width) - 1;
        EXPECT_EQ(item->asUnsigned(), static_cast<std::uint64_t>(row.value) & mask) << row.text;
        EXPECT_EQ(item->isZero(), row.value == 0) << row.text;

        // Stored as a member over A5 bytes: gcc's bytes, nothing else written.
        host.memory().store(address, a5);
        SymbolItem member("f", *scope);
        member.setDataType(TypeItem(type));
        stack().push(new StackItemAddress(rep(), static_cast<unsigned long long>(address),
                                          TypeItem(records().pointerType(type, 4))));
        // The value converted to the member's type first, as the byte code
        // does (a field of plain width at offset 0 is a plain integer).
        stack().push(new StackItemS8(rep(), row.value));
        stack().genConvert(TypeItem(type));
        host.clearCalls();
        stack().genStoreMember(member);
        EXPECT_EQ(host.memory().bytes(address, row.unit), row.bytes) << row.text;
        const auto writes = host.callsTo(HS_Expr2WriteMemory);
        ASSERT_EQ(writes.size(), 1u) << row.text;
        EXPECT_EQ(stack().count(), 0u) << row.text;
    }
}

TEST_F(CompoundItemTest, BitFieldGeometryAndShortStorage)
{
    // A 3-bit field at offset 4 holding 101: 5 unsigned, -3 signed; marked
    // unsigned it reads 5 either way.
    auto field = loaded(records().integerType(3, false, 4), 0x20000, {0x0A});
    EXPECT_EQ(field->asUnsigned(), 5u);
    EXPECT_EQ(field->asSigned(), -3);
    EXPECT_EQ(static_cast<long double>(field->asLongDouble()), -3.0L);
    EXPECT_EQ(static_cast<long double>(field->imaginaryPart()), 0.0L);
    auto unsignedField = loaded(records().integerType(3, true, 4), 0x20000, {0x0A});
    EXPECT_EQ(unsignedField->asSigned(), 5);

    // A 1-byte field reads its one byte only: the bytes after it are
    // unreadable, and a zero unit stands in for them.
    host.memory().markUnreadable(0x30001, 16);
    auto oneByte = loaded(records().integerType(4, true, 2), 0x30000, {0x3C});
    EXPECT_EQ(oneByte->size(), 1u);
    EXPECT_EQ(oneByte->asUnsigned(), 0xFu);

    // Bad geometry and no bytes at all are refused.
    for (auto [width, offset] : {std::pair{33u, 0u}, {0u, 0u}, {20u, 50u}}) {
        StackItemCompound bad(rep(), TypeItem(records().integerType(width, true, static_cast<UBYTE1>(offset))));
        EXPECT_EQ(raisedCode([&] { (void)bad.bitstringValue(1); }), InvalidOp::RTRC_NotSupported) << width;
    }
    StackItemCompound unread(rep(), TypeItem(records().integerType(3, true, 4)));
    EXPECT_EQ(raisedCode([&] { (void)unread.asUnsigned(); }), InvalidOp::RTRC_NotSupported);
}

TEST_F(CompoundItemTest, GroupsCompareAsTextPaddedWithSpaces)
{
    // EBCDIC A B C D E = C1 C2 C3 C4 C5.
    struct Case {
        std::vector<std::uint8_t> left, right;
        int order; // left against right
    } cases[] = {
        {{0xC1, 0xC2, 0xC3, 0x40, 0x40}, {0xC1, 0xC2, 0xC3}, 0},
        {{0xC1, 0xC2, 0xC3}, {0xC1, 0xC2, 0xC3, 0x40, 0x40}, 0},
        {{0xC1, 0xC2, 0xC3, 0xC4, 0xC5}, {0xC1, 0xC2, 0xC3}, 1},
        {{0xC1, 0xC2, 0xC3}, {0xC1, 0xC2, 0xC3, 0xC4, 0xC5}, -1},
        {{0xC1, 0xC2}, {0xC1, 0xC2, 0x3F}, 1},
        {{0xC1, 0xC2, 0x3F}, {0xC1, 0xC2}, -1},
        {{0x81}, {0xC1}, -1}, // unsigned bytes
    };
    for (const Case& c : cases) {
        auto left = loaded(group(static_cast<UBYTE4>(c.left.size())), 0x20000, c.left);
        auto right = loaded(group(static_cast<UBYTE4>(c.right.size())), 0x21000, c.right);
        EXPECT_EQ(left->genEQ(*right), c.order == 0);
        EXPECT_EQ(left->genNE(*right), c.order != 0);
        EXPECT_EQ(left->genLT(*right), c.order < 0);
        EXPECT_EQ(left->genLE(*right), c.order <= 0);
        EXPECT_EQ(left->genGT(*right), c.order > 0);
        EXPECT_EQ(left->genGE(*right), c.order >= 0);
    }
    // A group has no numeric value.
    auto g = loaded(group(2), 0x20000, {1, 2});
    EXPECT_EQ(raisedCode([&] { (void)g->asUnsigned(); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { (void)g->isZero(); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(raisedCode([&] { g->genAdd(*g); }), InvalidOp::RTRC_IncompatTypes);
}

TEST_F(CompoundItemTest, GroupConversions)
{
    // Into a 5-byte group: an 8-byte source is cut, a 3-byte one padded.
    auto eight = loaded(group(8), 0x20000, {1, 2, 3, 4, 5, 6, 7, 8});
    StackItemCompound cut(rep(), TypeItem(group(5)));
    cut.genConvert(*eight);
    EXPECT_EQ(std::vector<std::uint8_t>(static_cast<std::uint8_t*>(cut.resultBuffer()),
                                        static_cast<std::uint8_t*>(cut.resultBuffer()) + 5),
              (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
    auto three = loaded(group(3), 0x21000, {0xC1, 0xC2, 0xC3});
    StackItemCompound padded(rep(), TypeItem(group(5)));
    padded.genConvert(*three);
    EXPECT_EQ(std::vector<std::uint8_t>(static_cast<std::uint8_t*>(padded.resultBuffer()),
                                        static_cast<std::uint8_t*>(padded.resultBuffer()) + 5),
              (std::vector<std::uint8_t>{0xC1, 0xC2, 0xC3, 0x40, 0x40}));

    // Group to binary takes the big-endian bytes with their sign: FF 85 is
    // -123 in a signed halfword; a group shorter than the binary item is
    // padded with spaces first.
    const TypeItem binary2(records().binaryType(2, 4, 0, true));
    auto ff85 = loaded(group(2), 0x22000, {0xFF, 0x85});
    EXPECT_EQ(static_cast<long long>(ff85->asFixedPointBinary(binary2.typeEntry()->binary)), -123);
    const TypeItem binary4(records().binaryType(4, 9, 0, false));
    EXPECT_EQ(static_cast<unsigned long long>(ff85->asFixedPointBinary(binary4.typeEntry()->binary)), 0xFF854040ull);
    TNfixed_point_binary odd = binary2.typeEntry()->binary;
    odd.byteLength = 3;
    EXPECT_EQ(raisedCode([&] { (void)ff85->asFixedPointBinary(odd); }), InvalidOp::RTRC_IncompatTypes);

    // Character text: padded to the record's length, a longer text whole.
    const TypeItem chars4(records().charstringType(4));
    const ByteString text = three->asCharstring(chars4.typeEntry()->charstring);
    EXPECT_EQ(text.length(), 4u);
    EXPECT_EQ(text[3], 0x40);
    EXPECT_EQ(eight->asCharstring(chars4.typeEntry()->charstring).length(), 8u);
}

TEST_F(CompoundItemTest, EnumerationsAnswerThroughTheirUnderlyingItem)
{
    for (UBYTE4 leaf : {UBYTE4(TE_ENUM), UBYTE4(TE_ENUM2)}) {
        TYPE_INDEX index = records().enumType("colour", intType, {{"red", 0}, {"blue", -2}});
        _TYPE_ENTRY* entry = records().type(index);
        entry->leaf = leaf;
        auto item = loaded(index, 0x20000, {0xFF, 0xFF, 0xFF, 0xFE});
        ASSERT_NE(item->innerItem(), nullptr) << leaf;
        EXPECT_EQ(item->asSigned(), -2) << leaf;
        EXPECT_EQ(item->asUnsigned(), ~std::uint64_t{1}) << leaf; // the int's sign carried
        EXPECT_FALSE(item->isZero()) << leaf;
        EXPECT_EQ(static_cast<long double>(item->asLongDouble()), -2.0L) << leaf;
        EXPECT_EQ(item->size(), 4u) << leaf;

        // A conversion goes into the inner item; compares take its bytes.
        StackItemCompound converted(rep(), TypeItem(index));
        converted.genConvert(StackItemS1(rep(), 7));
        EXPECT_EQ(converted.asSigned(), 7) << leaf;
        StackItemCompound copy(*item);
        EXPECT_EQ(copy.asSigned(), -2) << leaf;
        EXPECT_TRUE(item->genEQ(copy)) << leaf;
        EXPECT_TRUE(converted.genLT(*item)) << leaf;
    }
}

TEST_F(CompoundItemTest, CommonBlockHasNoBytes)
{
    TYPE_INDEX list{};
    _TYPE_ENTRY& entry = records().newType(TE_LIST, &list);
    entry.list.kind = TE_LIST_TYPES;
    StackItemCompound block(rep(), TypeItem(list));
    EXPECT_EQ(block.size(), 0u);
    host.clearCalls();
    block.load(DebuggeeLocation(DebuggeeAddress(std::uint64_t{0x20000}, 4)));
    EXPECT_EQ(host.callCount(HS_Expr2ReadMemory), 0u);
    EXPECT_TRUE(block.hasValue());
}
