// The instruction stream: blocks, appending, operand layout, the writers and
// the decoder that reads them back.

#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CompilerFixture.h"
#include "compiler/EE_InstructionDecoder.h"
#include "compiler/EE_InstructionStream.h"
#include "compiler/expression_info.h"
#include "types/CreatedTypeItem.h"

namespace {

using Bytes = EE_InstructionStream::Buffer::Bytes;
using Instruction = EE_InstructionDecoder::Instruction;

// Pointers with their high bits set: the operand must keep all 64 bits.
const TypeItem* const highType = reinterpret_cast<const TypeItem*>(std::uintptr_t(0xFFFF8000DEADBEF8ull));
const TypeItem* const otherType = reinterpret_cast<const TypeItem*>(std::uintptr_t(0x00007FFF12345670ull));
const SymbolItem* const highSymbol = reinterpret_cast<const SymbolItem*>(std::uintptr_t(0xFFFFFFFFFFFFFFF0ull));

std::uint64_t bits(const void* p)
{
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p));
}

std::uint64_t bits(long long v)
{
    return static_cast<std::uint64_t>(v);
}

TEST(InstructionStreamBlocks, PayloadStartsAlignedAfterTheHeaderAndKeepsTheAllocation)
{
#if defined(_WIN32)
    GTEST_SKIP() << "its sizes and operands are those of 64-bit pointers";
#endif
    EXPECT_EQ(Bytes::blockBytes, 2032u);
    EXPECT_EQ(Bytes::payloadOffset(), 16u);
    EXPECT_EQ(Bytes::DataSize(), 2016u);
    EXPECT_EQ(Bytes::payloadOffset() % 8, 0u);
    EXPECT_GE(Bytes::payloadOffset(), offsetof(Bytes, used) + sizeof(std::uint16_t));
}

TEST(InstructionStreamBlocks, FirstAppendAllocatesAndSizeCountsTakenBytes)
{
    RawStream stream;
    EXPECT_EQ(stream.size(), 0u);
    EXPECT_EQ(stream.raw().first, nullptr);
    stream.genEnd();
    ASSERT_NE(stream.raw().first, nullptr);
    EXPECT_EQ(stream.raw().first, stream.raw().last);
    EXPECT_EQ(stream.size(), 1u);
}

TEST(InstructionStreamBlocks, LastByteOfABlockStaysUnused)
{
#if defined(_WIN32)
    GTEST_SKIP() << "its sizes and operands are those of 64-bit pointers";
#endif
    RawStream stream;
    for (unsigned i = 0; i < 2015; ++i)
        stream.genAdd();
    EXPECT_EQ(stream.raw().first, stream.raw().last);
    EXPECT_EQ(stream.raw().first->used, 2015u);
    stream.genSubtract();
    ASSERT_NE(stream.raw().first, stream.raw().last);
    EXPECT_EQ(stream.raw().first->used, 2015u);
    EXPECT_EQ(stream.raw().last->used, 1u);
    EXPECT_EQ(stream.size(), 2016u);
}

TEST(InstructionStreamBlocks, InstructionThatWouldReachTheCapacityGoesWholeIntoANewBlock)
{
    RawStream stream;
    for (unsigned i = 0; i < 2000; ++i)
        stream.genAdd();
    // Opcode at 2000, operand at 2008 (8-aligned): 2024 would pass the capacity.
    stream.genLoadIndirect(LLONG_MIN, highType);
    EXPECT_EQ(stream.raw().first->used, 2000u);
    ASSERT_NE(stream.raw().last, stream.raw().first);
    EXPECT_EQ(stream.raw().last->used, 24u);
    EXPECT_EQ(stream.raw().last->bytes()[0], 65u);

    const std::vector<Instruction> code = EE_InstructionDecoder::decode(stream);
    ASSERT_EQ(code.size(), 2001u);
    EXPECT_EQ(code.back(), (Instruction{65, {bits(LLONG_MIN), bits(highType)}, ""}));
}

TEST(InstructionStreamBlocks, OperandsAlignFromThePayloadStartNotFromTheHeap)
{
    RawStream stream;
    stream.genAdd();
    unsigned char* operand = stream.append(38, 8);
    EXPECT_EQ(operand - stream.raw().first->bytes(), 8);
    stream.genAdd();
    unsigned char* pow = stream.append(36, 4);
    EXPECT_EQ(pow - stream.raw().first->bytes(), 20);
    unsigned char* size = stream.append(37, 2);
    EXPECT_EQ(size - stream.raw().first->bytes(), 26);
}

