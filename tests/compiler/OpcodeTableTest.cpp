// The opcode table against the machine: the enum, the operand rows and the
// dispatch agree on every number, and every instruction leaves the value
// stack as deep as its row's stack effect says, replayed one at a time over
// code built from expressions of each kind of operand.

#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CompilerFixture.h"
#include "RoadFixture.h"
#include "api/LocalsRepresentation.h"
#include "compiler/EE_InstructionDecoder.h"
#include "compiler/EE_InstructionStream.h"
#include "compiler/EE_Operand.h"
#include "compiler/EE_OperandLayout.h"
#include "compiler/Opcodes.h"
#include "machine/RuntimeStack.h"
#include "machine/StackItemS.h"
#include "machine/StackItemU.h"
#include "testhost/DecimalImages.h"
#include "testhost/DwarfExpression.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

namespace {

struct Row {
    unsigned number;
    unsigned enumerator;
    const char* name;
};

const std::vector<Row>& rows()
{
    static const std::vector<Row> all = {
#define NORVEXA_TEST_ROW(number, name, shape, pops, pushes, what) {number, unsigned(Opcode::name), #name},
        NORVEXA_OPCODES(NORVEXA_TEST_ROW)
#undef NORVEXA_TEST_ROW
    };
    return all;
}

TEST(OpcodeTable, EnumRowsAndNamesAgreeOnEveryNumberOnce)
{
    std::set<unsigned> numbers;
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(numbers.insert(row.number).second) << "number used twice";
        EXPECT_EQ(row.enumerator, row.number);
        const operandlayout::Layout* layout = operandlayout::layout(row.number);
        ASSERT_NE(layout, nullptr);
        EXPECT_STREQ(layout->name, row.name);
        ASSERT_NE(opcodes::info(row.number), nullptr);
        EXPECT_STREQ(opcodes::info(row.number)->name, row.name);
        EXPECT_GT(std::strlen(opcodes::info(row.number)->what), 0u);
        // A count taken from the operand names a number field of it.
        for (const opcodes::StackCount count : {opcodes::info(row.number)->pops, opcodes::info(row.number)->pushes}) {
            if (count.field < 0)
                continue;
            const operandlayout::FieldKind kind = layout->fields[count.field].kind;
            EXPECT_TRUE(kind == operandlayout::FieldKind::u8 || kind == operandlayout::FieldKind::u32 ||
                        kind == operandlayout::FieldKind::count32)
                << operandlayout::fieldKindName(kind);
        }
    }
    EXPECT_EQ(numbers.size(), operandlayout::lastOpcode + 1);
    EXPECT_EQ(*numbers.rbegin(), operandlayout::lastOpcode);
    EXPECT_EQ(operandlayout::layout(operandlayout::lastOpcode + 1), nullptr);
    EXPECT_EQ(opcodes::info(operandlayout::lastOpcode + 1), nullptr);
    EXPECT_EQ(std::string(opcodes::info(0)->name), "end");
}

// The opcodes each group of stack-effect cases below must meet on a running
// stack; together with the calls, which are refused while running, every
// opcode but the end.
using O = Opcode;
const std::vector<Opcode> cIntegers = {O::genAdd,
                                       O::genSubtract,
                                       O::genMult,
                                       O::genDivide,
                                       O::genModulus,
                                       O::genBitAnd,
                                       O::genBitOr,
                                       O::genBitXor,
                                       O::genNegate,
                                       O::genComplement,
                                       O::genNot,
                                       O::genLogicalShiftLeft,
                                       O::genLogicalShiftRight,
                                       O::genArithmeticShiftRight,
                                       O::genEQ,
                                       O::genNE,
                                       O::genLT,
                                       O::genLE,
                                       O::genGT,
                                       O::genGE,
                                       O::genStore,
                                       O::genDupValue,
                                       O::genPop,
                                       O::genLabel,
                                       O::genTrueJump,
                                       O::genFalseJump,
                                       O::genJump,
                                       O::genConvert,
                                       O::genLoad,
                                       O::genLoadAddress,
                                       O::genLoadIntegralValue,
                                       O::genLoadIndirect,
                                       O::genLoadChar,
                                       O::genLoadIntegralConstant};
const std::vector<Opcode> cReals = {O::genAdd,   O::genMult, O::genDivide,  O::genNegate,       O::genLT,
                                    O::genStore, O::genLoad, O::genConvert, O::genLoadRealValue};
