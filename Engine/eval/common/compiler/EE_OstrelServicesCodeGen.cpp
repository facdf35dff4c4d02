// The services object: code generation. Each operation appends its
// instructions to the stream set as the machine; with no machine every
// operation that would append refuses before appending anything. Operands
// are the symbol model's objects: the type a descriptor stands for, the
// symbol of a declaration.

#include <cstdlib>
#include <cstring>

#include "compiler/CxxevalInterface.h"
#include "compiler/EE_InstructionStream.h"
#include "compiler/EE_Label.h"
#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelDeclarationStore.h"
#include "compiler/EE_OstrelFigConstant.h"
#include "compiler/EE_OstrelLiteralValue.h"
#include "compiler/EE_OstrelServices.h"
#include "compiler/EE_OstrelTypeDescriptor.h"
#include "compiler/ServicesRefusal.h"
#include "frontend/EE_BaseNameLookupChain.h"
#include "frontend/EE_Name.h"

namespace {

const TypeItem* typeOf(const EE_TypeDescriptor& type)
{
    return EE_OstrelTypeDescriptor::typeOf(type);
}

// An integer literal's value is read as a 64-bit integer, unsigned only
// with a u suffix: a literal of a narrower type, or an unsigned long long
// beyond the signed range spelled without u, is converted to its own type.
// A folded constant (unsigned long long, its text a signed decimal) keeps
// the value as read.
bool literalNeedsItsType(const EE_OstrelLiteralValue& literal)
{
    const EE_TypeDescriptor* type = literal.typeDescriptor();
    if (type == nullptr || type->kind == EE_TypeDescriptor::LongLong || type->kind == EE_TypeDescriptor::Bool)
        return false;
    if (type->kind != EE_TypeDescriptor::UnsignedLongLong)
        return true;
    const char* text = literal.text.data();
    if (text == nullptr || text[0] == '-' || std::strpbrk(text, "uU") != nullptr)
        return false;
    return std::strtoull(text, nullptr, 0) > 0x7FFFFFFFFFFFFFFFULL;
}

const SymbolItem* symbolOf(const EE_Declaration* declaration)
{
    const auto* ostrel = static_cast<const EE_OstrelDeclaration*>(declaration);
    if (ostrel == nullptr || !ostrel->isSymbol())
        servicesRefuse();
    return ostrel->symbol();
}

} // namespace

EE_InstructionStream& EE_OstrelServices::stream() const
{
    return present(machine);
}

long long EE_OstrelServices::sizeOrRefuse(const EE_TypeDescriptor& type) const
{
    long long size = 0;
    if (!sizeOf(type, size))
        servicesRefuse();
    return size;
}

void EE_OstrelServices::logicalNot(const EE_TypeDescriptor&) const
{
    stream().genNot();
}
void EE_OstrelServices::logicalEqv(const EE_TypeDescriptor&) const
{
    stream().genEQ();
}
void EE_OstrelServices::logicalNeqv(const EE_TypeDescriptor&) const
{
    stream().genNE();
}
void EE_OstrelServices::negate(const EE_TypeDescriptor&) const
{
    stream().genNegate();
}
void EE_OstrelServices::unaryPlus(const EE_TypeDescriptor&) const {}
void EE_OstrelServices::dereference(const EE_TypeDescriptor& type) const
{
    stream().genLoadIndirect(0, typeOf(type));
}

void EE_OstrelServices::index(const EE_TypeDescriptor& type) const
{
    EE_InstructionStream& code = stream();
    code.genIndex(sizeOrRefuse(type));
}

void EE_OstrelServices::rankIndex(const EE_TypeDescriptor& type, const long long& rank) const
{
    stream().genRankIndex(rank, typeOf(type));
}

void EE_OstrelServices::rankDereference(const EE_TypeDescriptor& type, const long long& rank) const
{
    stream().genLoadIndirectRank(rank, typeOf(type));
}

void EE_OstrelServices::realPart(const EE_TypeDescriptor&) const
{
    stream().genRealPart();
}
void EE_OstrelServices::imaginaryPart(const EE_TypeDescriptor&) const
{
    stream().genImaginaryPart();
}
void EE_OstrelServices::truncateFP(const EE_TypeDescriptor& type) const
{
    stream().genTruncateFP(typeOf(type));
}
void EE_OstrelServices::convertTo(const EE_TypeDescriptor& type) const
{
    stream().genConvert(typeOf(type));
}

