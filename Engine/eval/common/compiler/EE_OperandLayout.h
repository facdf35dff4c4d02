#ifndef NORVEXA_COMPILER_EE_OPERANDLAYOUT_H
#define NORVEXA_COMPILER_EE_OPERANDLAYOUT_H

#include <cstddef>
#include <cstdint>

#include "compiler/Opcodes.h"

// The shape of every instruction's operand, one row per opcode of the table
// in Opcodes.h. The writers, the replay loop and the decoder all read these
// rows, so the byte layout of an operand is decided here and nowhere else.
//
// An operand starts at the first offset after its opcode byte that is a
// multiple of its alignment (offsets count from the start of a block's
// payload, which is itself 8-aligned). Its fixed head holds the fields below;
// operands with a tail are followed by as many bytes as their count field
// says. Numbers are in the host's byte order and are read and written with
// memcpy.
namespace operandlayout {

enum class FieldKind : std::uint8_t {
    none,
    u8,
    i16,
    u16,
    u32,
    i64,
    u64,
    type,    // const TypeItem*
    symbol,  // const SymbolItem*
    count16, // the byte count of the tail, 16 bits
    count32, // the byte count of the tail, 32 bits
};

// The width in bytes of a field kind (0 for none).
std::size_t fieldWidth(FieldKind kind);
// A short name of a field kind for listings ("u32", "type", ...).
const char* fieldKindName(FieldKind kind);

struct Field {
    FieldKind kind;
    std::uint8_t offset;
};

enum : unsigned {
    maxFields = 4
};

struct Layout {
    const char* name;        // the instruction's name
    Field fields[maxFields]; // in order; kind none ends the list
    std::uint8_t head;       // bytes of the fixed part (0: no operand)
    std::uint8_t align;      // alignment of the operand's start
    bool hasTail;            // a count field gives the bytes that follow the head
};

// The highest opcode; 0 ends the code.
enum : unsigned {
    lastOpcode = opcodes::count - 1
};

// The row of an opcode from 0 to lastOpcode (0 is the end of the code);
// null above.
const Layout* layout(unsigned opcode);

// The number of padding bytes that bring offset up to the alignment.
inline std::size_t paddingAt(std::size_t offset, std::size_t align)
{
    return (align - offset % align) % align;
}

} // namespace operandlayout

#endif
