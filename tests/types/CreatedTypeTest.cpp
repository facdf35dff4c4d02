// Created types: the data-item builders (record lengths, reuse by record
// equality), numbering per environment, static types, decorations and
// shared qualifiers.

#include "TypesFixture.h"

#include <memory>

#include "types/CreatedRecordTypeItem.h"

namespace {

class CreatedTypeTest : public TypesTest {};

template <class Record>
const Record& recordOf(const TypeItem* t)
{
    return *reinterpret_cast<const Record*>(t->typeEntry());
}

TEST_F(CreatedTypeTest, BuilderByteLengths)
{
    using C = CreatedTypeItem;
    struct Case {
        const char* what;
        const TypeItem* type;
        unsigned length;
    };
    const Case cases[] = {
        {"packed 5", C::findOrCreatePackedDecimalType(5, 0, true, nullptr), 3},
        {"packed 4", C::findOrCreatePackedDecimalType(4, 0, true, nullptr), 3},
        {"packed 1", C::findOrCreatePackedDecimalType(1, 0, false, nullptr), 1},
        {"packed made 9", C::makePackedDecimalType(9, 2), 5},
        {"binary 4", C::findOrCreateFixedPointBinaryType(4, 0, true, nullptr), 2},
        {"binary 9", C::findOrCreateFixedPointBinaryType(9, 0, true, nullptr), 4},
        {"binary 10", C::findOrCreateFixedPointBinaryType(10, 0, true, nullptr), 8},
        {"binary 18", C::findOrCreateFixedPointBinaryType(18, -2, false, nullptr), 8},
        {"zoned 5 embedded leading", C::findOrCreateZonedDecimalType(5, 0, true, nullptr, TN_SignLeadingEmbedded), 5},
        {"zoned 5 embedded trailing", C::findOrCreateZonedDecimalType(5, 0, true, nullptr, TN_SignTrailingEmbedded), 5},
        {"zoned 5 separate leading", C::findOrCreateZonedDecimalType(5, 0, true, nullptr, TN_SignLeadingSeparate), 6},
        {"zoned 5 separate trailing", C::findOrCreateZonedDecimalType(5, 0, true, nullptr, TN_SignTrailingSeparate), 6},
        {"zoned made 7", C::makeZonedDecimalType(7, 2), 7},
        {"national 5 unsigned", C::findOrCreateNationalDecimalType(5, 0, false, nullptr, TN_SignNone), 10},
        {"national 5 signed", C::findOrCreateNationalDecimalType(5, 0, true, nullptr, TN_SignLeadingEmbedded), 12},
        {"national made 5", C::makeNationalDecimalType(5, 1), 12},
        {"index name", C::findOrCreateIndexNameType(4, 10), 4},
        {"index data item", C::findOrCreateIndexDataItemType(8), 8},
        {"numeric edited", C::findOrCreateNumericEditedType(9, 5, -2, "ZZ9.99"), 9},
        {"alphanumeric edited", C::findOrCreateAlphaNumericEditedType(6, "XXBXX"), 6},
        {"external float", C::findOrCreateExternalFloatType(12, "+9.99E+99"), 12},
        {"charstring", C::findOrCreateCharstringType(30, false, false, false, nullptr), 30},
        {"national string", C::findOrCreateNationalStringType(30, false, false, false, nullptr), 30},
        {"dbcs string", C::findOrCreateDbcsStringType(8, false, false, false, nullptr), 8},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.type->typeSize(), c.length) << c.what;

    const TNpacked_decimal& p = recordOf<TNpacked_decimal>(C::findOrCreatePackedDecimalType(7, -2, true, nullptr));
    EXPECT_EQ(UBYTE4(p.leaf), UBYTE4(TE_PACKED_DECIMAL));
    EXPECT_EQ(p.precision, 7);
    EXPECT_EQ(p.decimalPlaces, 2);
    EXPECT_EQ(UBYTE4(p.flags), 3u);
    EXPECT_EQ(p.scale, -2);
    EXPECT_EQ(recordOf<TNpacked_decimal>(C::findOrCreatePackedDecimalType(3, 2, false, nullptr)).decimalPlaces, 0)
        << "a positive scale has no decimal places";
    EXPECT_EQ(recordOf<TNfixed_point_binary>(C::findOrCreateFixedPointBinaryType(9, 0, true, nullptr)).flags + 0u, 8u);
    EXPECT_EQ(recordOf<TNfixed_point_binary>(C::findOrCreateFixedPointBinaryType(9, 0, false, nullptr)).flags + 0u, 0u);
    const TNzoned_decimal& made = recordOf<TNzoned_decimal>(C::makeZonedDecimalType(7, 2));
    EXPECT_EQ(made.signKind + 0u, unsigned(TN_SignTrailingEmbedded));
    EXPECT_EQ(made.flags + 0u, 2u);
    EXPECT_EQ(made.scale, -2);
    EXPECT_EQ(made.precision, 7);
    EXPECT_EQ(recordOf<TNnational_decimal>(C::makeNationalDecimalType(5, 1)).signKind + 0u,
              unsigned(TN_SignTrailingSeparate));
    EXPECT_EQ(nameOf(*C::makePackedDecimalType(9, 2)), "Decimal(9,2)");
    EXPECT_EQ(nameOf(*C::makeNationalDecimalType(5, 1)), "National Decimal(5,1)");
    EXPECT_EQ(C::makePackedDecimalType(9, 2)->kind(), t_packedDecimal);
}

TEST_F(CreatedTypeTest, ReuseByRecordEquality)
{
    using C = CreatedTypeItem;
    struct Case {
        const char* what;
        const TypeItem* first;
        const TypeItem* second;
        bool same;
    };
    const Case cases[] = {
        {"packed, pictures ignored", C::findOrCreatePackedDecimalType(5, -2, true, "S999V99"),
         C::findOrCreatePackedDecimalType(5, -2, true, "9(3)V99"), true},
        {"packed, sign differs", C::findOrCreatePackedDecimalType(5, -2, true, nullptr),
         C::findOrCreatePackedDecimalType(5, -2, false, nullptr), false},
        {"packed, scale differs", C::findOrCreatePackedDecimalType(5, -2, true, nullptr),
         C::findOrCreatePackedDecimalType(5, 2, true, nullptr), false},
        {"zoned made against picture form", C::makeZonedDecimalType(7, 2),
         C::findOrCreateZonedDecimalType(7, -2, true, nullptr, TN_SignTrailingEmbedded), false},
        {"zoned, sign position differs", C::findOrCreateZonedDecimalType(5, 0, true, nullptr, TN_SignLeadingEmbedded),
         C::findOrCreateZonedDecimalType(5, 0, true, nullptr, TN_SignTrailingEmbedded), false},
        {"national, same shape", C::findOrCreateNationalDecimalType(5, 0, true, nullptr, TN_SignLeadingSeparate),
         C::findOrCreateNationalDecimalType(5, 0, true, "S9(5)", TN_SignLeadingSeparate), true},
        {"binary, precision differs within one length", C::findOrCreateFixedPointBinaryType(5, 0, true, nullptr),
         C::findOrCreateFixedPointBinaryType(6, 0, true, nullptr), false},
        {"index names, element length differs", C::findOrCreateIndexNameType(4, 10),
         C::findOrCreateIndexNameType(4, 12), false},
        {"index data items", C::findOrCreateIndexDataItemType(4), C::findOrCreateIndexDataItemType(4), true},
        {"edited, a null picture matches", C::findOrCreateAlphaNumericEditedType(6, "XXBXX"),
         C::findOrCreateAlphaNumericEditedType(6, nullptr), true},
        {"edited, pictures differ", C::findOrCreateAlphaNumericEditedType(6, "XXBXX"),
         C::findOrCreateAlphaNumericEditedType(6, "XX/XX"), false},
        {"edited, leaves differ", C::findOrCreateNationalEditedType(6, "NNBNN"),
         C::findOrCreateDbcsEditedType(6, "NNBNN"), false},
        {"numeric edited, precision not compared", C::findOrCreateNumericEditedType(6, 4, -2, "Z9.99"),
         C::findOrCreateNumericEditedType(6, 3, 0, "Z9.99"), true},
        {"charstring, one null picture", C::findOrCreateCharstringType(8, false, false, false, "X(8)"),
         C::findOrCreateCharstringType(8, false, false, false, nullptr), false},
        {"charstring, both null", C::findOrCreateCharstringType(8, false, false, false, nullptr),
         C::findOrCreateCharstringType(8, false, false, false, nullptr), true},
        {"charstring, string kinds differ", C::findOrCreateCharstringType(8, true, false, false, nullptr),
         C::findOrCreateCharstringType(8, false, true, false, nullptr), false},
        {"national string, same", C::findOrCreateNationalStringType(8, false, false, true, "N(4)"),
         C::findOrCreateNationalStringType(8, false, false, true, "N(4)"), true},
        {"dbcs string, a null picture matches", C::findOrCreateDbcsStringType(8, true, false, false, "G(4)"),
         C::findOrCreateDbcsStringType(8, true, false, false, nullptr), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.first == c.second, c.same) << c.what;

    EXPECT_EQ(C::findOrCreateCharstringType(8, true, false, true, nullptr)->stringKindBits(), 5);

    // The search-only forms find what the builders made and nothing else.
    TNpacked_decimal wanted{};
    wanted.leaf = TE_PACKED_DECIMAL;
    wanted.precision = 5;
    wanted.decimalPlaces = 2;
    wanted.flags = 3;
    wanted.byteLength = 3;
    wanted.scale = -2;
    EXPECT_EQ(C::findType(wanted), C::findOrCreatePackedDecimalType(5, -2, true, nullptr));
    wanted.precision = 6;
    EXPECT_EQ(C::findType(wanted), nullptr);
}

TEST_F(CreatedTypeTest, NumberingRestartsWithTheEnvironment)
{
    const TypeItem* first = CreatedTypeItem::findOrCreatePackedDecimalType(5, 0, true, nullptr);
    const TypeItem* second = CreatedTypeItem::findOrCreateIndexDataItemType(2);
    EXPECT_EQ(first->unsimplifiedTypeIndex().module, 0xFFFFFFFFu);
    EXPECT_EQ(first->unsimplifiedTypeIndex().index, 0u);
    EXPECT_EQ(second->unsimplifiedTypeIndex().index, 1u);
    EXPECT_TRUE(first->isCreated());
    EXPECT_TRUE(first->isConstructed());
    EXPECT_EQ(CreatedTypeItem::findSynthesizedType(TYPE_INDEX{0xFFFFFFFFu, 1}), second);
    EXPECT_EQ(CreatedTypeItem::findSynthesizedType(TYPE_INDEX{0xFFFFFFFEu, 1}), nullptr);

    // A type made from the created index is the created type itself.
    TypeItem viaIndex(first->unsimplifiedTypeIndex());
    EXPECT_EQ(viaIndex.kind(), t_packedDecimal);
    EXPECT_EQ(viaIndex.typeSize(), 3u);

    env.reset();
    EXPECT_EQ(env.createdTypes().count(), 0u);
    const TypeItem* again = CreatedTypeItem::findOrCreatePackedDecimalType(5, 0, true, nullptr);
    EXPECT_EQ(again->unsimplifiedTypeIndex().index, 0u);
    EXPECT_EQ(env.createdTypes().count(), 1u);
}

TEST_F(CreatedTypeTest, StaticTypes)
{
    static _TYPE_ENTRY entry{};
    entry.packed.leaf = TE_PACKED_DECIMAL;
    entry.packed.byteLength = 4;
    TYPE_INDEX made = CreatedTypeItem::makeStaticType(&entry);
    EXPECT_EQ(made.module, 0xFFFFFFFEu);
    EXPECT_EQ(CreatedTypeItem::getStaticType(made), &entry);
    EXPECT_EQ(CreatedTypeItem::getStaticType(TYPE_INDEX{made.module, made.index + 1}), nullptr);
    EXPECT_EQ(CreatedTypeItem::getStaticType(TYPE_INDEX{0xFFFFFFFFu, made.index}), nullptr);

    TypeItem t(made);
    EXPECT_EQ(t.typeEntry(), &entry);
    EXPECT_EQ(t.typeSize(), 4u);
    EXPECT_EQ(typeEntryCalls(), 0u) << "a static type never asks the host";
}

TEST_F(CreatedTypeTest, StaticTypesFollowTheirOwnersAndAreBounded)
{
    // An owner registering its entry on every request does not grow the
    // table; an entry its owner frees is taken out and its index answers
    // nothing again, not even after another entry is made.
    auto owned = std::make_unique<_TYPE_ENTRY>();
    owned->packed.leaf = TE_PACKED_DECIMAL;
    owned->packed.byteLength = 3;
    const TYPE_INDEX first = CreatedTypeItem::makeStaticType(owned.get());
    for (int request = 0; request < 10; ++request)
        EXPECT_EQ(CreatedTypeItem::makeStaticType(owned.get()).index, first.index);
    EXPECT_EQ(TypeItem(first).typeSize(), 3u);

    CreatedTypeItem::forgetStaticType(owned.get());
    owned.reset();
    EXPECT_EQ(CreatedTypeItem::getStaticType(first), nullptr);
    static _TYPE_ENTRY later{};
    later.packed.leaf = TE_PACKED_DECIMAL;
    later.packed.byteLength = 9;
    const TYPE_INDEX next = CreatedTypeItem::makeStaticType(&later);
    EXPECT_NE(next.index, first.index);
    EXPECT_EQ(CreatedTypeItem::getStaticType(first), nullptr) << "a forgotten index is not reused";

    // The table is bounded: filling it ends in an error, not in growth.
    static _TYPE_ENTRY many[CreatedTypeItem::staticTypeLimit + 1];
    int code = 0;
    try {
        for (_TYPE_ENTRY& e : many)
            CreatedTypeItem::makeStaticType(&e);
    } catch (const InvalidOp& e) {
        code = e.code();
    }
    EXPECT_EQ(code, InvalidOp::RTRC_Other);
    EXPECT_EQ(CreatedTypeItem::getStaticType(next), &later) << "entries made before stay";
}

TEST_F(CreatedTypeTest, IndexFindersAndDecorations)
{
    TYPE_INDEX klass = records().classType({.name = "x", .byteSize = 4});
    const TypeItem* a = CreatedTypeItem::findOrCreateType(klass);
    EXPECT_EQ(CreatedTypeItem::findOrCreateType(klass), a);
    EXPECT_EQ(a->typeIndex(), klass);
    EXPECT_EQ(a->typeEntry(), records().type(klass));
    EXPECT_EQ(CreatedTypeItem::findType(TYPE_INDEX{klass.module, klass.index + 100}), nullptr);

    TYPE_INDEX decorated{};
    records().newType(TE_DECORATION, &decorated).modifier.type = klass;
    TypeItem d(decorated, records().type(decorated), false);
    EXPECT_EQ(CreatedTypeItem::findDecoratedType(d), a);
    EXPECT_EQ(invalidOpCode([&] { CreatedTypeItem::findDecoratedType(*a); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(invalidOpCode([] { CreatedTypeItem::findDecoratedType(TypeItem(130u)); }), InvalidOp::RTRC_Other);

    // Simplification looks through a decoration and marks it.
    TypeItem simplified(decorated);
    EXPECT_EQ(simplified.typeIndex(), klass);
    EXPECT_TRUE(simplified.hasFlag(TypeFlags::decorated));
}

TEST_F(CreatedTypeTest, SharedQualifiersOverAnIndex)
{
    TYPE_INDEX sharedIndex{};
    _TYPE_ENTRY& e = records().newType(TE_UPC_SHARED, &sharedIndex);
    e.upcshared.qualifiedType = TYPE_INDEX{0, 130};
    e.upcshared.factor.blockFactor = 4;
    TypeItem base(sharedIndex);
    ASSERT_TRUE(base.hasFlag(TypeFlags::upcShared));

    TYPE_INDEX element = records().integerType(32, false);
    const TypeItem* shared = CreatedTypeItem::findOrCreateType(element, &base);
    ASSERT_NE(shared, nullptr);
    EXPECT_TRUE(shared->hasFlag(TypeFlags::upcShared));
    EXPECT_EQ(shared->sharedBlockElements(), 4u);
    EXPECT_EQ(shared->typeIndex(), element);
    EXPECT_EQ(CreatedTypeItem::findOrCreateType(element, &base), shared) << "found again";
    EXPECT_NE(CreatedTypeItem::findOrCreateType(element), shared) << "the plain type is another";

    // A base that is not shared is no shared base.
    EXPECT_EQ(CreatedTypeItem::findOrCreateType(element, &*CreatedTypeItem::findOrCreateType(element)),
              CreatedTypeItem::findOrCreateType(element));
}

} // namespace
