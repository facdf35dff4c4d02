#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AddressFixture.h"
#include "machine/StackItemAddress.h"
#include "machine/StackItemArraySection.h"
#include "machine/StackItemEvalError.h"
#include "machine/StackItemS.h"
#include "machine/StackItemU.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"

// Stores: which bytes are written where, and every guard that keeps them
// from being written.

namespace {

class StoreTest : public AddressFixture {
protected:
    static constexpr std::uint64_t target = 0x20000;

    void SetUp() override
    {
        AddressFixture::SetUp();
        host.memory().fill(target, 16, 0xEE);
    }

    StackItemAddress* addressOf(std::uint64_t address, TYPE_INDEX pointee = intType)
    {
        return new StackItemAddress(rep(), static_cast<unsigned long long>(address),
                                    TypeItem(records().pointerType(pointee, 4)));
    }

    // The counts of the writes the host saw, in order.
    std::vector<std::string> writes() const
    {
        std::vector<std::string> counts;
        for (const auto& call : host.callsTo(HS_Expr2WriteMemory))
            counts.push_back(call.arguments.substr(call.arguments.find("count=")));
        return counts;
    }

    std::vector<std::uint8_t> memoryAt(std::uint64_t address, unsigned n) const
    {
        return const_cast<StoreTest*>(this)->host.memory().bytes(address, n);
    }

    SymbolItem& member(const char* name, TYPE_INDEX type, std::uint64_t offset)
    {
        members_.push_back(std::make_unique<SymbolItem>(name, *scope));
        members_.back()->setDataType(TypeItem(type));
        members_.back()->memberLayout().offset = offset;
        return *members_.back();
    }

private:
    std::vector<std::unique_ptr<SymbolItem>> members_;
};

} // namespace

TEST_F(StoreTest, WritesTheValueBytesAtTheAddress)
{
    stack().push(addressOf(target + 2));
    stack().push(new StackItemS4(rep(), 0x01020304));
    host.clearCalls();
    stack().genStore();
    EXPECT_EQ(stack().count(), 0u);
    EXPECT_TRUE(stack().storeSeen());
    EXPECT_EQ(memoryAt(target, 8), (std::vector<std::uint8_t>{0xEE, 0xEE, 1, 2, 3, 4, 0xEE, 0xEE}));
    EXPECT_EQ(writes(), std::vector<std::string>{"count=4"});

    // An evaluation error's text is a string: its own bytes are written.
    stack().push(addressOf(target));
    stack().push(new StackItemEvalError(rep(), ByteString(reinterpret_cast<const unsigned char*>("oops"), 4)));
    stack().genStore();
    EXPECT_EQ(memoryAt(target, 5), (std::vector<std::uint8_t>{'o', 'o', 'p', 's', 3}));

    // A member of the same size goes the same way, at the member's offset.
    stack().push(addressOf(target));
    stack().push(new StackItemU2(rep(), 0xBEEF));
    stack().genStoreMember(member("m", records().integerType(16, true), 6));
    EXPECT_EQ(memoryAt(target + 6, 2), (std::vector<std::uint8_t>{0xBE, 0xEF}));
}

