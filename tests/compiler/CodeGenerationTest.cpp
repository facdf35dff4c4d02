// Code generation of the services, compared as decoded instruction streams:
// which instructions each operation appends, with which operands, and what
// it refuses before appending anything.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ServicesFixture.h"
#include "compiler/EE_InstructionDecoder.h"
#include "compiler/EE_Label.h"
#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelDeclarationStore.h"
#include "compiler/EE_OstrelFigConstant.h"
#include "compiler/EE_OstrelLiteralValue.h"
#include "frontend/EE_BaseMemberName.h"
#include "frontend/EE_Token.h"

namespace {

using Instruction = EE_InstructionDecoder::Instruction;

std::uint64_t address(const void* p)
{
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p));
}

Instruction op(unsigned opcode, std::vector<std::uint64_t> fields = {}, std::string tail = {})
{
    Instruction i;
    i.opcode = opcode;
    i.fields = std::move(fields);
    i.tail = std::move(tail);
    return i;
}

template <class Fixture>
class CodeGenerationBase : public Fixture {
protected:
    void SetUp() override
    {
        Fixture::SetUp();
        this->services->setMachine(&stream);
    }

    std::vector<Instruction> code() const { return EE_InstructionDecoder::decode(stream); }

    std::vector<unsigned> opcodes() const
    {
        std::vector<unsigned> out;
        for (const Instruction& i : code())
            out.push_back(i.opcode);
        return out;
    }

    std::uint64_t keyOf(EE_TypeDescriptor* type) const { return address(ServicesTest::keyOf(type)); }

    EE_InstructionStream stream;
};

class CodeGeneration : public CodeGenerationBase<ServicesTest> {
protected:
    // Class Base0 { m; static s; } <- Mid <- Derived, and the store of each.
    struct Hierarchy {
        TYPE_INDEX base0{}, mid{}, derived{};
    };

    Hierarchy hierarchy()
    {
        Hierarchy h;
        HostRecordStore::ClassSpec b;
        b.name = "Base0";
        b.byteSize = 8;
        b.members = {{"m", TYPE_INDEX{0, 130}, 4}, {"s", TYPE_INDEX{0, 130}, 0, true}};
        h.base0 = records().classType(b);
        HostRecordStore::ClassSpec m;
        m.name = "Mid";
        m.byteSize = 12;
        m.bases = {{h.base0, 4, 0}};
        m.members = {{"k", TYPE_INDEX{0, 130}, 0}};
        h.mid = records().classType(m);
        HostRecordStore::ClassSpec d;
        d.name = "Derived";
        d.byteSize = 16;
        d.bases = {{h.mid, 0, 0}};
        d.members = {{"own", TYPE_INDEX{0, 130}, 12}};
        h.derived = records().classType(d);
        return h;
    }

    EE_OstrelDeclarationStore* classStore(TYPE_INDEX type)
    {
        return services->findOrCreateDeclarationStore(typeScope(hostType(type)));
    }

    // The class type a class store's scope stands for.
    std::uint64_t classType(TYPE_INDEX type) { return address(scopeType(classStore(type)->scope)); }

    const SymbolItem* symbolOf(const EE_Name* name)
    {
        return static_cast<const EE_OstrelDeclaration*>(name->declaration)->symbol();
    }
};

class CobolCodeGeneration : public CodeGenerationBase<CobolServicesTest> {};

