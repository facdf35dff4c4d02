// The byte code generated for each kind of expression, compared as decoded
// instruction streams (opcodes, with the operands that matter), then replayed:
// each leaves one item, and stores leave memory as C would.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RoadFixture.h"
#include "compiler/EE_ExpressionEvaluator.h"
#include "compiler/EE_InstructionStream.h"
#include "compiler/EE_OstrelServices.h"
#include "frontend/EE_ArraySectionExpression.h"
#include "frontend/EE_Expression.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_Parameter.h"
#include "frontend/EE_VectorSubscriptExpression.h"

namespace {

using Instruction = EE_InstructionDecoder::Instruction;

// Opcodes by name, as the stream numbers them.
enum Op : unsigned {
    End = 0,
    AddressAdd = 1,
    Add = 2,
    AddressSubtract = 3,
    Subtract = 4,
    Multiply = 5,
    Divide = 6,
    GreaterThan = 26,
    FormatIntegral = 33,
    Store = 28,
    Duplicate = 29,
    Pop = 30,
    LoadArraySection = 31,
    PushArraySection = 34,
    VectorSubscript = 35,
    Index = 38,
    Label = 39,
    TrueJump = 40,
    FalseJump = 41,
    Jump = 42,
    Convert = 44,
    Load = 46,
    LoadAddress = 47,
    LoadMember = 48,
    LoadIndex = 51,
    LoadParam = 52,
    IntegralValue = 55,
    Dereference = 65,
    BaseAddress = 66,
    IntegralConstant = 75,
    EqualTo = 22,
    NotEqualTo = 23,
};

std::vector<unsigned> opcodesOf(const EE_InstructionStream& stream)
{
    std::vector<unsigned> out;
    for (const Instruction& i : EE_InstructionDecoder::decode(stream))
        out.push_back(i.opcode);
    return out;
}

class CodeGenStream : public RoadTest {
protected:
    void SetUp() override
    {
        RoadTest::SetUp();
        host.addSection(1, kData);
        const TYPE_INDEX i32 = records().integerType(32, false);
        variable("a", i32, 0x20);
        variable("b", i32, 0x24);
        variable("arr", records().arrayType(i32, 16), 0x30);
        const TYPE_INDEX pointer = records().pointerType(i32);
        variable("p", pointer, 0x40);
        variable("q", pointer, 0x48);
        variable("r", records().referenceType(i32), 0x50);
        HostRecordStore::ClassSpec base;
        base.name = "Base";
        base.byteSize = 8;
        base.members = {{"m", i32, 4}};
        const TYPE_INDEX baseType = records().classType(base);
        HostRecordStore::ClassSpec derived;
        derived.name = "Derived";
        derived.byteSize = 12;
        derived.bases = {{baseType, 4, 0}};
        derived.members = {{"own", i32, 0}};
        variable("d", records().classType(derived), 0x60);
        host.memory().storeBigEndian(kData + 0x20, 5, 4);
        host.memory().storeBigEndian(kData + 0x24, 3, 4);
        for (unsigned i = 0; i < 4; ++i)
            host.memory().storeBigEndian(kData + 0x30 + 4 * i, 10 * (i + 1), 4);
        host.memory().storeBigEndian(kData + 0x40, kData + 0x34, 8);
        host.memory().storeBigEndian(kData + 0x48, kData + 0x30, 8);
        host.memory().storeBigEndian(kData + 0x50, kData + 0x24, 8);
        host.memory().storeBigEndian(kData + 0x60, 11, 4);
        host.memory().storeBigEndian(kData + 0x68, 12, 4);
    }
};

TEST_F(CodeGenStream, EachExpressionKindHasItsCode)
{
    struct Case {
        const char* text;
        std::vector<unsigned> code;
        std::int64_t value;
    };
    const Case cases[] = {
        // && and ||: the right operand only when the left does not decide.
        // Operands become bool by a comparison with zero.
        {"a && b",
         {Load, IntegralConstant, NotEqualTo, TrueJump, IntegralConstant, Convert, Jump, Label, Load, IntegralConstant,
          NotEqualTo, Label, End},
         1},
        {"a || b",
         {Load, IntegralConstant, NotEqualTo, FalseJump, IntegralConstant, Convert, Jump, Label, Load, IntegralConstant,
          NotEqualTo, Label, End},
         1},
        {"a ? b : 7",
         {Load, IntegralConstant, NotEqualTo, FalseJump, Load, Jump, Label, IntegralValue, Convert, Label, End},
         3},
        {"(a, b)", {Load, Pop, Load, End}, 3},
        // Pointer arithmetic scales by the element; a difference divides by it.
        {"p + a", {Load, Load, IntegralConstant, Multiply, AddressAdd, End}, 0},
        {"a + p", {Load, Load, IntegralConstant, Multiply, AddressAdd, End}, 0},
        {"p - q", {Load, Load, AddressSubtract, IntegralConstant, Divide, End}, 1},
        // A reference is dereferenced where its value is used, not at the root.
        {"r", {Load, End}, 0},
        // An int literal is read as 64 bits and converted to its own type.
        {"r + 1", {Load, Dereference, IntegralValue, Convert, Add, End}, 4},
        // A member of a base class: the step to the base, then the member.
        {"d.m", {LoadAddress, BaseAddress, LoadMember, End}, 12},
        // Assignments keep the address, store, and read the value back.
        {"a = 9", {LoadAddress, Duplicate, IntegralValue, Convert, Store, Dereference, End}, 9},
        {"a += 2",
         {LoadAddress, Duplicate, Duplicate, Dereference, IntegralValue, Convert, Add, Convert, Store, Dereference,
          End},
         11},
        // An int item's step is an int: nothing to convert back.
        {"++a",
         {LoadAddress, Duplicate, Duplicate, Dereference, IntegralConstant, Convert, Add, Store, Dereference, End},
         12},
        {"a--", {Load, LoadAddress, Duplicate, Dereference, IntegralConstant, Convert, Subtract, Store, End}, 12},
        {"arr[1]", {Load, IntegralValue, Convert, Index, Dereference, End}, 20},
    };
    for (const Case& c : cases) {
        Build b;
        build(b, c.text);
        ASSERT_EQ(b.parseErrorKind, -1) << c.text << ": " << b.parseErrorText;
        EXPECT_EQ(opcodesOf(*b.info.instructions), c.code) << c.text << "\n"
                                                           << EE_InstructionDecoder::listing(*b.info.instructions);
        replay(b);
        ASSERT_EQ(stack().count(), 1u) << c.text;
        if (c.value != 0) {
            EXPECT_EQ(stack().top()->asSigned(), c.value) << c.text;
        }
        stack().popAll();
    }
    EXPECT_EQ(word(0x20), 11u); // 9, += 2, ++, -- leaves 11
}

// Sections and vector subscripts come from no grammar: the factory makes
// them. A section describes itself to the machine while its parameter is
// not yet given, and the expression ends by handing the section over.
TEST_F(CodeGenStream, SectionsEndByHandingTheSectionOver)
{
    EE_OstrelServices services(scope, nullptr);
    EE_InstructionStream stream;
    services.setMachine(&stream);
    auto integer = [&](long long v) -> EE_Expression* {
        return services.createLiteralExpression(services.createIntegerLiteralValue(v));
    };
    EE_ExpressionEvaluator evaluator(services);
    EE_Expression* section = services.createArraySectionExpression(integer(1), integer(3), integer(1), 0, 0);
    EE_Expression* analysed = evaluator.analyze(*section);
    evaluator.evaluate(*analysed);
    stream.genEnd();
    const std::vector<unsigned> code = opcodesOf(stream);
    const std::vector<unsigned> expected = {IntegralConstant,
                                            Convert,
                                            LoadParam,
                                            GreaterThan,
                                            FalseJump,
                                            LoadIndex,
                                            IntegralValue,
                                            IntegralValue,
                                            IntegralValue,
                                            LoadArraySection,
                                            Jump,
                                            Label,
                                            IntegralValue,
                                            IntegralValue,
                                            LoadParam,
                                            Multiply,
                                            Add,
                                            FormatIntegral,
                                            Label,
                                            PushArraySection,
                                            End};
    EXPECT_EQ(code, expected) << EE_InstructionDecoder::listing(stream);
    EXPECT_EQ(evaluator.sectionDimensions(), 1u);

    // A plain range: its bounds only, and nothing handed over.
    EE_InstructionStream rangeStream;
    services.setMachine(&rangeStream);
    EE_ExpressionEvaluator plain(services);
    EE_Expression* range = services.createArraySectionExpression(integer(2), integer(5), integer(1), 1, 1);
    plain.evaluate(*plain.analyze(*range));
    EXPECT_EQ(opcodesOf(rangeStream), (std::vector<unsigned>{IntegralValue, IntegralValue}));

    EE_InstructionStream vectorStream;
    services.setMachine(&vectorStream);
    EE_ExpressionEvaluator vector(services);
    EE_Parameter* subscripts = services.createParameter(integer(7), services.createParameter(integer(9), nullptr));
    EE_Expression* subscript = services.createVectorSubscriptExpression(subscripts, 0, 2);
    vector.evaluate(*vector.analyze(*subscript));
    const std::vector<unsigned> vectorCode = opcodesOf(vectorStream);
    ASSERT_FALSE(vectorCode.empty());
    EXPECT_EQ(vectorCode.back(), PushArraySection) << EE_InstructionDecoder::listing(vectorStream);
    const std::vector<unsigned> head(vectorCode.begin(), vectorCode.begin() + 11);
    EXPECT_EQ(head, (std::vector<unsigned>{IntegralConstant, Convert, LoadParam, GreaterThan, FalseJump, IntegralValue,
                                           LoadIndex, VectorSubscript, Jump, Label, IntegralValue}))
        << EE_InstructionDecoder::listing(vectorStream);
}

} // namespace