TEST_F(StoreTest, RefusedTargetsAndValuesWriteNothing)
{
    struct Case {
        const char* what;
        std::function<void()> push;
        std::function<void()> store;
        int code;
    };
    unsigned char buffer[8] = {};
    DebuggeeLocation inside;
    inside = static_cast<void*>(buffer);
    StackItemS8 one(rep(), 1);
    const Case cases[] = {
        {"evaluator buffer target",
         [&] {
             stack().push(new StackItemAddress(rep(), inside, TypeItem(records().pointerType(intType, 4))));
             stack().push(new StackItemS4(rep(), 7));
         },
         [&] { stack().genStore(); }, InvalidOp::RTRC_IncompatTypes},
        {"array section value",
         [&] {
             stack().push(addressOf(target));
             stack().push(new StackItemArraySection(one, one, one, one));
         },
         [&] { stack().genStore(); }, InvalidOp::RTRC_IncompatTypes},
        {"2 bytes into a 4-byte member",
         [&] {
             stack().push(addressOf(target));
             stack().push(new StackItemS2(rep(), 7));
         },
         [&] { stack().genStoreMember(member("m", records().integerType(32, true), 0)); }, InvalidOp::RTRC_Other},
        {"bit field of width 0",
         [&] {
             stack().push(addressOf(target));
             stack().push(new StackItemS4(rep(), 7));
         },
         [&] { stack().genStoreMember(member("b", records().integerType(0, true, 3), 0)); }, InvalidOp::RTRC_Other},
        {"bit field whose bits reach past 8 bytes",
         [&] {
             stack().push(addressOf(target));
             stack().push(new StackItemS4(rep(), 7));
         },
         [&] { stack().genStoreMember(member("b", records().integerType(40, true, 30), 0)); }, InvalidOp::RTRC_Other},
        {"8 bytes through a pointer to a 4-byte int",
         [&] {
             stack().push(addressOf(target));
             stack().push(new StackItemS8(rep(), 7));
         },
         [&] { stack().genStore(); }, InvalidOp::RTRC_Other},
        {"value only", [&] { stack().push(new StackItemS4(rep(), 7)); }, [&] { stack().genStore(); },
         InvalidOp::RTRC_Empty_Stack},
    };
    for (const Case& c : cases) {
        stack().popAll();
        c.push();
        host.clearCalls();
        EXPECT_EQ(raisedCode(c.store), c.code) << c.what;
        EXPECT_EQ(host.callCount(HS_Expr2WriteMemory), 0u) << c.what;
        EXPECT_EQ(host.callCount(HS_Expr2ReadMemory), 0u) << c.what;
    }
    EXPECT_EQ(memoryAt(target, 8), std::vector<std::uint8_t>(8, 0xEE));
}

TEST_F(StoreTest, BitFieldStoreChangesOnlyTheFieldsBits)
{
    // 3 bits at offset 5 holding 101: the low 3 bits of the first byte.
    struct Case {
        std::uint8_t before;
        std::uint8_t after;
    } cases[] = {{0x00, 0x05}, {0xFF, 0xFD}, {0xEE, 0xED}};
    for (const Case& c : cases) {
        host.memory().store(target, {c.before, 0x11, 0x22, 0x33});
        stack().push(addressOf(target - 4));
        stack().push(new StackItemS4(rep(), 0b101));
        host.clearCalls();
        stack().genStoreMember(member("b", records().integerType(3, true, 5), 4));
        EXPECT_EQ(memoryAt(target, 4), (std::vector<std::uint8_t>{c.after, 0x11, 0x22, 0x33}));
        EXPECT_EQ(writes(), std::vector<std::string>{"count=1"});
        EXPECT_EQ(stack().count(), 0u);
    }
    // Bits of the value beyond the field's width are dropped; a field across
    // a byte boundary of an 8-byte unit keeps its neighbours.
    host.memory().store(target, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    stack().push(addressOf(target));
    stack().push(new StackItemS4(rep(), 0x20F0)); // 9 bits: 0 1111 0000
    host.clearCalls();
    stack().genStoreMember(member("b", records().integerType(9, true, 30), 0));
    EXPECT_EQ(memoryAt(target, 6), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFD, 0xE1, 0xFF}));
    EXPECT_EQ(writes(), std::vector<std::string>{"count=5"});

    // A failed read of the field's bytes (the host's failure passes through)
    // writes nothing.
    host.memory().markUnreadable(target + 8, 1);
    stack().push(addressOf(target + 8));
    stack().push(new StackItemS4(rep(), 1));
    host.clearCalls();
    EXPECT_EQ(raisedCode([&] { stack().genStoreMember(member("b", records().integerType(3, true, 5), 0)); }),
              InvalidOp::RTRC_ReadMemoryFailed);
    EXPECT_EQ(host.callCount(HS_Expr2WriteMemory), 0u);
}