TEST_F(CodeGeneration, OperatorsWithoutOperandAppendTheirOpcode)
{
    const EE_TypeDescriptor& t = *services->signedIntTypeDescriptor();
    struct Case {
        const char* name;
        std::function<void()> emit;
        unsigned opcode;
    };
    const Case cases[] = {
        {"logicalNot", [&] { services->logicalNot(t); }, 14},
        {"logicalEqv", [&] { services->logicalEqv(t); }, 22},
        {"logicalNeqv", [&] { services->logicalNeqv(t); }, 23},
        {"negate", [&] { services->negate(t); }, 12},
        {"realPart", [&] { services->realPart(t); }, 15},
        {"imaginaryPart", [&] { services->imaginaryPart(t); }, 16},
        {"add", [&] { services->add(t); }, 2},
        {"subtract", [&] { services->subtract(t); }, 4},
        {"multiply", [&] { services->multiply(t); }, 5},
        {"divide", [&] { services->divide(t); }, 6},
        {"remainder", [&] { services->remainder(t); }, 7},
        {"concatenate", [&] { services->concatenate(t); }, 8},
        {"substring", [&] { services->substring(t); }, 32},
        {"addressAdd", [&] { services->addressAdd(t); }, 1},
        {"addressSubtract", [&] { services->addressSubtract(t); }, 3},
        {"bitwiseNot", [&] { services->bitwiseNot(t); }, 13},
        {"bitwiseOr", [&] { services->bitwiseOr(t); }, 10},
        {"bitwiseXor", [&] { services->bitwiseXor(t); }, 11},
        {"bitwiseAnd", [&] { services->bitwiseAnd(t); }, 9},
        {"shiftLeft", [&] { services->shiftLeft(t); }, 19},
        {"compareNotEqual", [&] { services->compareNotEqual(t); }, 23},
        {"compareEqual", [&] { services->compareEqual(t); }, 22},
        {"compareGreater", [&] { services->compareGreater(t); }, 26},
        {"compareLess", [&] { services->compareLess(t); }, 24},
        {"compareGreaterOrEqual", [&] { services->compareGreaterOrEqual(t); }, 27},
        {"compareLessOrEqual", [&] { services->compareLessOrEqual(t); }, 25},
        {"loadThisPointer", [&] { services->loadThisPointer(); }, 18},
        {"store", [&] { services->store(); }, 28},
        {"duplicate", [&] { services->duplicate(); }, 29},
        {"pop", [&] { services->pop(); }, 30},
        {"loadArraySection", [&] { services->loadArraySection(); }, 31},
        {"pushArraySection", [&] { services->pushArraySection(); }, 34},
        {"loadVectorSubscript", [&] { services->loadVectorSubscript(); }, 35},
    };
    std::vector<unsigned> expected;
    for (const Case& c : cases) {
        c.emit();
        expected.push_back(c.opcode);
    }
    EXPECT_EQ(opcodes(), expected);

    // unaryPlus and the format switches append nothing.
    const auto before = stream.size();
    services->unaryPlus(t);
    services->formatEnable();
    services->formatDisable();
    services->formatString("x");
    services->formatIntegral();
    EXPECT_EQ(stream.size(), before);
}

TEST_F(CodeGeneration, TypedOperationsCarryTheDescriptorsType)
{
    EE_TypeDescriptor* t = services->signedIntTypeDescriptor();
    const std::uint64_t type = keyOf(t);
    const long long rank = 3;
    services->dereference(*t);
    services->index(*t);
    services->rankIndex(*t, rank);
    services->rankDereference(*t, rank);
    services->truncateFP(*t);
    services->convertTo(*t);
    services->convertToString(*t);
    services->convertToRefMod(true, *t);
    services->power(*t, 5);
    services->refMod(*t);
    services->refModLength(*t);
    services->functionCall(2, true);
    services->loadIndex(0x100000007LL);
    services->loadParam(4);
    services->loadImaginaryILiteral(*services->doubleTypeDescriptor());
    const std::vector<Instruction> expected = {
        op(65, {0, type}), op(38, {4}),    op(67, {3, type}), op(68, {3, type}), op(43, {type}),
        op(44, {type}),    op(45, {type}), op(69, {1, type}), op(36, {5}),       op(53, {type}),
        op(54, {type}),    op(64, {2, 1}), op(51, {7}),       op(52, {4}),       op(37, {8}),
    };
    EXPECT_EQ(code(), expected);
}

