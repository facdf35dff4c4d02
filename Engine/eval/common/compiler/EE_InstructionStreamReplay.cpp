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

void dispatch(unsigned opcode, const EE_Operand& o)
{
    switch (opcode) {
    case 1: genPointerAdd(); break;
    case 2: genAdd(); break;
    case 3: genPointerSubtract(); break;
    case 4: genSubtract(); break;
    case 5: genMult(); break;
    case 6: genDivide(); break;
    case 7: genModulus(); break;
    case 8: genConcatenate(); break;
    case 9: genBitAnd(); break;
    case 10: genBitOr(); break;
    case 11: genBitXor(); break;
    case 12: genNegate(); break;
    case 13: genComplement(); break;
    case 14: genNot(); break;
    case 15: genRealPart(); break;
    case 16: genImaginaryPart(); break;
    case 17: genLoadNULL(); break;
    case 18: genLoadThis(); break;
    case 19: genLogicalShiftLeft(); break;
    case 20: genLogicalShiftRight(); break;
    case 21: genArithmeticShiftRight(); break;
    case 22: genEQ(); break;
    case 23: genNE(); break;
    case 24: genLT(); break;
    case 25: genLE(); break;
    case 26: genGT(); break;
    case 27: genGE(); break;
    case 28: genStore(); break;
    case 29: genDupValue(); break;
    case 30: genPop(); break;
    case 31: genArraySection(); break;
    case 32: genSubstring(); break;
    case 33: formatAppendIntegral(); break;
    case 34: pushArraySection(); break;
    case 35: genVectorSubscript(); break;
    case 36: genPow(u32(o, 0)); break;
    case 37: genLoadI(static_cast<short>(o.number(0))); break;
    case 38: genIndex(i64(o, 0)); break;
    case 39: genLabel(u32(o, 0)); break;
    case 40: genTrueJump(u32(o, 0)); break;
    case 41: genFalseJump(u32(o, 0)); break;
    case 42: genJump(u32(o, 0)); break;
    case 43: genTruncateFP(typeAt(o, 0)); break;
    case 44: genConvert(typeAt(o, 0)); break;
    case 45: genConvertString(typeAt(o, 0)); break;
    case 46: genLoad(symbolAt(o, 0)); break;
    case 47: genLoadAddress(symbolAt(o, 0)); break;
    case 48: genLoadMemberSym(symbolAt(o, 0)); break;
    case 49: genLoadMemberOffset(symbolAt(o, 0)); break;
    case 50: genStoreMember(symbolAt(o, 0)); break;
    case 51: genLoadIndex(o.number(0)); break;
    case 52: genLoadParam(o.number(0)); break;
    case 53: genRefMod(typeAt(o, 0)); break;
    case 54: genRefModLength(typeAt(o, 0)); break;
    case 55: genLoadIntegralValue(textOf(o)); break;
    case 56: genLoadRealValue(textOf(o)); break;
    case 57: genLoadDecimalRealValue(textOf(o)); break;
    case 58: genLoadPackedDecimalValue(textOf(o)); break;
    case 59: genLoadZonedDecimalValue(textOf(o)); break;
    case 60: genLoadNationalDecimalValue(textOf(o)); break;
    case 61: formatAppendString(textOf(o)); break;
    case 62: genLoadValue(textOf(o), typeAt(o, 1)); break;
    case 63: genLoadFigConstant(textOf(o), typeAt(o, 1)); break;
    case 64: genCall(u32(o, 0), o.number(1) != 0); break;
    case 65: genLoadIndirect(i64(o, 0), typeAt(o, 1)); break;
    case 66: genLoadBaseAddress(typeAt(o, 0), typeAt(o, 1)); break;
    case 67: genRankIndex(i64(o, 0), typeAt(o, 1)); break;
    case 68: genLoadIndirectRank(i64(o, 0), typeAt(o, 1)); break;
    case 69: genConvertRefMod(o.number(0) != 0, typeAt(o, 1)); break;
    case 70: genString(textOf(o), u32(o, 0)); break;
    case 71: genWideString(textOf(o), u32(o, 0)); break;
    case 72: genLoadChar(textOf(o), u32(o, 0)); break;
    case 73: genLoadWChar(textOf(o), u32(o, 0)); break;
    case 74: genCOBOLCall(reinterpret_cast<const ArgMode*>(o.tail), u32(o, 0)); break;
    case 75:
        genLoadIntegralConstant(o.number(0), typeAt(o, 1), o.number(2) != 0, static_cast<short>(o.number(3)));
        break;
    default: throw EE_Exception(EE_Exception::InternalFailure);
    }
}

} // namespace

void EE_InstructionStream::execute() const
{
    const Buffer::Bytes* first = buffer.first;
    if (first == nullptr || first->used == 0)
        throw EE_Exception(EE_Exception::InternalFailure);

    BufferIterator position(*this);
    unsigned opcode = *position.data();
    while (opcode != 0) {
        const operandlayout::Layout* row = operandlayout::layout(opcode);
        if (row == nullptr)
            throw EE_Exception(EE_Exception::InternalFailure);
        // The operand follows its opcode in the same block.
        EE_Operand operand;
        const std::size_t taken =
            operand.read(position.block()->bytes(), position.offset() + 1, position.block()->used, *row);
        dispatch(opcode, operand);
        position += 1 + taken;
        opcode = *position.data();
    }
}
