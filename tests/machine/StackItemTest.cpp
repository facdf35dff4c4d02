#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "datatypes/AlphaNumericEdited.h"
#include "datatypes/DbcsEdited.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/ExternalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/FloatNumber.h"
#include "datatypes/IndexDataItem.h"
#include "datatypes/IndexName.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalEdited.h"
#include "datatypes/NationalExternalFloat.h"
#include "datatypes/NationalNumericEdited.h"
#include "datatypes/NumericEdited.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "machine/RuntimeStack.h"
#include "machine/StackItemS.h"
#include "services/EvaluationEnvironment.h"
#include "testhost/inprocess/CountingItem.h"
#include "testhost/inprocess/MachineFixture.h"
#include "tree/RootTreeNode.h"
#include "types/ScopeItem.h"

namespace {

class StackItemTest : public MachineFixture {
protected:
    // A 64-bit integer register of the simulated host.
    DebuggeeLocation registerLocation(UBYTEP id)
    {
        TestHost::Register r;
        r.name = "R" + std::to_string(id);
        r.id = id;
        const UBYTE1 bytes[] = {1, 2, 3, 4, 5, 6, 7, 8};
        std::memcpy(r.value, bytes, sizeof bytes);
        host.addRegister(r);
        return DebuggeeLocation(static_cast<unsigned long>(id));
    }

    static DebuggeeLocation at(std::uint64_t address) { return DebuggeeLocation(DebuggeeAddress(address, 4)); }

    int deletions = 0;
};

ByteString bytes(const std::vector<unsigned char>& v)
{
    return ByteString(v.data(), static_cast<unsigned>(v.size()));
}

std::vector<unsigned char> vectorOf(const ByteString& s)
{
    return std::vector<unsigned char>(s.data(), s.data() + s.length());
}

} // namespace

TEST_F(StackItemTest, NewItemFlagsAndScope)
{
    CountingItem item(rep(), deletions);
    EXPECT_TRUE(item.hasValue());
    EXPECT_TRUE(item.isAllocated());
    EXPECT_TRUE(item.isAssociated());
    EXPECT_FALSE(item.holdsAddress() || item.isCompound() || item.inDebuggerAddressSpace() ||
                 item.fromRegisterVariable() || item.fromRegister());
    EXPECT_EQ(item.firstFlagByte(), 0xE0);
    EXPECT_EQ(item.secondFlagByte(), 0);
    EXPECT_EQ(item.location().kind(), DebuggeeLocation::none);
    EXPECT_EQ(item.name(), nullptr);
    EXPECT_EQ(item.next(), nullptr);
    EXPECT_EQ(item.scope(), fileScope());
    EXPECT_NE(item.scope(), nullptr);

    ScopeItem block(context, ScopeItem::block);
    item.setScope(&block);
    EXPECT_EQ(item.scope(), &block);
    item.setScope(nullptr);
    EXPECT_EQ(item.scope(), fileScope());
}

TEST_F(StackItemTest, ZeroSizeRegisterLoadReadsNothing)
{
    const DebuggeeLocation r = registerLocation(7);
    CountingItem item(rep(), deletions);
    item.load(r);
    EXPECT_TRUE(item.fromRegister());
    EXPECT_TRUE(item.inDebuggerAddressSpace());
    EXPECT_TRUE(item.hasValue());
    EXPECT_EQ(item.location().kind(), DebuggeeLocation::none);
    EXPECT_EQ(host.callCount(HS_ExprGetRegisterValue), 0u);
}

TEST_F(StackItemTest, LoadsAndFailedReads)
{
    host.memory().store(0x100, {0xDE, 0xAD, 0xBE, 0xEF, 0x01, 0x02});
    CountingItem item(rep(), deletions, 4);
    item.setInDebuggerAddressSpace();
    item.load(at(0x100));
    EXPECT_EQ(std::memcmp(item.resultBuffer(), "\xDE\xAD\xBE\xEF", 4), 0);
    EXPECT_FALSE(item.location() != at(0x100));
    EXPECT_FALSE(item.inDebuggerAddressSpace());
    EXPECT_TRUE(item.hasValue());
    EXPECT_FALSE(item.fromRegister());

    // Two of four bytes readable: a short read, and the item forgets where
    // it was loaded from.
    EXPECT_EQ(raisedCode([&] { item.load(at(0x104)); }), InvalidOp::RTRC_ReadMemoryFailed);
    EXPECT_EQ(item.location().kind(), DebuggeeLocation::none);
    EXPECT_FALSE(item.hasValue());

    // A host whose read fails in any other way has read nothing.
    item.load(at(0x100));
    host.throwFromSlot(HS_Expr2ReadMemory, 1);
    EXPECT_EQ(raisedCode([&] { item.load(at(0x100)); }), InvalidOp::RTRC_ReadMemoryFailed);
    EXPECT_EQ(item.location().kind(), DebuggeeLocation::none);

    // No place, or no buffer for a value that has bytes.
    item.load(at(0x100));
    EXPECT_EQ(raisedCode([&] { item.load(DebuggeeLocation()); }), InvalidOp::RTRC_Other);
    EXPECT_FALSE(item.hasValue());
    item.load(at(0x100));
    EXPECT_EQ(raisedCode([&] { item.loadBuffer(at(0x100), nullptr); }), InvalidOp::RTRC_Other);
    EXPECT_FALSE(item.hasValue());
    EXPECT_EQ(raisedCode([&] {
                  unsigned char b[4];
                  item.ReadDebuggeeData(b, 4, DebuggeeLocation());
              }),
              InvalidOp::RTRC_Other);
}