TEST(InstructionStreamBlocks, LargestOperandThatFitsAndOneByteMore)
{
#if defined(_WIN32)
    GTEST_SKIP() << "its sizes and operands are those of 64-bit pointers";
#endif
    struct Case {
        const char* what;
        std::function<void(EE_InstructionStream&, std::size_t)> write;
        std::size_t largest; // the largest text length that fits an empty block
    };
    const std::string text(4000, 'x');
    const Case cases[] = {
        // opcode 1 + padding 3 + count 4 + n < 2016
        {"genString", [&](EE_InstructionStream& s, std::size_t n) { s.genString(text.data(), unsigned(n)); }, 2007},
        {"genCOBOLCall",
         [&](EE_InstructionStream& s, std::size_t n) {
             s.genCOBOLCall(reinterpret_cast<const ArgMode*>(text.data()), unsigned(n));
         },
         2007},
        // opcode 1 + padding 1 + count 2 + length + terminator < 2016
        {"genLoadIntegralValue",
         [&](EE_InstructionStream& s, std::size_t n) { s.genLoadIntegralValue(text.substr(0, n).c_str()); }, 2010},
        // opcode 1 + padding 7 + head 16 + length + terminator < 2016
        {"genLoadValue", [&](EE_InstructionStream& s, std::size_t n) { s.genLoadValue(text.data(), n, nullptr); },
         1990},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RawStream fits;
        c.write(fits, c.largest);
        EXPECT_EQ(fits.size(), 2015u);

        RawStream refused;
        refused.genAdd();
        EXPECT_EQ(eeExceptionCode([&] { c.write(refused, c.largest + 1); }), 2);
        EXPECT_EQ(refused.size(), 1u);
        EXPECT_EQ(refused.raw().first, refused.raw().last);
    }
}

TEST(InstructionStreamBlocks, TextsLongerThanABlockAreRefusedNotCut)
{
    RawStream stream;
    const std::string huge(65536, '7');
    EXPECT_EQ(eeExceptionCode([&] { stream.genLoadIntegralValue(huge.c_str()); }), 2);
    EXPECT_EQ(eeExceptionCode([&] { stream.formatAppendString(huge.c_str()); }), 2);
    const std::string longer(2100, 'A');
    EXPECT_EQ(eeExceptionCode([&] { stream.genLoadValue(longer.data(), longer.size(), nullptr); }), 2);
    EXPECT_EQ(eeExceptionCode([&] { stream.genLoadFigConstant(longer.data(), longer.size(), nullptr); }), 2);
    EXPECT_EQ(eeExceptionCode([&] { stream.append(70, 2027); }), 2);
    EXPECT_EQ(stream.size(), 0u);
}

