// Replay of a stream through the opcode handlers: the loop, its dispatch,
// the handlers' guards and traces.

#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CompilerFixture.h"
#include "api/LocalsRepresentation.h"
#include "compiler/EE_InstructionStream.h"
#include "compiler/EE_OperandLayout.h"
#include "compiler/OpcodeHandlers.h"
#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

namespace {

using Bytes = EE_InstructionStream::Buffer::Bytes;

class Replay : public CompilerTest {
protected:
    // A symbol held by a new scope of the given kind (both owned by the
    // environment).
    const SymbolItem* symbolInScope(std::uint32_t kind)
    {
        ScopeItem* scope = new ScopeItem(context, ScopeItem::ScopeType(kind));
        SymbolItem* symbol = new SymbolItem("member", *scope);
        scope->addSymbol(*symbol);
        return symbol;
    }

    // Replays a stream of one instruction and the end opcode.
    std::optional<RaisedInvalidOp> replayOne(const std::function<void(EE_InstructionStream&)>& write)
    {
        EE_InstructionStream stream;
        write(stream);
        stream.genEnd();
        return raisedInvalidOp([&] { stream.execute(); });
    }

    // Whether a trace line comes from the handler (its name, then its line)
    // and carries the text.
    bool tracedUnder(const std::string& handler, const std::string& text) const
    {
        for (const std::string& line : host.texts())
            if (line.find(handler + "(") != std::string::npos && line.find("): " + text) != std::string::npos)
                return true;
        return false;
    }