TEST_F(StackItemTest, RegisterReadMarksTheItem)
{
    const DebuggeeLocation r = registerLocation(3);
    StackItemS4 item(rep(), 0);
    item.load(r);
    EXPECT_TRUE(item.fromRegister());
    EXPECT_EQ(item.location().kind(), DebuggeeLocation::registerLocation);
}

TEST_F(StackItemTest, CopyDropsRegisterMarksLocationRootAndLink)
{
    const DebuggeeLocation r = registerLocation(5);
    auto* item = new CountingItem(rep(), deletions, 4);
    item->load(r);
    item->setFromRegisterVariable(true);
    item->setLoadedFromVariable(true);
    item->setPlaybackGuarded(true);
    item->setHoldsAddress(true);
    item->setName("COUNTER");
    item->getTreeRoot();
    stack().push(new CountingItem(rep(), deletions));
    stack().push(item);
    ASSERT_NE(item->next(), nullptr);

    std::unique_ptr<StackItem> copy(item->clone());
    EXPECT_FALSE(copy->fromRegister());
    EXPECT_FALSE(copy->fromRegisterVariable());
    EXPECT_EQ(copy->location().kind(), DebuggeeLocation::none);
    EXPECT_EQ(copy->name(), nullptr);
    EXPECT_EQ(copy->next(), nullptr);
    EXPECT_FALSE(copy->isOnStack());
    EXPECT_TRUE(copy->loadedFromVariable());
    EXPECT_TRUE(copy->playbackGuarded());
    EXPECT_TRUE(copy->holdsAddress());
    EXPECT_TRUE(copy->type() == item->type());
    // The copy makes a root of its own.
    EXPECT_NE(copy->getTreeRoot(), item->getTreeRoot());
    EXPECT_EQ(std::memcmp(copy->resultBuffer(), item->resultBuffer(), 4), 0);
}

TEST_F(StackItemTest, TreeRootIsMadeOnceAndReleasedWithTheItem)
{
    auto* item = new StackItemS4(rep(), 12);
    RootTreeNode* root = item->getTreeRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(item->getTreeRoot(), root);
    EXPECT_EQ(root->referenceCount(), 1u);
    EXPECT_TRUE(root->dataType() == item->type());
    EXPECT_EQ(root->internalRep(), &rep());

    root->addReference(); // the test's own hold, to watch the item let go
    delete item;
    EXPECT_EQ(root->referenceCount(), 1u);
    root->removeReference();
}

TEST_F(StackItemTest, TreeRootReferencesFromSeveralThreads)
{
    // The host may take and drop references to one result's root on
    // several threads at once; none is lost.
    auto* item = new StackItemS4(rep(), 1);
    RootTreeNode* root = item->getTreeRoot();
    auto churn = [root] {
        for (int i = 0; i < 20000; ++i) {
            root->addReference();
            root->removeReference();
        }
    };
    std::thread a(churn), b(churn), c(churn);
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(root->referenceCount(), 1u);
    delete item; // the last reference: the sanitizer build sees a leak otherwise
}

TEST_F(StackItemTest, NationalToCharacter)
{
    CountingItem item(rep(), deletions);
    // Three bytes are one character and an odd byte.
    EXPECT_EQ(vectorOf(item.convertToCharacter(bytes({0x00, 0x41, 0x00}))), std::vector<unsigned char>{0xC1});
    EXPECT_EQ(item.convertToCharacter(ByteString()).length(), 0u);

    // What the host does not write stays an EBCDIC space.
    host.failSlot(HS_ExprEbcdicConvert, 0);
    EXPECT_EQ(vectorOf(item.convertToCharacter(bytes({0x00, 0x41, 0x00, 0x42}))),
              (std::vector<unsigned char>{0x40, 0x40}));

    // The host is handed the UTF-8 text with its own length: characters of
    // two and three UTF-8 bytes arrive whole.
    EXPECT_EQ(vectorOf(item.convertToCharacter(bytes({0x00, 0xE9, 0x00, 0x41, 0x00, 0xE9}))),
              (std::vector<unsigned char>{0x51, 0xC1, 0x51}));
}

