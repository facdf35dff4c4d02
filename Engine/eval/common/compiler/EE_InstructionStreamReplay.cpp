// Replay: the stream is read from its first instruction to the end opcode
// and each instruction's handler is called with the operand read in place.

#include "compiler/EE_InstructionStream.h"
#include "compiler/EE_Operand.h"
#include "compiler/EE_OperandLayout.h"
#include "compiler/OpcodeHandlers.h"
#include "frontend/EE_Exception.h"

namespace {

const TypeItem* typeAt(const EE_Operand& operand, unsigned i)
{
    return static_cast<const TypeItem*>(operand.pointer(i));
}

const SymbolItem* symbolAt(const EE_Operand& operand, unsigned i)
{
    return static_cast<const SymbolItem*>(operand.pointer(i));
}

const char* textOf(const EE_Operand& operand)
{
    return reinterpret_cast<const char*>(operand.tail);
}

unsigned u32(const EE_Operand& operand, unsigned i)
{
    return static_cast<unsigned>(operand.number(i));
}

long long i64(const EE_Operand& operand, unsigned i)
{
    return static_cast<long long>(operand.number(i));
}

// The call of an instruction's handler with the fields of its operand, one
// per shape of the opcode table. The loop stops at the end opcode before it
// would dispatch it.
#define NORVEXA_REPLAY_end(name) throw EE_Exception(EE_Exception::InternalFailure)
#define NORVEXA_REPLAY_plain(name) ::name()
#define NORVEXA_REPLAY_u32(name) ::name(u32(o, 0))
#define NORVEXA_REPLAY_i16(name) ::name(static_cast<short>(o.number(0)))
#define NORVEXA_REPLAY_i64(name) ::name(i64(o, 0))
#define NORVEXA_REPLAY_u64(name) ::name(o.number(0))
#define NORVEXA_REPLAY_type(name) ::name(typeAt(o, 0))
#define NORVEXA_REPLAY_symbol(name) ::name(symbolAt(o, 0))
#define NORVEXA_REPLAY_text16(name) ::name(textOf(o))
#define NORVEXA_REPLAY_typedText(name) ::name(textOf(o), typeAt(o, 1))
#define NORVEXA_REPLAY_text32(name) ::name(textOf(o), u32(o, 0))
#define NORVEXA_REPLAY_modes32(name) ::name(reinterpret_cast<const ArgMode*>(o.tail), u32(o, 0))
#define NORVEXA_REPLAY_call(name) ::name(u32(o, 0), o.number(1) != 0)
#define NORVEXA_REPLAY_numberAndType(name) ::name(i64(o, 0), typeAt(o, 1))
#define NORVEXA_REPLAY_twoTypes(name) ::name(typeAt(o, 0), typeAt(o, 1))
#define NORVEXA_REPLAY_flagAndType(name) ::name(o.number(0) != 0, typeAt(o, 1))
#define NORVEXA_REPLAY_integralConstant(name)                                                                          \
    ::name(o.number(0), typeAt(o, 1), o.number(2) != 0, static_cast<short>(o.number(3)))

#define NORVEXA_CASE(number, name, shape, pops, pushes, what)                                                          \
    case Opcode::name: NORVEXA_REPLAY_##shape(name); break;

void dispatch(unsigned opcode, const EE_Operand& o)
{
    switch (static_cast<Opcode>(opcode)) {
        NORVEXA_OPCODES(NORVEXA_CASE)
    default: throw EE_Exception(EE_Exception::InternalFailure);
    }
}

} // namespace

void EE_InstructionStream::execute() const
{
    const Buffer::Bytes* first = buffer.first;
    if (first == nullptr || first->used == 0)
        throw EE_Exception(EE_Exception::InternalFailure);

    // The position is walked here rather than with a BufferIterator: the
    // loop runs on every evaluation, and its checks are the iterator's.
    const Buffer::Bytes* block = first;
    const unsigned char* payload = block->bytes();
    std::size_t offset = 0;
    constexpr unsigned end = static_cast<unsigned>(Opcode::end);
    unsigned opcode = payload[0];
    while (opcode != end) {
        const operandlayout::Layout* row = operandlayout::layout(opcode);
        if (row == nullptr)
            throw EE_Exception(EE_Exception::InternalFailure);
        // The operand follows its opcode in the same block.
        EE_Operand operand;
        const std::size_t taken = operand.read(payload, offset + 1, block->used, *row);
        dispatch(opcode, operand);
        offset += 1 + taken;
        // An instruction that ends its block's taken bytes is followed by the
        // first of the next block; one past them is refused.
        if (offset >= block->used) {
            if (offset > block->used || block->next == nullptr || block->next->used == 0)
                throw EE_Exception(EE_Exception::InternalFailure);
            block = block->next;
            payload = block->bytes();
            offset = 0;
        }
        opcode = payload[offset];
    }
}