// Shared data has an address a private pointer does not hold: such an array
// stays the item it is.
void EE_OstrelServices::decayArray(const EE_TypeDescriptor& array, const EE_TypeDescriptor& pointer) const
{
    const TypeItem* arrayType = typeOf(array);
    if (arrayType != nullptr && arrayType->hasFlag(TypeFlags::upcShared))
        return;
    stream().genConvert(typeOf(pointer));
}

void EE_OstrelServices::convertToString(const EE_TypeDescriptor& type) const
{
    stream().genConvertString(typeOf(type));
}

void EE_OstrelServices::convertToRefMod(bool lengthGiven, const EE_TypeDescriptor& type) const
{
    stream().genConvertRefMod(lengthGiven, typeOf(type));
}

void EE_OstrelServices::add(const EE_TypeDescriptor&) const
{
    stream().genAdd();
}
void EE_OstrelServices::subtract(const EE_TypeDescriptor&) const
{
    stream().genSubtract();
}
void EE_OstrelServices::multiply(const EE_TypeDescriptor&) const
{
    stream().genMult();
}
void EE_OstrelServices::power(const EE_TypeDescriptor&, unsigned int exponent) const
{
    stream().genPow(exponent);
}
void EE_OstrelServices::divide(const EE_TypeDescriptor&) const
{
    stream().genDivide();
}
void EE_OstrelServices::remainder(const EE_TypeDescriptor&) const
{
    stream().genModulus();
}
void EE_OstrelServices::concatenate(const EE_TypeDescriptor&) const
{
    stream().genConcatenate();
}
void EE_OstrelServices::substring(const EE_TypeDescriptor&) const
{
    stream().genSubstring();
}
void EE_OstrelServices::refMod(const EE_TypeDescriptor& type) const
{
    stream().genRefMod(typeOf(type));
}
void EE_OstrelServices::refModLength(const EE_TypeDescriptor& type) const
{
    stream().genRefModLength(typeOf(type));
}
void EE_OstrelServices::addressAdd(const EE_TypeDescriptor&) const
{
    stream().genPointerAdd();
}
void EE_OstrelServices::addressSubtract(const EE_TypeDescriptor&) const
{
    stream().genPointerSubtract();
}
void EE_OstrelServices::bitwiseNot(const EE_TypeDescriptor&) const
{
    stream().genComplement();
}
void EE_OstrelServices::bitwiseOr(const EE_TypeDescriptor&) const
{
    stream().genBitOr();
}
void EE_OstrelServices::bitwiseXor(const EE_TypeDescriptor&) const
{
    stream().genBitXor();
}
void EE_OstrelServices::bitwiseAnd(const EE_TypeDescriptor&) const
{
    stream().genBitAnd();
}
void EE_OstrelServices::shiftLeft(const EE_TypeDescriptor&) const
{
    stream().genLogicalShiftLeft();
}

// An arithmetic shift for a signed operand, a logical one otherwise.
void EE_OstrelServices::shiftRight(const EE_TypeDescriptor& type)
{
    EE_InstructionStream& code = stream();
    if (isSigned(type))
        code.genArithmeticShiftRight();
    else
        code.genLogicalShiftRight();
}

void EE_OstrelServices::compareNotEqual(const EE_TypeDescriptor&) const
{
    stream().genNE();
}
void EE_OstrelServices::compareEqual(const EE_TypeDescriptor&) const
{
    stream().genEQ();
}
void EE_OstrelServices::compareGreater(const EE_TypeDescriptor&) const
{
    stream().genGT();
}
void EE_OstrelServices::compareLess(const EE_TypeDescriptor&) const
{
    stream().genLT();
}
void EE_OstrelServices::compareGreaterOrEqual(const EE_TypeDescriptor&) const
{
    stream().genGE();
}
void EE_OstrelServices::compareLessOrEqual(const EE_TypeDescriptor&) const
{
    stream().genLE();
}

void EE_OstrelServices::load(EE_Declaration& declaration) const
{
    EE_InstructionStream& code = stream();
    code.genLoad(symbolOf(&declaration));
}

void EE_OstrelServices::loadAddress(EE_Declaration& declaration) const
{
    EE_InstructionStream& code = stream();
    code.genLoadAddress(symbolOf(&declaration));
}

// One step from a class to its base for each link after the first of the
// name's base chain.
void EE_OstrelServices::baseSteps(const EE_Name& name) const
{
    EE_InstructionStream& code = stream();
    const EE_BaseNameLookupChain* link = name.baseLookupChain();
    if (link == nullptr)
        return;
    auto classOf = [](const EE_BaseNameLookupChain* l) {
        const auto& store = static_cast<const EE_OstrelDeclarationStore&>(present(l->store));
        return scopeType(store.scope);
    };
    const TypeItem* from = classOf(link);
    for (link = link->next; link != nullptr; link = link->next) {
        const TypeItem* to = classOf(link);
        code.genLoadBaseAddress(to, from);
        from = to;
    }
}