// Every writer's operand read back by the decoder, with extreme values; the
// size is the opcode, the padding in an empty block and the 64-bit layout.
TEST(InstructionStreamWriters, EveryOperandRoundTripsThroughTheDecoder)
{
#if defined(_WIN32)
    GTEST_SKIP() << "its sizes and operands are those of 64-bit pointers";
#endif
    struct Case {
        const char* what;
        std::function<void(EE_InstructionStream&)> write;
        Instruction expected;
        std::uint64_t size;
    };
    static const char modes[8] = {0, 0, 0, 1, '\xFF', 0, 0, 2};
    const std::vector<Case> cases = {
        {"genPow", [](auto& s) { s.genPow(0xFFFFFFFFu); }, {36, {0xFFFFFFFFu}, ""}, 8},
        {"genLoadI", [](auto& s) { s.genLoadI(SHRT_MIN); }, {37, {bits(SHRT_MIN)}, ""}, 4},
        {"genIndex min", [](auto& s) { s.genIndex(LLONG_MIN); }, {38, {bits(LLONG_MIN)}, ""}, 16},
        {"genIndex over 2^32", [](auto& s) { s.genIndex(0x100000004ll); }, {38, {0x100000004ull}, ""}, 16},
        {"genLabel", [](auto& s) { s.genLabel(0); }, {39, {0}, ""}, 8},
        {"genTrueJump", [](auto& s) { s.genTrueJump(0xFFFFFFFEu); }, {40, {0xFFFFFFFEu}, ""}, 8},
        {"genFalseJump", [](auto& s) { s.genFalseJump(1); }, {41, {1}, ""}, 8},
        {"genJump", [](auto& s) { s.genJump(0xFFFFFFFFu); }, {42, {0xFFFFFFFFu}, ""}, 8},
        {"genTruncateFP", [](auto& s) { s.genTruncateFP(highType); }, {43, {bits(highType)}, ""}, 16},
        {"genConvert", [](auto& s) { s.genConvert(otherType); }, {44, {bits(otherType)}, ""}, 16},
        {"genConvertString", [](auto& s) { s.genConvertString(nullptr); }, {45, {0}, ""}, 16},
        {"genLoad", [](auto& s) { s.genLoad(highSymbol); }, {46, {bits(highSymbol)}, ""}, 16},
        {"genLoadAddress", [](auto& s) { s.genLoadAddress(highSymbol); }, {47, {bits(highSymbol)}, ""}, 16},
        {"genLoadMemberSym", [](auto& s) { s.genLoadMemberSym(highSymbol); }, {48, {bits(highSymbol)}, ""}, 16},
        {"genLoadMemberOffset", [](auto& s) { s.genLoadMemberOffset(highSymbol); }, {49, {bits(highSymbol)}, ""}, 16},
        {"genStoreMember", [](auto& s) { s.genStoreMember(highSymbol); }, {50, {bits(highSymbol)}, ""}, 16},
        {"genLoadIndex", [](auto& s) { s.genLoadIndex(ULLONG_MAX); }, {51, {ULLONG_MAX}, ""}, 16},
        {"genLoadParam", [](auto& s) { s.genLoadParam(1ull << 32); }, {52, {1ull << 32}, ""}, 16},
        {"genRefMod", [](auto& s) { s.genRefMod(highType); }, {53, {bits(highType)}, ""}, 16},
        {"genRefModLength", [](auto& s) { s.genRefModLength(highType); }, {54, {bits(highType)}, ""}, 16},
        {"genLoadIntegralValue", [](auto& s) { s.genLoadIntegralValue("123"); }, {55, {4}, std::string("123", 4)}, 8},
        {"genLoadRealValue", [](auto& s) { s.genLoadRealValue(""); }, {56, {1}, std::string(1, '\0')}, 5},
        {"genLoadDecimalRealValue",
         [](auto& s) { s.genLoadDecimalRealValue("1E5"); },
         {57, {4}, std::string("1E5", 4)},
         8},
        {"genLoadPackedDecimalValue",
         [](auto& s) { s.genLoadPackedDecimalValue("-9"); },
         {58, {3}, std::string("-9", 3)},
         7},
        {"genLoadZonedDecimalValue",
         [](auto& s) { s.genLoadZonedDecimalValue("0"); },
         {59, {2}, std::string("0", 2)},
         6},
        {"genLoadNationalDecimalValue",
         [](auto& s) { s.genLoadNationalDecimalValue("12"); },
         {60, {3}, std::string("12", 3)},
         7},
        {"formatAppendString", [](auto& s) { s.formatAppendString("]"); }, {61, {2}, std::string("]", 2)}, 6},
        {"genLoadValue without type",
         [](auto& s) { s.genLoadValue("\x00\xC1", 2, nullptr); },
         {62, {3, 0}, std::string("\x00\xC1\x00", 3)},
         27},
        {"genLoadFigConstant",
         [](auto& s) { s.genLoadFigConstant("@", 1, nullptr); },
         {63, {2, 0}, std::string("@\0", 2)},
         26},
        {"genCall", [](auto& s) { s.genCall(0xFFFFFFFFu, true); }, {64, {0xFFFFFFFFu, 1}, ""}, 9},
        {"genLoadIndirect",
         [](auto& s) { s.genLoadIndirect(LLONG_MAX, highType); },
         {65, {bits(LLONG_MAX), bits(highType)}, ""},
         24},
        {"genLoadBaseAddress",
         [](auto& s) { s.genLoadBaseAddress(highType, otherType); },
         {66, {bits(highType), bits(otherType)}, ""},
         24},
        {"genRankIndex", [](auto& s) { s.genRankIndex(-1, highType); }, {67, {bits(-1LL), bits(highType)}, ""}, 24},
        {"genLoadIndirectRank",
         [](auto& s) { s.genLoadIndirectRank(LLONG_MIN, otherType); },
         {68, {bits(LLONG_MIN), bits(otherType)}, ""},
         24},
        {"genConvertRefMod", [](auto& s) { s.genConvertRefMod(true, highType); }, {69, {1, bits(highType)}, ""}, 24},
        {"genString", [](auto& s) { s.genString("ab\0c", 4); }, {70, {4}, std::string("ab\0c", 4)}, 12},
        {"genWideString n = 0", [](auto& s) { s.genWideString("zz", 0); }, {71, {0}, ""}, 8},
        {"genLoadChar", [](auto& s) { s.genLoadChar("\\n", 2); }, {72, {2}, "\\n"}, 10},
        {"genLoadWChar", [](auto& s) { s.genLoadWChar("\xE2\x82\xAC", 3); }, {73, {3}, "\xE2\x82\xAC"}, 11},
        {"genCOBOLCall",
         [](auto& s) { s.genCOBOLCall(reinterpret_cast<const ArgMode*>(modes), 8); },
         {74, {8}, std::string(modes, 8)},
         16},
        {"genLoadIntegralConstant",
         [](auto& s) { s.genLoadIntegralConstant(ULLONG_MAX, highType, 1, -1); },
         {75, {ULLONG_MAX, bits(highType), 1, bits(-1LL)}, ""},
         28},
    };

    EE_InstructionStream all;
    std::vector<Instruction> expectedAll;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EE_InstructionStream one;
        c.write(one);
        EXPECT_EQ(one.size(), c.size);
        const std::vector<Instruction> decoded = EE_InstructionDecoder::decode(one);
        ASSERT_EQ(decoded.size(), 1u);
        EXPECT_EQ(decoded[0], c.expected);

        // The same after an odd offset, so that every alignment pads.
        all.genAdd();
        c.write(all);
        expectedAll.push_back(Instruction{2, {}, ""});
        expectedAll.push_back(c.expected);
    }
    all.genEnd();
    expectedAll.push_back(Instruction{0, {}, ""});
    EXPECT_EQ(EE_InstructionDecoder::decode(all), expectedAll);
}