    TypeItem intType{130};
};

TEST_F(Replay, EndOpcodeFirstReplaysNothing)
{
    EE_InstructionStream stream;
    stream.genEnd();
    stream.execute();
    stream.execute();
    EXPECT_TRUE(host.texts().empty());
}

TEST_F(Replay, StreamWithoutCodeOrWithAnUnknownOpcodeIsRefused)
{
    RawStream none;
    EXPECT_EQ(eeExceptionCode([&] { none.execute(); }), 2);

    RawStream emptyBlock;
    emptyBlock.raw().first = emptyBlock.raw().last = Bytes::allocate();
    EXPECT_EQ(eeExceptionCode([&] { emptyBlock.execute(); }), 2);

    for (unsigned char opcode : {76, 255}) {
        RawStream unknown;
        unknown.genAdd();
        unknown.genEnd();
        unknown.raw().first->bytes()[0] = opcode;
        EXPECT_EQ(eeExceptionCode([&] { unknown.execute(); }), 2) << int(opcode);
    }
    EXPECT_TRUE(host.texts().empty());
}

TEST_F(Replay, EveryOpcodeReachesItsOwnHandler)
{
    const SymbolItem* member = symbolInScope(ScopeItem::classScope);
    const char text[] = "12";
    const std::vector<std::function<void(EE_InstructionStream&)>> writers = {
        [](auto& s) { s.genPointerAdd(); },
        [](auto& s) { s.genAdd(); },
        [](auto& s) { s.genPointerSubtract(); },
        [](auto& s) { s.genSubtract(); },
        [](auto& s) { s.genMult(); },
        [](auto& s) { s.genDivide(); },
        [](auto& s) { s.genModulus(); },
        [](auto& s) { s.genConcatenate(); },
        [](auto& s) { s.genBitAnd(); },
        [](auto& s) { s.genBitOr(); },
        [](auto& s) { s.genBitXor(); },
        [](auto& s) { s.genNegate(); },
        [](auto& s) { s.genComplement(); },
        [](auto& s) { s.genNot(); },
        [](auto& s) { s.genRealPart(); },
        [](auto& s) { s.genImaginaryPart(); },
        [](auto& s) { s.genLoadNULL(); },
        [](auto& s) { s.genLoadThis(); },
        [](auto& s) { s.genLogicalShiftLeft(); },
        [](auto& s) { s.genLogicalShiftRight(); },
        [](auto& s) { s.genArithmeticShiftRight(); },
        [](auto& s) { s.genEQ(); },
        [](auto& s) { s.genNE(); },
        [](auto& s) { s.genLT(); },
        [](auto& s) { s.genLE(); },
        [](auto& s) { s.genGT(); },
        [](auto& s) { s.genGE(); },
        [](auto& s) { s.genStore(); },
        [](auto& s) { s.genDupValue(); },
        [](auto& s) { s.genPop(); },
        [](auto& s) { s.genArraySection(); },
        [](auto& s) { s.genSubstring(); },
        [](auto& s) { s.formatAppendIntegral(); },
        [](auto& s) { s.pushArraySection(); },
        [](auto& s) { s.genVectorSubscript(); },
        [](auto& s) { s.genPow(3); },
        [](auto& s) { s.genLoadI(8); },
        [](auto& s) { s.genIndex(4); },
        [](auto& s) { s.genLabel(1); },
        [](auto& s) { s.genTrueJump(1); },
        [](auto& s) { s.genFalseJump(1); },
        [](auto& s) { s.genJump(1); },
        [&](auto& s) { s.genTruncateFP(&intType); },
        [&](auto& s) { s.genConvert(&intType); },
        [&](auto& s) { s.genConvertString(&intType); },
        [&](auto& s) { s.genLoad(member); },
        [&](auto& s) { s.genLoadAddress(member); },
        [&](auto& s) { s.genLoadMemberSym(member); },
        [&](auto& s) { s.genLoadMemberOffset(member); },
        [&](auto& s) { s.genStoreMember(member); },
        [](auto& s) { s.genLoadIndex(0); },
        [](auto& s) { s.genLoadParam(0); },
        [&](auto& s) { s.genRefMod(&intType); },
        [&](auto& s) { s.genRefModLength(&intType); },
        [&](auto& s) { s.genLoadIntegralValue(text); },
        [&](auto& s) { s.genLoadRealValue(text); },
        [&](auto& s) { s.genLoadDecimalRealValue(text); },
        [&](auto& s) { s.genLoadPackedDecimalValue(text); },
        [&](auto& s) { s.genLoadZonedDecimalValue(text); },
        [&](auto& s) { s.genLoadNationalDecimalValue(text); },
        [&](auto& s) { s.formatAppendString(text); },
        [&](auto& s) { s.genLoadValue(text, 2, &intType); },
        [&](auto& s) { s.genLoadFigConstant(text, 2, &intType); },
        [](auto& s) { s.genCall(1, false); },
        [&](auto& s) { s.genLoadIndirect(0, &intType); },
        [&](auto& s) { s.genLoadBaseAddress(&intType, &intType); },
        [&](auto& s) { s.genRankIndex(1, &intType); },
        [&](auto& s) { s.genLoadIndirectRank(1, &intType); },
        [&](auto& s) { s.genConvertRefMod(false, &intType); },
        [&](auto& s) { s.genString(text, 2); },
        [&](auto& s) { s.genWideString(text, 2); },
        [&](auto& s) { s.genLoadChar(text, 2); },
        [&](auto& s) { s.genLoadWChar(text, 2); },
        [&](auto& s) { s.genCOBOLCall(reinterpret_cast<const ArgMode*>("\0\0\0\1"), 4); },
        [&](auto& s) { s.genLoadIntegralConstant(1, &intType, 0, 4); },
    };
    ASSERT_EQ(writers.size(), operandlayout::lastOpcode);
    // Without an expression representation every handler, having checked its
    // operands, refuses under its own name when it looks for the value stack.
    LocalsRepresentation locals(EvaluationEnvironment::languageCPP, context, 0);
    locals.makeCurrent(context);
    for (unsigned opcode = 1; opcode <= operandlayout::lastOpcode; ++opcode) {
        const std::string name = operandlayout::layout(opcode)->name;
        SCOPED_TRACE(name);
        const std::optional<RaisedInvalidOp> raised = replayOne(writers[opcode - 1]);
        ASSERT_TRUE(raised.has_value());
        EXPECT_EQ(raised->code, InvalidOp::RTRC_AssertFail);
        const std::string function = raised->function.substr(0, raised->function.find('('));
        EXPECT_EQ(function.substr(function.rfind(' ') + 1), name);
    }
    env.makeCurrent(context);
}

TEST_F(Replay, HandlersReceiveTheOperandsWhole)
{
    struct Case {
        std::function<void(EE_InstructionStream&)> write;
        const char* handler;
        const char* trace;
    };
    const Case cases[] = {
        // Element sizes, indices and offsets keep their 64 bits.
        {[](auto& s) { s.genIndex(0x100000004ll); }, "genIndex", "Offset = 4294967300"},
        {[](auto& s) { s.genLoadIndex(1ull << 32); }, "genLoadIndex", "Index = 4294967296"},
        {[](auto& s) { s.genLoadParam(5); }, "genLoadParam", "Index = 5"},
        {[](auto& s) { s.genRankIndex(-3, nullptr); }, "genRankIndex", "d = -3"},
        {[](auto& s) { s.genLoadI(-5); }, "genLoadI", "len = -5"},
        {[](auto& s) { s.genCall(7, true); }, "genCall", "Tag = 7, builtin"},
        {[](auto& s) { s.genCall(8, false); }, "genCall", "Tag = 8, "},
        {[](auto& s) { s.genString("abc", 3); }, "genString", "value = \"abc\", len = 3"},
        {[](auto& s) { s.genLoadIntegralValue("42"); }, "genLoadIntegralValue", "Value = 42"},
        {[](auto& s) { s.genLoadPackedDecimalValue(""); }, "genLoadPackedDecimalValue", "String = \"\""},
        {[](auto& s) { s.genLoadIntegralConstant(ULLONG_MAX, nullptr, 1, 8); }, "genLoadIntegralConstant",
         "Value = -1; sign = 1, length = 8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trace);
        host.clearLines();
        replayOne(c.write);
        EXPECT_TRUE(tracedUnder(c.handler, c.trace));
    }
}

TEST_F(Replay, TwoTypesInOneTraceLineKeepTheirOwnTexts)
{
    TypeItem shortType{129};
    const std::string base = shortType.format();
    const std::string derived = intType.format();
    ASSERT_NE(base, derived);
    replayOne([&](auto& s) { s.genLoadBaseAddress(&shortType, &intType); });
    EXPECT_TRUE(tracedUnder("genLoadBaseAddress", "Converting from base " + derived + " to base " + base));
}

// Each guard's refusal: its trace under the handler, its code, its own
// signature and line.
TEST_F(Replay, GuardsRefuseWithTheirTextSignatureAndLine)
{
    TypeItem noType;
    const SymbolItem* none = nullptr;
    struct Case {
        std::function<void(EE_InstructionStream&)> write;
        const char* handler;
        const char* message;
        const char* signature;
        unsigned line;
    };
    const char* tagGuard = "void validateTag(unsigned int, const char*, unsigned int)";
    const char* typeGuard = "void validateType(const TypeItem*, const char*, unsigned int)";
    const char* symbolGuard = "void validateSymbol(const SymbolItem*, const char*, unsigned int)";
    const char* nameGuard = "void validateStringName(const Char*, const char*, unsigned int)";
    const std::vector<Case> cases = {
        {[](auto& s) { s.genLabel(0xFFFFFFFFu); }, "genLabel", "jump tag may not be -1", tagGuard, 1900},
        {[](auto& s) { s.genTrueJump(0xFFFFFFFFu); }, "genTrueJump", "jump tag may not be -1", tagGuard, 1900},
        {[](auto& s) { s.genFalseJump(0xFFFFFFFFu); }, "genFalseJump", "jump tag may not be -1", tagGuard, 1900},
        {[](auto& s) { s.genJump(0xFFFFFFFFu); }, "genJump", "jump tag may not be -1", tagGuard, 1900},
        {[](auto& s) { s.genConvert(nullptr); }, "genConvert", "null type", typeGuard, 1910},
        {[&](auto& s) { s.genConvert(&noType); }, "genConvert", "invalid type", typeGuard, 1915},
        {[&](auto& s) { s.genTruncateFP(&noType); }, "genTruncateFP", "invalid type", typeGuard, 1915},
        {[](auto& s) { s.genConvertString(nullptr); }, "genConvertString", "null type", typeGuard, 1910},
        {[](auto& s) { s.genRefMod(nullptr); }, "genRefMod", "null type", typeGuard, 1910},
        {[](auto& s) { s.genRefModLength(nullptr); }, "genRefModLength", "null type", typeGuard, 1910},
        {[](auto& s) { s.genLoadIndirect(8, nullptr); }, "genLoadIndirect", "null type", typeGuard, 1910},
        {[](auto& s) { s.genLoadIndirectRank(1, nullptr); }, "genLoadIndirectRank", "null type", typeGuard, 1910},
        {[](auto& s) { s.genConvertRefMod(true, nullptr); }, "genConvertRefMod", "null type", typeGuard, 1910},
        {[&](auto& s) { s.genLoadBaseAddress(&intType, nullptr); }, "genLoadBaseAddress", "null type", typeGuard, 1910},
        {[&](auto& s) { s.genLoadValue("1", 1, &noType); }, "genLoadValue", "invalid type", typeGuard, 1915},
        {[&](auto& s) { s.genLoadFigConstant("1", 1, nullptr); }, "genLoadFigConstant", "null type", typeGuard, 1910},
        {[&](auto& s) { s.genLoad(none); }, "genLoad", "null symbol", symbolGuard, 1890},
        {[&](auto& s) { s.genLoadAddress(none); }, "genLoadAddress", "null symbol", symbolGuard, 1890},
        {[&](auto& s) { s.genLoadMemberSym(none); }, "genLoadMemberSym", "null symbol", symbolGuard, 1890},
        {[&](auto& s) { s.genLoadMemberOffset(none); }, "genLoadMemberOffset", "null symbol", symbolGuard, 1890},
        {[&](auto& s) { s.genStoreMember(none); }, "genStoreMember", "null symbol", symbolGuard, 1890},
        {[](auto& s) { s.genLoadIntegralValue(""); }, "genLoadIntegralValue", "empty string", nameGuard, 1880},
        {[](auto& s) { s.genLoadRealValue(""); }, "genLoadRealValue", "empty string", nameGuard, 1880},
        {[](auto& s) { s.genLoadDecimalRealValue(""); }, "genLoadDecimalRealValue", "empty string", nameGuard, 1880},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.handler) + ": " + c.message);
        host.clearLines();
        const std::optional<RaisedInvalidOp> raised = replayOne(c.write);
        expectInvalidOp(raised, InvalidOp::RTRC_Other, c.signature, c.line);
        EXPECT_TRUE(tracedUnder(c.handler, std::string("cxxeval interface error - ") + c.message));
    }
}

