#ifndef NORVEXA_COMPILER_EE_OPERAND_H
#define NORVEXA_COMPILER_EE_OPERAND_H

#include <cstddef>
#include <cstdint>

#include "compiler/EE_OperandLayout.h"

// One instruction's operand as read from a block, fields in the order of the
// opcode's row: numbers widened to 64 bits (signed fields sign-extended),
// pointers as their address; the tail stays in place in the block.
struct EE_Operand {
    std::uint64_t values[operandlayout::maxFields] = {};
    const unsigned char* tail = nullptr;
    std::size_t tailBytes = 0;

    std::uint64_t number(unsigned i) const { return values[i]; }
    const void* pointer(unsigned i) const
    {
        return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(values[i]));
    }

    // Reads the operand that follows an opcode byte: offset is the position
    // after the opcode in a block payload of used taken bytes. Answers the
    // bytes the operand takes, its padding included. An operand or tail
    // that runs past used is refused with EE_Exception code 2.
    std::size_t read(const unsigned char* payload, std::size_t offset, std::size_t used,
                     const operandlayout::Layout& row);
};

#endif