TEST_F(StoreTest, DryRunBrowseAndParameterMode)
{
    // The dry run notices the store and touches nothing.
    stack().push(addressOf(target));
    stack().push(new StackItemS4(rep(), 7));
    stack().setSkipState(RuntimeStack::dryRun);
    host.clearCalls();
    stack().genStore();
    stack().genStoreMember(member("m", records().integerType(32, true), 0));
    EXPECT_TRUE(stack().storeSeen());
    EXPECT_EQ(stack().count(), 2u);
    stack().setSkipState(RuntimeStack::running);

    // Browse mode refuses.
    const bool before = setBrowseMode(true);
    EXPECT_EQ(raisedCode([&] { stack().genStore(); }), InvalidOp::RTRC_NotInBrowseMode);
    stack().popAll();
    stack().push(addressOf(target));
    stack().push(new StackItemS4(rep(), 7));
    EXPECT_EQ(raisedCode([&] { stack().genStoreMember(member("m", records().integerType(32, true), 0)); }),
              InvalidOp::RTRC_NotInBrowseMode);
    setBrowseMode(before);
    stack().popAll();

    // Parameter mode checks everything and writes nothing, plain or bit field.
    const int parameters[] = {0};
    rep().setParameters(List<int>(parameters, 1), 1);
    stack().push(addressOf(target));
    stack().push(new StackItemS4(rep(), 7));
    stack().genStore();
    stack().push(addressOf(target));
    stack().push(new StackItemS4(rep(), 7));
    stack().genStoreMember(member("b", records().integerType(3, true, 5), 0));
    stack().push(addressOf(target));
    stack().push(new StackItemS2(rep(), 7));
    EXPECT_EQ(raisedCode([&] { stack().genStoreMember(member("m", records().integerType(32, true), 0)); }),
              InvalidOp::RTRC_Other);
    EXPECT_EQ(host.callCount(HS_Expr2WriteMemory), 0u);
    EXPECT_EQ(memoryAt(target, 4), std::vector<std::uint8_t>(4, 0xEE));
}

TEST_F(StoreTest, CobolGuardsOptimizedAndPlaybackVariables)
{
    use(languageCOBOL, 4);
    // A guarded variable outside playback: written, and the store noticed.
    auto guarded = [&] {
        StackItemAddress* address = addressOf(target);
        address->setPlaybackGuarded(true);
        address->setName("WS-COUNT");
        stack().push(address);
        stack().push(new StackItemS4(rep(), 0x0A0B0C0D));
    };
    guarded();
    stack().genStore();
    EXPECT_TRUE(stack().guardedStoreSeen());
    EXPECT_EQ(memoryAt(target, 4), (std::vector<std::uint8_t>{0x0A, 0x0B, 0x0C, 0x0D}));

    // In playback: refused, nothing written.
    host.setPlaybackMode(true);
    guarded();
    host.clearCalls();
    EXPECT_EQ(raisedCode([&] { stack().genStore(); }), InvalidOp::RTRC_WriteInPlayback);
    SymbolItem& guardedMember = member("WS-FIELD", records().integerType(32, true), 0);
    guardedMember.setPlaybackGuarded(true);
    stack().popAll();
    stack().push(addressOf(target));
    stack().push(new StackItemS4(rep(), 1));
    EXPECT_EQ(raisedCode([&] { stack().genStoreMember(guardedMember); }), InvalidOp::RTRC_WriteInPlayback);
    EXPECT_EQ(host.callCount(HS_Expr2WriteMemory), 0u);
    host.setPlaybackMode(false);
    stack().popAll();

    // Once an optimized variable's address was loaded: refused with its name.
    stack().setOptimizedAddressSeen();
    guarded();
    try {
        stack().genStore();
        ADD_FAILURE() << "no refusal";
    } catch (const InvalidOp& e) {
        EXPECT_EQ(e.code(), InvalidOp::RTRC_AccessOptVar);
        EXPECT_EQ(e.text(), EncodedString(L"WS-COUNT"));
    }
    EXPECT_EQ(raisedCode([&] { stack().genStoreMember(guardedMember); }), InvalidOp::RTRC_AccessOptVar);
}