TEST(InstructionStreamWriters, PlainInstructionsAreTheOpcodeAlone)
{
    const std::vector<std::pair<void (EE_InstructionStream::*)(), unsigned>> writers = {
        {&EE_InstructionStream::genPointerAdd, 1},
        {&EE_InstructionStream::genAdd, 2},
        {&EE_InstructionStream::genPointerSubtract, 3},
        {&EE_InstructionStream::genSubtract, 4},
        {&EE_InstructionStream::genMult, 5},
        {&EE_InstructionStream::genDivide, 6},
        {&EE_InstructionStream::genModulus, 7},
        {&EE_InstructionStream::genConcatenate, 8},
        {&EE_InstructionStream::genBitAnd, 9},
        {&EE_InstructionStream::genBitOr, 10},
        {&EE_InstructionStream::genBitXor, 11},
        {&EE_InstructionStream::genNegate, 12},
        {&EE_InstructionStream::genComplement, 13},
        {&EE_InstructionStream::genNot, 14},
        {&EE_InstructionStream::genRealPart, 15},
        {&EE_InstructionStream::genImaginaryPart, 16},
        {&EE_InstructionStream::genLoadNULL, 17},
        {&EE_InstructionStream::genLoadThis, 18},
        {&EE_InstructionStream::genLogicalShiftLeft, 19},
        {&EE_InstructionStream::genLogicalShiftRight, 20},
        {&EE_InstructionStream::genArithmeticShiftRight, 21},
        {&EE_InstructionStream::genEQ, 22},
        {&EE_InstructionStream::genNE, 23},
        {&EE_InstructionStream::genLT, 24},
        {&EE_InstructionStream::genLE, 25},
        {&EE_InstructionStream::genGT, 26},
        {&EE_InstructionStream::genGE, 27},
        {&EE_InstructionStream::genStore, 28},
        {&EE_InstructionStream::genDupValue, 29},
        {&EE_InstructionStream::genPop, 30},
        {&EE_InstructionStream::genArraySection, 31},
        {&EE_InstructionStream::genSubstring, 32},
        {&EE_InstructionStream::formatAppendIntegral, 33},
        {&EE_InstructionStream::pushArraySection, 34},
        {&EE_InstructionStream::genVectorSubscript, 35},
    };
    EE_InstructionStream stream;
    std::vector<Instruction> expected;
    for (const auto& [writer, opcode] : writers) {
        (stream.*writer)();
        expected.push_back(Instruction{opcode, {}, ""});
    }
    EXPECT_EQ(stream.size(), writers.size());
    EXPECT_EQ(EE_InstructionDecoder::decode(stream), expected);
}

class InstructionStreamTypedValues : public CompilerTest {};

