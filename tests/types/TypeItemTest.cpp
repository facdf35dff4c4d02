// Type items: simplification (typedef and tag names, keywords, wide
// characters, pointer folding, failures), equality and byte sizes.

#include "TypesFixture.h"

#include "testhost/DwarfExpression.h"

namespace {

class TypeItemTest : public TypesTest {};

TEST_F(TypeItemTest, TypedefChainIsNamedByTheInnermostName)
{
    TYPE_INDEX inner = records().typedefType("B", TYPE_INDEX{0, 134});
    TYPE_INDEX outer = records().typedefType("A", inner);
    TypeItem t(outer);
    EXPECT_EQ(t.typeIndex(), 134u);
    EXPECT_EQ(t.typeEntry(), nullptr);
    EXPECT_EQ(nameOf(t), "B");
    EXPECT_TRUE(t.hasFlag(TypeFlags::modifier));
    EXPECT_TRUE(t.hasFlag(TypeFlags::integral));
    EXPECT_EQ(t.unsimplifiedTypeIndex().index, outer.index);

    // An unnamed typedef keeps the name met before it.
    TypeItem u(records().typedefType("N", records().typedefType("", TYPE_INDEX{0, 130})));
    EXPECT_EQ(nameOf(u), "N");
}

TEST_F(TypeItemTest, WcharTypedefBecomesTheWideCharacter)
{
    EXPECT_EQ(TypeItem(records().typedefType("wchar_t", TYPE_INDEX{0, 130})).typeIndex(), 150u);
    EXPECT_EQ(TypeItem(records().typedefType("wchar_t", TYPE_INDEX{0, 129})).typeIndex(), 149u);
    EXPECT_EQ(TypeItem(records().typedefType("wchar_t", TYPE_INDEX{0, 134})).typeIndex(), 150u);
    EXPECT_EQ(TypeItem(records().typedefType("wchar_t", TYPE_INDEX{0, 136})).typeIndex(), 136u);
    EXPECT_EQ(TypeItem(records().typedefType("wint", TYPE_INDEX{0, 130})).typeIndex(), 130u);
    EXPECT_TRUE(TypeItem(150u).isWChar());
}

TEST_F(TypeItemTest, TagNamesGetTheirKeyword)
{
    using Member = HostRecordStore::Member;
    TYPE_INDEX node = records().classType({.name = "", .byteSize = 8, .isStruct = true});
    TYPE_INDEX cls = records().classType({.name = "", .byteSize = 8, .isStruct = false});
    TYPE_INDEX uni = records().classType({.name = "",
                                          .byteSize = 4,
                                          .members = {Member{.name = "i", .type = {0, 130}, .offset = 0},
                                                      Member{.name = "f", .type = {0, 136}, .offset = 0}}});
    TYPE_INDEX rec = records().classType({.name = "",
                                          .byteSize = 8,
                                          .members = {Member{.name = "i", .type = {0, 130}, .offset = 0},
                                                      Member{.name = "f", .type = {0, 136}, .offset = 4}}});
    TYPE_INDEX two = records().namedTag("outer", records().namedTag("inner", node));

    EXPECT_EQ(nameOf(TypeItem(records().namedTag("node", node))), "struct node");
    EXPECT_EQ(nameOf(TypeItem(records().namedTag("", node))), "") << "an empty tag names nothing";
    EXPECT_EQ(nameOf(TypeItem(records().namedTag("c", cls))), "class c");
    EXPECT_EQ(nameOf(TypeItem(records().namedTag("u", uni))), "union u");
    EXPECT_EQ(nameOf(TypeItem(records().namedTag("r", rec))), "struct r");
    EXPECT_EQ(nameOf(TypeItem(two)), "outer") << "two tags in a row give no keyword";
    TypeItem tagged(records().namedTag("node", node));
    EXPECT_EQ(tagged.typeIndex(), node);
    EXPECT_TRUE(TypeItem(uni).isUnion());
    EXPECT_FALSE(TypeItem(rec).isUnion());

    // A typedef name over a tag replaces it: no keyword.
    EXPECT_EQ(nameOf(TypeItem(records().typedefType("T", records().namedTag("node", node)))), "T");

    useLanguage(EvaluationEnvironment::languageCOBOL);
    TYPE_INDEX group = records().classType({.name = "", .byteSize = 8, .leaf = TE_GROUP});
    TYPE_INDEX national =
        records().classType({.name = "", .byteSize = 8, .leaf = TE_GROUP, .flags = TNclass_NationalGroup});
    EXPECT_EQ(nameOf(TypeItem(records().namedTag("G", group))), "GROUP G");
    EXPECT_EQ(nameOf(TypeItem(records().namedTag("N", national))), "NATIONAL GROUP N");
}

TEST_F(TypeItemTest, PointerToPrimitiveFoldsByAddressSize)
{
    TYPE_INDEX p4 = records().pointerType(TYPE_INDEX{0, 130}, 4);
    TYPE_INDEX p8 = records().pointerType(TYPE_INDEX{0, 130}, 8);
    TYPE_INDEX toVoid = records().pointerType(TYPE_INDEX{0, 151}, 4);

    TypeItem folded(p4);
    EXPECT_EQ(folded.typeIndex(), 162u);
    EXPECT_EQ(folded.typeEntry(), nullptr);
    EXPECT_TRUE(folded.hasFlag(TypeFlags::pointer));
    EXPECT_EQ(TypeItem(toVoid).typeIndex(), 183u);
    EXPECT_TRUE(TypeItem(toVoid).hasFlag(TypeFlags::pointerToVoid));
    EXPECT_EQ(TypeItem(p8).typeIndex(), p8) << "an 8-byte pointer stays a host pointer with 4-byte addresses";

    env.setAddressSize(8);
    EXPECT_EQ(TypeItem(p4).typeIndex(), p4) << "a 4-byte pointer stays a host pointer with 8-byte addresses";
    EXPECT_EQ(TypeItem(p8).typeIndex(), 162u);
    EXPECT_EQ(TypeItem(p8).typeSize(), 8u);

    // A UPC pointer to shared is marked and not folded.
    TYPE_INDEX toShared = records().pointerType(TYPE_INDEX{0, 130}, 8);
    records().type(toShared)->pointer.flags = TNpointer_ToShared;
    TypeItem shared(toShared);
    EXPECT_EQ(shared.typeIndex(), toShared);
    EXPECT_TRUE(shared.hasFlag(TypeFlags::pointerToShared));
    EXPECT_EQ(shared.typeSize(), 0u);
}

TEST_F(TypeItemTest, FailuresInsideSimplificationAreSwallowed)
{
    TYPE_INDEX target = records().classType({.name = "x", .byteSize = 4});
    TYPE_INDEX alias = records().typedefType("T", target);
    SVC::ExprGetTypeEntry(context, alias); // cached: only the target's lookup reaches the host
    host.throwFromSlot(HS_ExprGetTypeEntry, 1);
    TypeItem* t = nullptr;
    EXPECT_NO_THROW(t = new TypeItem(alias));
    EXPECT_EQ(t->typeIndex(), alias) << "the item stays where the failure stopped it";
    delete t;

    // A cycle in the host's records ends.
    TYPE_INDEX selfIndex{};
    _TYPE_ENTRY& self = records().newType(TE_TYPEDEF, &selfIndex);
    self.typedef_.name = records().text("loop");
    self.typedef_.aliasedType = selfIndex;
    EXPECT_NO_THROW(TypeItem{selfIndex});
}

TEST_F(TypeItemTest, EqualitySimplifiesBothSides)
{
    TYPE_INDEX target = records().classType({.name = "x", .byteSize = 4});
    TYPE_INDEX alias = records().typedefType("T", target);
    TypeItem a(alias, records().type(alias), false);
    TypeItem b(target, records().type(target), false);
    EXPECT_EQ(a.typeIndex(), alias);
    EXPECT_TRUE(a == b);
    EXPECT_EQ(a.typeIndex(), target) << "the operands were simplified in place";
    EXPECT_FALSE(a != b);
    EXPECT_TRUE(TypeItem(130u) != TypeItem(134u));
    EXPECT_TRUE(TypeItem(records().typedefType("I", TYPE_INDEX{0, 130})) == TypeItem(130u));
}

TEST_F(TypeItemTest, SizesByLeaf)
{
    TYPE_INDEX klass = records().classType({.name = "x", .byteSize = 12});
    TYPE_INDEX enumeration = records().enumType("e", TYPE_INDEX{0, 129}, {{"a", 1}});
    struct Case {
        const char* what;
        TYPE_INDEX index;
        unsigned size;
    };
    const Case cases[] = {
        {"bit field 3 at 6", records().integerType(3, false, 6), 2},
        {"bit field 1", records().integerType(1, true), 1},
        {"int entry", records().integerType(32, false), 4},
        {"array", records().arrayType(TYPE_INDEX{0, 130}, 40), 40},
        {"class", klass, 12},
        {"struct", records().structType({.byteSize = 20}), 20},
        {"enum", enumeration, 2},
        {"packed", records().packedDecimalType(7, 0, true), 4},
        {"zoned", records().zonedDecimalType(5, 0, true, TN_SignLeadingSeparate), 6},
        {"binary", records().binaryType(4, 9, 0, true), 4},
        {"charstring", records().charstringType(17), 17},
        {"national string", records().charstringType(20, TE_NATIONAL_STRING), 20},
        {"pointer 4", records().pointerType(klass, 4), 4},
        {"pointer 8", records().pointerType(klass, 8), 8},
        {"reference", records().referenceType(klass), 4},
        {"primitive", TYPE_INDEX{0, 137}, 8},
        {"primitive pointer", TYPE_INDEX{0, 162}, 4},
        {"void", TYPE_INDEX{0, 151}, 0},
        {"function", records().functionType(TYPE_INDEX{0, 130}, {}), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TypeItem(c.index).typeSize(), c.size) << c.what;

    TYPE_INDEX edited{};
    records().newType(TE_NUMERIC_EDITED, &edited).numericEdited.length = 9;
    EXPECT_EQ(TypeItem(edited).typeSize(), 9u);
    TYPE_INDEX index{};
    records().newType(TE_INDEX_NAME, &index).indexName.byteLength = 4;
    EXPECT_EQ(TypeItem(index).typeSize(), 4u);

    EXPECT_EQ(TypeItem::primitiveTypeSize(183), 4u) << "a pointer to void is as wide as any pointer";
    env.setAddressSize(8);
    EXPECT_EQ(TypeItem(records().referenceType(klass)).typeSize(), 8u);
    EXPECT_EQ(TypeItem::primitiveTypeSize(162), 8u);
    EXPECT_EQ(TypeItem::primitiveTypeSize(131), 0u);
}

TEST_F(TypeItemTest, DynamicSizes)
{
    // Sizes that a DWARF expression computes: constants here.
    const UBYTE1* size96 = records().bytes({dwarf::DW_OP_const1u, 96});
    TYPE_INDEX array = records().arrayType(TYPE_INDEX{0, 130}, 0);
    records().type(array)->array.flags = TNarray_DynamicSize;
    records().type(array)->array.size.sizeExpression = size96;
    records().type(array)->array.sizeExpressionLength = 2;
    EXPECT_EQ(TypeItem(array).typeSize(), 96u);

    TYPE_INDEX klass = records().classType({.name = "x", .byteSize = 0, .flags = TNclass_DynamicSize});
    records().type(klass)->klass.size.sizeExpression = size96;
    records().type(klass)->klass.sizeExpressionLength = 2;
    EXPECT_EQ(TypeItem(klass).typeSize(), 96u);

    auto dynamicString = [&](std::vector<UBYTE1> expression) { return dynamicStringType(expression); };
    TYPE_INDEX small = dynamicString({dwarf::DW_OP_const2u, 0x01, 0x00});
    TYPE_INDEX huge = dynamicString({dwarf::DW_OP_const4u, 0x08, 0x00, 0x00, 0x00});
    TYPE_INDEX broken = dynamicString({0xFF});
    EXPECT_EQ(TypeItem(small).typeSize(), 256u);
    EXPECT_EQ(TypeItem(huge).typeSize(), 0x8000000u);
    EXPECT_EQ(TypeItem(broken).typeSize(), 0u) << "a size that cannot be computed is 0";

    useLanguage(EvaluationEnvironment::languageCOBOL);
    EXPECT_EQ(TypeItem(small).typeSize(), 256u);
    EXPECT_EQ(TypeItem(huge).typeSize(), 0u) << "COBOL refuses lengths of 0x8000000 and more";
}

TEST_F(TypeItemTest, CopiesAndAssignment)
{
    TypeItem t(records().typedefType("B", TYPE_INDEX{0, 134}));
    t.setArrayCount(5);
    TypeItem copy(t);
    EXPECT_EQ(copy.typeIndex(), 134u);
    EXPECT_EQ(nameOf(copy), "B");
    EXPECT_EQ(copy.getArrayCount(), 5u);

    TypeItem assigned;
    assigned = t;
    EXPECT_EQ(nameOf(assigned), "B");
    EXPECT_EQ(assigned.getArrayCount(), 0u) << "assignment does not take the array count";

    assigned = TYPE_INDEX{0, 136};
    EXPECT_EQ(assigned.typeIndex(), 136u);
    EXPECT_FALSE(assigned.hasValidName());

    TypeItem cobol;
    useLanguage(EvaluationEnvironment::languageCOBOL);
    EXPECT_TRUE(TypeItem(144u).isCobolBool());
    EXPECT_FALSE(TypeItem(145u).isCobolBool());
}

} // namespace

namespace {

TEST_F(TypeItemTest, PointerCycleInHostRecordsEnds)
{
    // A pointer whose target is a typedef of the pointer itself.
    TYPE_INDEX pointer{}, alias{};
    _TYPE_ENTRY& p = records().newType(TE_POINTER, &pointer);
    _TYPE_ENTRY& t = records().newType(TE_TYPEDEF, &alias);
    t.typedef_.name = records().text("P");
    t.typedef_.aliasedType = pointer;
    p.pointer.flags = TNpointer_Bytes4;
    p.pointer.target = alias;
    TypeItem item(pointer);
    EXPECT_EQ(item.kind(), t_pointer);
    EXPECT_TRUE(item.hasFlag(TypeFlags::pointer));
}

} // namespace
