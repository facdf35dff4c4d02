// Type names: display names built from the type, primitive names per
// language and address size, the template-argument rendering, the trace
// text and the small name helpers.

#include "TypesFixture.h"

#include <atomic>
#include <thread>

#include "testhost/DwarfExpression.h"

namespace {

using Member = HostRecordStore::Member;

class TypeNamesTest : public TypesTest {
protected:
    std::string rendered(const TypeItem& t)
    {
        ByteString out;
        t.primitiveName(out);
        return std::string(reinterpret_cast<const char*>(out.data()), out.length());
    }
    const DwarfBlock* constant(std::uint64_t v) { return records().dwarfBlock(dwarf::Builder().constU(v).bytes()); }
};

TEST_F(TypeNamesTest, TraceText)
{
    EXPECT_STREQ(TypeItem().format(), "<invalid>");
    const TypeItem* created = CreatedTypeItem::findOrCreateType(TYPE_INDEX{0, 130}, nullptr);
    EXPECT_STREQ(created->format(), "\"int\" = >created< type = 130");
    EXPECT_STREQ(TypeItem(162u).format(), "\"int*\" =  type = 162");
}

TEST_F(TypeNamesTest, TraceTextIsPerThread)
{
    // Each host thread formats into its own text: two threads naming
    // different types never see each other's.
    std::atomic<int> wrong{0};
    auto worker = [&](unsigned code, const char* expected) {
        ExpressionRepresentation own(EvaluationEnvironment::languageCPP, nullptr);
        own.makeCurrent(context);
        for (int i = 0; i < 2000; ++i) {
            TypeItem t(code);
            if (std::string(t.format()) != expected)
                ++wrong;
        }
    };
    std::thread a(worker, 162u, "\"int*\" =  type = 162");
    std::thread b(worker, 137u, "\"double\" =  type = 137");
    a.join();
    b.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST_F(TypeNamesTest, PrimitiveNamesByLanguageAndAddressSize)
{
    struct Case {
        int language;
        unsigned addressSize;
        unsigned code;
        const char* name;
    };
    const int c = EvaluationEnvironment::languageCPP;
    const int cobol = EvaluationEnvironment::languageCOBOL;
    const Case cases[] = {
        {c, 4, 162, "int*"},
        {c, 4, 130, "int"},
        {c, 4, 155, "long long"},
        {c, 8, 155, "long"},
        {c, 8, 156, "unsigned long"},
        {c, 4, 136, "float"},
        {c, 4, 183, "void*"},
        {c, 4, 194, "??"},
        {c, 4, 300, "??"},
        {cobol, 4, 168, "COMP-1"},
        {cobol, 4, 136, "COMP-1"},
        {cobol, 4, 169, "COMP-2"},
        {cobol, 4, 144, "CONDITION-NAME"},
        {cobol, 4, 176, "CONDITION-NAME"},
        {cobol, 4, 196, "COMP1"},
        {cobol, 4, 229, "COMP2"},
        {cobol, 8, 155, "long long"},
        {cobol, 4, 162, "int*"},
    };
    for (const Case& k : cases) {
        useLanguage(k.language);
        other->setAddressSize(k.addressSize);
        TypeItem t(k.code);
        EXPECT_STREQ(t.primitiveTypeName(k.code), k.name) << k.code;
        if (k.code <= 255) {
            EXPECT_STREQ(TypeItem(k.code).demangledTypeName(), k.name) << k.code;
        }
    }
    // A name already held is kept.
    useLanguage(c);
    TypeItem named(records().typedefType("size_t", TYPE_INDEX{0, 134}));
    EXPECT_STREQ(named.primitiveTypeName(134), "size_t");
    EXPECT_STREQ(named.demangledTypeName(), "size_t");
}

TEST_F(TypeNamesTest, DisplayNamesOfCompositeTypes)
{
    TYPE_INDEX node = records().classType({.name = "node", .byteSize = 8});
    TYPE_INDEX shape = records().classType({.name = "Shape", .byteSize = 8, .isStruct = false});
    TYPE_INDEX both = records().classType({.name = "",
                                           .byteSize = 4,
                                           .members = {Member{.name = "i", .type = {0, 130}, .offset = 0},
                                                       Member{.name = "f", .type = {0, 136}, .offset = 0}}});
    EXPECT_STREQ(TypeItem(node).demangledTypeName(), "struct node");
    EXPECT_STREQ(TypeItem(node).shortTypeName(), "node");
    EXPECT_STREQ(TypeItem(records().pointerType(shape, 8)).demangledTypeName(), "class Shape*");
    EXPECT_STREQ(TypeItem(records().pointerType(shape, 8)).shortTypeName(), "Shape*");
    EXPECT_STREQ(TypeItem(both).demangledTypeName(), "union");
    EXPECT_STREQ(TypeItem(records().referenceType(node)).demangledTypeName(), "struct node&");

    TYPE_INDEX row = records().arrayType(TYPE_INDEX{0, 130}, 16);
    EXPECT_STREQ(TypeItem(row).demangledTypeName(), "int[4]");
    EXPECT_STREQ(TypeItem(records().arrayType(row, 48)).demangledTypeName(), "int[3][4]");
    EXPECT_STREQ(TypeItem(records().arrayType(TYPE_INDEX{0, 151}, 0)).demangledTypeName(), "void[]");
    EXPECT_STREQ(TypeItem(records().arrayType(records().pointerType(node, 4), 8)).demangledTypeName(),
                 "struct node*[2]");

    // The forced form rebuilds; the cached one stays until reset.
    TypeItem t(node);
    const char* first = t.demangledTypeName();
    EXPECT_EQ(t.demangledTypeName(), first);
    EXPECT_STREQ(t.demangledTypeName(0, true), "struct node");
    EXPECT_STREQ(t.demangledTypeNameReset(), "struct node");
    EXPECT_FALSE(t.hasValidName());
    EXPECT_EQ(t.demangledTypeNameReset(), nullptr);

    // C, COBOL and Fortran spell them their own way.
    useLanguage(2 + 1); // any language other than C++: plain C naming
    EXPECT_STREQ(TypeItem(shape).demangledTypeName(), "struct Shape");
    useLanguage(EvaluationEnvironment::languageCOBOL);
    TYPE_INDEX group = records().classType({.name = "REC", .byteSize = 8, .leaf = TE_GROUP});
    EXPECT_STREQ(TypeItem(group).demangledTypeName(), "GROUP REC");
    EXPECT_STREQ(TypeItem(records().arrayType(TYPE_INDEX{0, 136}, 12)).demangledTypeName(), "COMP-1 OCCURS 3");
    TYPE_INDEX table;
    TNcobolTable& tr = records().newType(TE_COBOL_TABLE, &table).cobolTable;
    tr.elementType = records().binaryType(2, 4, 0, true);
    tr.countWidth = 0;
    tr.countBlock = constant(7);
    EXPECT_STREQ(TypeItem(table).demangledTypeName(), "binary(4,0) OCCURS 7");
}

TEST_F(TypeNamesTest, FortranNames)
{
    useLanguage(EvaluationEnvironment::languageFortran);
    TYPE_INDEX inner;
    TNf90descarray& i = records().newType(TE_F90_DESC_ARRAY, &inner).f90descarray;
    i.elementType = TYPE_INDEX{0, 130};
    i.dimension = 2;
    i.rank = 2;
    i.lowerBound = constant(1);
    i.upperBound = constant(3);
    TYPE_INDEX outer;
    TNf90descarray& o = records().newType(TE_F90_DESC_ARRAY, &outer).f90descarray;
    o.elementType = inner;
    o.dimension = 1;
    o.rank = 2;
    o.lowerBound = constant(2);
    o.upperBound = constant(5);
    EXPECT_STREQ(TypeItem(outer).demangledTypeName(), "int(2:5,1:3)");
    o.allocation = constant(0);
    EXPECT_STREQ(TypeItem(outer).demangledTypeName(), "int(:,1:3)") << "an unallocated dimension";

    TYPE_INDEX p;
    records().newType(TE_F90_POINTER, &p).f90pointer.targetType = TYPE_INDEX{0, 136};
    EXPECT_STREQ(TypeItem(p).demangledTypeName(), "float, pointer");
    TYPE_INDEX a;
    records().newType(TE_F90_ALLOCATABLE, &a).f90allocatable.objectType = inner;
    EXPECT_STREQ(TypeItem(a).demangledTypeName(), "int(1:3), allocatable");
}

TEST_F(TypeNamesTest, TemplateArgumentRendering)
{
    TYPE_INDEX color = records().enumType("color", TYPE_INDEX{0, 130}, {});
    TYPE_INDEX anonymous = records().enumType("", TYPE_INDEX{0, 130}, {});
    TYPE_INDEX method;
    records().newType(TE_MEMBERFUNCTION, &method).memberfunction.name = records().text("draw");
    TYPE_INDEX unnamedMethod;
    records().newType(TE_MEMBERFUNCTION, &unnamedMethod);
    TYPE_INDEX node = records().classType({.name = "node", .byteSize = 8});
    TYPE_INDEX hidden = records().classType({.name = "__anon", .byteSize = 8, .isStruct = false});

    struct Case {
        TYPE_INDEX type;
        const char* text;
    };
    const Case cases[] = {
        {TYPE_INDEX{0, 130}, "int"},
        {records().integerType(3, true), "unsigned:3"},
        {records().integerType(5, false), "int:5"},
        {records().pointerType(node, 8), "node*"},
        {records().referenceType(TYPE_INDEX{0, 136}), "float&"},
        {records().arrayType(records().arrayType(TYPE_INDEX{0, 129}, 8), 24), "short[3][4]"},
        {records().functionType(TYPE_INDEX{0, 137}, {}), "double()"},
        {method, "draw()"},
        {unnamedMethod, "memberFunction()"},
        {hidden, "class"},
        {color, "color"},
        {anonymous, "enum"},
        {records().packedDecimalType(7, -2, true), "decimal(7,2)"},
        {records().zonedDecimalType(5, 0, false, TN_SignNone), "zoned decimal(5,0)"},
        {records().binaryType(4, 9, -2, true), "binary(9,2)"},
        {records().charstringType(8), "string()"},
    };
    for (const Case& k : cases)
        EXPECT_EQ(rendered(TypeItem(k.type)), k.text) << k.text;

    const TypeItem* edited = CreatedTypeItem::findOrCreateExternalFloatType(8, nullptr);
    EXPECT_EQ(rendered(*edited), "external float()");
    useLanguage(EvaluationEnvironment::languageCOBOL);
    EXPECT_EQ(rendered(TypeItem(records().arrayType(TYPE_INDEX{0, 136}, 8))), "COMP-1(2)");
}

TEST_F(TypeNamesTest, SmallHelpers)
{
    TypeItem t;
    EXPECT_STREQ(t.makeName("name", "fallback"), "name");
    EXPECT_STREQ(t.makeName("__vptr", "fallback"), "fallback");
    EXPECT_STREQ(t.makeName("_one", "fallback"), "_one");
    EXPECT_STREQ(t.makeName("", "fallback"), "fallback");
    EXPECT_STREQ(t.makeName(nullptr, "fallback"), "fallback");

    EXPECT_LT(TypeItem::strcmp_i("ABC", "abd"), 0);
    EXPECT_EQ(TypeItem::strcmp_i("ab", "abc"), -1);
    EXPECT_EQ(TypeItem::strcmp_i("abc", "ab"), 1);
    EXPECT_EQ(TypeItem::strcmp_i("MiXeD", "mixed"), 0);
    EXPECT_GT(TypeItem::strcmp_i("b", "A"), 0);

    // The shared suffix a UPC shared type adds to its name.
    struct Case {
        UBYTE8 factor;
        const char* name;
    };
    for (const Case& k : {Case{0, "cell shared [] "}, Case{1, "cell shared "}, Case{4, "cell shared [4] "}}) {
        TYPE_INDEX q;
        TNupcshared& u = records().newType(TE_UPC_SHARED, &q).upcshared;
        u.qualifiedType = TYPE_INDEX{0, 130};
        u.factor.blockFactor = k.factor;
        EXPECT_EQ(nameOf(TypeItem(records().typedefType("cell", q))), k.name);
    }
}

} // namespace