const std::vector<Opcode> cAddresses = {
    O::genPointerAdd,    O::genPointerSubtract,  O::genEQ,           O::genIndex,  O::genLoadAddress,
    O::genLoadMemberSym, O::genLoadMemberOffset, O::genLoadIndirect, O::genString, O::genWideString,
    O::genLoadWChar};
const std::vector<Opcode> written = {O::genConcatenate,
                                     O::genRealPart,
                                     O::genImaginaryPart,
                                     O::genLoadNULL,
                                     O::genArraySection,
                                     O::formatAppendIntegral,
                                     O::pushArraySection,
                                     O::genVectorSubscript,
                                     O::genLoadI,
                                     O::genTruncateFP,
                                     O::genConvertString,
                                     O::genLoadIndex,
                                     O::genLoadParam,
                                     O::genLoadDecimalRealValue,
                                     O::genLoadPackedDecimalValue,
                                     O::genLoadZonedDecimalValue,
                                     O::genLoadNationalDecimalValue,
                                     O::formatAppendString,
                                     O::genStoreMember,
                                     O::genSubstring,
                                     O::genLabel,
                                     O::genJump,
                                     O::genTrueJump,
                                     O::genFalseJump,
                                     O::genLoadIntegralConstant};
const std::vector<Opcode> cobol = {
    O::genAdd,    O::genSubtract,     O::genMult,      O::genDivide,          O::genNegate,       O::genEQ,
    O::genGT,     O::genStore,        O::genPow,       O::genIndex,           O::genLoad,         O::genLoadMemberSym,
    O::genRefMod, O::genRefModLength, O::genLoadValue, O::genLoadFigConstant, O::genConvertRefMod};
const std::vector<Opcode> cpp = {O::genLoadThis,         O::genLoadBaseAddress, O::genLoadMemberSym,
                                 O::genLoadMemberOffset, O::genPointerAdd,      O::genStore};
const std::vector<Opcode> fortran = {O::genRankIndex, O::genLoadIndirectRank, O::genSubtract, O::genStore};
const std::vector<Opcode> refusedWhileRunning = {O::genCall, O::genCOBOLCall};

TEST(OpcodeTable, StackEffectCasesMeetEveryOpcode)
{
    std::set<unsigned> met;
    for (const auto* group : {&cIntegers, &cReals, &cAddresses, &written, &cobol, &cpp, &fortran, &refusedWhileRunning})
        for (Opcode opcode : *group)
            met.insert(unsigned(opcode));
    for (const Row& row : rows()) {
        if (row.number != unsigned(Opcode::end)) {
            EXPECT_EQ(met.count(row.number), 1u) << row.name << " has no stack-effect case";
        }
    }
}

class OpcodeDispatch : public CompilerTest {
protected:
    // A symbol held by a new class scope (both owned by the environment).
    const SymbolItem* member()
    {
        ScopeItem* scope = new ScopeItem(context, ScopeItem::classScope);
        SymbolItem* symbol = new SymbolItem("member", *scope);
        scope->addSymbol(*symbol);
        return symbol;
    }

    TypeItem intType{130};
};