TEST_F(Replay, NullTextsAndPointersAreRefusedWhenHandlersAreCalledDirectly)
{
    struct Case {
        std::function<void()> call;
        const char* signature;
        unsigned line;
    };
    const char* stringGuard = "void validateString(const Char*, const char*, unsigned int)";
    const char* pointerGuard = "void validatePointer(const void*, const char*, unsigned int)";
    const Case cases[] = {
        {[] { genLoadPackedDecimalValue(nullptr); }, stringGuard, 1869},
        {[] { genLoadIntegralValue(nullptr); }, stringGuard, 1869},
        {[] { genString(nullptr, 0); }, stringGuard, 1869},
        {[] { genLoadChar(nullptr, 1); }, stringGuard, 1869},
        {[] { genLoadValue(nullptr, nullptr); }, stringGuard, 1869},
        {[] { genWideString(nullptr, 2); }, pointerGuard, 1849},
        {[] { genLoadWChar(nullptr, 2); }, pointerGuard, 1849},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.signature);
        const std::optional<RaisedInvalidOp> raised = raisedInvalidOp(c.call);
        expectInvalidOp(raised, InvalidOp::RTRC_Other, c.signature, c.line);
    }
}

TEST_F(Replay, MemberLoadDependsOnTheKindOfTheSymbolsScope)
{
    const char* signature = "void genLoadMemberSym(const SymbolItem*)";
    // Class and structure scopes go on to the value stack's member load,
    // condition-variable scopes to its condition-name test; the refusal on the
    // empty stack shows which one was reached.
    const struct {
        std::uint32_t kind;
        const char* operation;
    } reached[] = {
        {4u, "void RuntimeStack::genLoadMemberSym(const SymbolItem&)"},
        {8u, "void RuntimeStack::genLoadMemberSym(const SymbolItem&)"},
        {16u, "void RuntimeStack::genLoadCondvarSym(const SymbolItem&)"},
    };
    for (const auto& c : reached) {
        SCOPED_TRACE(c.kind);
        host.clearLines();
        const std::optional<RaisedInvalidOp> raised =
            replayOne([&](auto& s) { s.genLoadMemberSym(symbolInScope(c.kind)); });
        ASSERT_TRUE(raised.has_value());
        EXPECT_EQ(raised->function, c.operation);
        EXPECT_TRUE(tracedUnder("genLoadMemberSym", "Loading symbol member"));
    }
    for (std::uint32_t kind : {1u, 256u, 768u}) {
        SCOPED_TRACE(kind);
        host.clearLines();
        const std::optional<RaisedInvalidOp> raised =
            replayOne([&](auto& s) { s.genLoadMemberSym(symbolInScope(kind)); });
        expectInvalidOp(raised, InvalidOp::RTRC_Other, signature);
        EXPECT_TRUE(tracedUnder("genLoadMemberSym", "cxxeval interface error - invalid symbol"));
    }
}