void EE_OstrelServices::loadBaseAddress(const EE_Name& name, const EE_TypeDescriptor&) const
{
    baseSteps(name);
}

// The member is checked before anything is appended.
void EE_OstrelServices::loadMember(const EE_Name& name, const EE_TypeDescriptor&) const
{
    EE_InstructionStream& code = stream();
    const SymbolItem* member = symbolOf(name.declaration);
    baseSteps(name);
    code.genLoadMemberSym(member);
}

// The member, its type and the pointer to it are found before anything is
// appended.
void EE_OstrelServices::loadMemberAddress(const EE_Name& name, const EE_TypeDescriptor&) const
{
    EE_InstructionStream& code = stream();
    EE_Declaration& declaration = present(name.declaration);
    const SymbolItem* symbol = symbolOf(&declaration);
    auto& self = const_cast<EE_OstrelServices&>(*this);
    const TypeItem* pointer =
        typeOf(present(self.findOrCreatePointerTypeDescriptor(present(declaration.typeDescriptor), 0)));
    if (declaration.isStaticMember()) {
        code.genPop();
        code.genLoadAddress(symbol);
    } else {
        baseSteps(name);
        code.genLoadMemberOffset(symbol);
        code.genPointerAdd();
    }
    code.genConvert(pointer);
}

void EE_OstrelServices::loadThisPointer() const
{
    stream().genLoadThis();
}

void EE_OstrelServices::loadSizeOf(const EE_TypeDescriptor& type) const
{
    EE_InstructionStream& code = stream();
    auto& self = const_cast<EE_OstrelServices&>(*this);
    const EE_TypeDescriptor& sizeT = present(self.sizetTypeDescriptor());
    const long long size = sizeOrRefuse(type);
    const long long length = sizeOrRefuse(sizeT);
    code.genLoadIntegralConstant(static_cast<unsigned long long>(size), typeOf(sizeT), 0, static_cast<short>(length));
}

void EE_OstrelServices::integralConstant(unsigned long long value, const EE_TypeDescriptor& type) const
{
    EE_InstructionStream& code = stream();
    auto& self = const_cast<EE_OstrelServices&>(*this);
    code.genLoadIntegralConstant(value, typeOf(present(self.sizetTypeDescriptor())), 0,
                                 static_cast<short>(constantOperand & 0xFFFF));
    if (type.kind == EE_TypeDescriptor::Bool)
        code.genConvert(typeOf(present(self.boolTypeDescriptor())));
}

void EE_OstrelServices::loadOneLiteral(const EE_TypeDescriptor& type) const
{
    integralConstant(1, type);
}
void EE_OstrelServices::loadZeroLiteral(const EE_TypeDescriptor& type) const
{
    integralConstant(0, type);
}

void EE_OstrelServices::loadImaginaryILiteral(const EE_TypeDescriptor& type) const
{
    EE_InstructionStream& code = stream();
    code.genLoadI(static_cast<short>(sizeOrRefuse(type) & 0xFFFF));
}