TEST_F(CodeGeneration, ShiftRightIsArithmeticForSignedOperands)
{
    services->shiftRight(*services->signedIntTypeDescriptor());
    services->shiftRight(*services->unsignedIntTypeDescriptor());
    services->shiftRight(*services->signedCharTypeDescriptor());
    services->shiftRight(*services->unsignedLongLongIntTypeDescriptor());
    EXPECT_EQ(opcodes(), (std::vector<unsigned>{21, 20, 21, 20}));
}

TEST_F(CodeGeneration, OneAndZeroLiteralsAreSizeTConstantsConvertedForBool)
{
    const std::uint64_t sizeT = keyOf(services->sizetTypeDescriptor());
    const std::uint64_t boolean = keyOf(services->boolTypeDescriptor());
    services->loadOneLiteral(*services->boolTypeDescriptor());
    services->loadOneLiteral(*services->signedIntTypeDescriptor());
    services->loadZeroLiteral(*services->boolTypeDescriptor());
    services->loadZeroLiteral(*services->doubleTypeDescriptor());
    const std::vector<Instruction> expected = {
        op(75, {1, sizeT, 0, 8}), op(44, {boolean}), op(75, {1, sizeT, 0, 8}),
        op(75, {0, sizeT, 0, 8}), op(44, {boolean}), op(75, {0, sizeT, 0, 8}),
    };
    EXPECT_EQ(code(), expected);
}

TEST_F(CodeGeneration, SizeOfTakesTheLengthOfSizeTAtEachAddressSize)
{
    for (unsigned addressSize : {4u, 8u}) {
        SCOPED_TRACE(addressSize);
        env->setAddressSize(addressSize);
        EE_OstrelServices fresh(scope, scopeFilescope());
        EE_InstructionStream out;
        fresh.setMachine(&out);
        fresh.loadSizeOf(*fresh.signedLongLongIntTypeDescriptor());
        const std::vector<Instruction> expected = {
            op(75, {8, address(ServicesTest::keyOf(fresh.sizetTypeDescriptor())), 0, addressSize})};
        EXPECT_EQ(EE_InstructionDecoder::decode(out), expected);
    }
}

TEST_F(CodeGeneration, IntegralLiteralAppendsItsFormatOnlyWhileFormatting)
{
    EE_LiteralValue* seven = services->createIntegerLiteralValue(7);
    services->loadConstant(*seven);
    services->formatEnable();
    services->loadConstant(*seven);
    services->formatString("+");
    services->formatSignature(EE_String("x"));
    services->formatDisable();
    services->loadConstant(*seven);
    const std::vector<Instruction> expected = {
        op(55, {2}, std::string("7\0", 2)), op(55, {2}, std::string("7\0", 2)), op(33),
        op(61, {2}, std::string("+\0", 2)), op(61, {2}, std::string("x\0", 2)), op(55, {2}, std::string("7\0", 2)),
    };
    EXPECT_EQ(code(), expected);
}

