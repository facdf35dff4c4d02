#ifndef NORVEXA_COMPILER_EE_OPERAND_H
#define NORVEXA_COMPILER_EE_OPERAND_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "compiler/EE_OperandLayout.h"
#include "frontend/EE_Exception.h"

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
    // that runs past used is refused with EE_Exception code 2. Inline: the
    // replay reads one operand per instruction.
    std::size_t read(const unsigned char* payload, std::size_t offset, std::size_t used,
                     const operandlayout::Layout& row)
    {
        using operandlayout::FieldKind;
        *this = EE_Operand();
        if (row.head == 0)
            return 0;
        const std::size_t padding = operandlayout::paddingAt(offset, row.align);
        const std::size_t start = offset + padding;
        if (start > used || row.head > used - start)
            throw EE_Exception(EE_Exception::InternalFailure);
        const unsigned char* operand = payload + start;
        for (unsigned i = 0; i < operandlayout::maxFields && row.fields[i].kind != FieldKind::none; ++i) {
            const unsigned char* at = operand + row.fields[i].offset;
            std::uint64_t& value = values[i];
            switch (row.fields[i].kind) {
            case FieldKind::none: break;
            case FieldKind::u8: value = load<std::uint8_t>(at); break;
            case FieldKind::i16: value = static_cast<std::uint64_t>(std::int64_t(load<std::int16_t>(at))); break;
            case FieldKind::u16:
            case FieldKind::count16: value = load<std::uint16_t>(at); break;
            case FieldKind::u32:
            case FieldKind::count32: value = load<std::uint32_t>(at); break;
            case FieldKind::i64:
            case FieldKind::u64: value = load<std::uint64_t>(at); break;
            case FieldKind::type:
            case FieldKind::symbol:
                value = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(load<const void*>(at)));
                break;
            }
            if (row.hasTail && (row.fields[i].kind == FieldKind::count16 || row.fields[i].kind == FieldKind::count32))
                tailBytes = static_cast<std::size_t>(value);
        }
        std::size_t taken = row.head;
        if (row.hasTail) {
            if (tailBytes > used - start - row.head)
                throw EE_Exception(EE_Exception::InternalFailure);
            tail = operand + row.head;
            taken += tailBytes;
        }
        return padding + taken;
    }

private:
    template <class T>
    static T load(const unsigned char* at)
    {
        T value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
};

#endif