TEST_F(Replay, CharacterConstantsOfNoCharacterAreRefusedNotMeasured)
{
    const char* charSignature = "void genLoadChar(const Char*, unsigned int)";
    // From the byte code an empty constant has no terminator to stop at.
    std::optional<RaisedInvalidOp> raised = replayOne([](auto& s) { s.genLoadChar("", 0); });
    expectInvalidOp(raised, InvalidOp::RTRC_InvalidString, charSignature);
    EXPECT_TRUE(tracedUnder("genLoadChar", "String = \"\", length = 0"));

    const char unterminated[3] = {'a', 'b', 'c'};
    raised = raisedInvalidOp([&] { genLoadChar(unterminated, 0); });
    ASSERT_TRUE(raised.has_value());
    EXPECT_EQ(raised->code, InvalidOp::RTRC_InvalidString);

    raised = replayOne([](auto& s) { s.genLoadWChar("", 0); });
    expectInvalidOp(raised, InvalidOp::RTRC_InvalidString, "void genLoadWChar(const Char*, unsigned int)");
}

TEST_F(Replay, OneByteCharacterIsItsOwnUnsignedByte)
{
    // 0x5C is '*' in EBCDIC; a lone byte is never taken for an escape.
    for (const char* byte : {"\x5C", "a", "\xFF"}) {
        host.clearLines();
        env.runtimeStack().popAll();
        EXPECT_FALSE(replayOne([&](auto& s) { s.genLoadChar(byte, 1); }).has_value());
        ASSERT_EQ(env.runtimeStack().count(), 1u);
        EXPECT_EQ(env.runtimeStack().top()->asUnsigned(), static_cast<unsigned char>(byte[0]));
        const std::string expected =
            "Value = " + std::to_string(static_cast<unsigned char>(byte[0])) + "; sign = 0, length = 1";
        EXPECT_TRUE(tracedUnder("genLoadIntegralConstant", expected)) << expected;
    }
    env.runtimeStack().popAll();
}

TEST_F(Replay, RealConstantTraceShowsTheLongDoubleValue)
{
    raisedInvalidOp([] { genLoadRealConstant(2.5L, 16); });
    EXPECT_TRUE(tracedUnder("genLoadRealConstant", "value = 2.500000, size = 16"));
}

TEST_F(Replay, HandlersNeedAnExpressionRepresentation)
{
    LocalsRepresentation locals(EvaluationEnvironment::languageCPP, context, 0);
    locals.makeCurrent(context);
    std::optional<RaisedInvalidOp> raised = replayOne([](auto& s) { s.genAdd(); });
    expectInvalidOp(raised, InvalidOp::RTRC_AssertFail, "void genAdd()");

    raised = raisedInvalidOp([] { ValueOnStackIsZero(); });
    ASSERT_TRUE(raised.has_value());
    EXPECT_EQ(raised->code, InvalidOp::RTRC_AssertFail);
    env.makeCurrent(context);
}

} // namespace