TEST_F(InstructionStreamTypedValues, ValueShorterThanItsTypeIsZeroFilledNotOverRead)
{
    const TypeItem* threeBytes = CreatedTypeItem::findOrCreateCharstringType(3, false, false, false, nullptr);
    ASSERT_EQ(threeBytes->typeSize(), 3u);

    // A one-byte figurative constant for a 3-byte item: the sanitizer build
    // sees any read past the single source byte.
    const char* one = new char[1]{'\x40'};
    EE_InstructionStream stream;
    stream.genLoadValue(one, 1, threeBytes);
    stream.genLoadFigConstant(one, 1, threeBytes);
    delete[] one;

    const std::vector<Instruction> code = EE_InstructionDecoder::decode(stream);
    ASSERT_EQ(code.size(), 2u);
    EXPECT_EQ(code[0], (Instruction{62, {4, bits(threeBytes)}, std::string("\x40\0\0\0", 4)}));
    EXPECT_EQ(code[1], (Instruction{63, {4, bits(threeBytes)}, std::string("\x40\0\0\0", 4)}));

    // A value longer than its type keeps all its bytes and a terminator.
    EE_InstructionStream longer;
    longer.genLoadValue("\x00\xC1\xC2\xC3\xC4", 5, threeBytes);
    EXPECT_EQ(EE_InstructionDecoder::decode(longer)[0].tail, std::string("\x00\xC1\xC2\xC3\xC4\0", 6));
}

TEST(InstructionStreamIterator, ReadingAndAdvancingStayWithinTheTakenBytes)
{
#if defined(_WIN32)
    GTEST_SKIP() << "its sizes and operands are those of 64-bit pointers";
#endif
    RawStream empty;
    EE_InstructionStream::BufferIterator none(empty);
    EXPECT_EQ(eeExceptionCode([&] { none.data(); }), 2);
    EXPECT_EQ(eeExceptionCode([&] { none += 1; }), 2);

    RawStream stream;
    for (unsigned i = 0; i < 2015; ++i)
        stream.genAdd();
    stream.genEnd();
    EE_InstructionStream::BufferIterator at(stream);
    EXPECT_EQ(*at.data(), 2u);
    at += 2014;
    EXPECT_EQ(at.offset(), 2014u);
    at += 1; // the block's last taken byte: on to the next block
    EXPECT_EQ(at.block(), stream.raw().last);
    EXPECT_EQ(at.offset(), 0u);
    EXPECT_EQ(*at.data(), 0u);
    EXPECT_EQ(eeExceptionCode([&] { at += 2; }), 2); // past the taken bytes
    EXPECT_EQ(eeExceptionCode([&] { at += 1; }), 2); // off the end of the last block

    EE_InstructionStream::BufferIterator again(stream);
    EXPECT_EQ(eeExceptionCode([&] { again += 2016; }), 2);
}

TEST(InstructionStreamDecoder, MalformedStreamsAreRefused)
{
    RawStream badOpcode;
    badOpcode.genAdd();
    badOpcode.raw().first->bytes()[0] = 76;
    EXPECT_EQ(eeExceptionCode([&] { EE_InstructionDecoder::decode(badOpcode); }), 2);

    // An operand whose count runs past the taken bytes.
    RawStream badCount;
    badCount.genString("abc", 3);
    std::uint32_t huge = 5000;
    std::memcpy(badCount.raw().first->bytes() + 4, &huge, sizeof huge);
    EXPECT_EQ(eeExceptionCode([&] { EE_InstructionDecoder::decode(badCount); }), 2);

    // An opcode whose operand was never written.
    RawStream truncated;
    truncated.genAdd();
    truncated.raw().first->bytes()[0] = 65;
    EXPECT_EQ(eeExceptionCode([&] { EE_InstructionDecoder::decode(truncated); }), 2);
}

TEST(InstructionStreamDecoder, ListingNamesEachInstructionAndItsFields)
{
#if defined(_WIN32)
    GTEST_SKIP() << "its sizes and operands are those of 64-bit pointers";
#endif
    EE_InstructionStream stream;
    stream.genLoadIndirect(-8, otherType);
    stream.genString("A", 1);
    stream.genEnd();
    EXPECT_EQ(EE_InstructionDecoder::listing(stream), "genLoadIndirect i64=-8 type=0x7fff12345670\n"
                                                      "genString n32=1 bytes=41\n"
                                                      "end\n");
}

TEST(InstructionStreamLifetime, ExprFreeReleasesEveryBlockOnce)
{
    expression_info info{};
    info.instructions = new EE_InstructionStream;
    for (unsigned i = 0; i < 3000; ++i)
        info.instructions->genLoadIndex(i);
    ASSERT_GT(info.instructions->size(), 2u * Bytes::DataSize());
    exprFree(&info);
    EXPECT_EQ(info.instructions, nullptr);
    exprFree(&info);
    EXPECT_EQ(eeExceptionCode([] { exprFree(nullptr); }), 2);
}

} // namespace