// Each row written through its writer, with operands its handler's guards
// accept, decodes as its own number and replays into its own handler: with
// no expression representation current, the handler refuses under its own
// name when it asks for the value stack.
TEST_F(OpcodeDispatch, EveryRowIsWrittenDecodedAndDispatchedUnderItsNumber)
{
    const SymbolItem* symbol = member();
    const TypeItem* type = &intType;
    const auto* modes = reinterpret_cast<const ArgMode*>("\0\0\0\1");
    struct Written {
        unsigned number;
        const char* name;
        std::function<void(EE_InstructionStream&)> write;
    };
#define NORVEXA_SAMPLE_end(name) nullptr
#define NORVEXA_SAMPLE_plain(name) [&](EE_InstructionStream& s) { s.name(); }
#define NORVEXA_SAMPLE_u32(name) [&](EE_InstructionStream& s) { s.name(1); }
#define NORVEXA_SAMPLE_i16(name) [&](EE_InstructionStream& s) { s.name(8); }
#define NORVEXA_SAMPLE_i64(name) [&](EE_InstructionStream& s) { s.name(4); }
#define NORVEXA_SAMPLE_u64(name) [&](EE_InstructionStream& s) { s.name(0); }
#define NORVEXA_SAMPLE_type(name) [&](EE_InstructionStream& s) { s.name(type); }
#define NORVEXA_SAMPLE_symbol(name) [&](EE_InstructionStream& s) { s.name(symbol); }
#define NORVEXA_SAMPLE_text16(name) [&](EE_InstructionStream& s) { s.name("12"); }
#define NORVEXA_SAMPLE_typedText(name) [&](EE_InstructionStream& s) { s.name("12", 2, type); }
#define NORVEXA_SAMPLE_text32(name) [&](EE_InstructionStream& s) { s.name("12", 2); }
#define NORVEXA_SAMPLE_modes32(name) [&](EE_InstructionStream& s) { s.name(modes, 4); }
#define NORVEXA_SAMPLE_call(name) [&](EE_InstructionStream& s) { s.name(1, false); }
#define NORVEXA_SAMPLE_numberAndType(name) [&](EE_InstructionStream& s) { s.name(1, type); }
#define NORVEXA_SAMPLE_twoTypes(name) [&](EE_InstructionStream& s) { s.name(type, type); }
#define NORVEXA_SAMPLE_flagAndType(name) [&](EE_InstructionStream& s) { s.name(false, type); }
#define NORVEXA_SAMPLE_integralConstant(name) [&](EE_InstructionStream& s) { s.name(1, type, 0, 4); }
#define NORVEXA_SAMPLE(number, name, shape, pops, pushes, what) {number, #name, NORVEXA_SAMPLE_##shape(name)},
    const std::vector<Written> written = {NORVEXA_OPCODES(NORVEXA_SAMPLE)};
#undef NORVEXA_SAMPLE

    LocalsRepresentation locals(EvaluationEnvironment::languageCPP, context, 0);
    locals.makeCurrent(context);
    for (const Written& w : written) {
        if (w.number == unsigned(Opcode::end))
            continue;
        SCOPED_TRACE(w.name);
        EE_InstructionStream stream;
        w.write(stream);
        stream.genEnd();
        const std::vector<EE_InstructionDecoder::Instruction> decoded = EE_InstructionDecoder::decode(stream);
        ASSERT_EQ(decoded.size(), 2u);
        EXPECT_EQ(decoded[0].opcode, w.number);
        EXPECT_EQ(decoded[0].text().substr(0, decoded[0].text().find(' ')), w.name);
        const std::optional<RaisedInvalidOp> raised = raisedInvalidOp([&] { stream.execute(); });
        ASSERT_TRUE(raised.has_value());
        EXPECT_EQ(raised->code, InvalidOp::RTRC_AssertFail);
        const std::string function = raised->function.substr(0, raised->function.find('('));
        EXPECT_EQ(function.substr(function.rfind(' ') + 1), w.name);
    }
    env.makeCurrent(context);
}

// ---------------------------------------------------------------------------
// Stack effects

// Replays code one instruction at a time on the current representation's
// stack. Every instruction met while the stack runs must find at least its
// pops there and leave depth - pops + pushes; the opcodes so checked are
// gathered in `checked`.
class StackEffects {
public:
    StackEffects(RuntimeStack& stack, std::set<unsigned>& checked) : stack_(stack), checked_(checked) {}

    void step(const EE_InstructionStream& code, const std::string& what)
    {
        for (const auto* block = code.blocks().first; block != nullptr; block = block->next) {
            const unsigned char* payload = block->bytes();
            std::size_t offset = 0;
            while (offset < block->used) {
                const unsigned opcode = payload[offset];
                if (opcode == unsigned(Opcode::end))
                    return;
                const operandlayout::Layout& row = *operandlayout::layout(opcode);
                EE_Operand operand;
                const std::size_t taken = operand.read(payload, offset + 1, block->used, row);
                stepOne(opcode, payload + offset + 1 + taken - (row.head + operand.tailBytes), operand, what);
                offset += 1 + taken;
            }
        }
    }

private:
    // The instruction alone in a stream of its own, its operand's bytes
    // copied whole.
    void stepOne(unsigned opcode, const unsigned char* operandBytes, const EE_Operand& operand, const std::string& what)
    {
        const operandlayout::Layout& row = *operandlayout::layout(opcode);
        const opcodes::Info& info = *opcodes::info(opcode);
        const std::size_t n = row.head + operand.tailBytes;
        RawStream one;
        unsigned char* to = one.append(static_cast<unsigned char>(opcode), n);
        if (n > 0)
            std::memcpy(to, operandBytes, n);
        one.genEnd();

        const bool running = stack_.skipState() == RuntimeStack::running;
        const unsigned before = stack_.count();
        const std::uint64_t pops = info.pops.of(info.pops.field >= 0 ? operand.number(info.pops.field) : 0);
        const std::uint64_t pushes = info.pushes.of(info.pushes.field >= 0 ? operand.number(info.pushes.field) : 0);
        SCOPED_TRACE(std::string(info.name) + " in " + what);
        const std::optional<RaisedInvalidOp> raised = raisedInvalidOp([&] { one.execute(); });
        if (raised.has_value()) {
            ADD_FAILURE() << "refused with " << raised->code << " by " << raised->function << ":" << raised->line;
            return;
        }
        if (!running)
            return;
        checked_.insert(opcode);
        EXPECT_GE(before, pops) << "the stack held fewer items than the instruction takes";
        EXPECT_EQ(stack_.count(), before - pops + pushes);
    }