// Only the value's own bytes are handed on; the writer pads to the type.
void EE_OstrelServices::loadConstant(EE_LiteralValue& value) const
{
    EE_InstructionStream& code = stream();
    const auto& literal = static_cast<const EE_OstrelLiteralValue&>(value);
    const char* text = literal.text.data();
    const unsigned n = literal.text.length();
    auto& self = const_cast<EE_OstrelServices&>(*this);
    auto typed = [&] { code.genLoadValue(text, n, typeOf(present(literal.typeDescriptor()))); };
    switch (value.kind) {
    case EE_LiteralValue::Integral:
        code.genLoadIntegralValue(text);
        formatIntegral();
        if (!self.isCobol() && literalNeedsItsType(literal))
            code.genConvert(typeOf(*literal.typeDescriptor()));
        break;
    case EE_LiteralValue::Real:
        code.genLoadRealValue(text);
        // The value is read at long double precision: a float or double
        // literal is rounded to its own format.
        if (literal.typeDescriptor() != nullptr && (literal.typeDescriptor()->kind == EE_TypeDescriptor::Float ||
                                                    literal.typeDescriptor()->kind == EE_TypeDescriptor::Double))
            code.genConvert(typeOf(*literal.typeDescriptor()));
        break;
    case EE_LiteralValue::DecimalReal: code.genLoadDecimalRealValue(text); break;
    case EE_LiteralValue::PackedDecimal:
        if (self.isCobol())
            typed();
        else
            code.genLoadPackedDecimalValue(text);
        break;
    case EE_LiteralValue::FixedPointBinary:
    case EE_LiteralValue::Alphanumeric:
    case EE_LiteralValue::National:
    case EE_LiteralValue::Dbcs:
    case EE_LiteralValue::Hexadecimal: typed(); break;
    case EE_LiteralValue::Character:
        // The byte is loaded as an unsigned char: a literal of another type
        // (plain char; an int in C) is converted to it, so that the value has
        // the type validation gave it.
        code.genLoadChar(text, n);
        if (literal.typeDescriptor() != nullptr && literal.typeDescriptor()->kind != EE_TypeDescriptor::UnsignedChar)
            code.genConvert(typeOf(*literal.typeDescriptor()));
        break;
    case EE_LiteralValue::WideCharacter: code.genLoadWChar(text, n); break;
    case EE_LiteralValue::String: code.genString(text, n); break;
    case EE_LiteralValue::WideString: code.genWideString(text, n); break;
    case EE_LiteralValue::ZonedDecimal:
        if (self.isCobol())
            typed();
        else
            code.genLoadZonedDecimalValue(text);
        break;
    case EE_LiteralValue::NationalDecimal:
        if (self.isCobol())
            typed();
        else
            code.genLoadNationalDecimalValue(text);
        break;
    default: servicesRefuse();
    }
}

void EE_OstrelServices::loadFigConstant(EE_FigConstant& value) const
{
    EE_InstructionStream& code = stream();
    const auto& constant = static_cast<const EE_OstrelFigConstant&>(value);
    if (constant.kind != EE_LiteralValue::Alphanumeric)
        servicesRefuse();
    code.genLoadFigConstant(constant.text.data(), constant.text.length(), typeOf(present(constant.typeDescriptor())));
}

void EE_OstrelServices::store() const
{
    stream().genStore();
}

void EE_OstrelServices::storeMember(EE_Declaration& declaration) const
{
    EE_InstructionStream& code = stream();
    code.genStoreMember(symbolOf(&declaration));
}

void EE_OstrelServices::duplicate() const
{
    stream().genDupValue();
}
void EE_OstrelServices::pop() const
{
    stream().genPop();
}

void EE_OstrelServices::functionCall(unsigned long count, bool builtin) const
{
    stream().genCall(static_cast<unsigned int>(count), builtin);
}

void EE_OstrelServices::callCOBOLProgram(ArgMode* modes, unsigned int count) const
{
    stream().genCOBOLCall(modes, count);
}

EE_Label& EE_OstrelServices::createLabel() const
{
    auto& self = const_cast<EE_OstrelServices&>(*this);
    ++self.labelCounter;
    return *new (self.arena) EE_Label(self.labelCounter);
}

void EE_OstrelServices::defineLabel(EE_Label& label) const
{
    stream().genLabel(label.number);
}
void EE_OstrelServices::skipIfTrueUntil(EE_Label& label) const
{
    stream().genTrueJump(label.number);
}
void EE_OstrelServices::skipIfFalseUntil(EE_Label& label) const
{
    stream().genFalseJump(label.number);
}
void EE_OstrelServices::skipUntil(EE_Label& label) const
{
    stream().genJump(label.number);
}
void EE_OstrelServices::loadArraySection() const
{
    stream().genArraySection();
}

void EE_OstrelServices::loadIndex(long long index) const
{
    stream().genLoadIndex(static_cast<std::uint32_t>(index));
}

void EE_OstrelServices::loadParam(long long number) const
{
    stream().genLoadParam(static_cast<std::uint32_t>(number));
}

void EE_OstrelServices::pushArraySection() const
{
    stream().pushArraySection();
}
void EE_OstrelServices::loadVectorSubscript() const
{
    stream().genVectorSubscript();
}

void EE_OstrelServices::formatEnable()
{
    formatFlag = 1;
}

void EE_OstrelServices::formatDisable()
{
    formatFlag = 0;
}

void EE_OstrelServices::formatSignature(const EE_String& text) const
{
    if (formatFlag != 0)
        stream().formatAppendString(text.data());
}

void EE_OstrelServices::formatString(const char* text) const
{
    if (formatFlag != 0)
        stream().formatAppendString(text);
}

void EE_OstrelServices::formatIntegral() const
{
    if (formatFlag != 0)
        stream().formatAppendIntegral();
}