TEST_F(StackItemTest, ThreeByteCharactersReachTheHostWhole)
{
    context->codePage = "1140";
    CountingItem item(rep(), deletions);
    // Three euro signs: six national bytes, nine UTF-8 bytes.
    EXPECT_EQ(vectorOf(item.convertToCharacter(bytes({0x20, 0xAC, 0x20, 0xAC, 0x20, 0xAC}))),
              (std::vector<unsigned char>{0x9F, 0x9F, 0x9F}));
    EXPECT_EQ(vectorOf(item.convertToNational(bytes({0x9F, 0xC1}))),
              (std::vector<unsigned char>{0x20, 0xAC, 0x00, 0x41}));
}

TEST_F(StackItemTest, CharacterToNational)
{
    CountingItem item(rep(), deletions);
    EXPECT_EQ(vectorOf(item.convertToNational(bytes({0xC1, 0x40, 0xF9}))),
              (std::vector<unsigned char>{0x00, 0x41, 0x00, 0x20, 0x00, 0x39}));
    // A NUL ends the converted text; the rest stays national spaces.
    EXPECT_EQ(vectorOf(item.convertToNational(bytes({0xC1, 0x00, 0xC2}))),
              (std::vector<unsigned char>{0x00, 0x41, 0x00, 0x20, 0x00, 0x20}));
    host.failSlot(HS_ExprEbcdicConvert, 0);
    EXPECT_EQ(vectorOf(item.convertToNational(bytes({0xC1, 0xC2}))),
              (std::vector<unsigned char>{0x00, 0x20, 0x00, 0x20}));
}

TEST_F(StackItemTest, LongTextsConvertWholeEachWay)
{
    CountingItem item(rep(), deletions);
    const unsigned n = 40000;
    std::vector<unsigned char> ebcdic(n);
    const unsigned char letters[] = {0xC1, 0xC2, 0xC3, 0xD1, 0xE2, 0xF0, 0xF9, 0x4B};
    for (unsigned i = 0; i < n; ++i)
        ebcdic[i] = letters[i % sizeof letters];
    const ByteString national = item.convertToNational(bytes(ebcdic));
    ASSERT_EQ(national.length(), 2 * n);
    const char ascii[] = "ABCJS09.";
    for (unsigned i = 0; i < n; ++i) {
        ASSERT_EQ(national[2 * i], 0) << i;
        ASSERT_EQ(national[2 * i + 1], static_cast<unsigned char>(ascii[i % 8])) << i;
    }
    const ByteString back = item.convertToCharacter(national);
    EXPECT_EQ(vectorOf(back), ebcdic);
    // Every call stayed within the host's 16-bit counts.
    EXPECT_GE(host.callCount(HS_ExprEbcdicConvert), 3u);
}