TEST_F(CodeGeneration, LiteralKindsInCAndTheirOperands)
{
    auto value = [&](EE_LiteralValue::Kind kind, const std::string& bytes, EE_TypeDescriptor* type = nullptr) {
        return new (services->storageArena())
            EE_OstrelLiteralValue(kind, type, bytes.data(), bytes.size(), services->storageArena());
    };
    EE_TypeDescriptor* fixed = services->findOrCreateFixedPointTypeDescriptor(EE_TypeDescriptor::FixedPointBinary, 5, 0,
                                                                              true, EE_DecimalSignNone);
    services->loadConstant(*value(EE_LiteralValue::Real, "1.5"));
    services->loadConstant(*value(EE_LiteralValue::DecimalReal, "2dd"));
    services->loadConstant(*services->createFixedPointLiteralValue(1000000000000000000LL)); // packed, C
    services->loadConstant(*value(EE_LiteralValue::ZonedDecimal, "12"));
    services->loadConstant(*value(EE_LiteralValue::NationalDecimal, "3"));
    services->loadConstant(*value(EE_LiteralValue::Character, "\xC1"));
    services->loadConstant(*value(EE_LiteralValue::WideCharacter, "x"));
    services->loadConstant(*value(EE_LiteralValue::String, "\xC1\xC2"));
    services->loadConstant(*value(EE_LiteralValue::WideString, "ab"));
    services->loadConstant(*value(EE_LiteralValue::FixedPointBinary, "-5", fixed));
    const std::uint64_t fixedType = keyOf(fixed);
    const unsigned fixedSize = sizeOfType(ServicesTest::keyOf(fixed));
    std::string fixedTail("-5");
    fixedTail.resize(std::max<std::size_t>(2, fixedSize) + 1, '\0');
    const std::vector<Instruction> expected = {
        op(56, {4}, std::string("1.5\0", 4)),
        op(57, {4}, std::string("2dd\0", 4)),
        op(58, {20}, std::string("1000000000000000000\0", 20)),
        op(59, {3}, std::string("12\0", 3)),
        op(60, {2}, std::string("3\0", 2)),
        op(72, {1}, "\xC1"),
        op(73, {1}, "x"),
        op(70, {2}, "\xC1\xC2"),
        op(71, {2}, "ab"),
        op(62, {fixedTail.size(), fixedType}, fixedTail),
    };
    EXPECT_EQ(code(), expected);

    EE_OstrelLiteralValue beyond(static_cast<EE_LiteralValue::Kind>(15), nullptr, "1", 1, services->storageArena());
    const auto before = stream.size();
    EXPECT_EQ(eeExceptionCode([&] { services->loadConstant(beyond); }), 2);
    EXPECT_EQ(stream.size(), before);
}

TEST_F(CobolCodeGeneration, PackedZonedAndStringLiteralsLoadTheirBytesWithTheirType)
{
    EE_LiteralValue* packed = services->createFixedPointLiteralValue(1000000000000000000LL);
    ASSERT_EQ(packed->kind, EE_LiteralValue::PackedDecimal);
    services->loadConstant(*packed);
    // A five-byte alphanumeric type holding a two-byte value: the operand
    // holds the value and zeros, nothing read past the value.
    EE_TypeDescriptor* five = services->findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::AlphanumericString, 5,
                                                                             false, false, false, nullptr);
    EE_OstrelLiteralValue ab(EE_LiteralValue::Alphanumeric, five, "\xC1\xC2", 2, services->storageArena());
    services->loadConstant(ab);
    EE_Token token;
    token.preset();
    token.kind = 109; // SPACES
    services->loadFigConstant(*services->findOrCreateFigConstantValue(token));

    const std::vector<Instruction> listed = code();
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0].opcode, 62u);
    EXPECT_EQ(listed[0].fields[1], keyOf(packed->typeDescriptor()));
    EXPECT_EQ(listed[0].tail.substr(0, 20), std::string("1000000000000000000\0", 20));
    EXPECT_EQ(listed[1], op(62, {6, keyOf(five)}, std::string("\xC1\xC2\0\0\0\0", 6)));
    EXPECT_EQ(listed[2].opcode, 63u);
    EXPECT_EQ(listed[2].tail, std::string("\x40\0", 2));

    // Only alphanumeric figurative constants are loaded.
    auto* spaces = static_cast<EE_OstrelFigConstant*>(services->findOrCreateFigConstantValue(token));
    spaces->kind = EE_LiteralValue::National;
    EXPECT_EQ(eeExceptionCode([&] { services->loadFigConstant(*spaces); }), 2);
    EXPECT_EQ(code().size(), 3u);
}