    RuntimeStack& stack_;
    std::set<unsigned>& checked_;
};

// Builds expressions over a small program and replays them, and written
// streams over prepared stacks, one instruction at a time.
class StackEffectsTest : public RoadTest {
protected:
    explicit StackEffectsTest(int language) : RoadTest(language) {}

    // Each text is built and replayed; the run ends with the result alone on
    // the stack.
    void stepThrough(const std::vector<const char*>& texts)
    {
        StackEffects effects(stack(), checked);
        for (const char* text : texts) {
            SCOPED_TRACE(text);
            Build b;
            build(b, text);
            ASSERT_EQ(b.parseErrorKind, -1) << b.parseErrorText;
            stack().popAll();
            effects.step(*b.info.instructions, text);
            EXPECT_EQ(stack().count(), 1u) << EE_InstructionDecoder::listing(*b.info.instructions);
            stack().popAll();
        }
    }

    struct Written {
        const char* what;
        std::function<void()> prepare; // pushes the operands
        std::function<void(EE_InstructionStream&)> write;
    };

    void stepThrough(const std::vector<Written>& cases)
    {
        StackEffects effects(stack(), checked);
        for (const Written& c : cases) {
            SCOPED_TRACE(c.what);
            stack().popAll();
            c.prepare();
            EE_InstructionStream stream;
            c.write(stream);
            stream.genEnd();
            effects.step(stream, c.what);
            stack().popAll();
        }
    }

    // Every opcode of the list was checked on a running stack.
    void expectChecked(const std::vector<Opcode>& opcodes)
    {
        for (Opcode opcode : opcodes)
            EXPECT_EQ(checked.count(unsigned(opcode)), 1u) << opcodes::info(unsigned(opcode))->name << " not met";
    }

    void push(StackItem* item) { stack().push(item); }

    std::set<unsigned> checked;
};

// C: integers, real numbers, pointers, arrays, a structure, strings.
class CStackEffects : public StackEffectsTest {
protected:
    CStackEffects() : StackEffectsTest(1) {}

    void SetUp() override
    {
        StackEffectsTest::SetUp();
        useAddressSize(8);
        host.addSection(1, kData, 64);
        const TYPE_INDEX i32 = records().integerType(32, false);
        const TYPE_INDEX u32 = records().integerType(32, true);
        const TYPE_INDEX f64{0, 136};
        variable("i", i32, 0x00);
        variable("j", i32, 0x04);
        variable("u", u32, 0x08);
        variable("d", f64, 0x10);
        variable("e", f64, 0x18);
        variable("p", records().pointerType(i32, 8), 0x20);
        variable("q", records().pointerType(i32, 8), 0x28);
        variable("a", records().arrayType(i32, 20), 0x40);
        variable("s", records().structType({8, {{"m", i32}, {"n", i32}}, {0, 4}}), 0x60);
        variable("c", records().arrayType(records().integerType(8, true), 8), 0x70);
        for (std::uint64_t offset = 0; offset < 0x80; offset += 8)
            host.memory().storeBigEndian(kData + offset, 0, 8);
        host.memory().storeBigEndian(kData + 0x10, 0x4004000000000000u, 8); // 2.5
        host.memory().storeBigEndian(kData + 0x18, 0x3FF8000000000000u, 8); // 1.5
        host.memory().storeBigEndian(kData + 0x00, 7, 4);
        host.memory().storeBigEndian(kData + 0x04, 3, 4);
        host.memory().storeBigEndian(kData + 0x08, 0x80000000u, 4);
        host.memory().storeBigEndian(kData + 0x20, kData + 0x44, 8);
        host.memory().storeBigEndian(kData + 0x28, kData + 0x40, 8);
    }
};

