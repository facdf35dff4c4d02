// Type indices: the evaluator's own index forms, resolving host indices
// through the type cache and the created types, and the type of a symbol.

#include "TypesFixture.h"

#include "HostRecordAccess.h"
#include "services/SVC.h"
#include "types/TypeCache.h"

namespace {

class TypeIndexTest : public TypesTest {};

TEST_F(TypeIndexTest, EvaluatorIndexFormsNeverAskTheHost)
{
    TypeItem none(TYPE_INDEX{0, 0});
    TypeItem primitive(TYPE_INDEX{0, 130});
    TypeItem pointer(TYPE_INDEX{0, 162});
    EXPECT_EQ(none.typeEntry(), nullptr);
    EXPECT_EQ(primitive.typeEntry(), nullptr);
    EXPECT_EQ(pointer.typeEntry(), nullptr);
    EXPECT_EQ(SVC::ExprGetTypeEntry(context, TYPE_INDEX{0, 130}), nullptr);
    EXPECT_EQ(pointer.kind(), t_pointer);
    EXPECT_TRUE(pointer.hasFlag(TypeFlags::pointer));
    EXPECT_EQ(primitive.kind(), t_signedLongInt);
    EXPECT_EQ(typeEntryCalls(), 0u);
}

TEST_F(TypeIndexTest, UnknownHostIndexGivesThePlaceholderOnceOutsideCobol)
{
    const TYPE_INDEX unknown{HostRecordStore::kModule, 9999};
    const _TYPE_ENTRY* first = SVC::ExprGetTypeEntry(context, unknown);
    ASSERT_EQ(first, SVC::placeholderTypeEntry());
    EXPECT_EQ(SVC::ExprGetTypeEntry(context, unknown), first);
    EXPECT_EQ(typeEntryCalls(), 1u) << "the placeholder is cached like any answer";

    // The placeholder stands for void.
    TypeItem t(unknown);
    EXPECT_EQ(t.typeIndex(), TYPE_INDEX({0, 151}));
    EXPECT_EQ(t.kind(), t_void);

    useLanguage(EvaluationEnvironment::languageCOBOL);
    host.clearCalls();
    SVC::ExprGetTypeEntry(context, unknown);
    SVC::ExprGetTypeEntry(context, unknown);
    EXPECT_EQ(typeEntryCalls(), 2u) << "COBOL bypasses the cache";
}

TEST_F(TypeIndexTest, CacheAnswersTheNewestNode)
{
    _TYPE_ENTRY older{}, newer{};
    const TYPE_INDEX index{0x4242, 7};
    EXPECT_EQ(TypeCache::findType(index), nullptr);
    TypeCache::addType(index, &older);
    TypeCache::addType(index, &newer);
    EXPECT_EQ(TypeCache::findType(index), &newer);
    env.typeCache().clearCache();
    EXPECT_EQ(TypeCache::findType(index), nullptr);
}

TEST_F(TypeIndexTest, CreatedIndexFollowsTheCurrentCreatedTypeAfterReset)
{
    const TypeItem* packed = CreatedTypeItem::findOrCreatePackedDecimalType(5, -2, true, nullptr);
    const TYPE_INDEX created = packed->unsimplifiedTypeIndex();
    ASSERT_EQ(created.module, 0xFFFFFFFFu);
    const _TYPE_ENTRY* e = SVC::ExprGetTypeEntry(context, created);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(UBYTE4(e->leaf), UBYTE4(TE_PACKED_DECIMAL));
    EXPECT_EQ(typeEntryCalls(), 0u);

    env.reset();
    const TypeItem* zoned = CreatedTypeItem::findOrCreateZonedDecimalType(4, 0, false, nullptr, TN_SignNone);
    ASSERT_EQ(zoned->unsimplifiedTypeIndex().index, created.index) << "numbering restarts";
    e = SVC::ExprGetTypeEntry(context, created);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(UBYTE4(e->leaf), UBYTE4(TE_ZONED_DECIMAL)) << "a stale created index is never answered from the cache";

    // A created index that names no created type is not one of this request's.
    EXPECT_EQ(CreatedTypeItem::findSynthesizedType(TYPE_INDEX{0xFFFFFFFFu, 77}), nullptr);
}

TEST_F(TypeIndexTest, TypeOfSymbolByStorageCode)
{
    const TYPE_INDEX t{0x1234, 56};
    auto make = [&](UBYTE4 kind) {
        _SYMBOL_ENTRY s{};
        s.kind = kind;
        return s;
    };
    struct Case {
        UBYTE4 kind;
        void (*place)(_SYMBOL_ENTRY&, TYPE_INDEX);
    };
    const Case cases[] = {
        {1, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.function.type = i; }},
        {8, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.function.type = i; }},
        {12, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.typed.type = i; }},
        {3, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.statics.type = i; }},
        {4, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.statics.type = i; }},
        {23, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.threadstatic.type = i; }},
        {2, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.automatic.type = i; }},
        {16384, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.builtin.type = i; }},
        {17, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.memberfunction.type = i; }},
        {43, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.commonmember.type = i; }},
        {6, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.typed.type = i; }},
        {7, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.typed.type = i; }},
        {11, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.typed.type = i; }},
        {24, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.typed.type = i; }},
        {40, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.typed.type = i; }},
        {41, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.typed.type = i; }},
        {16385, [](_SYMBOL_ENTRY& s, TYPE_INDEX i) { s.typed.type = i; }},
    };
    for (const Case& c : cases) {
        _SYMBOL_ENTRY s = make(c.kind);
        c.place(s, t);
        TYPE_INDEX got = typeOfSymbol(s);
        EXPECT_EQ(got.module, t.module) << c.kind;
        EXPECT_EQ(got.index, t.index) << c.kind;
        // The symbol layer reads the same field by the same rule.
        EXPECT_TRUE(typeIndexEqual(symbolEntryType(s), got)) << c.kind;
    }
    // Codes without a type index give the empty index, whatever the record
    // holds.
    for (UBYTE4 kind : {0u, 5u, 10u, 33u, 35u, 36u}) {
        _SYMBOL_ENTRY s = make(kind);
        std::memset(reinterpret_cast<unsigned char*>(&s) + 4, 0x5A, sizeof s - 4);
        TYPE_INDEX got = typeOfSymbol(s);
        EXPECT_EQ(got.module, 0u) << kind;
        EXPECT_EQ(got.index, 0u) << kind;
    }
}

} // namespace