TEST_F(CodeGeneration, LabelsAreNumberedFromOneAndJumpsCarryTheirNumber)
{
    EE_Label& first = services->createLabel();
    EE_Label& second = services->createLabel();
    EXPECT_EQ(first.number, 1u);
    EXPECT_EQ(second.number, 2u);
    EXPECT_EQ(stream.size(), 0u) << "making a label appends nothing";
    services->skipIfTrueUntil(first);
    services->skipIfFalseUntil(second);
    services->skipUntil(second);
    services->defineLabel(first);
    services->defineLabel(second);
    const std::vector<Instruction> expected = {op(40, {1}), op(41, {2}), op(42, {2}), op(39, {1}), op(39, {2})};
    EXPECT_EQ(code(), expected);

    EE_OstrelServices other(scope, scopeFilescope());
    EXPECT_EQ(other.createLabel().number, 1u) << "numbered per services object";
}

TEST_F(CodeGeneration, VariablesAndMembersLoadTheirSymbols)
{
    host.declare(*mainContext, records().staticVariable("counter", TYPE_INDEX{0, 130}, 1, 0x20));
    const SymbolItem* counter = symFindVar("counter", scope);
    ASSERT_NE(counter, nullptr);
    EE_OstrelDeclaration* declaration = services->findOrCreateDeclaration(counter, "counter", nullptr);
    services->load(*declaration);
    services->loadAddress(*declaration);
    services->storeMember(*declaration);
    const std::vector<Instruction> expected = {op(46, {address(counter)}), op(47, {address(counter)}),
                                               op(50, {address(counter)})};
    EXPECT_EQ(code(), expected);

    // A declaration that is no symbol refuses before anything is appended.
    EE_OstrelDeclaration* type = services->findOrCreateDeclaration(intType(), "int", nullptr);
    for (const std::function<void()>& f :
         std::vector<std::function<void()>>{[&] { services->load(*type); }, [&] { services->loadAddress(*type); },
                                            [&] { services->storeMember(*type); }}) {
        EXPECT_EQ(eeExceptionCode(f), 2);
    }
    EXPECT_EQ(code().size(), 3u);
}

TEST_F(CodeGeneration, MemberTwoBasesAwayStepsThroughEachBase)
{
    const Hierarchy h = hierarchy();
    EE_OstrelDeclarationStore* derived = classStore(h.derived);
    EE_Name* m = derived->qualifiedScopeLookup("m", 0);
    ASSERT_NE(m, nullptr);
    const std::uint64_t d = classType(h.derived), mid = classType(h.mid), b = classType(h.base0);
    const EE_TypeDescriptor& t = *services->signedIntTypeDescriptor();
    services->loadMember(*m, t);
    services->loadBaseAddress(*m, t);
    const std::vector<Instruction> expected = {op(66, {mid, d}), op(66, {b, mid}), op(48, {address(symbolOf(m))}),
                                               op(66, {mid, d}), op(66, {b, mid})};
    EXPECT_EQ(code(), expected);

    // A member of the class itself takes no step; a plain name neither.
    EE_InstructionStream second;
    services->setMachine(&second);
    EE_Name* own = derived->qualifiedScopeLookup("own", 0);
    services->loadMember(*own, t);
    services->loadBaseAddress(*services->createName(*own->declaration), t);
    EXPECT_EQ(EE_InstructionDecoder::decode(second), (std::vector<Instruction>{op(48, {address(symbolOf(own))})}));
}

