// The representation of one expression: its text, parameters, reset of its
// built form and value stack; and the value-stack seams it stands on.

#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "testhost/inprocess/ContextFixtures.h"
#include "compiler/EE_InstructionStream.h"
#include "compiler/expression_info.h"
#include "frontend/EE_Exception.h"
#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"
#include "machine/StackItemFileDesc.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "types/ScopeItem.h"

namespace {

std::string text(const ByteString& s)
{
    return std::string(reinterpret_cast<const char*>(s.data()), s.length());
}

class CountedStream : public EE_InstructionStream {
public:
    explicit CountedStream(int& deleted) : deleted_(deleted) {}
    ~CountedStream() override { ++deleted_; }

private:
    int& deleted_;
};

expression_info* newInfo(EE_InstructionStream* stream, unsigned parameters)
{
    return new expression_info{stream, nullptr, parameters, nullptr};
}

class RepresentationTest : public ContextTest {};

} // namespace

TEST(ExpressionRepresentation, Text)
{
    ExpressionRepresentation none(2, nullptr);
    EXPECT_EQ(none.expression(nullptr).length(), 0u);
    ExpressionRepresentation empty;
    EXPECT_EQ(empty.expression(nullptr).length(), 0u);
    EXPECT_EQ(empty.language(), 0);
    const unsigned char sum[] = "a + b";
    ExpressionRepresentation rep(6, sum);
    EXPECT_EQ(text(rep.expression(nullptr)), "a + b");
    EXPECT_EQ(rep.language(), 6);
    EXPECT_EQ(rep.asExprRepresentation(), &rep);
    EXPECT_EQ(rep.asLocalsRepresentation(), nullptr);
}

TEST(ExpressionRepresentation, Parameters)
{
    // Outlives the representation, whose end deletes the stream.
    int deleted = 0;
    ExpressionRepresentation rep(2, nullptr);
    EXPECT_EQ(rep.readParameter(0), -1);
    rep.initParameters(); // nothing built: nothing changes
    EXPECT_EQ(rep.parameters().count(), 0u);
    EXPECT_EQ(rep.flags() & ExpressionRepresentation::parametersSet, 0);

    rep.saveExprInfo(newInfo(new CountedStream(deleted), 0));
    rep.initParameters();
    EXPECT_EQ(rep.parameters().count(), 0u);

    rep.exprInfo()->parameterCount = 3;
    rep.initParameters();
    ASSERT_EQ(rep.parameters().count(), 3u);
    EXPECT_EQ(rep.readParameter(0), -2);
    EXPECT_EQ(rep.readParameter(1), -2);
    EXPECT_EQ(rep.readParameter(2), -1);
    EXPECT_NE(rep.flags() & ExpressionRepresentation::parametersSet, 0);
    EXPECT_EQ(codeOf([&] { rep.readParameter(3); }), InvalidOp::RTRC_SubscriptOutOfBounds);

    rep.exprInfo()->parameterCount = 1;
    rep.initParameters();
    ASSERT_EQ(rep.parameters().count(), 1u);
    EXPECT_EQ(rep.readParameter(0), -1);

    List<int> chosen;
    chosen.append(4);
    chosen.append(7);
    rep.setParameters(chosen, 2);
    EXPECT_EQ(rep.flags() & ExpressionRepresentation::parametersSet, 0);
    EXPECT_EQ(rep.readParameter(1), 7);
    chosen[1] = 9; // a copy was taken
    EXPECT_EQ(rep.readParameter(1), 7);
    rep.setParameters(chosen, 1);
    EXPECT_NE(rep.flags() & ExpressionRepresentation::parametersSet, 0);
    EXPECT_FALSE(rep.isArrayAssignment());

    // A store over parameters is an array assignment; without parameters it
    // is a plain store.
    rep.markStores();
    EXPECT_EQ(rep.flags() & 0x02, 0x02);
    EXPECT_TRUE(rep.isArrayAssignment());
    rep.exprInfo()->parameterCount = 0;
    EXPECT_FALSE(rep.isArrayAssignment());
}

