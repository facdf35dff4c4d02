#include "compiler/EE_InstructionDecoder.h"

#include <cinttypes>
#include <cstdio>
#include <ostream>

#include "compiler/EE_InstructionStream.h"
#include "compiler/EE_Operand.h"
#include "compiler/EE_OperandLayout.h"
#include "frontend/EE_Exception.h"

std::vector<EE_InstructionDecoder::Instruction> EE_InstructionDecoder::decode(const EE_InstructionStream& stream)
{
    std::vector<Instruction> out;
    for (const EE_InstructionStream::Buffer::Bytes* block = stream.blocks().first; block != nullptr;
         block = block->next) {
        const unsigned char* payload = block->bytes();
        std::size_t offset = 0;
        while (offset < block->used) {
            Instruction instruction;
            instruction.opcode = payload[offset++];
            const operandlayout::Layout* row = operandlayout::layout(instruction.opcode);
            if (row == nullptr)
                throw EE_Exception(EE_Exception::InternalFailure);
            EE_Operand operand;
            offset += operand.read(payload, offset, block->used, *row);
            for (unsigned i = 0; i < operandlayout::maxFields && row->fields[i].kind != operandlayout::FieldKind::none;
                 ++i)
                instruction.fields.push_back(operand.number(i));
            if (operand.tail != nullptr)
                instruction.tail.assign(reinterpret_cast<const char*>(operand.tail), operand.tailBytes);
            out.push_back(std::move(instruction));
            if (out.back().opcode == static_cast<unsigned>(Opcode::end))
                return out;
        }
    }
    return out;
}

std::string EE_InstructionDecoder::Instruction::text() const
{
    const operandlayout::Layout* row = operandlayout::layout(opcode);
    std::string line = row != nullptr ? row->name : "opcode" + std::to_string(opcode);
    char buffer[64];
    for (unsigned i = 0; row != nullptr && i < fields.size(); ++i) {
        const operandlayout::FieldKind kind = row->fields[i].kind;
        switch (kind) {
        case operandlayout::FieldKind::i16:
        case operandlayout::FieldKind::i64:
            std::snprintf(buffer, sizeof buffer, " %s=%" PRId64, operandlayout::fieldKindName(kind),
                          static_cast<std::int64_t>(fields[i]));
            break;
        case operandlayout::FieldKind::type:
        case operandlayout::FieldKind::symbol:
            std::snprintf(buffer, sizeof buffer, " %s=0x%" PRIx64, operandlayout::fieldKindName(kind), fields[i]);
            break;
        default:
            std::snprintf(buffer, sizeof buffer, " %s=%" PRIu64, operandlayout::fieldKindName(kind), fields[i]);
            break;
        }
        line += buffer;
    }
    if (row != nullptr && row->hasTail) {
        line += " bytes=";
        for (unsigned char c : tail) {
            std::snprintf(buffer, sizeof buffer, "%02X", c);
            line += buffer;
        }
    }
    return line;
}

std::string EE_InstructionDecoder::listing(const EE_InstructionStream& stream)
{
    std::string out;
    for (const Instruction& instruction : decode(stream)) {
        out += instruction.text();
        out += '\n';
    }
    return out;
}

std::ostream& operator<<(std::ostream& out, const EE_InstructionDecoder::Instruction& instruction)
{
    return out << instruction.text();
}
