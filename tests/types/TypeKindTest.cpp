// Type kinds of primitives and host leaves, the simple types, and the
// attribute flags with their merging and the UPC block factor.

#include <set>
#include <vector>

#include "TypesFixture.h"

#include "testhost/DwarfExpression.h"
#include "types/PrimitiveType.h"

namespace {

class TypeKindTest : public TypesTest {
protected:
    // An entry of a leaf, with fields filled by fill.
    template <class Fill>
    TYPE_INDEX entry(UBYTE4 leaf, Fill fill)
    {
        TYPE_INDEX index{};
        _TYPE_ENTRY& e = records().newType(leaf, &index);
        fill(e);
        return index;
    }
    TYPE_INDEX entry(UBYTE4 leaf)
    {
        return entry(leaf, [](_TYPE_ENTRY&) {});
    }
    // The item of an index over its own entry, not simplified (so that the
    // leaf itself is classified).
    TypeItem raw(TYPE_INDEX index) { return TypeItem(index, records().type(index), false); }
};

TEST_F(TypeKindTest, KindOfEveryPrimitiveCode)
{
    // -1: kind() fails.
    const std::vector<std::pair<unsigned, int>> listed = {
        {128, t_signedChar},
        {129, t_signedShortInt},
        {130, t_signedLongInt},
        {132, t_unsignedChar},
        {133, t_unsignedShortInt},
        {134, t_unsignedLongInt},
        {136, t_float},
        {137, t_double},
        {138, t_longDouble},
        {139, t_longDouble},
        {140, t_complexFloat},
        {141, t_complexDouble},
        {142, t_complexLongDouble},
        {143, t_complexLongDouble},
        {144, t_bool},
        {145, t_shortBool},
        {146, t_longBool},
        {148, -1},
        {149, t_wchar_t},
        {150, t_wchar_t},
        {151, t_void},
        {155, t_signedLongLongInt},
        {156, t_unsignedLongLongInt},
        {157, t_longLongBool},
        {159, t_decimal32},
        {192, t_decimal64},
        {193, t_decimal128},
        {194, -1},
        {195, -1},
        {196, t_float_quvhex},
        {197, t_double_quvhex},
        {198, t_longDouble_quvhex},
        {199, t_anyIR},
        {200, t_anyIRZ},
        {201, t_anyIRZCL},
        {203, t_complexFloat_quvhex},
        {204, t_complexDouble_quvhex},
        {205, t_complexLongDouble_quvhex},
    };
    std::set<unsigned> seen;
    for (auto [code, kind] : listed) {
        seen.insert(code);
        TypeItem t(code);
        if (kind < 0)
            EXPECT_EQ(invalidOpCode([&] { t.kind(); }), InvalidOp::RTRC_Other) << code;
        else
            EXPECT_EQ(t.kind(), kind) << code;
    }
    for (unsigned code = 128; code <= 237; ++code) {
        if (seen.count(code))
            continue;
        TypeItem t(code);
        if (code & 32)
            EXPECT_EQ(t.kind(), t_pointer) << code;
        else
            EXPECT_EQ(invalidOpCode([&] { t.kind(); }), InvalidOp::RTRC_Other) << code;
    }
    EXPECT_EQ(typeEntryCalls(), 0u);
}

TEST_F(TypeKindTest, KindOfEveryLeaf)
{
    TYPE_INDEX klass = records().classType({.name = "point", .byteSize = 8});
    const std::vector<std::pair<UBYTE4, int>> leaves = {
        {TE_ARRAY, t_array},
        {TE_VUM_ARRAY, t_array},
        {TE_F90_DESC_ARRAY, t_array},
        {TE_ENUM, t_enum},
        {TE_ENUM2, t_enum},
        {TE_F90_ALLOCATABLE, t_reference},
        {TE_CLASS, t_namedType},
        {TE_STRUCT, t_namedType},
        {TE_GROUP, t_namedType},
        {TE_NAMESPACE64, t_namedType},
        {TE_NAMESPACE65, t_namedType},
        {TE_NAMESPACE66, t_namedType},
        {TE_FUNCTION, t_function},
        {TE_METHOD, t_function},
        {TE_PROCEDURE, t_function},
        {TE_BUILTIN_PROCEDURE, t_function},
        {TE_F90_POINTER, t_f90Pointer},
        {TE_PACKED_DECIMAL, t_packedDecimal},
        {TE_FIXED_POINT_BINARY, t_fixedPointBinary},
        {TE_CHARSTRING, t_characterString},
        {TE_COBOL_TABLE, t_characterString},
        {TE_ZONED_DECIMAL, t_zonedDecimal},
        {TE_NATIONAL_DECIMAL, t_nationalDecimal},
        {TE_NATIONAL_STRING, t_nationalString},
        {TE_INDEX_NAME, t_indexName},
        {TE_INDEX_DATA_ITEM, t_indexDataItem},
        {TE_EXTERNAL_FLOAT, t_externalFloat},
        {TE_ALPHA_NUMERIC_EDITED, t_alphaNumericEdited},
        {TE_NUMERIC_EDITED, t_numericEdited},
        {TE_NATIONAL_EXTERNAL_FLOAT, t_nationalExternalFloat},
        {TE_NATIONAL_EDITED, t_nationalEdited},
        {TE_NATIONAL_NUMERIC_EDITED, t_nationalNumericEdited},
        {TE_FILE_DESCRIPTOR, t_filedesc},
        {TE_DBCS_STRING, t_dbcsString},
        {TE_DBCS_EDITED, t_dbcsEdited},
        // Leaves the kinds do not classify.
        {TE_NONE, -1},
        {TE_BASECLASS, -1},
        {3, -1},
        {TE_MEMBER, -1},
        {TE_LIST, -1},
        {99, -1},
        {TE_BASED, -1},
        {TE_CONDITION, -1},
    };
    for (auto [leaf, kind] : leaves) {
        TypeItem t = raw(entry(leaf));
        if (kind < 0)
            EXPECT_EQ(invalidOpCode([&] { t.kind(); }), InvalidOp::RTRC_Other) << leaf;
        else
            EXPECT_EQ(t.kind(), kind) << leaf;
    }

    EXPECT_EQ(raw(records().pointerType(klass, 4)).kind(), t_pointer);
    EXPECT_EQ(raw(records().referenceType(klass)).kind(), t_reference);
    EXPECT_EQ(raw(records().referenceType(klass, true)).kind(), t_addressOfReference);

    // Typedefs classify as what they name.
    EXPECT_EQ(raw(records().typedefType("I", TYPE_INDEX{0, 130})).kind(), t_signedLongInt);
    EXPECT_EQ(raw(records().typedefType("P", records().packedDecimalType(5, 0, true))).kind(), t_packedDecimal);
    EXPECT_EQ(raw(records().typedefType("C", klass)).kind(), t_namedType);
}

TEST_F(TypeKindTest, IntegerEntriesBySize)
{
    struct Case {
        UBYTE4 bits;
        bool isUnsigned;
        UBYTE1 bitOffset;
        int kind;
    };
    const Case cases[] = {
        {8, false, 0, t_signedChar},
        {8, true, 0, t_unsignedChar},
        {1, false, 0, t_unsignedChar},
        {1, false, 3, t_unsignedChar},
        {3, false, 0, t_signedChar},
        {16, false, 0, t_signedShortInt},
        {16, true, 0, t_unsignedShortInt},
        {32, false, 0, t_signedLongInt},
        {32, true, 0, t_unsignedLongInt},
        {3, false, 6, t_signedShortInt},
        {64, true, 0, t_unsignedLongLongInt},
        {64, false, 0, t_signedLongLongInt},
        // A bit field ending in a third byte or past the fourth: the
        // integer of its 4- or 8-byte storage unit.
        {24, false, 0, t_signedLongInt},
        {3, true, 20, t_unsignedLongInt},
        {6, false, 30, t_signedLongLongInt},
        {32, true, 32, t_unsignedLongLongInt},
        {40, true, 0, t_unsignedLongLongInt},
        {33, false, 0, t_signedLongLongInt},
        {63, false, 1, t_signedLongLongInt},
        // Bits past the eighth byte: no unit holds them.
        {4, true, 62, -1},
        {40, true, 30, -1},
    };
    for (const Case& c : cases) {
        TypeItem t = raw(records().integerType(c.bits, c.isUnsigned, c.bitOffset));
        if (c.kind < 0)
            EXPECT_EQ(invalidOpCode([&] { t.kind(); }), InvalidOp::RTRC_Other) << c.bits;
        else
            EXPECT_EQ(t.kind(), c.kind) << c.bits << "/" << int(c.bitOffset);
    }
}

TEST_F(TypeKindTest, SimpleTypes)
{
    EXPECT_EQ(TypeItem::simpleType(t_char)->typeIndex(), 148u);
    EXPECT_EQ(TypeItem::simpleType(t_signedInt)->typeIndex(), 130u);
    EXPECT_EQ(TypeItem::simpleType(t_signedLongInt)->typeIndex(), 130u);
    EXPECT_EQ(TypeItem::simpleType(t_unsignedLongInt)->typeIndex(), 134u);
    // The long double of 4-byte addresses: the 12-byte slot.
    EXPECT_EQ(TypeItem::simpleType(t_longDouble)->typeIndex(), 139u);
    EXPECT_EQ(TypeItem::simpleType(t_complexLongDouble)->typeIndex(), 143u);
    EXPECT_EQ(TypeItem::simpleType(t_arraySection)->typeIndex(), 195u);
    EXPECT_EQ(TypeItem::simpleType(t_wchar_t)->typeIndex(), 150u);
    EXPECT_EQ(EvaluationEnvironment::wcharType(), TypeItem::simpleType(t_wchar_t));
    // One shared object per kind in an environment.
    EXPECT_EQ(TypeItem::simpleType(t_double), TypeItem::simpleType(t_double));

    const TypeItem* zoned = TypeItem::simpleType(t_zonedDecimal);
    EXPECT_EQ(zoned->kind(), t_zonedDecimal);
    EXPECT_EQ(nameOf(*zoned), "Decimal(0,0)");
    EXPECT_EQ(TypeItem::simpleType(t_nationalDecimal)->kind(), t_nationalDecimal);

    for (TypeKind refused :
         {t_pointer, t_f90Pointer, t_unused26, t_array, t_enum, t_reference, t_namedType, t_function,
          t_fixedPointBinary, t_characterString, t_nationalString, t_indexName, t_dbcsEdited, t_addressOfReference,
          // Unsupported by the debugger as it stands.
          t_decimal32, t_decimal64, t_decimal128, t_packedDecimal})
        EXPECT_EQ(invalidOpCode([&] { TypeItem::simpleType(refused); }), InvalidOp::RTRC_Other) << refused;

    env.setAddressSize(8);
    EXPECT_EQ(TypeItem::simpleType(t_signedLongInt)->typeIndex(), 155u);
    EXPECT_EQ(TypeItem::simpleType(t_unsignedLongInt)->typeIndex(), 156u);
    EXPECT_EQ(TypeItem::simpleType(t_longDouble)->typeIndex(), 138u);
    EXPECT_EQ(TypeItem::simpleType(t_complexLongDouble)->typeIndex(), 142u);
}

// Every flag but computed and valid.
std::set<TypeFlags::Flag> flagSet(const TypeFlags& f)
{
    std::set<TypeFlags::Flag> s;
    for (unsigned i = TypeFlags::array; i <= TypeFlags::fortranDescriptor; ++i)
        if (f.has(TypeFlags::Flag(i)))
            s.insert(TypeFlags::Flag(i));
    return s;
}

TEST_F(TypeKindTest, FlagsOfPrimitives)
{
    using F = TypeFlags;
    const std::vector<std::pair<unsigned, std::set<F::Flag>>> cases = {
        {128, {F::character}},    {132, {F::character}}, {148, {F::character, F::integral}},
        {129, {F::integral}},     {156, {F::integral}},  {136, {F::floating}},
        {193, {F::floating}},     {198, {F::floating}},  {144, {F::boolean}},
        {157, {F::boolean}},      {149, {F::wchar}},     {151, {F::voidType}},
        {140, {F::complex}},      {205, {F::complex}},   {194, {F::ellipsis}},
        {195, {F::arraySection}}, {199, {F::anyIR}},     {200, {F::anyIRZ}},
        {201, {F::anyIRZCL}},     {162, {F::pointer}},   {183, {F::pointer, F::pointerToVoid}},
    };
    for (const auto& [code, expected] : cases) {
        TypeItem t(code);
        EXPECT_TRUE(t.hasFlag(F::valid)) << code;
        EXPECT_EQ(flagSet(t.typeFlags()), expected) << code;
    }
    EXPECT_FALSE(TypeItem(131u).hasFlag(F::valid));
    EXPECT_FALSE(TypeItem(0u).hasFlag(F::valid));

    useLanguage(EvaluationEnvironment::languageFortran);
    EXPECT_TRUE(flagSet(TypeItem(128u).typeFlags()).empty());
    EXPECT_EQ(flagSet(TypeItem(132u).typeFlags()), std::set<F::Flag>{F::character});
}

TEST_F(TypeKindTest, FlagsOfLeaves)
{
    using F = TypeFlags;
    const std::vector<std::pair<UBYTE4, std::set<F::Flag>>> cases = {
        {TE_ARRAY, {F::array}},
        {TE_VUM_ARRAY, {F::array}},
        {TE_F90_DESC_ARRAY, {F::array, F::fortranDescriptor}},
        {TE_COBOL_TABLE, {F::array, F::characterString}},
        {TE_CHARSTRING, {F::characterString}},
        {TE_PACKED_DECIMAL, {F::packedDecimal}},
        {TE_FIXED_POINT_BINARY, {F::binary}},
        {TE_ENUM, {F::enumeration}},
        {TE_ENUM2, {F::enumeration}},
        {TE_F90_POINTER, {F::pointer, F::fortranDescriptor}},
        {TE_REFERENCE, {F::reference}},
        {TE_BASED, {F::based}},
        {TE_NAMEDTAG, {F::modifier}},
        {TE_TYPEDEF, {F::modifier}},
        {TE_TYPEDEF2, {F::modifier}},
        {TE_DECORATION, {F::modifier}},
        {TE_QUALIFIER, {F::modifier}},
        {TE_FUNCTION, {F::function}},
        {TE_MEMBERFUNCTION, {F::function}},
        {TE_PROCEDURE, {F::function}},
        {TE_BUILTIN_PROCEDURE, {F::function}},
        {TE_F90_ALLOCATABLE, {F::descriptorObject, F::fortranDescriptor}},
        {TE_ZONED_DECIMAL, {F::zonedDecimal}},
        {TE_NATIONAL_DECIMAL, {F::nationalDecimal}},
        {TE_NATIONAL_STRING, {F::nationalString}},
        {TE_INDEX_NAME, {F::indexName}},
        {TE_INDEX_DATA_ITEM, {F::indexDataItem}},
        {TE_EXTERNAL_FLOAT, {F::externalFloat}},
        {TE_ALPHA_NUMERIC_EDITED, {F::alphaNumericEdited}},
        {TE_NUMERIC_EDITED, {F::numericEdited}},
        {TE_NATIONAL_EXTERNAL_FLOAT, {F::nationalExternalFloat}},
        {TE_NATIONAL_EDITED, {F::nationalEdited}},
        {TE_NATIONAL_NUMERIC_EDITED, {F::nationalNumericEdited}},
        {TE_FILE_DESCRIPTOR, {F::fileDescriptor}},
        {TE_DBCS_STRING, {F::dbcsString}},
        {TE_DBCS_EDITED, {F::dbcsEdited}},
    };
    for (const auto& [leaf, expected] : cases) {
        TypeItem t = raw(entry(leaf));
        EXPECT_TRUE(t.hasFlag(F::valid)) << leaf;
        EXPECT_EQ(flagSet(t.typeFlags()), expected) << leaf;
    }
    for (UBYTE4 leaf : {0u, 2u, 4u, 6u, 8u, 15u, 18u, 22u, 24u, 31u, 53u, 64u, 65u, 66u, 16385u}) {
        TypeItem t = raw(entry(leaf));
        EXPECT_TRUE(t.hasFlag(F::valid)) << leaf;
        EXPECT_TRUE(flagSet(t.typeFlags()).empty()) << leaf;
    }
    for (UBYTE4 leaf : {3u, 9u, 84u, 89u, 1000u})
        EXPECT_FALSE(raw(entry(leaf)).hasFlag(F::valid)) << leaf;

    // Pointers learn from their target; address-of references are marked.
    TypeItem toVoid = raw(entry(TE_POINTER, [](_TYPE_ENTRY& e) {
        e.pointer.flags = TNpointer_Bytes8;
        e.pointer.target = TYPE_INDEX{0, 151};
    }));
    EXPECT_EQ(flagSet(toVoid.typeFlags()), (std::set<F::Flag>{F::pointer, F::pointerToVoid}));
    TYPE_INDEX shared = entry(TE_UPC_SHARED, [](_TYPE_ENTRY& e) {
        e.upcshared.qualifiedType = TYPE_INDEX{0, 130};
        e.upcshared.factor.blockFactor = 3;
    });
    TypeItem toShared = raw(records().pointerType(shared, 8));
    EXPECT_EQ(flagSet(toShared.typeFlags()), (std::set<F::Flag>{F::pointer, F::pointerToShared}));
    EXPECT_EQ(flagSet(raw(records().referenceType(TYPE_INDEX{0, 130}, true)).typeFlags()),
              (std::set<F::Flag>{F::reference, F::addressOfReference}));

    // A based variable carries its pointer variable's name.
    TypeItem based = raw(entry(TE_BASED, [&](_TYPE_ENTRY& e) { e.based.pointerName = records().text("P"); }));
    EXPECT_STREQ(based.typeFlags().basedPointerName(), "P");
}

// An item whose flags are set before they are computed (as a typedef the
// evaluator looked through would hold them).
class PresetFlags : public TypeItem {
public:
    PresetFlags(TYPE_INDEX index, const _TYPE_ENTRY* e) : TypeItem(index, e, false)
    {
        for (unsigned i = TypeFlags::array; i < 48; ++i)
            flags.add(TypeFlags::Flag(i));
        flags.remove(TypeFlags::upcShared);
        flags.remove(TypeFlags::pointerToShared);
        flags.setFactor(0x1234567800000009ull);
    }
};

TEST_F(TypeKindTest, MergeTakesEveryBitButTheReservedOnes)
{
    TYPE_INDEX alias = records().typedefType("T", TYPE_INDEX{0, 130});
    PresetFlags all(alias, records().type(alias));
    TypeFlags mine;
    mine.merge(all);
    for (unsigned i = 0; i < 48; ++i) {
        bool expected =
            i != TypeFlags::widthCarrier && i < 46 && i != TypeFlags::upcShared && i != TypeFlags::pointerToShared;
        EXPECT_EQ(mine.has(TypeFlags::Flag(i)), expected) << "bit " << i;
    }
    EXPECT_EQ(mine.factor(), 0u) << "an unshared type passes no factor";

    // A shared other passes its block factor.
    TYPE_INDEX shared = entry(TE_UPC_SHARED, [](_TYPE_ENTRY& e) {
        e.upcshared.qualifiedType = TYPE_INDEX{0, 130};
        e.upcshared.factor.blockFactor = 6;
    });
    TypeFlags f;
    f.merge(raw(shared));
    EXPECT_TRUE(f.has(TypeFlags::upcShared));
    EXPECT_EQ(f.factor(), 6u);
    // By index: the created-or-found type of the index.
    TypeFlags g;
    g.merge(shared);
    EXPECT_EQ(g.factor(), 6u);
}

TEST_F(TypeKindTest, UpcBlockFactorSources)
{
    // Held at an address that a DWARF expression computes: a big-endian
    // number of the program's address size.
    host.memory().store(0x1000, {0, 0, 0, 7, 0, 0, 0, 0});
    host.memory().store(0x2000, {0, 0, 0, 0, 0, 0, 0, 9});
    auto computedAt = [&](UBYTE1 address) {
        const UBYTE1* expression = records().bytes({dwarf::DW_OP_const2u, address, 0x00});
        return entry(TE_UPC_SHARED, [&](_TYPE_ENTRY& e) {
            e.upcshared.blockFactorSource = TNupcshared_FromAddress;
            e.upcshared.qualifiedType = TYPE_INDEX{0, 130};
            e.upcshared.source.addressExpression = expression;
            e.upcshared.factor.expressionLength = 3;
        });
    };
    EXPECT_EQ(raw(computedAt(0x10)).typeFlags().factor(), 7u);
    env.setAddressSize(8);
    EXPECT_EQ(raw(computedAt(0x20)).typeFlags().factor(), 9u);

    // Fewer than 8 bytes readable.
    host.memory().store(0x3000, {0, 0, 0, 1});
    TypeItem shortRead = raw(computedAt(0x30));
    EXPECT_EQ(invalidOpCode([&] { shortRead.typeFlags(); }), InvalidOp::RTRC_AssertFail);

    // Held by a variable: the file scope must exist.
    TYPE_INDEX byVariable = entry(TE_UPC_SHARED, [&](_TYPE_ENTRY& e) {
        e.upcshared.blockFactorSource = TNupcshared_FromVariable;
        e.upcshared.qualifiedType = TYPE_INDEX{0, 130};
        e.upcshared.source.variableName = records().text("BF");
    });
    TypeItem variable = raw(byVariable);
    EXPECT_EQ(invalidOpCode([&] { variable.typeFlags(); }), InvalidOp::RTRC_AssertFail);
    EXPECT_EQ(invalidOpCode([&] { variable.typeFlags(); }), InvalidOp::RTRC_AssertFail)
        << "a failure is reported again";
}

TEST_F(TypeKindTest, TypedefToSharedTypeMergesTheSharing)
{
    TYPE_INDEX shared = entry(TE_UPC_SHARED, [](_TYPE_ENTRY& e) {
        e.upcshared.qualifiedType = TYPE_INDEX{0, 130};
        e.upcshared.factor.blockFactor = 4;
    });
    TypeItem t(records().typedefType("T", shared));
    EXPECT_EQ(t.typeIndex(), 130u);
    EXPECT_TRUE(t.hasFlag(TypeFlags::upcShared));
    EXPECT_TRUE(t.hasFlag(TypeFlags::integral));
    EXPECT_EQ(t.sharedBlockElements(), 4u);
    EXPECT_EQ(nameOf(t), "T shared [4] ");
    EXPECT_EQ(invalidOpCode([] { TypeItem(130u).sharedBlockElements(); }), InvalidOp::RTRC_IncompatTypes);
}

TEST_F(TypeKindTest, EquivalentPrimitiveAndEnumerations)
{
    TYPE_INDEX klass = records().classType({.name = "point", .byteSize = 8});
    TYPE_INDEX colour = records().enumType("colour", TYPE_INDEX{0, 133}, {{"red", 0}});
    EXPECT_EQ(TypeItem(136u).equivalentPrimitiveType(), 136u);
    EXPECT_EQ(TypeItem(records().arrayType(TYPE_INDEX{0, 130}, 40)).equivalentPrimitiveType(), 223u);
    EXPECT_EQ(raw(records().pointerType(klass, 4)).equivalentPrimitiveType(), 183u);
    EXPECT_EQ(TypeItem(colour).equivalentPrimitiveType(), 133u);
    EXPECT_EQ(TypeItem(colour).enumType()->typeIndex(), 133u);
    EXPECT_EQ(TypeItem(colour).reduce().typeIndex(), 133u);
    EXPECT_EQ(invalidOpCode([&] { TypeItem(klass).enumType(); }), InvalidOp::RTRC_Other);
}

} // namespace