TEST_F(StackItemTest, BaseOperationsRefuse)
{
    CountingItem item(rep(), deletions);
    CountingItem other(rep(), deletions);
    const TNpacked_decimal packed{};
    const TNzoned_decimal zoned{};
    const TNnational_decimal nationalDecimal{};
    const TNfixed_point_binary binary{};
    const TNindex_name indexName{};
    const TNindex_data_item indexData{};
    const TNcharstring charstring{};
    const TNnational_string nationalString{};
    const TNexternal_float externalFloat{};
    const TNalpha_numeric_edited alphaEdited{};
    const TNnumeric_edited numericEdited{};
    const TNnational_edited nationalEdited{};
    const TNnational_numeric_edited nationalNumericEdited{};
    const TNnational_external_float nationalExternalFloat{};
    const TNdbcs_string dbcsString{};
    const TNdbcs_edited dbcsEdited{};
    const TNclass group{};
    const std::vector<std::pair<const char*, std::function<void()>>> slots = {
        {"genPointerAdd", [&] { item.genPointerAdd(other); }},
        {"genAdd", [&] { item.genAdd(other); }},
        {"genPointerSubtract", [&] { delete item.genPointerSubtract(other); }},
        {"genSubtract", [&] { item.genSubtract(other); }},
        {"genMult", [&] { item.genMult(other); }},
        {"genDivide", [&] { item.genDivide(other); }},
        {"genModulus", [&] { item.genModulus(other); }},
        {"genPow", [&] { item.genPow(other, 2); }},
        {"genBitAnd", [&] { item.genBitAnd(other); }},
        {"genBitOr", [&] { item.genBitOr(other); }},
        {"genBitXor", [&] { item.genBitXor(other); }},
        {"genConcatenate", [&] { item.genConcatenate(other); }},
        {"genIndex", [&] { item.genIndex(other, 0); }},
        {"genRankIndex", [&] { item.genRankIndex(other, 1, 4); }},
        {"genNegate", [&] { item.genNegate(); }},
        {"genComplement", [&] { item.genComplement(); }},
        {"genNot", [&] { item.genNot(); }},
        {"genConvert", [&] { item.genConvert(other); }},
        {"genTruncateFP", [&] { item.genTruncateFP(4); }},
        {"genLogicalShiftLeft", [&] { item.genLogicalShiftLeft(other); }},
        {"genLogicalShiftRight", [&] { item.genLogicalShiftRight(other); }},
        {"genArithmeticShiftRight", [&] { item.genArithmeticShiftRight(other); }},
        {"genEQ", [&] { item.genEQ(other); }},
        {"genNE", [&] { item.genNE(other); }},
        {"genLT", [&] { item.genLT(other); }},
        {"genLE", [&] { item.genLE(other); }},
        {"genGT", [&] { item.genGT(other); }},
        {"genGE", [&] { item.genGE(other); }},
        {"isZero", [&] { item.isZero(); }},
        {"asUnsigned", [&] { item.asUnsigned(); }},
        {"asSigned", [&] { item.asSigned(); }},
        {"asLongDouble", [&] { item.asLongDouble(); }},
        {"realPart", [&] { item.realPart(); }},
        {"imaginaryPart", [&] { item.imaginaryPart(); }},
        {"asDecimalFloat", [&] { item.asDecimalFloat(); }},
        {"asPackedDecimal", [&] { item.asPackedDecimal(packed); }},
        {"asZonedDecimal", [&] { item.asZonedDecimal(zoned); }},
        {"asNationalDecimal", [&] { item.asNationalDecimal(nationalDecimal); }},
        {"asFixedPointBinary", [&] { item.asFixedPointBinary(binary); }},
        {"asIndexName", [&] { item.asIndexName(indexName); }},
        {"asIndexDataItem", [&] { item.asIndexDataItem(indexData); }},
        {"asCharstring", [&] { item.asCharstring(charstring); }},
        {"asNationalString", [&] { item.asNationalString(nationalString); }},
        {"asExternalFloat", [&] { item.asExternalFloat(externalFloat); }},
        {"asAlphaNumericEdited", [&] { item.asAlphaNumericEdited(alphaEdited); }},
        {"asNumericEdited", [&] { item.asNumericEdited(numericEdited); }},
        {"asNationalEdited", [&] { item.asNationalEdited(nationalEdited); }},
        {"asNationalNumericEdited", [&] { item.asNationalNumericEdited(nationalNumericEdited); }},
        {"asNationalExternalFloat", [&] { item.asNationalExternalFloat(nationalExternalFloat); }},
        {"asDbcsString", [&] { item.asDbcsString(dbcsString); }},
        {"asDbcsEdited", [&] { item.asDbcsEdited(dbcsEdited); }},
        {"asLocation", [&] { item.asLocation(); }},
        {"asAlphaNumericGroup", [&] { item.asAlphaNumericGroup(group); }},
    };
    for (const auto& [slot, call] : slots) {
        try {
            call();
            ADD_FAILURE() << slot << " did not refuse";
        } catch (const InvalidOp& e) {
            EXPECT_EQ(e.code(), InvalidOp::RTRC_IncompatTypes) << slot;
            // The refusal names the operation.
            EXPECT_NE(std::string(e.function()).find(slot), std::string::npos) << slot;
        }
    }

    // The plain queries answer for a value without the feature.
    EXPECT_FALSE(item.isArray());
    EXPECT_FALSE(item.isString());
    EXPECT_FALSE(item.isQuvHexFloat());
    EXPECT_FALSE(item.mayBeAddress());
    EXPECT_EQ(item.evaluationError(), nullptr);
    EXPECT_EQ(&item.formatType(), &item.type());
    EXPECT_EQ(raisedCode([&] { item.stringLength(); }), InvalidOp::RTRC_AssertFail);
    item.setInDebuggerAddressSpace();
    EXPECT_EQ(item.stringLength(), 0u);
}

TEST_F(StackItemTest, ConvertTypeReplacesTheItemOnlyOnSuccess)
{
    StackItem* item = new StackItemS4(rep(), -300);
    StackItem* converted = item->convertType(TypeItem(129u), context);
    EXPECT_TRUE(converted->type().typeIndex() == 129u);
    EXPECT_EQ(converted->asSigned(), -300);
    delete converted;

    // A source the target cannot take stays the caller's.
    auto* counted = new CountingItem(rep(), deletions);
    EXPECT_EQ(raisedCode([&] { counted->convertType(TypeItem(130u), context); }), InvalidOp::RTRC_IncompatTypes);
    EXPECT_EQ(deletions, 0);
    delete counted;
    EXPECT_EQ(deletions, 1);
}
