#ifndef NORVEXA_TESTHOST_DWARFEXPRESSION_H
#define NORVEXA_TESTHOST_DWARFEXPRESSION_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class MemoryImage;

// The subset of DWARF location expressions the simulated host evaluates:
// DW_OP_addr, the const forms, lit0-lit31, fbreg, push_object_address,
// plus, plus_uconst, deref and deref_size. Fixed-size operands and memory
// are big-endian (the debuggee's order); constu, consts, fbreg and
// plus_uconst take LEB128 operands.
namespace dwarf {

enum Op : std::uint8_t {
    DW_OP_addr = 0x03,
    DW_OP_deref = 0x06,
    DW_OP_const1u = 0x08,
    DW_OP_const1s = 0x09,
    DW_OP_const2u = 0x0a,
    DW_OP_const2s = 0x0b,
    DW_OP_const4u = 0x0c,
    DW_OP_const4s = 0x0d,
    DW_OP_const8u = 0x0e,
    DW_OP_const8s = 0x0f,
    DW_OP_constu = 0x10,
    DW_OP_consts = 0x11,
    DW_OP_plus = 0x22,
    DW_OP_plus_uconst = 0x23,
    DW_OP_lit0 = 0x30,
    DW_OP_lit31 = 0x4f,
    DW_OP_fbreg = 0x91,
    DW_OP_deref_size = 0x94,
    DW_OP_push_object_address = 0x97,
};

// What an expression may refer to.
struct Inputs {
    const MemoryImage* memory = nullptr;
    unsigned addressSize = 8;                   // DW_OP_addr operand and DW_OP_deref size
    std::optional<std::uint64_t> frameBase;     // DW_OP_fbreg
    std::optional<std::uint64_t> objectAddress; // DW_OP_push_object_address
};

// The value on top of the stack, or an error text.
struct Result {
    bool ok = false;
    std::uint64_t value = 0;
    std::string error;
};

Result evaluate(const std::uint8_t* bytes, std::uint32_t length, const Inputs& inputs);

// Builds expression bytes for tests and fixtures.
class Builder {
public:
    Builder& addr(std::uint64_t address, unsigned size = 8);
    Builder& constU(std::uint64_t value); // DW_OP_constu
    Builder& constS(std::int64_t value);  // DW_OP_consts
    Builder& const1u(std::uint8_t v);
    Builder& const2s(std::int16_t v);
    Builder& const4u(std::uint32_t v);
    Builder& const4s(std::int32_t v);
    Builder& const8u(std::uint64_t v);
    Builder& lit(unsigned n);
    Builder& fbreg(std::int64_t offset);
    Builder& pushObjectAddress();
    Builder& plus();
    Builder& plusUconst(std::uint64_t value);
    Builder& deref();
    Builder& derefSize(std::uint8_t size);
    Builder& op(std::uint8_t code);
    const std::vector<std::uint8_t>& bytes() const { return _bytes; }

private:
    void bigEndian(std::uint64_t v, unsigned size);
    void uleb(std::uint64_t v);
    void sleb(std::int64_t v);
    std::vector<std::uint8_t> _bytes;
};

} // namespace dwarf

#endif
