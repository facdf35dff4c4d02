// Created types made from other types: arrays, pointers, references,
// classes found by name, class members and built-in procedures, with their
// reuse rules.

#include "TypesFixture.h"

#include <vector>

#include "types/CreatedClassTypeItem.h"

namespace {

using Member = HostRecordStore::Member;

class CreatedTypesTest : public TypesTest {};

TEST_F(CreatedTypesTest, ArraysAreNamedByTheirElementAndReused)
{
    TypeItem shortType(129u);
    const TypeItem* three = CreatedTypeItem::findArrayType(shortType, 3);
    EXPECT_EQ(nameOf(*three), "short[3]");
    EXPECT_EQ(three->typeSize(), 6u);
    EXPECT_EQ(UBYTE4(three->typeEntry()->leaf), UBYTE4(TE_ARRAY));
    EXPECT_EQ(CreatedTypeItem::findArrayType(shortType, 3), three);
    EXPECT_NE(CreatedTypeItem::findArrayType(shortType, 4), three);
    EXPECT_EQ(nameOf(*CreatedTypeItem::findArrayType(TypeItem(151u), 5)), "void[]");

    // Its element comes back through the element finder.
    EXPECT_EQ(CreatedTypeItem::findArrayElement(*three)->typeIndex(), 129u);
    EXPECT_EQ(three->dereference().typeIndex(), 129u);

    EXPECT_EQ(invalidOpCode([] { CreatedTypeItem::findArrayType(TypeItem(), 3); }), InvalidOp::RTRC_Other);
    // A size the array record cannot hold is refused, not truncated.
    EXPECT_EQ(invalidOpCode([&] { CreatedTypeItem::findArrayType(shortType, 0x80000000ull); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(invalidOpCode([] { CreatedTypeItem::findArrayElement(TypeItem(130u)); }), InvalidOp::RTRC_Other);
}

TEST_F(CreatedTypesTest, PointersByAddressSize)
{
    // On a 4-byte target a pointer to a primitive is the pointer-to-primitive
    // index, not a created pointer.
    const TypeItem* p = CreatedTypeItem::findPointerType(TypeItem(130u));
    EXPECT_EQ(p->typeIndex(), 162u);
    EXPECT_EQ(p->typeEntry(), nullptr);
    EXPECT_EQ(CreatedTypeItem::findPointerType(TypeItem(130u)), p);

    // A pointer to a class is a created pointer record, reused.
    TYPE_INDEX node = records().classType({.name = "node", .byteSize = 8});
    TypeItem nodeType(node);
    const TypeItem* toNode = CreatedTypeItem::findPointerType(nodeType);
    ASSERT_NE(toNode->typeEntry(), nullptr);
    EXPECT_EQ(UBYTE4(toNode->typeEntry()->leaf), UBYTE4(TE_POINTER));
    EXPECT_EQ(UBYTE4(toNode->typeEntry()->pointer.flags), UBYTE4(TNpointer_Bytes4));
    EXPECT_EQ(toNode->pointee().typeIndex(), node);
    EXPECT_EQ(CreatedTypeItem::findPointerType(nodeType), toNode);
    EXPECT_EQ(toNode->typeSize(), 4u);
    EXPECT_EQ(CreatedTypeItem::findDereferencedType(*toNode)->typeIndex(), node);

    env.setAddressSize(8);
    const TypeItem* wide = CreatedTypeItem::findPointerType(TypeItem(136u));
    EXPECT_EQ(wide->typeSize(), 8u);
    EXPECT_EQ(wide->pointee().typeIndex(), 136u);
    EXPECT_EQ(CreatedTypeItem::findPointerType(TypeItem(136u)), wide);

    EXPECT_EQ(invalidOpCode([] { CreatedTypeItem::findPointerType(TypeItem()); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(invalidOpCode([] { CreatedTypeItem::findDereferencedType(TypeItem(130u)); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(invalidOpCode([] { CreatedTypeItem::findF90PointeeType(TypeItem(162u)); }), InvalidOp::RTRC_Other);
}

// The finders look the created types up through an index beside the list;
// the answers stay those of the walk from the newest: a pointer to a typedef
// of a class is the pointer to the class, two types made for one index
// answer with the newer, types made while others are looked up are found,
// and a reset forgets them all.
TEST_F(CreatedTypesTest, LookupsAnswerAsTheWalkFromTheNewest)
{
    env.setAddressSize(8);
    TYPE_INDEX node = records().classType({.name = "node", .byteSize = 8});
    TYPE_INDEX alias = records().typedefType("node_t", node);
    const TypeItem* toNode = CreatedTypeItem::findPointerType(TypeItem(node));
    EXPECT_EQ(CreatedTypeItem::findPointerType(TypeItem(alias)), toNode);

    // A chain of pointers: each level is found again, none made twice.
    std::vector<const TypeItem*> chain{toNode};
    for (int level = 0; level < 50; ++level)
        chain.push_back(CreatedTypeItem::findPointerType(*chain.back()));
    const unsigned made = env.createdTypes().count();
    for (std::size_t level = 0; level + 1 < chain.size(); ++level)
        EXPECT_EQ(CreatedTypeItem::findPointerType(*chain[level]), chain[level + 1]) << level;
    EXPECT_EQ(env.createdTypes().count(), made);

    const TYPE_INDEX i32 = records().integerType(32, false);
    const TypeItem* older = CreatedTypeItem::createType(i32);
    EXPECT_EQ(CreatedTypeItem::findType(i32), older);
    const TypeItem* newer = CreatedTypeItem::createType(i32);
    ASSERT_NE(newer, older);
    EXPECT_EQ(CreatedTypeItem::findType(i32), newer);
    EXPECT_EQ(CreatedTypeItem::findSynthesizedType(toNode->unsimplifiedTypeIndex()), toNode);

    env.reset();
    EXPECT_EQ(CreatedTypeItem::findType(i32), nullptr);
    EXPECT_EQ(CreatedTypeItem::findSynthesizedType(TYPE_INDEX{0xFFFFFFFFu, 0}), nullptr);
    const TypeItem* again = CreatedTypeItem::findPointerType(TypeItem(node));
    EXPECT_EQ(CreatedTypeItem::findPointerType(TypeItem(alias)), again);
    EXPECT_EQ(CreatedTypeItem::findSynthesizedType(again->unsimplifiedTypeIndex()), again);
}

TEST_F(CreatedTypesTest, PointerToSharedData)
{
    TYPE_INDEX q;
    TNupcshared& u = records().newType(TE_UPC_SHARED, &q).upcshared;
    u.qualifiedType = TYPE_INDEX{0, 130};
    u.factor.blockFactor = 4;
    TypeItem shared(q);
    ASSERT_TRUE(shared.hasFlag(TypeFlags::upcShared));
    const TypeItem* p = CreatedTypeItem::findPointerType(shared);
    EXPECT_TRUE(p->hasFlag(TypeFlags::pointerToShared));
    EXPECT_EQ(p->typeSize(), 0u) << "a pointer to shared has no plain size";
}

TEST_F(CreatedTypesTest, ReferencesAreReusedByTheAddressOfBit)
{
    TypeItem intType(130u);
    const TypeItem* ref = CreatedTypeItem::findReferenceType(intType);
    const TypeItem* addressOf = CreatedTypeItem::findAddressOfReferenceType(intType);
    EXPECT_NE(ref, addressOf);
    EXPECT_EQ(CreatedTypeItem::findReferenceType(intType), ref);
    EXPECT_EQ(CreatedTypeItem::findAddressOfReferenceType(intType), addressOf);
    EXPECT_EQ(ref->kind(), t_reference);
    EXPECT_EQ(addressOf->kind(), t_addressOfReference);
    EXPECT_EQ(nameOf(*ref), "int&");
    EXPECT_EQ(ref->referent().typeIndex(), 130u);
    EXPECT_EQ(UBYTE4(ref->typeEntry()->reference.flags), 1u);
    EXPECT_EQ(UBYTE4(addressOf->typeEntry()->reference.flags), 5u);

    useLanguage(EvaluationEnvironment::languageCOBOL);
    EXPECT_EQ(nameOf(*CreatedTypeItem::findReferenceType(TypeItem(137u))), "COMP-2");
    EXPECT_EQ(invalidOpCode([] { CreatedTypeItem::findReferenceType(TypeItem()); }), InvalidOp::RTRC_Other);
}

TEST_F(CreatedTypesTest, ClassesByName)
{
    records().classType(
        {.name = "Shape", .byteSize = 8, .members = {Member{.name = "x", .type = {0, 130}, .offset = 0}}});
    records().classType({.name = "Hollow", .byteSize = 1});
    const TypeItem* shape = CreatedTypeItem::findType("Shape");
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->typeIndex().module(), 0xFFFFFFFFu);
    EXPECT_STREQ(shape->typeEntry()->klass.name, "Shape");
    EXPECT_TRUE(shape->isClassOrStruct());
    EXPECT_EQ(CreatedTypeItem::findType("Shape"), shape);
    unsigned asked = host.callCount(HS_Expr2GetTypeByName);
    EXPECT_EQ(CreatedTypeItem::findType("Shape"), shape);
    EXPECT_EQ(host.callCount(HS_Expr2GetTypeByName), asked) << "found among the created types";

    EXPECT_EQ(CreatedTypeItem::findType("Hollow"), nullptr) << "a class without members";
    EXPECT_EQ(CreatedTypeItem::findType("Nowhere"), nullptr);
    EXPECT_EQ(CreatedTypeItem::findType(static_cast<const char*>(nullptr)), nullptr);
    host.throwFromSlot(HS_Expr2GetTypeByName);
    EXPECT_EQ(CreatedTypeItem::findType("Other"), nullptr) << "a failing host means not found";
}

TEST_F(CreatedTypesTest, MembersAreReusedByTheirRecord)
{
    std::string name = "count";
    std::string storage = "COUNTER";
    TNclassmember m{};
    m.leaf = TE_MEMBER;
    m.memberType = TYPE_INDEX{0, 130};
    m.location.offset = 8;
    m.name = name.c_str();
    const TypeItem* first = CreatedTypeItem::findOrCreateType(m);
    name = "other"; // the created member keeps its own copy of the name
    EXPECT_STREQ(first->typeEntry()->member.name, "count");
    m.name = "count";
    EXPECT_EQ(CreatedTypeItem::findOrCreateType(m), first);
    m.location.offset = 12;
    EXPECT_NE(CreatedTypeItem::findOrCreateType(m), first);

    TNclassmember s = m;
    s.flags = TNclassmember_Static;
    s.location.storageName = storage.c_str();
    const TypeItem* staticMember = CreatedTypeItem::findOrCreateType(s);
    storage = "XXXXXXX";
    EXPECT_STREQ(staticMember->typeEntry()->member.location.storageName, "COUNTER");
    s.location.storageName = "COUNTER";
    EXPECT_EQ(CreatedTypeItem::findOrCreateType(s), staticMember);

    const UBYTE1 expression[] = {0x23, 0x04};
    TNclassmember x = m;
    x.flags = TNclassmember_LocationIsExpression;
    x.location.expression = expression;
    x.expressionLength = 2;
    const TypeItem* located = CreatedTypeItem::findOrCreateType(x);
    EXPECT_NE(static_cast<const UBYTE1*>(located->typeEntry()->member.location.expression), expression);
    EXPECT_EQ(CreatedTypeItem::findOrCreateType(x), located);
}

TEST_F(CreatedTypesTest, BuiltinProcedures)
{
    List<TYPE_INDEX> arguments;
    arguments.append(TYPE_INDEX{0, 130});
    arguments.append(TYPE_INDEX{0, 136});
    TypeItem result(137u);
    const TypeItem* f = CreatedTypeItem::findBuiltinProcedureType(result, "LENGTH", 1, 2, arguments);
    EXPECT_EQ(UBYTE4(f->typeEntry()->leaf), UBYTE4(TE_BUILTIN_PROCEDURE));
    EXPECT_EQ(UBYTE4(f->typeEntry()->function.flags), 48u);
    EXPECT_EQ(CreatedTypeItem::findBuiltinProcedureType(result, "length", 1, 2, arguments), f)
        << "the name is compared without case";
    EXPECT_NE(CreatedTypeItem::findBuiltinProcedureType(result, "LENGTH", 1, 3, arguments), f);

    TypeItem::FunctionInfoBlock_t* info = f->functionInfoBlock();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->returnType->typeIndex(), 137u);
    ASSERT_EQ(info->parameterCount, 2u);
    EXPECT_EQ(info->parameters[1]->typeIndex(), 136u);
    EXPECT_EQ(info->flags, TypeItem::FunctionInfoBlock_t::builtinProcedure);

    const TypeItem* none = CreatedTypeItem::findBuiltinProcedureType(result, "PI", 0, 0, List<TYPE_INDEX>());
    EXPECT_EQ(UBYTE4(none->typeEntry()->function.flags), 32u);
    EXPECT_EQ(none->functionInfoBlock()->parameterCount, 0u);
    EXPECT_EQ(invalidOpCode([] { CreatedTypeItem::findBuiltinProcedureType(TypeItem(), "X", 0, 0, {}); }),
              InvalidOp::RTRC_Other);
}

} // namespace
