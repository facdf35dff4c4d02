#ifndef NORVEXA_COMPILER_EE_INSTRUCTIONSTREAM_H
#define NORVEXA_COMPILER_EE_INSTRUCTIONSTREAM_H

#include <cstddef>
#include <cstdint>

class SymbolItem;
class TypeItem;
struct ArgMode;

// The byte code of one built expression: a chain of fixed-size blocks into
// which the code generator appends instructions (an opcode byte, then the
// operand at its alignment) and from which the replay loop reads them back.
// Operands hold pointers to types and symbols of the evaluation environment
// that built the stream, so a stream is valid only while that environment
// lives. A built expression owns its stream and releases it through
// exprFree; the stream frees its blocks.
//
// Operand shapes come from one table (EE_OperandLayout.h). Every failure of
// the stream throws EE_Exception with code 2 and no node.
class EE_InstructionStream {
public:
    class Buffer {
    public:
        // One block: a header (next block, bytes taken) and the payload,
        // which starts at the first 8-aligned offset after the header. A
        // block is one raw allocation of blockBytes bytes.
        struct Bytes {
            Bytes* next;
            std::uint16_t used;

            enum : std::size_t { blockBytes = 2032 };
            // Offset of the payload from the start of the block.
            static std::size_t payloadOffset();
            // The payload capacity; the last byte is never taken.
            static std::size_t DataSize();

            unsigned char* bytes() { return reinterpret_cast<unsigned char*>(this) + payloadOffset(); }
            const unsigned char* bytes() const
            {
                return reinterpret_cast<const unsigned char*>(this) + payloadOffset();
            }

            static Bytes* allocate();
            static void release(Bytes* block);
        };

        Buffer() = default;
        ~Buffer();
        Buffer(const Buffer&) = delete;
        Buffer& operator=(const Buffer&) = delete;

        // Appends the opcode and room for an operand of operandSize bytes,
        // aligned as the opcode's operand row says; answers the operand's
        // first byte (not to be used when operandSize is 0). An operand that
        // cannot fit an empty block with its opcode and padding is refused.
        unsigned char* append(unsigned char opcode, std::size_t operandSize);

        // The bytes taken over all blocks.
        std::uint64_t size() const;

        Bytes* first = nullptr;
        Bytes* last = nullptr;
    };

    // The read position: a block and an offset into its payload.
    class BufferIterator {
    public:
        explicit BufferIterator(const EE_InstructionStream& stream);

        // The byte at the position; refuses when there is no block or the
        // offset is not below the block's taken bytes.
        const unsigned char* data() const;
        // Moves by n bytes; reaching the block's taken bytes moves to the
        // next block (refused when there is none), going past them is
        // refused.
        BufferIterator& operator+=(std::size_t n);

        const Buffer::Bytes* block() const { return block_; }
        std::size_t offset() const { return offset_; }
        // Bytes taken in the current block after the position (0 without block).
        std::size_t remaining() const;

    private:
        const Buffer::Bytes* block_;
        std::size_t offset_ = 0;
    };

    EE_InstructionStream() = default;
    virtual ~EE_InstructionStream() = default;

    EE_InstructionStream(const EE_InstructionStream&) = delete;
    EE_InstructionStream& operator=(const EE_InstructionStream&) = delete;

    unsigned char* append(unsigned char opcode, std::size_t operandSize)
    {
        return buffer.append(opcode, operandSize);
    }
    // Appends the end of the code.
    void genEnd() { buffer.append(0, 0); }
    std::uint64_t size() const { return buffer.size(); }
    const Buffer& blocks() const { return buffer; }

    // Replays the whole stream through the opcode handlers.
    void execute() const;

    // ------------------------------------------------------------------
    // Writers, one per opcode
    // ------------------------------------------------------------------

