// Class and structure scopes: reuse, member and enumerator lookup, visibility
// of static members only, Fortran parent components, class descriptors and
// base order, nested-class containers, arrays of classes, wide enumerators.

#include <cstring>
#include <string>
#include <vector>

#include "HostRecordAccess.h"
#include "SymbolsFixture.h"
#include "types/ClassScopeItem.h"
#include "types/ConstSymbolItem.h"

namespace {

const TYPE_INDEX intType{0, 130};
const TYPE_INDEX longLongType{0, 155};

class ClassScopeTest : public SymbolsTest {
protected:
    TYPE_INDEX simpleClass(const std::string& name, std::vector<HostRecordStore::Member> members,
                           std::vector<HostRecordStore::Base> bases = {}, std::vector<TYPE_INDEX> nested = {},
                           TYPE_INDEX enclosing = {})
    {
        HostRecordStore::ClassSpec layout;
        layout.name = name;
        layout.byteSize = 16;
        layout.members = std::move(members);
        layout.bases = std::move(bases);
        layout.nestedTypes = std::move(nested);
        layout.enclosingClass = enclosing;
        return records().classType(layout);
    }

    ClassScopeItem* classScope(TYPE_INDEX type, bool allMembers = true)
    {
        return ClassScopeItem::getClassScope(TypeItem(type), scope, allMembers);
    }
};

TEST_F(ClassScopeTest, ClassScopesAreReusedStructureScopesAreNot)
{
    const TYPE_INDEX k = simpleClass("K", {{"x", intType, 0}});
    ClassScopeItem* first = classScope(k);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->scopeType(), ScopeItem::classScope);
    EXPECT_EQ(classScope(k), first);
    EXPECT_EQ(ClassScopeItem::findScopeByType(k), first);
    // A reference to the class reaches the same scope.
    EXPECT_EQ(classScope(records().referenceType(k)), first);

    HostRecordStore::StructSpec st;
    st.byteSize = 8;
    st.members = {{"lo", intType}, {"hi", intType}};
    st.offsets = {-4, 4};
    const TYPE_INDEX s = records().structType(st);
    ClassScopeItem* one = classScope(s);
    ClassScopeItem* two = classScope(s);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    EXPECT_NE(one, two);
    EXPECT_EQ(one->scopeType(), ScopeItem::structureScope);

