#include <algorithm>
#include <cstring>

#include "compiler/EE_InstructionStream.h"
#include "compiler/EE_OperandLayout.h"
#include "frontend/EE_Exception.h"
#include "types/TypeItem.h"

namespace {

const operandlayout::Layout& rowOf(unsigned char opcode)
{
    return *operandlayout::layout(opcode);
}

// Writes field i of an operand from a value of the field's width.
template <class T>
void put(unsigned char* operand, unsigned char opcode, unsigned i, T value)
{
    const operandlayout::Field& field = rowOf(opcode).fields[i];
    if (operandlayout::fieldWidth(field.kind) != sizeof(T))
        throw EE_Exception(EE_Exception::InternalFailure);
    std::memcpy(operand + field.offset, &value, sizeof(T));
}

} // namespace

void EE_InstructionStream::u32(unsigned char opcode, std::uint32_t value)
{
    put(append(opcode, rowOf(opcode).head), opcode, 0, value);
}

void EE_InstructionStream::u64(unsigned char opcode, std::uint64_t value)
{
    put(append(opcode, rowOf(opcode).head), opcode, 0, value);
}

void EE_InstructionStream::pointer(unsigned char opcode, const void* p)
{
    put(append(opcode, rowOf(opcode).head), opcode, 0, p);
}

void EE_InstructionStream::numberAndType(unsigned char opcode, long long number, const TypeItem* type)
{
    unsigned char* operand = append(opcode, rowOf(opcode).head);
    put(operand, opcode, 0, static_cast<std::int64_t>(number));
    put(operand, opcode, 1, static_cast<const void*>(type));
}

void EE_InstructionStream::text16(unsigned char opcode, const char* text)
{
    if (text == nullptr)
        text = "";
    const std::size_t n = std::strlen(text) + 1;
    const operandlayout::Layout& row = rowOf(opcode);
    // append refuses what cannot fit a block, so n fits its 16 bits below.
    unsigned char* operand = append(opcode, row.head + n);
    put(operand, opcode, 0, static_cast<std::uint16_t>(n));
    std::memcpy(operand + row.head, text, n);
}

void EE_InstructionStream::typedValue(unsigned char opcode, const char* value, std::size_t length,
                                      const TypeItem* type)
{
    if (value == nullptr)
        length = 0;
    const std::size_t typeSize = type != nullptr ? type->typeSize() : 0;
    const std::size_t n = std::max(typeSize, length) + 1;
    const operandlayout::Layout& row = rowOf(opcode);
    unsigned char* operand = append(opcode, row.head + n);
    put(operand, opcode, 0, static_cast<std::uint16_t>(n));
    put(operand, opcode, 1, static_cast<const void*>(type));
    if (length > 0)
        std::memcpy(operand + row.head, value, length);
    std::memset(operand + row.head + length, 0, n - length);
}

void EE_InstructionStream::text32(unsigned char opcode, const void* bytes, unsigned int n)
{
    if (bytes == nullptr)
        n = 0;
    const operandlayout::Layout& row = rowOf(opcode);
    unsigned char* operand = append(opcode, row.head + std::size_t(n));
    put(operand, opcode, 0, static_cast<std::uint32_t>(n));
    if (n > 0)
        std::memcpy(operand + row.head, bytes, n);
}

void EE_InstructionStream::genPow(unsigned int exponent) { u32(36, exponent); }

void EE_InstructionStream::genLoadI(short size)
{
    put(append(37, rowOf(37).head), 37, 0, static_cast<std::int16_t>(size));
}