TEST_F(CodeGeneration, MemberAddressesOfStaticAndNonStaticMembers)
{
    const Hierarchy h = hierarchy();
    EE_OstrelDeclarationStore* derived = classStore(h.derived);
    EE_Name* m = derived->qualifiedScopeLookup("m", 0);
    EE_Name* s = derived->qualifiedScopeLookup("s", 0);
    ASSERT_NE(m, nullptr);
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(s->declaration->isStaticMember());
    m->declaration->setTypeDescriptor();
    s->declaration->setTypeDescriptor();
    const EE_TypeDescriptor& t = *services->signedIntTypeDescriptor();
    const std::uint64_t pointerToInt =
        keyOf(services->findOrCreatePointerTypeDescriptor(*services->signedIntTypeDescriptor(), 0));
    services->loadMemberAddress(*s, t);
    services->loadMemberAddress(*m, t);
    const std::uint64_t d = classType(h.derived), mid = classType(h.mid), b = classType(h.base0);
    const std::vector<Instruction> expected = {
        op(30),
        op(47, {address(symbolOf(s))}),
        op(44, {pointerToInt}),
        op(66, {mid, d}),
        op(66, {b, mid}),
        op(49, {address(symbolOf(m))}),
        op(1),
        op(44, {pointerToInt}),
    };
    EXPECT_EQ(code(), expected);

    // A member without type descriptor, or a name of no symbol, refuses
    // before anything is appended.
    EE_Name* k = derived->qualifiedScopeLookup("k", 0);
    EXPECT_EQ(eeExceptionCode([&] { services->loadMemberAddress(*k, t); }), 2);
    EE_BaseMemberName* type = services->createBaseMemberName(
        *services->findOrCreateDeclaration(intType(), "int", nullptr), 0, *classStore(h.mid));
    type->prependComponent(*services->createBaseNameLookupChainComponent(*derived));
    EXPECT_EQ(eeExceptionCode([&] { services->loadMember(*type, t); }), 2);
    EXPECT_EQ(eeExceptionCode([&] { services->loadMemberAddress(*type, t); }), 2);
    EXPECT_EQ(code().size(), expected.size());
}

TEST_F(CodeGeneration, WithoutMachineEveryAppendingOperationRefuses)
{
    services->setMachine(nullptr);
    host.declare(*mainContext, records().staticVariable("counter", TYPE_INDEX{0, 130}, 1, 0x20));
    EE_OstrelDeclaration* declaration =
        services->findOrCreateDeclaration(symFindVar("counter", scope), "counter", nullptr);
    const EE_TypeDescriptor& t = *services->signedIntTypeDescriptor();
    EE_Label& label = services->createLabel();
    EE_Name* name = services->createName(*declaration);
    services->formatEnable();
    const long long rank = 1;
    const std::function<void()> operations[] = {
        [&] { services->logicalNot(t); },
        [&] { services->negate(t); },
        [&] { services->dereference(t); },
        [&] { services->index(t); },
        [&] { services->rankIndex(t, rank); },
        [&] { services->convertTo(t); },
        [&] { services->add(t); },
        [&] { services->shiftRight(t); },
        [&] { services->compareLess(t); },
        [&] { services->load(*declaration); },
        [&] { services->loadMember(*name, t); },
        [&] { services->loadThisPointer(); },
        [&] { services->loadSizeOf(t); },
        [&] { services->loadOneLiteral(t); },
        [&] { services->loadZeroLiteral(t); },
        [&] { services->loadImaginaryILiteral(t); },
        [&] { services->loadConstant(*services->createIntegerLiteralValue(1)); },
        [&] { services->store(); },
        [&] { services->functionCall(0, false); },
        [&] { services->callCOBOLProgram(nullptr, 0); },
        [&] { services->defineLabel(label); },
        [&] { services->skipUntil(label); },
        [&] { services->loadIndex(1); },
        [&] { services->loadParam(1); },
        [&] { services->formatString("x"); },
        [&] { services->formatIntegral(); },
        [&] { services->loadBaseAddress(*name, t); },
        [&] { services->pushArraySection(); },
    };
    for (std::size_t i = 0; i < std::size(operations); ++i)
        EXPECT_EQ(eeExceptionCode(operations[i]), 2) << i;
    EXPECT_EQ(stream.size(), 0u);
    // Nothing to append: these never refuse.
    services->unaryPlus(t);
    services->formatDisable();
    services->formatString("x");
}

} // namespace