TEST_F(CStackEffects, IntegersAndUnsigned)
{
    stepThrough({"i + j",  "i - j",  "i * j",     "i / j",  "i % j",  "i & j", "i | j",    "i ^ j",
                 "i << 2", "i >> 1", "u >> 1",    "-i",     "~i",     "!i",    "i == j",   "i != j",
                 "i < j",  "i <= j", "i > j",     "i >= j", "12",     "'a'",   "(short)i", "i = 5",
                 "i += 2", "i++",    "i ? j : 3", "i && j", "i || j", "(i, j)"});
    expectChecked(cIntegers);
}

TEST_F(CStackEffects, RealNumbers)
{
    stepThrough({"d + e", "d * 2.5", "-d", "d < e", "(int)d", "d = i", "1.5", "d / 4"});
    expectChecked(cReals);
}

TEST_F(CStackEffects, PointersArraysStructuresAndStrings)
{
    stepThrough({"*p", "p + 1", "p - q", "a[1]", "&a[2]", "&i", "p == q", "s.m", "s.n = 4", "&s.n", "\"ab\"", "L\"ab\"",
                 "L'a'", "c", "c[1]", "(void*)0"});
    expectChecked(cAddresses);
}

// Instructions no C expression of this program writes, over stacks prepared
// with the operands they take.
TEST_F(CStackEffects, WrittenOverPreparedStacks)
{
    const int parameters[] = {4};
    env->setParameters(List<int>(parameters, 1), 1);
    auto s8 = [&](long long v) { push(new StackItemS8(*env, v)); };
    const TypeItem chars(records().arrayType(records().integerType(8, true), 4));
    const TypeItem doubleType(TYPE_INDEX{0, 136});
    // The structure and its member as "&s.n" loads them.
    Build member;
    build(member, "&s.n");
    ASSERT_EQ(member.parseErrorKind, -1) << member.parseErrorText;
    const std::vector<EE_InstructionDecoder::Instruction> loads =
        EE_InstructionDecoder::decode(*member.info.instructions);
    ASSERT_GE(loads.size(), 2u);
    ASSERT_EQ(loads[0].opcode, unsigned(Opcode::genLoadAddress));
    ASSERT_EQ(loads[1].opcode, unsigned(Opcode::genLoadMemberOffset));
    const auto* structure = reinterpret_cast<const SymbolItem*>(static_cast<std::uintptr_t>(loads[0].fields[0]));
    const auto* n = reinterpret_cast<const SymbolItem*>(static_cast<std::uintptr_t>(loads[1].fields[0]));
    const std::vector<Written> cases = {
        {"member store: the object's address, the value", [] {},
         [&](auto& s) {
             s.genLoadAddress(structure);
             s.genLoadIntegralConstant(4, nullptr, 1, 4);
             s.genStoreMember(n);
         }},
        {"section: lower, upper, stride, fourth",
         [&] {
             s8(0);
             s8(2);
             s8(10);
             s8(1);
         },
         [](auto& s) {
             s.genArraySection();
             s.pushArraySection();
         }},
        {"vector subscript",
         [&] {
             push(new StackItemU4(*env, 4));
             push(new StackItemU8(*env, 1));
         },
         [](auto& s) { s.genVectorSubscript(); }},
        {"integer into the result's name", [&] { s8(-5); },
         [](auto& s) {
             s.formatAppendIntegral();
             s.formatAppendString("x");
         }},
        {"parameter and index", [] {},
         [](auto& s) {
             s.genLoadParam(0);
             s.genLoadIndex(3);
             s.genAdd();
         }},
        {"imaginary unit, parts", [] {},
         [](auto& s) {
             s.genLoadI(8);
             s.genDupValue();
             s.genRealPart();
             s.genPop();
             s.genImaginaryPart();
         }},
        {"null pointer", [] {}, [](auto& s) { s.genLoadNULL(); }},
        {"real value cut", [] {},
         [&](auto& s) {
             s.genLoadRealValue("2.5");
             s.genTruncateFP(&doubleType);
         }},
        {"decimal literals", [] {},
         [](auto& s) {
             s.genLoadDecimalRealValue("1.5");
             s.genLoadPackedDecimalValue("12.5");
             s.genLoadZonedDecimalValue("-3");
             s.genLoadNationalDecimalValue("7");
             s.genPop();
             s.genPop();
             s.genPop();
         }},
        {"concatenation and string conversion", [] {},
         [&](auto& s) {
             s.genString("ab", 2);
             s.genString("cd", 2);
             s.genConcatenate();
             s.genConvertString(&chars);
         }},
        {"integral constant", [] {}, [](auto& s) { s.genLoadIntegralConstant(5, nullptr, 1, 4); }},
        {"substring: the string, the end, the start", [] {},
         [](auto& s) {
             s.genString("abcdef", 6);
             s.genLoadIntegralConstant(4, nullptr, 1, 4);
             s.genLoadIntegralConstant(2, nullptr, 1, 4);
             s.genSubstring();
         }},
        {"jump over", [&] { s8(1); },
         [](auto& s) {
             s.genJump(1);
             s.genNegate();
             s.genLabel(1);
         }},
        {"true and false jumps",
         [&] {
             s8(1);
             s8(0);
         },
         [](auto& s) {
             s.genTrueJump(1);
             s.genFalseJump(2);
             s.genLabel(1);
             s.genLabel(2);
         }},
    };
    stepThrough(cases);
    expectChecked(written);
}

