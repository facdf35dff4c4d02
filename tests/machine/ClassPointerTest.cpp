// Base-class parts inside C++ objects: fixed offsets, location expressions,
// virtual bases by pointer and by table; and the conversions of pointers up
// and down a hierarchy, checked against the offsets g++ gives the same
// hierarchy (a frozen table).

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "AddressFixture.h"
#include "machine/BaseClassLocation.h"
#include "machine/StackItemAddress.h"
#include "services/DebuggeeAddress.h"
#include "testhost/DwarfExpression.h"
#include "types/CreatedTypeItem.h"

namespace {

class ClassPointerTest : public AddressFixture {
protected:
    TYPE_INDEX plainClass(const std::string& name, UBYTE4 size = 4)
    {
        return records().classOfFields(name, size, {records().memberRecord(name + "_m", intType, 0)});
    }

    // The address a pointer to `to` holds after converting a pointer to
    // `from` holding value.
    std::uint64_t convert(TYPE_INDEX from, std::uint64_t value, TYPE_INDEX to)
    {
        StackItemAddress source(rep(), static_cast<unsigned long long>(value),
                                TypeItem(records().pointerType(from, 4)));
        StackItemAddress target(rep(), TypeItem(records().pointerType(to, 4)));
        target.genConvert(source);
        return target.asUnsigned();
    }

    // Points a class's record at another field list (the record is packed:
    // its type index is copied bytewise).
    void setFieldList(TYPE_INDEX klass, TYPE_INDEX list)
    {
        std::memcpy(reinterpret_cast<unsigned char*>(records().type(klass)) + offsetof(TNclass, fieldList), &list,
                    sizeof list);
    }

    std::uint64_t located(std::uint64_t object, unsigned width, TYPE_INDEX record, TYPE_INDEX derived)
    {
        const DebuggeeAddress at =
            baseClassLocation(DebuggeeAddress(object, int(width)), TypeItem(record), TypeItem(derived));
        EXPECT_EQ(at.bytes(), width);
        return at.addr();
    }
};

} // namespace

TEST_F(ClassPointerTest, FixedOffsetAtBothWidths)
{
    const TYPE_INDEX a = plainClass("A");
    const TYPE_INDEX record = records().baseRecord(a, 8);
    const TYPE_INDEX d = records().classOfFields("D", 16, {record});
    EXPECT_EQ(located(4096, 4, record, d), 4104u);
    EXPECT_EQ(located(4096, 8, record, d), 4104u);
    // Width 4 wraps.
    EXPECT_EQ(located(0xFFFFFFFCu, 4, record, d), 4u);
}

TEST_F(ClassPointerTest, LocationExpressionIsEvaluatedWithTheObjectPushedFirst)
{
    const TYPE_INDEX a = plainClass("A");
    // The expression alone adds 24 to what is on the stack: only the object
    // address pushed before it gives a result.
    const std::vector<UBYTE1> expression = dwarf::Builder().plusUconst(24).bytes();
    const TYPE_INDEX record = records().baseRecordAt(a, expression);
    const TYPE_INDEX d = records().classOfFields("D", 32, {record});
    host.clearCalls();
    EXPECT_EQ(located(0x5000, 4, record, d), 0x5018u);
    const auto calls = host.callsTo(HS_Expr2ComputeDWARFaddress);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_NE(calls[0].arguments.find("length=" + std::to_string(expression.size() + 1)), std::string::npos)
        << calls[0].arguments;
}

TEST_F(ClassPointerTest, VirtualBases)
{
    const TYPE_INDEX v = plainClass("V");
    const TYPE_INDEX pointerToV = records().pointerType(v, 4);
    const TYPE_INDEX virtualRecord = records().baseRecord(v, 0, TNbaseclass_Virtual);

    // By pointer: the object holds the base's address at the member's offset.
    const TYPE_INDEX byPointer = records().classOfFields(
        "P", 16,
        {virtualRecord,
         records().memberRecord("other", records().pointerType(intType, 4), 0, TNclassmember_VirtualBasePointer),
         records().memberRecord("vbase", pointerToV, 4, TNclassmember_VirtualBasePointer)});
    host.memory().storeBigEndian(0x6004, 0x9000, 4);
    EXPECT_EQ(located(0x6000, 4, virtualRecord, byPointer), 0x9000u);

    // By table: the object's table pointer, then the slot that holds the
    // base's offset.
    const TYPE_INDEX byTable = records().classOfFields(
        "T", 16,
        {virtualRecord,
         records().memberRecord("vptr", records().pointerType(intType, 4), 0, TNclassmember_VirtualTablePointer),
         records().memberRecord("slot", pointerToV, 12, TNclassmember_VirtualBasePointer)},
        TNclass_Struct | TNclass_VirtualBaseTable);
    host.memory().storeBigEndian(0x7000, 0xA000, 4);
    host.memory().storeBigEndian(0xA00C, 20, 4);
    EXPECT_EQ(located(0x7000, 4, virtualRecord, byTable), 0x7014u);

    // Missing pointer members: no place, address 0.
    const TYPE_INDEX bare = records().classOfFields("N", 8, {virtualRecord});
    EXPECT_EQ(located(0x6000, 4, virtualRecord, bare), 0u);
    const TYPE_INDEX tableOnly =
        records().classOfFields("TO", 8,
                                {virtualRecord, records().memberRecord("vptr", records().pointerType(intType, 4), 0,
                                                                       TNclassmember_VirtualTablePointer)},
                                TNclass_Struct | TNclass_VirtualBaseTable);
    EXPECT_EQ(located(0x7000, 4, virtualRecord, tableOnly), 0u);
}