    void genPointerAdd() { plain(1); }
    void genAdd() { plain(2); }
    void genPointerSubtract() { plain(3); }
    void genSubtract() { plain(4); }
    void genMult() { plain(5); }
    void genDivide() { plain(6); }
    void genModulus() { plain(7); }
    void genConcatenate() { plain(8); }
    void genBitAnd() { plain(9); }
    void genBitOr() { plain(10); }
    void genBitXor() { plain(11); }
    void genNegate() { plain(12); }
    void genComplement() { plain(13); }
    void genNot() { plain(14); }
    void genRealPart() { plain(15); }
    void genImaginaryPart() { plain(16); }
    void genLoadNULL() { plain(17); }
    void genLoadThis() { plain(18); }
    void genLogicalShiftLeft() { plain(19); }
    void genLogicalShiftRight() { plain(20); }
    void genArithmeticShiftRight() { plain(21); }
    void genEQ() { plain(22); }
    void genNE() { plain(23); }
    void genLT() { plain(24); }
    void genLE() { plain(25); }
    void genGT() { plain(26); }
    void genGE() { plain(27); }
    void genStore() { plain(28); }
    void genDupValue() { plain(29); }
    void genPop() { plain(30); }
    void genArraySection() { plain(31); }
    void genSubstring() { plain(32); }
    void formatAppendIntegral() { plain(33); }
    void pushArraySection() { plain(34); }
    void genVectorSubscript() { plain(35); }

    void genPow(unsigned int exponent);
    void genLoadI(short size);
    void genIndex(long long elementSize);
    void genLabel(unsigned int label);
    void genTrueJump(unsigned int label);
    void genFalseJump(unsigned int label);
    void genJump(unsigned int label);
    void genTruncateFP(const TypeItem* type);
    void genConvert(const TypeItem* type);
    void genConvertString(const TypeItem* type);
    void genLoad(const SymbolItem* symbol);
    void genLoadAddress(const SymbolItem* symbol);
    void genLoadMemberSym(const SymbolItem* symbol);
    void genLoadMemberOffset(const SymbolItem* symbol);
    void genStoreMember(const SymbolItem* symbol);
    void genLoadIndex(unsigned long long index);
    void genLoadParam(unsigned long long parameter);
    void genRefMod(const TypeItem* type);
    void genRefModLength(const TypeItem* type);

    // The text writers store the text with its terminating NUL.
    void genLoadIntegralValue(const char* text);
    void genLoadRealValue(const char* text);
    void genLoadDecimalRealValue(const char* text);
    void genLoadPackedDecimalValue(const char* text);
    void genLoadZonedDecimalValue(const char* text);
    void genLoadNationalDecimalValue(const char* text);
    void formatAppendString(const char* text);

    // A value of length bytes for a type: the operand holds
    // max(length, size of the type) + 1 bytes, the value first and zeros
    // after it, so that the handler may read the type's size and a
    // terminator whatever the value's length.
    void genLoadValue(const char* value, std::size_t length, const TypeItem* type);
    void genLoadFigConstant(const char* value, std::size_t length, const TypeItem* type);

    void genCall(unsigned int function, bool builtin);
    void genLoadIndirect(long long offset, const TypeItem* type);
    void genLoadBaseAddress(const TypeItem* base, const TypeItem* derived);
    void genRankIndex(long long rank, const TypeItem* type);
    void genLoadIndirectRank(long long rank, const TypeItem* type);
    void genConvertRefMod(bool lengthGiven, const TypeItem* type);

    // n bytes of text (no terminator added).
    void genString(const char* text, unsigned int n);
    void genWideString(const char* text, unsigned int n);
    void genLoadChar(const char* text, unsigned int n);
    void genLoadWChar(const char* text, unsigned int n);
    // byteCount bytes of argument modes.
    void genCOBOLCall(const ArgMode* modes, unsigned int byteCount);

    void genLoadIntegralConstant(unsigned long long value, const TypeItem* type, unsigned char sign, short length);

protected:
    Buffer buffer;

private:
    void plain(unsigned char opcode) { buffer.append(opcode, 0); }
    void text16(unsigned char opcode, const char* text);
    void typedValue(unsigned char opcode, const char* value, std::size_t length, const TypeItem* type);
    void text32(unsigned char opcode, const void* bytes, unsigned int n);
    void pointer(unsigned char opcode, const void* p);
    void u32(unsigned char opcode, std::uint32_t value);
    void u64(unsigned char opcode, std::uint64_t value);
    void numberAndType(unsigned char opcode, long long number, const TypeItem* type);
};

#endif