// A call is noticed and never carried out: the dry run leaves the stack as
// it is, a running stack refuses it and keeps its items.
TEST_F(CStackEffects, CallsAreRefusedWithTheStackUntouched)
{
    const auto* modes = reinterpret_cast<const ArgMode*>("\0\0");
    const std::vector<std::pair<const char*, std::function<void(EE_InstructionStream&)>>> calls = {
        {"genCall", [](auto& s) { s.genCall(2, false); }},
        {"genCOBOLCall", [&](auto& s) { s.genCOBOLCall(modes, 2); }},
    };
    for (const auto& [name, write] : calls) {
        for (RuntimeStack::SkipState state : {RuntimeStack::dryRun, RuntimeStack::running}) {
            SCOPED_TRACE(std::string(name) + (state == RuntimeStack::running ? " running" : " dry run"));
            stack().popAll();
            for (int i = 0; i < 3; ++i)
                push(new StackItemS8(*env, i));
            stack().setSkipState(state);
            EE_InstructionStream stream;
            write(stream);
            stream.genEnd();
            const std::optional<RaisedInvalidOp> raised = raisedInvalidOp([&] { stream.execute(); });
            EXPECT_EQ(raised.has_value(), state == RuntimeStack::running);
            if (raised.has_value()) {
                EXPECT_EQ(raised->code, InvalidOp::RTRC_NotSupported);
            }
            EXPECT_EQ(stack().count(), 3u);
        }
    }
    stack().popAll();
}

// COBOL: packed and zoned items, a table in a group, alphanumeric items
// read and received in part.
class CobolStackEffects : public StackEffectsTest {
protected:
    CobolStackEffects() : StackEffectsTest(EvaluationEnvironment::languageCOBOL) {}

    void SetUp() override
    {
        StackEffectsTest::SetUp();
        useAddressSize(8);
        host.addSection(1, kData, 64);
        poke(item("A", records().packedDecimalType(5, -2, true), 3), decimalimage::packed("12345", 5, true));
        poke(item("B", records().zonedDecimalType(4, -1, true, TN_SignTrailingEmbedded), 4),
             decimalimage::zoned("-205", 4, true, TN_SignTrailingEmbedded));
        item("X", records().packedDecimalType(9, -3, true), 5);
        poke(item("S", records().charstringType(6), 6), {0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6});
        item("T", records().charstringType(3), 3);
        // 01 GRP. 05 FLD PIC S9(3) COMP-3. 05 TAB PIC S9(3) COMP-3 OCCURS 3.
        const TYPE_INDEX digits3 = records().packedDecimalType(3, 0, true);
        HostRecordStore::ClassSpec g;
        g.name = "GRP";
        g.leaf = TE_GROUP;
        g.byteSize = 8;
        g.members = {{"FLD", digits3, 0}, {"TAB", records().arrayType(digits3, 6), 2}};
        const std::uint64_t grp = next;
        _SYMBOL_ENTRY& group = records().staticVariable("GRP", records().classType(g), 1, grp);
        group.statics.attributeD = 1;
        host.declare(*mainContext, group);
        for (const char* member : {"FLD", "TAB"}) {
            _SYMBOL_ENTRY& q = records().newSymbol(SE_QUALIFIED_NAME, member);
            q.qualified.parent = &group;
            host.declare(*mainContext, q);
        }
        next += 16;
        poke(grp, decimalimage::packed("7", 3, true));
        poke(grp + 2, decimalimage::packed("10", 3, true));
        poke(grp + 4, decimalimage::packed("20", 3, true));
        poke(grp + 6, decimalimage::packed("-30", 3, true));
    }