TEST_F(ClassPointerTest, RecordsThatAreNoBaseGiveAddressZero)
{
    const TYPE_INDEX a = plainClass("A");
    const TYPE_INDEX member = records().memberRecord("m", intType, 8);
    const TYPE_INDEX record = records().baseRecord(a, 8);
    const TYPE_INDEX d = records().classOfFields("D", 16, {record, member});
    EXPECT_EQ(located(4096, 4, member, d), 0u);
    EXPECT_EQ(located(4096, 8, record, intType), 0u);
    EXPECT_EQ(located(4096, 4, record, records().pointerType(d, 4)), 0u);
}

TEST_F(ClassPointerTest, ConversionsAgreeWithTheOffsetsGppGivesTheSameHierarchy)
{
    const char* dir = std::getenv("NORVEXA_TEST_DATA");
    std::ifstream in(std::string(dir != nullptr ? dir : "tests/machine/data") + "/class_offsets.tsv");
    ASSERT_TRUE(in.good());
    std::map<std::string, UBYTE4> sizes;
    std::map<std::string, std::vector<std::pair<std::string, UBYTE4>>> bases;
    std::vector<std::tuple<std::string, std::string, std::uint64_t>> casts;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream row(line);
        std::string kind, first, second, third;
        row >> kind >> first >> second >> third;
        if (kind == "size")
            sizes[first] = UBYTE4(std::stoul(second));
        else if (kind == "direct")
            bases[first].emplace_back(second, UBYTE4(std::stoul(third)));
        else if (kind == "cast")
            casts.emplace_back(first, second, std::stoull(third));
    }
    ASSERT_GE(casts.size(), 4u);

    // Bases before the classes made of them: A, B and E have none.
    std::map<std::string, TYPE_INDEX> classes;
    for (const char* name : {"A", "B", "E", "C", "D"}) {
        std::vector<TYPE_INDEX> fields;
        for (const auto& [base, offset] : bases[name])
            fields.push_back(records().baseRecord(classes.at(base), offset));
        fields.push_back(records().memberRecord(std::string(name) + "_last", intType, sizes[name] - 4));
        classes[name] = records().classOfFields(name, sizes[name], fields);
    }

    for (unsigned width : {4u, 8u}) {
        use(languageCPP, width);
        const std::uint64_t object = width == 8 ? 0x1234500000ull : 0x45000;
        for (const auto& [from, to, offset] : casts) {
            StackItemAddress source(rep(), static_cast<unsigned long long>(object),
                                    TypeItem(records().pointerType(classes.at(from), width)));
            StackItemAddress base(rep(), TypeItem(records().pointerType(classes.at(to), width)));
            base.genConvert(source);
            EXPECT_EQ(base.asUnsigned(), object + offset) << from << " to " << to << " at " << width;
            StackItemAddress back(rep(), TypeItem(records().pointerType(classes.at(from), width)));
            back.genConvert(base);
            EXPECT_EQ(back.asUnsigned(), object) << to << " back to " << from << " at " << width;
        }
    }
}

TEST_F(ClassPointerTest, NullPointersConvertWithoutAnyClassWalk)
{
    // A class whose field list is no list: a walk would fail.
    const TYPE_INDEX broken = records().classOfFields("Broken", 8, {records().memberRecord("m", intType, 0)});
    setFieldList(broken, intType);
    const TYPE_INDEX other = plainClass("Other");
    EXPECT_EQ(convert(broken, 0, other), 0u);
    EXPECT_EQ(raisedCode([&] { convert(broken, 0x100, other); }), InvalidOp::RTRC_Other);
}

