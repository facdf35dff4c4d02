// Type navigation: pointer targets, referents, ranks, array dimensions (C
// arrays, COBOL tables with a run-time count, Fortran descriptors), Fortran
// allocation tests, UPC sharing, class questions, function information, the
// tree-change hint, and locations moved through pointer types.

#include "TypesFixture.h"

#include <vector>

#include "services/DebuggeeLocation.h"
#include "testhost/DwarfExpression.h"

namespace {

using Member = HostRecordStore::Member;
using Base = HostRecordStore::Base;

class TypeNavigationTest : public TypesTest {
protected:
    const DwarfBlock* block(const dwarf::Builder& b) { return records().dwarfBlock(b.bytes()); }
    const DwarfBlock* constant(std::uint64_t v) { return block(dwarf::Builder().constU(v)); }

    // A Fortran descriptor array entry for one dimension.
    TYPE_INDEX descriptor(TYPE_INDEX element, UBYTE2 dimension, UBYTE2 rank)
    {
        TYPE_INDEX t;
        TNf90descarray& r = records().newType(TE_F90_DESC_ARRAY, &t).f90descarray;
        r.elementType = element;
        r.dimension = dimension;
        r.rank = rank;
        return t;
    }

    // A COBOL table of 2-byte elements whose count is found by a block.
    TYPE_INDEX cobolTable(UBYTE1 width, const DwarfBlock* count)
    {
        TYPE_INDEX t;
        TNcobolTable& r = records().newType(TE_COBOL_TABLE, &t).cobolTable;
        r.countWidth = width;
        r.elementType = records().binaryType(2, 4, 0, true);
        r.countBlock = count;
        return t;
    }
};

std::string exceptionText(const InvalidOp& e)
{
    const ByteString utf8 = e.text().asUTF8();
    return std::string(reinterpret_cast<const char*>(utf8.data()), utf8.length());
}

TEST_F(TypeNavigationTest, PointeeReferentAndDereference)
{
    EXPECT_EQ(TypeItem(162u).pointee().typeIndex(), 130u);
    TypeItem toVoid(records().pointerType(TYPE_INDEX{0, 151}, 8));
    ASSERT_TRUE(toVoid.hasFlag(TypeFlags::pointerToVoid));
    EXPECT_EQ(toVoid.pointee().typeIndex(), 151u);

    TYPE_INDEX node = records().classType({.name = "node", .byteSize = 8});
    TypeItem toNode(records().pointerType(node, 4));
    EXPECT_EQ(toNode.pointee().typeIndex(), node);
    EXPECT_EQ(toNode.dereference().typeIndex(), node);
    EXPECT_EQ(TypeItem(162u).dereference().typeIndex(), 130u);

    TypeItem ref(records().referenceType(node));
    EXPECT_EQ(ref.referent().typeIndex(), node);

    // An array dereferences to its element; other types are refused.
    TypeItem array(records().arrayType(TYPE_INDEX{0, 129}, 20));
    EXPECT_EQ(array.dereference().typeIndex(), 129u);
    EXPECT_EQ(invalidOpCode([] { (void)TypeItem(130u).pointee(); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(invalidOpCode([] { (void)TypeItem(130u).dereference(); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(invalidOpCode([&] { (void)TypeItem(node).referent(); }), InvalidOp::RTRC_FIXME);
}

TEST_F(TypeNavigationTest, Ranks)
{
    TYPE_INDEX threeD = descriptor(TYPE_INDEX{0, 130}, 1, 3);
    EXPECT_EQ(TypeItem(records().referenceType(threeD)).rankOf(), 3u);
    EXPECT_EQ(TypeItem(threeD).getRank(), 3u);
    EXPECT_EQ(TypeItem(130u).rankOf(), 0u);

    TYPE_INDEX inner = records().arrayType(TYPE_INDEX{0, 130}, 16);
    TypeItem twoD(records().arrayType(inner, 160));
    EXPECT_EQ(twoD.rankOf(), 1u);
    EXPECT_EQ(twoD.getRank(), 2u);
    TypeItem table(cobolTable(1, nullptr));
    EXPECT_EQ(table.rankOf(), 0u);
    EXPECT_EQ(table.getRank(), 1u);
    EXPECT_EQ(table.rankType(1).typeIndex(), TYPE_INDEX(table.typeEntry()->cobolTable.elementType));
    EXPECT_EQ(&twoD.rankType(2), &twoD) << "more than one dimension removed leaves the array itself";
}

TEST_F(TypeNavigationTest, CArrayDimensions)
{
    TypeItem ints(records().arrayType(TYPE_INDEX{0, 130}, 40));
    TypeItem::Dimension d;
    EXPECT_EQ(ints.getDimension(d), 0);
    EXPECT_EQ(d.lower, 0);
    EXPECT_EQ(d.count, 10);
    EXPECT_EQ(d.length, 4u);
    EXPECT_TRUE(d.allocated);
    EXPECT_FALSE(d.countUnknown);

    // int[10][4]: the outer dimension counts rows of 16 bytes.
    TypeItem grid(records().arrayType(records().arrayType(TYPE_INDEX{0, 130}, 16), 160));
    ASSERT_EQ(grid.getDimension(0, d), 0);
    EXPECT_EQ(d.count, 10);
    EXPECT_EQ(d.length, 16u);
    ASSERT_EQ(grid.getDimension(1, d), 0);
    EXPECT_EQ(d.count, 4);
    EXPECT_EQ(d.length, 4u);
    EXPECT_EQ(invalidOpCode([&] { grid.getDimension(2, d); }), InvalidOp::RTRC_Other);

    // An element without size cannot be counted.
    TypeItem voids(records().arrayType(TYPE_INDEX{0, 151}, 8));
    EXPECT_EQ(invalidOpCode([&] { voids.getDimension(d); }), InvalidOp::RTRC_Other);

    // A non-array leaves the dimension fresh.
    TypeItem::Dimension fresh;
    EXPECT_EQ(TypeItem(130u).getDimension(fresh), 0);
    EXPECT_EQ(fresh.length, 1u);
    EXPECT_TRUE(fresh.countUnknown);

    useLanguage(EvaluationEnvironment::languageCOBOL);
    TypeItem cobolInts(records().arrayType(TYPE_INDEX{0, 130}, 40));
    cobolInts.getDimension(d);
    EXPECT_EQ(d.lower, 1);
    EXPECT_EQ(d.count, 10);

    useLanguage(EvaluationEnvironment::languageFortran);
    EXPECT_EQ(invalidOpCode([&] {
                  TypeItem(records().arrayType(TYPE_INDEX{0, 130}, 40)).getDimension(d);
              }),
              InvalidOp::RTRC_FIXME);
}

TEST_F(TypeNavigationTest, CobolTableCountsByWidth)
{
    host.memory().storeBigEndian(0x1000, 7, 2);
    host.memory().storeBigEndian(0x2000, 70000, 4);
    host.memory().storeBigEndian(0x3000, 5000000000ull, 8);
    struct Case {
        UBYTE1 width;
        std::uint64_t blockValue;
        std::int64_t count;
    };
    const Case cases[] = {{1, 0x1000, 7}, {2, 0x2000, 70000}, {3, 0x3000, 5000000000ll}, {0, 12, 12}};
    for (const Case& c : cases) {
        TypeItem table(cobolTable(c.width, constant(c.blockValue)));
        TypeItem::Dimension d;
        EXPECT_EQ(table.getDimension(d), 1) << int(c.width);
        EXPECT_EQ(d.count, c.count) << int(c.width);
        EXPECT_EQ(d.lower, 1);
        EXPECT_EQ(d.length, 2u);
        EXPECT_FALSE(d.countUnknown);
    }
    TypeItem::Dimension d;
    EXPECT_EQ(invalidOpCode([&] { TypeItem(cobolTable(4, constant(0x1000))).getDimension(d); }), InvalidOp::RTRC_Other);

    // Without a count block the count stays unknown; a block the host
    // cannot compute gives the reset dimension.
    EXPECT_EQ(TypeItem(cobolTable(1, nullptr)).getDimension(d), 1);
    EXPECT_TRUE(d.countUnknown);
    TypeItem failing(cobolTable(1, constant(0x1000)));
    host.failSlot(HS_Expr2ComputeDWARFaddress, 1);
    EXPECT_EQ(failing.getDimension(d), 0);
    EXPECT_EQ(d.lower, 1);
    EXPECT_FALSE(d.allocated);
    EXPECT_TRUE(d.countUnknown);
}

TEST_F(TypeNavigationTest, DescriptorDimensions)
{
    TYPE_INDEX t = descriptor(TYPE_INDEX{0, 130}, 1, 1);
    TNf90descarray& r = records().type(t)->f90descarray;
    r.lowerBound = constant(2);
    r.upperBound = constant(5);
    TypeItem array(t);
    TypeItem::Dimension d;
    EXPECT_EQ(array.getDimension(d), 0);
    EXPECT_EQ(d.lower, 2);
    EXPECT_EQ(d.count, 4);
    EXPECT_EQ(d.length, 4u);
    EXPECT_TRUE(d.allocated);
    EXPECT_FALSE(d.countUnknown);
    EXPECT_EQ(array.typeSize(), 16u);

    // Extent and stride blocks win; an allocation block of 0 says not
    // allocated.
    r.extent = constant(3);
    r.stride = constant(8);
    r.allocation = constant(0);
    TypeItem strided(t);
    strided.getDimension(d);
    EXPECT_EQ(d.count, 3);
    EXPECT_EQ(d.length, 8u);
    EXPECT_FALSE(d.allocated);
    EXPECT_FALSE(strided.isAllocated());

    // No bounds at all: count unknown; no lower bound: refused.
    TYPE_INDEX open = descriptor(TYPE_INDEX{0, 130}, 1, 1);
    records().type(open)->f90descarray.lowerBound = constant(1);
    TypeItem(open).getDimension(d);
    EXPECT_TRUE(d.countUnknown);
    EXPECT_EQ(invalidOpCode([&] {
                  TypeItem(descriptor(TYPE_INDEX{0, 130}, 1, 1)).getDimension(d);
              }),
              InvalidOp::RTRC_NotSupported);

    // Two dimensions in two entries: the outer stride is the inner
    // dimension's count times its length.
    TYPE_INDEX innerDim = descriptor(TYPE_INDEX{0, 129}, 2, 2);
    records().type(innerDim)->f90descarray.lowerBound = constant(1);
    records().type(innerDim)->f90descarray.upperBound = constant(3);
    TYPE_INDEX outerDim = descriptor(innerDim, 1, 2);
    records().type(outerDim)->f90descarray.lowerBound = constant(0);
    records().type(outerDim)->f90descarray.upperBound = constant(9);
    TypeItem matrix(outerDim);
    matrix.getDimension(1, d);
    EXPECT_EQ(d.count, 10);
    EXPECT_EQ(d.length, 6u);
    matrix.getDimension(2, d);
    EXPECT_EQ(d.count, 3);
    EXPECT_EQ(d.length, 2u);
}

TEST_F(TypeNavigationTest, AllocationAndAssociationTests)
{
    TYPE_INDEX p;
    TNf90pointer& r = records().newType(TE_F90_POINTER, &p).f90pointer;
    r.targetType = TYPE_INDEX{0, 130};
    TypeItem pointer(p);
    EXPECT_TRUE(pointer.isAllocated()) << "no allocation block";
    EXPECT_TRUE(pointer.isAssociated());
    r.association = constant(0);
    r.allocation = constant(1);
    TypeItem withBlocks(p);
    EXPECT_FALSE(withBlocks.isAssociated());
    EXPECT_TRUE(withBlocks.isAllocated());
    EXPECT_TRUE(TypeItem(130u).isAllocated());
    EXPECT_TRUE(TypeItem(records().classType({.name = "c", .byteSize = 4})).isAssociated());
    // A Fortran pointer has no dimensions of its own to give.
    TypeItem::Dimension d;
    EXPECT_EQ(invalidOpCode([&] { withBlocks.getDimension(1, d); }), InvalidOp::RTRC_FIXME);
}

TEST_F(TypeNavigationTest, UpcOperationsNeedASharedType)
{
    TypeItem plain(130u);
    for (auto op :
         std::vector<std::function<void()>>{[&] { plain.sharedBlockElements(); }, [&] { plain.setBlockSize(4); },
                                            [&] { plain.sharedElementSize(); }}) {
        try {
            op();
            ADD_FAILURE() << "no error";
        } catch (const InvalidOp& e) {
            EXPECT_EQ(e.code(), InvalidOp::RTRC_IncompatTypes);
            EXPECT_EQ(exceptionText(e), "Type not shared");
        }
    }
    TYPE_INDEX q;
    TNupcshared& u = records().newType(TE_UPC_SHARED, &q).upcshared;
    u.qualifiedType = records().arrayType(TYPE_INDEX{0, 130}, 40);
    u.factor.blockFactor = 5;
    TypeItem sharedArray(q);
    ASSERT_TRUE(sharedArray.hasFlag(TypeFlags::upcShared));
    EXPECT_EQ(sharedArray.sharedBlockElements(), 5u);
    EXPECT_EQ(sharedArray.sharedElementSize(), 4u);
    sharedArray.setBlockSize(2);
    EXPECT_EQ(sharedArray.sharedBlockElements(), 2u);
}

TEST_F(TypeNavigationTest, ClassQuestions)
{
    TYPE_INDEX empty = records().classType({.name = "E", .byteSize = 1});
    TYPE_INDEX base = records().classType(
        {.name = "B", .byteSize = 4, .members = {Member{.name = "b", .type = {0, 130}, .offset = 0}}});
    TYPE_INDEX derived = records().classType({.name = "D",
                                              .byteSize = 12,
                                              .bases = {Base{.type = base, .offset = 0}},
                                              .members = {Member{.name = "d", .type = {0, 136}, .offset = 4},
                                                          Member{.name = "", .type = {0, 129}, .offset = 8}}});
    TYPE_INDEX onlyEmptyBase =
        records().classType({.name = "F", .byteSize = 1, .bases = {Base{.type = empty, .offset = 0}}});
    TYPE_INDEX uni = records().classType({.name = "U",
                                          .byteSize = 4,
                                          .members = {Member{.name = "i", .type = {0, 130}, .offset = 0},
                                                      Member{.name = "f", .type = {0, 136}, .offset = 0}}});
    TYPE_INDEX bits =
        records().classType({.name = "Bits",
                             .byteSize = 4,
                             .members = {Member{.name = "a", .type = records().integerType(3, true, 0), .offset = 0},
                                         Member{.name = "b", .type = records().integerType(3, true, 3), .offset = 0}}});

    EXPECT_TRUE(TypeItem(empty).isClassOrStruct());
    EXPECT_FALSE(TypeItem(130u).isClassOrStruct());
    EXPECT_TRUE(TypeItem(records().referenceType(derived)).isClassOrStruct());
    EXPECT_TRUE(TypeItem(empty).isEmptyClassOrStruct());
    EXPECT_TRUE(TypeItem(onlyEmptyBase).isEmptyClassOrStruct());
    EXPECT_FALSE(TypeItem(derived).isEmptyClassOrStruct());
    EXPECT_TRUE(TypeItem(130u).isEmptyClassOrStruct());
    EXPECT_TRUE(TypeItem(uni).isUnion());
    EXPECT_FALSE(TypeItem(bits).isUnion()) << "a bit field after the first bit is no overlap";
    EXPECT_FALSE(TypeItem(derived).isUnion());

    // Members of the base come first, at the base's place; unnamed members
    // are left out when only named ones are asked for.
    List<TypeItem::StructMember> all = TypeItem(derived).visibleMembers(0);
    ASSERT_EQ(all.count(), 3u);
    EXPECT_STREQ(all[0].name, "b");
    EXPECT_EQ(all[0].offset, 0u);
    EXPECT_STREQ(all[1].name, "d");
    EXPECT_EQ(all[1].offset, 4u);
    EXPECT_EQ(all[1].type->typeIndex(), 136u);
    EXPECT_EQ(TypeItem(derived).visibleMembers(1).count(), 2u);

    TYPE_INDEX laterBase =
        records().classType({.name = "L", .byteSize = 16, .bases = {Base{.type = base, .offset = 8}}});
    List<TypeItem::StructMember> shifted = TypeItem(laterBase).visibleMembers(1);
    ASSERT_EQ(shifted.count(), 1u);
    EXPECT_EQ(shifted[0].offset, 8u);

    TYPE_INDEX second =
        records().structType({.byteSize = 8, .members = {{"x", {0, 130}}, {"", {0, 130}}}, .offsets = {0, 4}});
    EXPECT_EQ(TypeItem(second).visibleMembers(0).count(), 2u);
    EXPECT_EQ(TypeItem(second).visibleMembers(1).count(), 1u);
    EXPECT_FALSE(TypeItem(second).isEmptyClassOrStruct());
    EXPECT_EQ(TypeItem(130u).visibleMembers(0).count(), 0u);
}

TEST_F(TypeNavigationTest, FunctionInformation)
{
    TYPE_INDEX printfLike =
        records().functionType(TYPE_INDEX{0, 130}, {TYPE_INDEX{0, 164}, TYPE_INDEX{0, 194}, TYPE_INDEX{0, 136}});
    TypeItem f(printfLike);
    TypeItem::FunctionInfoBlock_t* info = f.functionInfoBlock();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->returnType->typeIndex(), 130u);
    ASSERT_EQ(info->parameterCount, 1u) << "the walk ends at the ellipsis";
    EXPECT_EQ(info->parameters[0]->typeIndex(), 164u);
    EXPECT_EQ(info->flags, TypeItem::FunctionInfoBlock_t::endsInEllipsis);
    EXPECT_EQ(f.functionInfoBlock(), info) << "made once";

    TYPE_INDEX builtin = records().functionType(TYPE_INDEX{0, 137}, {}, TE_BUILTIN_PROCEDURE);
    TypeItem builtinType(builtin);
    EXPECT_EQ(builtinType.functionInfoBlock()->flags, TypeItem::FunctionInfoBlock_t::builtinProcedure);

    TYPE_INDEX method;
    TNmemberfunction& m = records().newType(TE_MEMBERFUNCTION, &method).memberfunction;
    m.functionType = records().functionType(TYPE_INDEX{0, 151}, {TYPE_INDEX{0, 130}, TYPE_INDEX{0, 129}});
    TypeItem methodType(method);
    TypeItem::FunctionInfoBlock_t* copied = methodType.functionInfoBlock();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->parameterCount, 2u);
    EXPECT_EQ(copied->parameters[1]->typeIndex(), 129u);

    EXPECT_EQ(TypeItem(130u).functionInfoBlock(), nullptr);
}

TEST_F(TypeNavigationTest, TreeChangeHint)
{
    EXPECT_FALSE(TypeItem(130u).assumeTreeNodeChanges());
    EXPECT_FALSE(TypeItem(183u).assumeTreeNodeChanges()) << "pointer to void";
    EXPECT_TRUE(TypeItem(162u).assumeTreeNodeChanges());
    EXPECT_TRUE(TypeItem(records().arrayType(TYPE_INDEX{0, 130}, 8)).assumeTreeNodeChanges());
    TYPE_INDEX flat = records().classType(
        {.name = "P", .byteSize = 8, .members = {Member{.name = "x", .type = {0, 130}, .offset = 0}}});
    TYPE_INDEX linked = records().classType(
        {.name = "N", .byteSize = 8, .members = {Member{.name = "next", .type = {0, 162}, .offset = 0}}});
    TYPE_INDEX viaBase =
        records().classType({.name = "V", .byteSize = 8, .bases = {Base{.type = linked, .offset = 0}}});
    EXPECT_FALSE(TypeItem(flat).assumeTreeNodeChanges());
    EXPECT_TRUE(TypeItem(linked).assumeTreeNodeChanges());
    EXPECT_TRUE(TypeItem(viaBase).assumeTreeNodeChanges());
    EXPECT_FALSE(TypeItem(records().packedDecimalType(5, -2, true)).assumeTreeNodeChanges());
}

TEST_F(TypeNavigationTest, LocationsThroughPointerTypes)
{
    // A 4-byte pointer in memory leads to the address it holds.
    host.memory().storeBigEndian(0x100, 0x2000, 4);
    DebuggeeLocation at(DebuggeeAddress(std::uint64_t(0x100), 4));
    TypeItem toNode(records().pointerType(records().classType({.name = "n", .byteSize = 4}), 4));
    at.dereference(&toNode);
    EXPECT_EQ(at.address().addr(), 0x2000u);

    // A pointer to shared data has no image to read.
    TYPE_INDEX q;
    TNupcshared& u = records().newType(TE_UPC_SHARED, &q).upcshared;
    u.qualifiedType = TYPE_INDEX{0, 130};
    u.factor.blockFactor = 1;
    TypeItem toShared(records().pointerType(q, 8));
    ASSERT_TRUE(toShared.hasFlag(TypeFlags::pointerToShared));
    DebuggeeLocation sharedAt(DebuggeeAddress(std::uint64_t(0x100), 4));
    EXPECT_EQ(invalidOpCode([&] { sharedAt.dereference(&toShared); }), InvalidOp::RTRC_Other);
    DebuggeeLocation nowhere;
    EXPECT_EQ(invalidOpCode([&] { nowhere.dereference(&toShared); }), InvalidOp::RTRC_AssertFail);

    // A descriptor array: the data address replaces the address in place,
    // keeping its width.
    host.memory().storeBigEndian(0x300, 0x4000, 4);
    TypeItem desc(descriptor(TYPE_INDEX{0, 130}, 1, 1));
    DebuggeeLocation descAt(DebuggeeAddress(std::uint64_t(0x300), 8));
    descAt.dereference(&desc);
    EXPECT_EQ(descAt.address().addr(), 0x4000u);
    EXPECT_EQ(descAt.address().bits(), 64u);

    // The data location of a descriptor moves a location; a type without
    // one leaves it.
    TYPE_INDEX alloc;
    TNf90allocatable& a = records().newType(TE_F90_ALLOCATABLE, &alloc).f90allocatable;
    a.objectType = TYPE_INDEX{0, 130};
    a.dataLocation = block(dwarf::Builder().pushObjectAddress().plusUconst(16));
    DebuggeeLocation object(DebuggeeAddress(std::uint64_t(0x500), 4));
    EXPECT_TRUE(TypeItem(alloc).dereference(object));
    EXPECT_EQ(object.address().addr(), 0x510u);
    EXPECT_FALSE(TypeItem(130u).dereference(object));
    EXPECT_EQ(object.address().addr(), 0x510u);

    // getDataAddress of a C pointer reads the pointer.
    DebuggeeLocation held(DebuggeeAddress(std::uint64_t(0x100), 4));
    EXPECT_EQ(toNode.getDataAddress(held).addr(), 0x2000u);
    EXPECT_FALSE(TypeItem(130u).getDataAddress(held).isValid());
}

TEST_F(TypeNavigationTest, CyclicRecordsGiveAnErrorNotAnOverflow)
{
    // A pointer whose target is itself.
    TYPE_INDEX loop;
    TNpointer& p = records().newType(TE_POINTER, &loop).pointer;
    p.flags = TNpointer_Bytes4;
    p.target = loop;
    p.name = records().text("");
    TypeItem pointer(loop);
    EXPECT_EQ(invalidOpCode([&] { pointer.demangledTypeName(); }), InvalidOp::RTRC_Other);
    ByteString rendered;
    EXPECT_EQ(invalidOpCode([&] { pointer.primitiveName(rendered); }), InvalidOp::RTRC_Other);

    // A class that is its own base.
    TYPE_INDEX self = records().classType({.name = "S", .byteSize = 4, .bases = {Base{.type = {0, 130}}}});
    const TNtypeListNode* field = records().type(records().type(self)->klass.fieldList)->list.first.types;
    records().type(field->type)->baseclass.baseType = self;
    TypeItem cyclic(self);
    EXPECT_EQ(invalidOpCode([&] { cyclic.visibleMembers(0); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(invalidOpCode([&] { cyclic.isEmptyClassOrStruct(); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(invalidOpCode([&] { cyclic.assumeTreeNodeChanges(); }), InvalidOp::RTRC_Other);

    // A list whose last node leads back to the first.
    TYPE_INDEX members = records().typeList({records().integerType(8, true)});
    TNtypeListNode* first = const_cast<TNtypeListNode*>(records().type(members)->list.first.types);
    first->next = first;
    TYPE_INDEX ring = records().classType({.name = "R", .byteSize = 4});
    records().type(ring)->klass.fieldList = members;
    EXPECT_EQ(invalidOpCode([&] { TypeItem(ring).visibleMembers(0); }), InvalidOp::RTRC_Other);
}

} // namespace
