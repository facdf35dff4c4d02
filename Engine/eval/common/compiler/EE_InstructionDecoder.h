#ifndef NORVEXA_COMPILER_EE_INSTRUCTIONDECODER_H
#define NORVEXA_COMPILER_EE_INSTRUCTIONDECODER_H

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

class EE_InstructionStream;

// Lists a stream's instructions with their operands, for diagnosis and for
// tests that compare recorded code. The walk stops after the end opcode or
// when the taken bytes run out, so a stream still being recorded can be
// listed too. A malformed stream (an opcode above the last, an operand that
// runs past the taken bytes) is refused with EE_Exception code 2.
class EE_InstructionDecoder {
public:
    struct Instruction {
        unsigned opcode = 0;
        // One value per operand field in the opcode's row: numbers widened
        // to 64 bits (signed fields sign-extended), pointers as addresses,
        // the tail's byte count for count fields.
        std::vector<std::uint64_t> fields;
        // The bytes after the head, for opcodes with a tail.
        std::string tail;

        bool operator==(const Instruction&) const = default;

        // "genLoadIndirect i64=-8 type=0x..." ; tails in hexadecimal.
        std::string text() const;
    };

    static std::vector<Instruction> decode(const EE_InstructionStream& stream);
    // One line per instruction.
    static std::string listing(const EE_InstructionStream& stream);
};

std::ostream& operator<<(std::ostream& out, const EE_InstructionDecoder::Instruction& instruction);

#endif