TEST_F(ClassPointerTest, NoWayBackThroughAVirtualBase)
{
    const TYPE_INDEX v = plainClass("V");
    const TYPE_INDEX d = records().classOfFields(
        "D", 16, {records().baseRecord(v, 8, TNbaseclass_Virtual), records().memberRecord("d", intType, 0)});
    EXPECT_EQ(raisedCode([&] { convert(v, 0x8008, d); }), InvalidOp::RTRC_ParserError);
    // Unrelated classes keep the address.
    EXPECT_EQ(convert(plainClass("X"), 0x8000, plainClass("Y")), 0x8000u);
}

TEST_F(ClassPointerTest, CyclicBaseListsEndAtTheDepthLimit)
{
    // K names itself as its own base.
    const TYPE_INDEX k = plainClass("K");
    const TYPE_INDEX selfBase = records().baseRecord(k, 0);
    const TYPE_INDEX shape = records().classOfFields("K2", 4, {selfBase, records().memberRecord("m", intType, 0)});
    const TYPE_INDEX shapeList = records().type(shape)->klass.fieldList;
    setFieldList(k, shapeList);
    records().type(k)->klass.memberCount = 2;
    EXPECT_EQ(raisedCode([&] { convert(k, 0x100, plainClass("Unrelated")); }), InvalidOp::RTRC_Other);
    // The walk is over: the next conversion is not refused for it.
    EXPECT_EQ(convert(plainClass("X"), 0x100, plainClass("Y")), 0x100u);
}

TEST_F(ClassPointerTest, ConversionsRepeatedInOneRepresentationAnswerAsTheFirst)
{
    // A class found to have no bases is remembered as such: every later
    // conversion, of whatever pair, must give what the first one gave.
    const TYPE_INDEX a = plainClass("A");
    const TYPE_INDEX e = plainClass("E");
    const TYPE_INDEX b = plainClass("B");
    const TYPE_INDEX d =
        records().classOfFields("D", 16, {records().baseRecord(b, 8), records().memberRecord("d", intType, 0)});
    const TYPE_INDEX v = plainClass("V");
    const TYPE_INDEX dv = records().classOfFields(
        "DV", 16, {records().baseRecord(v, 8, TNbaseclass_Virtual), records().memberRecord("d", intType, 0)});
    const TYPE_INDEX broken = records().classOfFields("Broken", 8, {records().memberRecord("m", intType, 0)});
    setFieldList(broken, intType);

    struct Case {
        const char* what;
        TYPE_INDEX from;
        std::uint64_t value;
        TYPE_INDEX to;
        std::uint64_t expected; // when code is 0
        int code;
    };
    const Case cases[] = {
        {"between classes without bases", a, 0x4000, e, 0x4000, 0},
        {"up to a base", d, 0x4000, b, 0x4008, 0},
        {"down from a base", b, 0x4008, d, 0x4000, 0},
        {"into a hierarchy it is not part of", a, 0x4000, d, 0x4000, 0},
        {"out of a hierarchy", d, 0x4000, a, 0x4000, 0},
        {"from a class whose field list is no list", broken, 0x100, a, 0, InvalidOp::RTRC_Other},
        {"into a class whose field list is no list", a, 0x100, broken, 0, InvalidOp::RTRC_Other},
        {"back through a virtual base", v, 0x8008, dv, 0, InvalidOp::RTRC_ParserError},
    };
    for (int round = 0; round < 3; ++round) {
        for (const Case& c : cases) {
            if (c.code != 0)
                EXPECT_EQ(raisedCode([&] { convert(c.from, c.value, c.to); }), c.code) << c.what << ", round " << round;
            else
                EXPECT_EQ(convert(c.from, c.value, c.to), c.expected) << c.what << ", round " << round;
        }
        // The later rounds run with the marks the first one left.
        EXPECT_TRUE(CreatedTypeItem::findOrCreateType(a)->listsNoBaseClasses());
        EXPECT_TRUE(CreatedTypeItem::findOrCreateType(b)->listsNoBaseClasses());
        EXPECT_FALSE(CreatedTypeItem::findOrCreateType(d)->listsNoBaseClasses());
        EXPECT_FALSE(CreatedTypeItem::findOrCreateType(broken)->listsNoBaseClasses());
    }
}

TEST_F(ClassPointerTest, TheNoBasesMarkGoesWithTheEntryItWasMadeFor)
{
    TypeItem type(plainClass("A"));
    ASSERT_NE(type.typeEntry(), nullptr);
    type.markNoBaseClasses();
    EXPECT_TRUE(type.listsNoBaseClasses());
    // A copy walks for itself; an item given another type forgets the mark.
    EXPECT_FALSE(TypeItem(type).listsNoBaseClasses());
    const TYPE_INDEX b = plainClass("B");
    type = b;
    type.typeEntry();
    EXPECT_FALSE(type.listsNoBaseClasses());
    TypeItem other(b);
    type = other;
    EXPECT_FALSE(type.listsNoBaseClasses());
}