TEST(ExpressionRepresentation, ResetReleasesTheBuiltExpressionOnce)
{
    int streams = 0;
    int items = 0;
    {
        ExpressionRepresentation rep(2, nullptr);
        int notOwned = 0;
        CountedItem validated(rep, notOwned);
        rep.saveExprInfo(newInfo(new CountedStream(streams), 2));
        rep.saveValidationResult(&validated);
        EXPECT_EQ(rep.validationResult(), &validated);
        rep.runtimeStack().push(new CountedItem(rep, items));
        rep.runtimeStack().push(new CountedItem(rep, items));
        EXPECT_EQ(rep.runtimeStack().count(), 2u);

        rep.reset();
        EXPECT_EQ(streams, 1);
        EXPECT_EQ(items, 2);
        EXPECT_EQ(rep.exprInfo(), nullptr);
        EXPECT_EQ(rep.validationResult(), nullptr);
        EXPECT_EQ(rep.runtimeStack().count(), 0u);

        rep.reset();
        EXPECT_EQ(streams, 1);

        // The stack stays usable; the destructor empties it again.
        rep.runtimeStack().push(new CountedItem(rep, items));
        rep.saveExprInfo(newInfo(nullptr, 0));
    }
    EXPECT_EQ(items, 3);
    EXPECT_EQ(streams, 1);
}

TEST(ExpressionRepresentation, ExprFree)
{
    try {
        exprFree(nullptr);
        FAIL() << "no exception";
    } catch (const EE_Exception& e) {
        EXPECT_EQ(e.code, 2u);
    }
    int deleted = 0;
    expression_info info{new CountedStream(deleted), nullptr, 0, nullptr};
    exprFree(&info);
    EXPECT_EQ(info.instructions, nullptr);
    exprFree(&info);
    EXPECT_EQ(deleted, 1);
}

TEST(ExpressionRepresentation, DestroyedWhileAnotherIsCurrent)
{
    std::thread([] {
        auto* first = new ExpressionRepresentation(2, nullptr);
        first->makeCurrent(nullptr);
        new ScopeItem(nullptr, ScopeItem::block);
        int streams = 0;
        first->saveExprInfo(newInfo(new CountedStream(streams), 0));

        ExpressionRepresentation second(2, nullptr);
        second.makeCurrent(nullptr);
        delete first;
        EXPECT_EQ(streams, 1);
        EXPECT_EQ(EvaluationEnvironment::currentRep(), &second);
    }).join();
}

TEST_F(RepresentationTest, IntegerStackItems)
{
    ExpressionRepresentation rep(2, nullptr);
    rep.makeCurrent(nullptr);
    fake.poke(0x40, {0xFF, 0xFE, 0x00, 0x01, 0x80, 0x00, 0x00, 0x00});

    struct Case {
        unsigned code;
        std::uint64_t expected;
    } cases[] = {
        {128, 0xFFFFFFFFFFFFFFFFull},
        {132, 0xFF},
        {148, 0xFF},
        {129, 0xFFFFFFFFFFFFFFFEull},
        {133, 0xFFFE},
        {130, 0xFFFFFFFFFFFE0001ull},
        {134, 0xFFFE0001ull},
        {155, 0xFFFE000180000000ull},
        {156, 0xFFFE000180000000ull},
    };
    const DebuggeeLocation at(DebuggeeAddress(std::uint32_t(0x40)));
    for (const Case& c : cases) {
        StackItem* item = RuntimeStack::makeStackItem(TypeItem(c.code), nullptr);
        ASSERT_NE(item, nullptr) << c.code;
        item->load(at);
        EXPECT_EQ(item->asUnsigned(), c.expected) << c.code;
        EXPECT_FALSE(item->location() != at);
        delete item;
    }
    // A pointer is an address item; bool is an unsigned byte typed bool;
    // index 0 has no item.
    {
        std::unique_ptr<StackItem> pointer(RuntimeStack::makeStackItem(TypeItem(162u), nullptr));
        EXPECT_TRUE(pointer->mayBeAddress());
        EXPECT_TRUE(pointer->holdsAddress());
    }
    for (unsigned code : {0u})
        EXPECT_EQ(codeOf([&] { delete RuntimeStack::makeStackItem(TypeItem(code), nullptr); }),
                  InvalidOp::RTRC_NotSupported)
            << code;
    for (unsigned code : {144u, 151u}) {
        StackItem* item = RuntimeStack::makeStackItem(TypeItem(code), nullptr);
        ASSERT_NE(item, nullptr) << code;
        EXPECT_TRUE(item->type().typeIndex() == code) << code;
        EXPECT_EQ(item->size(), code == 144u ? 1u : 0u) << code;
        delete item;
    }
}