void EE_InstructionStream::genIndex(long long elementSize) { u64(38, static_cast<std::uint64_t>(elementSize)); }
void EE_InstructionStream::genLabel(unsigned int label) { u32(39, label); }
void EE_InstructionStream::genTrueJump(unsigned int label) { u32(40, label); }
void EE_InstructionStream::genFalseJump(unsigned int label) { u32(41, label); }
void EE_InstructionStream::genJump(unsigned int label) { u32(42, label); }
void EE_InstructionStream::genTruncateFP(const TypeItem* type) { pointer(43, type); }
void EE_InstructionStream::genConvert(const TypeItem* type) { pointer(44, type); }
void EE_InstructionStream::genConvertString(const TypeItem* type) { pointer(45, type); }
void EE_InstructionStream::genLoad(const SymbolItem* symbol) { pointer(46, symbol); }
void EE_InstructionStream::genLoadAddress(const SymbolItem* symbol) { pointer(47, symbol); }
void EE_InstructionStream::genLoadMemberSym(const SymbolItem* symbol) { pointer(48, symbol); }
void EE_InstructionStream::genLoadMemberOffset(const SymbolItem* symbol) { pointer(49, symbol); }
void EE_InstructionStream::genStoreMember(const SymbolItem* symbol) { pointer(50, symbol); }
void EE_InstructionStream::genLoadIndex(unsigned long long index) { u64(51, index); }
void EE_InstructionStream::genLoadParam(unsigned long long parameter) { u64(52, parameter); }
void EE_InstructionStream::genRefMod(const TypeItem* type) { pointer(53, type); }
void EE_InstructionStream::genRefModLength(const TypeItem* type) { pointer(54, type); }

void EE_InstructionStream::genLoadIntegralValue(const char* text) { text16(55, text); }
void EE_InstructionStream::genLoadRealValue(const char* text) { text16(56, text); }
void EE_InstructionStream::genLoadDecimalRealValue(const char* text) { text16(57, text); }
void EE_InstructionStream::genLoadPackedDecimalValue(const char* text) { text16(58, text); }
void EE_InstructionStream::genLoadZonedDecimalValue(const char* text) { text16(59, text); }
void EE_InstructionStream::genLoadNationalDecimalValue(const char* text) { text16(60, text); }
void EE_InstructionStream::formatAppendString(const char* text) { text16(61, text); }

void EE_InstructionStream::genLoadValue(const char* value, std::size_t length, const TypeItem* type)
{
    typedValue(62, value, length, type);
}

void EE_InstructionStream::genLoadFigConstant(const char* value, std::size_t length, const TypeItem* type)
{
    typedValue(63, value, length, type);
}

void EE_InstructionStream::genCall(unsigned int function, bool builtin)
{
    unsigned char* operand = append(64, rowOf(64).head);
    put(operand, 64, 0, static_cast<std::uint32_t>(function));
    put(operand, 64, 1, static_cast<std::uint8_t>(builtin ? 1 : 0));
}

void EE_InstructionStream::genLoadIndirect(long long offset, const TypeItem* type) { numberAndType(65, offset, type); }

void EE_InstructionStream::genLoadBaseAddress(const TypeItem* base, const TypeItem* derived)
{
    unsigned char* operand = append(66, rowOf(66).head);
    put(operand, 66, 0, static_cast<const void*>(base));
    put(operand, 66, 1, static_cast<const void*>(derived));
}

void EE_InstructionStream::genRankIndex(long long rank, const TypeItem* type) { numberAndType(67, rank, type); }
void EE_InstructionStream::genLoadIndirectRank(long long rank, const TypeItem* type) { numberAndType(68, rank, type); }

void EE_InstructionStream::genConvertRefMod(bool lengthGiven, const TypeItem* type)
{
    unsigned char* operand = append(69, rowOf(69).head);
    put(operand, 69, 0, static_cast<std::uint8_t>(lengthGiven ? 1 : 0));
    put(operand, 69, 1, static_cast<const void*>(type));
}

void EE_InstructionStream::genString(const char* text, unsigned int n) { text32(70, text, n); }
void EE_InstructionStream::genWideString(const char* text, unsigned int n) { text32(71, text, n); }
void EE_InstructionStream::genLoadChar(const char* text, unsigned int n) { text32(72, text, n); }
void EE_InstructionStream::genLoadWChar(const char* text, unsigned int n) { text32(73, text, n); }

void EE_InstructionStream::genCOBOLCall(const ArgMode* modes, unsigned int byteCount)
{
    text32(74, modes, byteCount);
}

void EE_InstructionStream::genLoadIntegralConstant(unsigned long long value, const TypeItem* type, unsigned char sign,
                                                   short length)
{
    unsigned char* operand = append(75, rowOf(75).head);
    put(operand, 75, 0, static_cast<std::uint64_t>(value));
    put(operand, 75, 1, static_cast<const void*>(type));
    put(operand, 75, 2, static_cast<std::uint8_t>(sign));
    put(operand, 75, 3, static_cast<std::int16_t>(length));
}