    // Structure members: sign-extended offsets, a type per name.
    SymbolItem* lo = one->findVariable("lo", 1);
    ASSERT_NE(lo, nullptr);
    EXPECT_EQ(lo->getMemberOffset(), -4);
    EXPECT_EQ(lo->memberLayout().size, 4u);
    EXPECT_EQ(one->offset(1), 4u);
    EXPECT_EQ(symbolsInvalidOpCode([&] { one->offset(2); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(one->findVariable("none", 1), nullptr);
    // Class questions to a structure scope and the other way round.
    EXPECT_EQ(symbolsInvalidOpCode([&] { one->findClassMemberVar("lo"); }), InvalidOp::RTRC_Other);
    std::int64_t offset = 0;
    EXPECT_EQ(symbolsInvalidOpCode([&] { first->findStructMember("x", offset); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(symbolsInvalidOpCode([&] { first->offset(0); }), InvalidOp::RTRC_Other);

    // No aggregate, no scope.
    EXPECT_EQ(classScope(intType), nullptr);
    EXPECT_EQ(classScope(records().pointerType(k)), nullptr);
}

TEST_F(ClassScopeTest, MembersShadowEnumeratorsAndEmptyNamesAreSkipped)
{
    const TYPE_INDEX e = records().enumType("E", intType, {{"", 5}, {"a", 1}, {"b", 2}});
    const TYPE_INDEX k = simpleClass("K", {{"a", intType, 4, false, "", {}, 'Q'}}, {}, {e});
    ClassScopeItem* ks = classScope(k);
    ASSERT_NE(ks, nullptr);

    SymbolItem* a = ks->findVariable("a", 1);
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->isMember());
    EXPECT_FALSE(a->isConstant());
    EXPECT_EQ(a->classChar(), 'Q');
    EXPECT_EQ(a->getMemberOffset(), 4);

    SymbolItem* b = ks->findVariable("b", 1);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->isConstant());
    EXPECT_EQ(b->addressState(), SymbolItem::addressCached);
    EXPECT_EQ(static_cast<ConstSymbolItem*>(b)->value(), 2u);
    EXPECT_EQ(b->memberLayout().size, 4u);
    EXPECT_EQ(b->memberLayout().flags, SymbolItem::MemberLayout::staticMember);
    ASSERT_NE(b->entry(), nullptr);
    EXPECT_EQ(b->entry()->kind, SE_CONSTANT);
    EXPECT_STREQ(b->entry()->header.name, "b");

    // The nameless enumerator is never matched.
    EXPECT_EQ(ks->makeEnumConstant(""), nullptr);
    // Nested types are type names of the scope.
    SymbolItem* type = ks->findType("E", 1);
    ASSERT_NE(type, nullptr);
    EXPECT_TRUE(type->isType());
}

TEST_F(ClassScopeTest, WideAndNegativeEnumerators)
{
    const TYPE_INDEX e = records().enumType("W", longLongType, {{"neg", -5}, {"big", 0x123456789LL}, {"small", 7}});
    ClassScopeItem* ks = classScope(simpleClass("K", {}, {}, {e}));
    ASSERT_NE(ks, nullptr);
    struct Case {
        const char* name;
        std::uint64_t value;
    } cases[] = {{"neg", 0xFFFFFFFFFFFFFFFBull}, {"big", 0x123456789ull}, {"small", 7}};
    for (const Case& c : cases) {
        SymbolItem* s = ks->findVariable(c.name, 1);
        ASSERT_NE(s, nullptr) << c.name;
        EXPECT_EQ(static_cast<ConstSymbolItem*>(s)->value(), c.value) << c.name;
        std::uint64_t cell = 0;
        std::memcpy(&cell, s->entry()->typed.u.value, sizeof cell);
        EXPECT_EQ(cell, c.value) << c.name;
        EXPECT_EQ(s->memberLayout().size, 8u);
    }
}

TEST_F(ClassScopeTest, NestedClassSeesOnlyStaticMembersOfItsContainer)
{
    const TYPE_INDEX e = records().enumType("E", intType, {{"e", 3}});
    const TYPE_INDEX outer = simpleClass("Outer", {{"s", intType, 0, true, "Outer::s"}, {"x", intType, 4}}, {}, {e});
    const TYPE_INDEX inner = simpleClass("Inner", {{"y", intType, 0}}, {}, {}, outer);

    ClassScopeItem* is = classScope(inner);
    ASSERT_NE(is, nullptr);
    ScopeItem* container = is->container();
    ASSERT_NE(container, nullptr);
    ASSERT_EQ(container->scopeType(), ScopeItem::classScope);
    auto* os = static_cast<ClassScopeItem*>(container);
    EXPECT_EQ(os->classType(), TypeItem(outer));
    EXPECT_FALSE(os->allMembers());
    EXPECT_TRUE(traced("is a member function of class"));
    EXPECT_EQ(is->container(), container);

    // Only the static member; a data member hides the enumerator search
    // only when found, and a non-static member gives nothing.
    SymbolItem* s = os->findVariable("s", 1);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->memberLayout().flags & SymbolItem::MemberLayout::staticMember);
    EXPECT_EQ(os->findVariable("x", 1), nullptr);
    SymbolItem* en = os->findVariable("e", 1);
    ASSERT_NE(en, nullptr);
    EXPECT_TRUE(en->isConstant());
    EXPECT_EQ(os->variables().count(), 2u); // s and the enumerator; x stays hidden

    // A class that is no member of another lives in its owner.
    ClassScopeItem* plain = classScope(simpleClass("Plain", {}));
    EXPECT_EQ(plain->container(), scope);
}

TEST_F(ClassScopeTest, ClassInfoListsBasesInReverseHostOrder)
{
    const TYPE_INDEX a = simpleClass("A", {{"ax", intType, 0}});
    const TYPE_INDEX b = simpleClass("B", {{"bx", intType, 0}});
    const TYPE_INDEX d = simpleClass("D", {{"dx", intType, 16}}, {{a, 0}, {b, 8}, {intType, 12}});
    ClassScopeItem* ds = classScope(d);
    ASSERT_NE(ds, nullptr);
    const ClassDescriptor* info = ds->classInfo();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(ds->classInfo(), info);
    EXPECT_EQ(info->size, 16u);
    EXPECT_EQ(info->flags, std::uint32_t(ClassDescriptor::classForm));

    // Last base first; a base without a class has no type.
    std::vector<std::uint32_t> offsets;
    std::vector<const TypeItem*> types;
    for (const BaseClassDescriptor* base = info->firstBase; base != nullptr; base = base->next) {
        offsets.push_back(base->offset);
        types.push_back(base->baseType);
    }
    ASSERT_EQ(offsets, (std::vector<std::uint32_t>{12, 8, 0}));
    EXPECT_EQ(types[0], nullptr);
    ASSERT_NE(types[1], nullptr);
    EXPECT_EQ(*types[1], TypeItem(b));
    EXPECT_EQ(types[1], &ClassScopeItem::findScopeByType(b)->classType());
    ASSERT_NE(types[2], nullptr);
    EXPECT_EQ(*types[2], TypeItem(a));

    // Names: own members, then each base's (last base first).
    List<const char*> names = ds->namespaceNames();
    std::vector<std::string> seen;
    for (unsigned i = 0; i < names.count(); ++i)
        seen.emplace_back(names[i]);
    EXPECT_EQ(seen, (std::vector<std::string>{"dx", "bx", "ax"}));

    HostRecordStore::StructSpec st;
    st.byteSize = 4;
    st.members = {{"m", intType}};
    const ClassDescriptor* structure = classScope(records().structType(st))->classInfo();
    EXPECT_EQ(structure->flags, std::uint32_t(ClassDescriptor::structureForm));
    EXPECT_EQ(structure->firstBase, nullptr);
}

TEST_F(ClassScopeTest, ArrayOfClassesOfEveryArrayLeaf)
{
    const TYPE_INDEX k = simpleClass("K", {{"x", intType, 0}});
    ClassScopeItem* ks = classScope(k);
    ASSERT_NE(ks, nullptr);

    std::vector<std::pair<const char*, TYPE_INDEX>> arrays;
    arrays.emplace_back("C array", records().arrayType(k, 64));
    TYPE_INDEX vum;
    records().newType(TE_VUM_ARRAY, &vum).modifier.type = k;
    arrays.emplace_back("vector array", vum);
    TYPE_INDEX descriptor;
    records().newType(TE_F90_DESC_ARRAY, &descriptor).f90descarray.elementType = k;
    arrays.emplace_back("descriptor array", descriptor);
    TYPE_INDEX table;
    records().newType(TE_COBOL_TABLE, &table).cobolTable.elementType = k;
    arrays.emplace_back("table", table);

    for (const auto& [what, array] : arrays) {
        host.clearLines();
        EXPECT_EQ(classScope(array), ks) << what;
        EXPECT_TRUE(traced("Found array type")) << what;
    }
}

class FortranClassScopeTest : public FortranSymbolsTest {};

TEST_F(FortranClassScopeTest, ExtendedTypeHasItsParentAsMember)
{
    HostRecordStore::ClassSpec parent;
    parent.name = "shape";
    parent.byteSize = 8;
    parent.members = {{"area", intType, 0}};
    const TYPE_INDEX p = records().classType(parent);
    HostRecordStore::ClassSpec child;
    child.name = "circle";
    child.byteSize = 12;
    child.bases = {{p, 0, 0x55}};
    child.members = {{"radius", intType, 8}};
    ClassScopeItem* cs = ClassScopeItem::getClassScope(TypeItem(records().classType(child)), scope, true);
    ASSERT_NE(cs, nullptr);

    SymbolItem* base = cs->findVariable("shape", 1);
    ASSERT_NE(base, nullptr);
    EXPECT_TRUE(base->isMember());
    EXPECT_EQ(base->getMemberOffset(), 0);
    EXPECT_EQ(base->dataType(), TypeItem(p));
    ASSERT_NE(base->memberType(), nullptr);
    const _TYPE_ENTRY* record = base->memberType()->typeEntry();
    ASSERT_NE(record, nullptr);
    const UBYTE4 attributes = record->member.attributes;
    EXPECT_EQ(attributes, 0x55u);
    EXPECT_NE(cs->findVariable("radius", 1), nullptr);
}

} // namespace