namespace {

_TYPE_ENTRY fileEntry{};
_TYPE_ENTRY intEntry{};

int typeEntries(EXPR_CTX, UBYTE4 module, UBYTE4 index, TYPE_ENTRY** entry)
{
    if (module != 0x100)
        return 1;
    *entry = index == 1 ? &fileEntry : &intEntry;
    return 0;
}

int fileInfo(EXPR_CTX, EE_ADDR address, void* buffer, UBYTE4 size)
{
    std::memset(buffer, 0, size);
    std::memcpy(buffer, "\xC3\xC2\xD3\xC4\xC2\xC7\xC6\xC9", 8);
    static_cast<unsigned char*>(buffer)[24] = static_cast<unsigned char>(address.addrLow);
    return 0;
}

} // namespace

TEST_F(RepresentationTest, HostIntegerTypesAndFileDescriptions)
{
    host.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprGetTypeEntry, &typeEntries);
    host.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprGetFileInfo, &fileInfo);
    ASSERT_TRUE(host.install());
    ExpressionRepresentation rep(6, nullptr);
    rep.makeCurrent(nullptr);

    intEntry.integer.leaf = TE_INTEGER;
    intEntry.integer.flags = TNinteger_Signed;
    intEntry.integer.bitLength = 16;
    fake.poke(0x80, {0xFF, 0xF0});
    StackItem* item = RuntimeStack::makeStackItem(TypeItem(TYPE_INDEX{0x100, 2}), nullptr);
    ASSERT_NE(item, nullptr);
    item->load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x80))));
    EXPECT_EQ(static_cast<std::int64_t>(item->asUnsigned()), -16);
    delete item;
    intEntry.integer.bitLength = 3; // a bit field: its first 3 bits, 111
    item = RuntimeStack::makeStackItem(TypeItem(TYPE_INDEX{0x100, 2}), nullptr);
    item->load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x80))));
    EXPECT_EQ(item->size(), 1u);
    EXPECT_EQ(item->asSigned(), -1);
    delete item;

    fileEntry.fileDescriptor.leaf = TE_FILE_DESCRIPTOR;
    fileEntry.fileDescriptor.name = "FD";
    StackItemFileDesc file(rep, TypeItem(TYPE_INDEX{0x100, 1}));
    const auto* info = static_cast<const unsigned char*>(file.resultBuffer());
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(info[i], 0);
    EXPECT_EQ(codeOf([&] { file.load(DebuggeeLocation()); }), InvalidOp::RTRC_Other);
    file.load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x31))));
    EXPECT_EQ(std::memcmp(info, "\xC3\xC2\xD3\xC4\xC2\xC7\xC6\xC9", 8), 0);
    EXPECT_EQ(info[24], 0x31);
    EXPECT_EQ(file.location().address().addr(), 0x31u);
    EXPECT_EQ(codeOf([&] { file.asUnsigned(); }), InvalidOp::RTRC_IncompatTypes);

    // A sort file description is not asked of the host, even without a place.
    fileEntry.fileDescriptor.name = "SD";
    StackItemFileDesc sort(rep, TypeItem(TYPE_INDEX{0x100, 1}));
    sort.load(DebuggeeLocation());
    EXPECT_STREQ(static_cast<const char*>(sort.resultBuffer()), "SDFILE");
}

TEST(ExpressionRepresentation, SavingNewInformationFreesTheOldOnce)
{
    int streams = 0;
    {
        ExpressionRepresentation rep(2, nullptr);
        expression_info* first = newInfo(new CountedStream(streams), 0);
        rep.saveExprInfo(first);
        rep.saveExprInfo(first); // the same again: kept, not freed
        EXPECT_EQ(streams, 0);
        EXPECT_EQ(rep.exprInfo(), first);
        rep.saveExprInfo(newInfo(new CountedStream(streams), 1));
        EXPECT_EQ(streams, 1) << "the earlier expression information is freed";
        rep.saveExprInfo(nullptr);
        EXPECT_EQ(streams, 2);
        rep.saveExprInfo(newInfo(new CountedStream(streams), 0));
    }
    EXPECT_EQ(streams, 3);
}