namespace {

class TracedKindTest : public TypesTest {
protected:
    TracedKindTest() : TypesTest(EvaluationEnvironment::languageCPP, true) {}

    // The message part of the captured lines (after "<function>(<line>): ").
    std::vector<std::string> messages() const
    {
        std::vector<std::string> out;
        for (const std::string& line : host.texts()) {
            std::string::size_type at = line.find("): ");
            out.push_back(at == std::string::npos ? line : line.substr(at + 3));
        }
        return out;
    }
    bool saw(const std::string& message) const
    {
        for (const std::string& m : messages())
            if (m == message)
                return true;
        return false;
    }
};

TEST_F(TracedKindTest, KindsAreTracedWithTheirNames)
{
    host.clearLines();
    TypeItem(130u).kind();
    EXPECT_TRUE(saw("Returns t_signedLongInt for type t_0(130)"));
    TypeItem(148u);
    invalidOpCode([] { TypeItem(148u).kind(); });
    EXPECT_TRUE(saw("Unknown type 148 for type t_0(148)   0(148)"));

    TYPE_INDEX wide = records().integerType(40, false, 30); // bits past 8 bytes
    invalidOpCode([&] { TypeItem(wide).kind(); });
    char expected[96];
    std::snprintf(expected, sizeof expected, "Incorrect size (9) for type t_%x(%u)   %x(%u)", wide.module, wide.index,
                  wide.module, wide.index);
    EXPECT_TRUE(saw(expected));

    TYPE_INDEX vum{};
    records().newType(TE_VUM_ARRAY, &vum);
    EXPECT_EQ(TypeItem(vum).kind(), t_array);
    EXPECT_TRUE(saw("Returns t_array for TE_VUM_ARRAY"));

    host.clearLines();
    TypeItem::simpleType(t_zonedDecimal);
    EXPECT_TRUE(saw("DT:ZonedDecimal?"));
    EXPECT_TRUE(saw("DT:ZonedDecimal.Supported."));
    invalidOpCode([] { TypeItem::simpleType(t_packedDecimal); });
    EXPECT_TRUE(saw("DT:PackedDecimal.NOT.Supported!"));

    TYPE_INDEX decorated{};
    records().newType(TE_DECORATION, &decorated).modifier.type = TYPE_INDEX{0, 130};
    TypeItem d(decorated, records().type(decorated), false);
    CreatedTypeItem::findDecoratedType(d);
    EXPECT_TRUE(saw("Find decorated type for "));
}

} // namespace