    // A level-01 item of main at the next free place; answers its offset.
    std::uint64_t item(const std::string& name, TYPE_INDEX type, unsigned bytes)
    {
        _SYMBOL_ENTRY& e = records().staticVariable(name, type, 1, next);
        e.statics.attributeD = 1;
        host.declare(*mainContext, e);
        const std::uint64_t at = next;
        next += (bytes + 15) / 16 * 16;
        return at;
    }

    void poke(std::uint64_t offset, const std::vector<std::uint8_t>& bytes)
    {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            host.memory().storeBigEndian(kData + offset + i, bytes[i], 1);
    }

    std::uint64_t next = 0x100;
};

TEST_F(CobolStackEffects, DecimalsTablesAndReferenceModification)
{
    stepThrough({"COMPUTE X = A + B", "COMPUTE X = A - B", "COMPUTE X = A * B", "COMPUTE X = A / B",
                 "COMPUTE X = A ** 2", "COMPUTE X = -A", "MOVE 12.5 TO X", "COMPUTE X = TAB(3) - FLD",
                 "COMPUTE X = TAB OF GRP(2) * 2", "MOVE 5 TO TAB(2)", "MOVE S(2:3) TO T", "MOVE S(4:) TO T",
                 "MOVE 'XY' TO S(3:2)", "MOVE 'XY' TO S(5:)", "MOVE SPACES TO T", "MOVE ZERO TO X", "A > B",
                 "A = 123.45", "TAB(2)"});
    expectChecked(cobol);
}

// C++: members of the object and of its base inside a member function.
class CppStackEffects : public StackEffectsTest {
protected:
    CppStackEffects() : StackEffectsTest(EvaluationEnvironment::languageCPP) {}

    void SetUp() override
    {
        StackEffectsTest::SetUp();
        host.addSection(1, kData, 64);
        enterMemberFunctionOfDerived(8);
    }
};

TEST_F(CppStackEffects, MembersOfTheObjectAndItsBase)
{
    stepThrough({"n", "m", "this->n", "this->m", "n = 9", "m += 1", "&m", "&n", "this->n = 9"});
    expectChecked(cpp);
}

// Fortran: an array through its descriptor, subscripted by rank.
class FortranStackEffects : public StackEffectsTest {
protected:
    FortranStackEffects() : StackEffectsTest(EvaluationEnvironment::languageFortran) {}

    void SetUp() override
    {
        StackEffectsTest::SetUp();
        useAddressSize(8);
        host.addSection(1, kData, 64);
        const TYPE_INDEX i32 = records().integerType(32, false);
        // INTEGER ARR(4): a descriptor array at 0x30 whose data the
        // descriptor's first word points to (0x80).
        HostRecordStore::FortranBlocks blocks;
        blocks.dataLocation = dwarf::Builder().pushObjectAddress().derefSize(8).bytes();
        blocks.lowerBound = dwarf::Builder().lit(1).bytes();
        blocks.upperBound = dwarf::Builder().lit(4).bytes();
        blocks.dimension = 1;
        variable("arr", records().fortranDescArrayType(i32, blocks), 0x30);
        host.memory().storeBigEndian(kData + 0x30, kData + 0x80, 8);
        for (unsigned i = 0; i < 4; ++i)
            host.memory().storeBigEndian(kData + 0x80 + 4 * i, 10 * (i + 1), 4);
    }
};

TEST_F(FortranStackEffects, SubscriptsByRank)
{
    stepThrough({"arr[2]", "arr[4] - arr[1]", "arr[3] = 7"});
    expectChecked(fortran);
}

} // namespace
