#include <algorithm>
#include <cstring>

#include "compiler/EE_InstructionStream.h"
#include "compiler/EE_OperandLayout.h"
#include "frontend/EE_Exception.h"
#include "types/TypeItem.h"

namespace {

const operandlayout::Layout& rowOf(Opcode opcode)
{
    return *operandlayout::layout(static_cast<unsigned>(opcode));
}

// Writes field i of an operand from a value of the field's width.
template <class T>
void put(unsigned char* operand, Opcode opcode, unsigned i, T value)
{
    const operandlayout::Field& field = rowOf(opcode).fields[i];
    if (operandlayout::fieldWidth(field.kind) != sizeof(T))
        throw EE_Exception(EE_Exception::InternalFailure);
    std::memcpy(operand + field.offset, &value, sizeof(T));
}

} // namespace

// An operand of its row's head bytes and tail bytes more.
unsigned char* EE_InstructionStream::headAndTail(Opcode opcode, std::size_t tail)
{
    return append(static_cast<unsigned char>(opcode), rowOf(opcode).head + tail);
}

void EE_InstructionStream::u32(Opcode opcode, std::uint32_t value)
{
    put(headAndTail(opcode, 0), opcode, 0, value);
}
void EE_InstructionStream::i16(Opcode opcode, std::int16_t value)
{
    put(headAndTail(opcode, 0), opcode, 0, value);
}
void EE_InstructionStream::u64(Opcode opcode, std::uint64_t value)
{
    put(headAndTail(opcode, 0), opcode, 0, value);
}
void EE_InstructionStream::pointer(Opcode opcode, const void* p)
{
    put(headAndTail(opcode, 0), opcode, 0, p);
}

void EE_InstructionStream::text16(Opcode opcode, const char* text)
{
    if (text == nullptr)
        text = "";
    const std::size_t n = std::strlen(text) + 1;
    // append refuses what cannot fit a block, so n fits its 16 bits below.
    unsigned char* operand = headAndTail(opcode, n);
    put(operand, opcode, 0, static_cast<std::uint16_t>(n));
    std::memcpy(operand + rowOf(opcode).head, text, n);
}

void EE_InstructionStream::typedValue(Opcode opcode, const char* value, std::size_t length, const TypeItem* type)
{
    if (value == nullptr)
        length = 0;
    const std::size_t typeSize = type != nullptr ? type->typeSize() : 0;
    const std::size_t n = std::max(typeSize, length) + 1;
    const std::size_t head = rowOf(opcode).head;
    unsigned char* operand = headAndTail(opcode, n);
    put(operand, opcode, 0, static_cast<std::uint16_t>(n));
    put(operand, opcode, 1, static_cast<const void*>(type));
    if (length > 0)
        std::memcpy(operand + head, value, length);
    std::memset(operand + head + length, 0, n - length);
}

void EE_InstructionStream::text32(Opcode opcode, const void* bytes, unsigned int n)
{
    if (bytes == nullptr)
        n = 0;
    unsigned char* operand = headAndTail(opcode, n);
    put(operand, opcode, 0, static_cast<std::uint32_t>(n));
    if (n > 0)
        std::memcpy(operand + rowOf(opcode).head, bytes, n);
}

void EE_InstructionStream::call(Opcode opcode, std::uint32_t count, bool builtin)
{
    unsigned char* operand = headAndTail(opcode, 0);
    put(operand, opcode, 0, count);
    put(operand, opcode, 1, static_cast<std::uint8_t>(builtin ? 1 : 0));
}

void EE_InstructionStream::numberAndType(Opcode opcode, long long number, const TypeItem* type)
{
    unsigned char* operand = headAndTail(opcode, 0);
    put(operand, opcode, 0, static_cast<std::int64_t>(number));
    put(operand, opcode, 1, static_cast<const void*>(type));
}

void EE_InstructionStream::twoTypes(Opcode opcode, const TypeItem* base, const TypeItem* derived)
{
    unsigned char* operand = headAndTail(opcode, 0);
    put(operand, opcode, 0, static_cast<const void*>(base));
    put(operand, opcode, 1, static_cast<const void*>(derived));
}

void EE_InstructionStream::flagAndType(Opcode opcode, bool flag, const TypeItem* type)
{
    unsigned char* operand = headAndTail(opcode, 0);
    put(operand, opcode, 0, static_cast<std::uint8_t>(flag ? 1 : 0));
    put(operand, opcode, 1, static_cast<const void*>(type));
}

void EE_InstructionStream::integralConstant(Opcode opcode, std::uint64_t value, const TypeItem* type,
                                            unsigned char sign, std::int16_t length)
{
    unsigned char* operand = headAndTail(opcode, 0);
    put(operand, opcode, 0, value);
    put(operand, opcode, 1, static_cast<const void*>(type));
    put(operand, opcode, 2, static_cast<std::uint8_t>(sign));
    put(operand, opcode, 3, length);
}
