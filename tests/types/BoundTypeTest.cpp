// Bound types: the bound form of the run-time-shaped leaves, the symbol
// location passed on to targets, the structure-changed tests and the
// dynamic type of a Fortran pointer.

#include "testseam/SVCTestSeam.h"
#include "TypesFixture.h"

#include "HostRecordAccess.h"
#include "services/DebuggeeLocation.h"
#include "testhost/DwarfExpression.h"
#include "types/BoundFortranPointer.h"
#include "types/BoundTypeItem.h"

namespace {

using Member = HostRecordStore::Member;

class BoundTypeTest : public TypesTest {
protected:
    const DwarfBlock* block(const dwarf::Builder& b) { return records().dwarfBlock(b.bytes()); }
    const DwarfBlock* constant(std::uint64_t v) { return block(dwarf::Builder().constU(v)); }
    // A 4-byte big-endian word of the object, at an offset.
    const DwarfBlock* objectWord(unsigned offset)
    {
        return block(dwarf::Builder().pushObjectAddress().plusUconst(offset).derefSize(4));
    }
    static DebuggeeLocation at(std::uint64_t address) { return DebuggeeLocation(DebuggeeAddress(address, 4)); }

    // A Fortran pointer to target whose descriptor names the dynamic type
    // through the word at object + 0 (a pointer to the name text).
    TYPE_INDEX fortranPointer(TYPE_INDEX target)
    {
        TYPE_INDEX p;
        TNf90pointer& r = records().newType(TE_F90_POINTER, &p).f90pointer;
        r.targetType = target;
        r.dynamicTypeName = block(dwarf::Builder().pushObjectAddress());
        return p;
    }
};

TEST_F(BoundTypeTest, BoundFormsStandForTheHostIndex)
{
    TYPE_INDEX node = records().classType({.name = "node", .byteSize = 8});
    TypeItem pointer(records().pointerType(node, 4));
    const TypeItem* first = BoundTypeItem::getType(pointer);
    const TypeItem* second = BoundTypeItem::getType(pointer);
    ASSERT_NE(first, &pointer);
    EXPECT_NE(first, second) << "each symbol gets its own bound type";
    EXPECT_EQ(first->typeIndex(), pointer.typeIndex());
    EXPECT_EQ(second->typeIndex(), pointer.typeIndex());
    EXPECT_NE(first->unsimplifiedTypeIndex().index, second->unsimplifiedTypeIndex().index);
    EXPECT_EQ(first->unsimplifiedTypeIndex().module, 0xFFFFFFFFu);
    EXPECT_NE(first->boundTypeData(), nullptr);
    EXPECT_TRUE(first->hasFlag(TypeFlags::pointer));
    EXPECT_EQ(first->pointee().typeIndex(), node);
    EXPECT_STREQ(first->demangledTypeName(), "struct node*");
    // Outside Fortran the target is the created type kept under the host's
    // index (only Fortran targets are bound types of their own).
    EXPECT_TRUE(typeIndexEqual(first->typeEntry()->pointer.target, node));
    EXPECT_NE(first->typeEntry(), pointer.typeEntry()) << "the entry is a copy";

    // Types without a bound form are answered as they are.
    TypeItem plain(node);
    EXPECT_EQ(BoundTypeItem::getType(plain), &plain);
    TypeItem primitive(130u);
    EXPECT_EQ(BoundTypeItem::getType(primitive), &primitive);
    // Outside Fortran an index gives the created type, unbound.
    EXPECT_EQ(BoundTypeItem::getType(records().pointerType(node, 4))->boundTypeData(), nullptr);

    SVCTestSeam::setTrace(true);
    TYPE_INDEX odd;
    records().newType(99, &odd);
    TypeItem unknown(odd);
    EXPECT_EQ(BoundTypeItem::getType(unknown), &unknown);
    EXPECT_TRUE(host.traced("Unexpected bound type 99"));
}

TEST_F(BoundTypeTest, LocationsPassToBoundTargets)
{
    useLanguage(EvaluationEnvironment::languageFortran);
    // int** at 0x100 holding 0x200, which holds 0x300.
    host.memory().storeBigEndian(0x100, 0x200, 4);
    host.memory().storeBigEndian(0x200, 0x300, 4);
    TYPE_INDEX inner = records().pointerType(TYPE_INDEX{0, 130}, 4);
    TypeItem outer(records().pointerType(inner, 4));
    const TypeItem* bound = BoundTypeItem::getType(outer);
    bound->setSymbolLocation(at(0x100));
    EXPECT_EQ(bound->getSymbolLocation().address().addr(), 0x100u);
    const TypeItem* target = CreatedTypeItem::findSynthesizedType(TYPE_INDEX(bound->typeEntry()->pointer.target));
    ASSERT_NE(target, nullptr);
    ASSERT_NE(target->boundTypeData(), nullptr);
    EXPECT_EQ(target->getSymbolLocation().address().addr(), 0x200u) << "the object pointed to";

    // A pointer to a primitive keeps its target index and passes nothing.
    const TypeItem* toInt = CreatedTypeItem::findSynthesizedType(TYPE_INDEX(bound->typeEntry()->pointer.target));
    EXPECT_TRUE(typeIndexEqual(toInt->typeEntry()->pointer.target, TYPE_INDEX{0, 130}));

    // A descriptor array shares the symbol's location with its element.
    TYPE_INDEX element;
    TNf90descarray& e = records().newType(TE_F90_DESC_ARRAY, &element).f90descarray;
    e.elementType = TYPE_INDEX{0, 130};
    e.dimension = 2;
    TYPE_INDEX array;
    TNf90descarray& a = records().newType(TE_F90_DESC_ARRAY, &array).f90descarray;
    a.elementType = element;
    a.dimension = 1;
    const TypeItem* boundArray = BoundTypeItem::getType(TypeItem(array));
    boundArray->setSymbolLocation(at(0x800));
    const TypeItem* boundElement =
        CreatedTypeItem::findSynthesizedType(TYPE_INDEX(boundArray->typeEntry()->f90descarray.elementType));
    ASSERT_NE(boundElement, nullptr);
    EXPECT_EQ(boundElement->getSymbolLocation().address().addr(), 0x800u);
}

TEST_F(BoundTypeTest, SelfReferringRecordsStillGiveACompleteType)
{
    useLanguage(EvaluationEnvironment::languageFortran);
    TYPE_INDEX loop;
    TNpointer& p = records().newType(TE_POINTER, &loop).pointer;
    p.flags = TNpointer_Bytes4;
    p.target = loop;
    p.name = records().text("");
    TypeItem pointer(loop);
    const TypeItem* bound = BoundTypeItem::getType(pointer);
    ASSERT_NE(bound, &pointer);
    EXPECT_TRUE(bound->isConstructed());
    EXPECT_TRUE(bound->hasFlag(TypeFlags::pointer));
    EXPECT_EQ(invalidOpCode([&] { bound->demangledTypeName(); }), InvalidOp::RTRC_Other);
    // The environment still owns every type it holds: a reset deletes them.
    other->reset();
    EXPECT_EQ(other->createdTypes().count(), 0u);
}

TEST_F(BoundTypeTest, DescriptorBoundsAreReadFromTheSymbol)
{
    useLanguage(EvaluationEnvironment::languageFortran);
    TYPE_INDEX array;
    TNf90descarray& a = records().newType(TE_F90_DESC_ARRAY, &array).f90descarray;
    a.elementType = TYPE_INDEX{0, 130};
    a.dimension = 1;
    a.rank = 1;
    a.lowerBound = objectWord(0);
    a.upperBound = objectWord(4);
    a.dataLocation = block(dwarf::Builder().pushObjectAddress().plusUconst(8).derefSize(4));
    host.memory().storeBigEndian(0x900, 1, 4);
    host.memory().storeBigEndian(0x904, 5, 4);
    host.memory().storeBigEndian(0x908, 0x4000, 4);

    TypeItem declared(array);
    const TypeItem* bound = BoundTypeItem::getType(declared);
    bound->setSymbolLocation(at(0x900));
    TypeItem::Dimension d;
    bound->getDimension(d);
    EXPECT_EQ(d.lower, 1);
    EXPECT_EQ(d.count, 5);
    EXPECT_EQ(bound->typeSize(), 20u);
    EXPECT_EQ(bound->getDataAddress(at(0x900)).addr(), 0x4000u);

    // The name shows the bounds; a changed upper bound changes it once.
    EXPECT_FALSE(bound->hasTypeStructureChanged()) << "no name made yet";
    EXPECT_STREQ(bound->demangledTypeName(), "int(1:5)");
    EXPECT_FALSE(bound->hasTypeStructureChanged());
    host.memory().storeBigEndian(0x904, 9, 4);
    EXPECT_TRUE(bound->hasTypeStructureChanged());
    EXPECT_STREQ(bound->demangledTypeName(), "int(1:9)");
    EXPECT_FALSE(bound->hasTypeStructureChanged());
}

TEST_F(BoundTypeTest, CobolTableNameFollowsItsCount)
{
    TYPE_INDEX table;
    TNcobolTable& t = records().newType(TE_COBOL_TABLE, &table).cobolTable;
    t.countWidth = 1;
    t.elementType = TYPE_INDEX{0, 129};
    t.countBlock = block(dwarf::Builder().pushObjectAddress());
    host.memory().storeBigEndian(0xA00, 3, 2);
    useLanguage(EvaluationEnvironment::languageCOBOL);
    const TypeItem* bound = BoundTypeItem::getType(TypeItem(table));
    bound->setSymbolLocation(at(0xA00));
    EXPECT_FALSE(bound->hasTypeStructureChanged()) << "a name not made yet is no change";
    EXPECT_STREQ(bound->demangledTypeName(), "short OCCURS 3");
    host.memory().storeBigEndian(0xA00, 4, 2);
    EXPECT_TRUE(bound->hasTypeStructureChanged());
}

TEST_F(BoundTypeTest, FortranPointerTakesItsDynamicType)
{
    useLanguage(EvaluationEnvironment::languageFortran);
    TYPE_INDEX shape = records().classType(
        {.name = "shape", .byteSize = 4, .members = {Member{.name = "x", .type = {0, 130}, .offset = 0}}});
    records().classType(
        {.name = "circle", .byteSize = 8, .members = {Member{.name = "r", .type = {0, 136}, .offset = 4}}});
    TypeItem declared(fortranPointer(shape));
    const TypeItem* bound = BoundTypeItem::getType(declared);
    ASSERT_NE(bound->boundTypeData(), nullptr);

    // The descriptor at 0xB00 points to the text "circle".
    const char circle[] = "circle";
    host.memory().store(0xC00, circle, sizeof circle);
    host.memory().storeBigEndian(0xB00, 0xC00, 4);
    bound->setSymbolLocation(at(0xB00));
    EXPECT_FALSE(bound->hasTypeStructureChanged()) << "the first display type is no change";
    const BoundFortranPointerData& data = static_cast<const BoundFortranPointer*>(bound)->pointerData();
    ASSERT_NE(data.displayType(), nullptr);
    EXPECT_STREQ(data.displayType()->typeEntry()->klass.name, "circle");
    EXPECT_STREQ(bound->pointee().typeEntry()->klass.name, "circle");
    EXPECT_FALSE(bound->hasTypeStructureChanged());

    // The descriptor now names the declared class again.
    const char shapeName[] = "shape";
    host.memory().store(0xC00, shapeName, sizeof shapeName);
    EXPECT_TRUE(bound->hasTypeStructureChanged());
    EXPECT_STREQ(data.displayType()->typeEntry()->klass.name, "shape");
}

TEST_F(BoundTypeTest, FortranPointerFallsBackToItsDeclaredType)
{
    useLanguage(EvaluationEnvironment::languageFortran);
    TYPE_INDEX shape = records().classType(
        {.name = "shape", .byteSize = 4, .members = {Member{.name = "x", .type = {0, 130}, .offset = 0}}});
    struct Case {
        const char* what;
        std::vector<std::uint8_t> text;
    };
    const Case cases[] = {
        {"a class the host does not know", {'h', 'e', 'x', 0}},
        {"a name without terminator", std::vector<std::uint8_t>(600, 'a')},
        {"an empty name", {0}},
    };
    for (const Case& c : cases) {
        host.memory().store(0xD00, c.text);
        host.memory().storeBigEndian(0xB00, 0xD00, 4);
        const TypeItem* bound = BoundTypeItem::getType(TypeItem(fortranPointer(shape)));
        bound->setSymbolLocation(at(0xB00));
        bound->hasTypeStructureChanged();
        const BoundFortranPointerData& data = static_cast<const BoundFortranPointer*>(bound)->pointerData();
        ASSERT_NE(data.displayType(), nullptr) << c.what;
        EXPECT_EQ(data.displayType()->typeIndex(), shape) << c.what;
        EXPECT_EQ(bound->pointee().typeIndex(), shape) << c.what;
    }
    // Unreadable descriptor memory also leaves the declared type.
    const TypeItem* bound = BoundTypeItem::getType(TypeItem(fortranPointer(shape)));
    bound->setSymbolLocation(at(0xE00));
    EXPECT_EQ(bound->pointee().typeIndex(), shape);
}

} // namespace
