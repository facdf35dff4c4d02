#ifndef NORVEXA_COMPILER_EE_INSTRUCTIONSTREAM_H
#define NORVEXA_COMPILER_EE_INSTRUCTIONSTREAM_H

#include <cstddef>
#include <cstdint>

#include "compiler/Opcodes.h"

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
// The opcodes come from one table (Opcodes.h), their operands' bytes from
// its rows of fields (EE_OperandLayout.h). Every failure of the stream
// throws EE_Exception with code 2 and no node.
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

            enum : std::size_t {
                blockBytes = 2032
            };
            // Offset of the payload from the start of the block.
            static constexpr std::size_t payloadOffset()
            {
                return (offsetof(Bytes, used) + sizeof(std::uint16_t) + 7) / 8 * 8;
            }
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

    unsigned char* append(unsigned char opcode, std::size_t operandSize) { return buffer.append(opcode, operandSize); }
    // Appends the end of the code.
    void genEnd() { plain(Opcode::end); }
    std::uint64_t size() const { return buffer.size(); }
    const Buffer& blocks() const { return buffer; }

    // Replays the whole stream through the opcode handlers.
    void execute() const;

    // ------------------------------------------------------------------
    // Writers, one per opcode of the table in Opcodes.h, named as the
    // opcode; the shape of its operand gives the parameters:
    //   text16        the text, stored with its terminating NUL
    //   typedText     a value of length bytes for a type: the operand holds
    //                 max(length, size of the type) + 1 bytes, the value
    //                 first and zeros after it, so that the handler may read
    //                 the type's size and a terminator whatever the length
    //   text32        n bytes of text (no terminator added)
    //   modes32       byteCount bytes of argument modes
    // ------------------------------------------------------------------

#define NORVEXA_WRITE_end(name)
#define NORVEXA_WRITE_plain(name)                                                                                      \
    void name()                                                                                                        \
    {                                                                                                                  \
        plain(Opcode::name);                                                                                           \
    }
#define NORVEXA_WRITE_u32(name)                                                                                        \
    void name(unsigned int value)                                                                                      \
    {                                                                                                                  \
        u32(Opcode::name, value);                                                                                      \
    }
#define NORVEXA_WRITE_i16(name)                                                                                        \
    void name(short value)                                                                                             \
    {                                                                                                                  \
        i16(Opcode::name, value);                                                                                      \
    }
#define NORVEXA_WRITE_i64(name)                                                                                        \
    void name(long long value)                                                                                         \
    {                                                                                                                  \
        u64(Opcode::name, static_cast<std::uint64_t>(value));                                                          \
    }
#define NORVEXA_WRITE_u64(name)                                                                                        \
    void name(unsigned long long value)                                                                                \
    {                                                                                                                  \
        u64(Opcode::name, value);                                                                                      \
    }
#define NORVEXA_WRITE_type(name)                                                                                       \
    void name(const TypeItem* type)                                                                                    \
    {                                                                                                                  \
        pointer(Opcode::name, type);                                                                                   \
    }
#define NORVEXA_WRITE_symbol(name)                                                                                     \
    void name(const SymbolItem* symbol)                                                                                \
    {                                                                                                                  \
        pointer(Opcode::name, symbol);                                                                                 \
    }
#define NORVEXA_WRITE_text16(name)                                                                                     \
    void name(const char* text)                                                                                        \
    {                                                                                                                  \
        text16(Opcode::name, text);                                                                                    \
    }
#define NORVEXA_WRITE_typedText(name)                                                                                  \
    void name(const char* value, std::size_t length, const TypeItem* type)                                             \
    {                                                                                                                  \
        typedValue(Opcode::name, value, length, type);                                                                 \
    }
#define NORVEXA_WRITE_text32(name)                                                                                     \
    void name(const char* text, unsigned int n)                                                                        \
    {                                                                                                                  \
        text32(Opcode::name, text, n);                                                                                 \
    }
#define NORVEXA_WRITE_modes32(name)                                                                                    \
    void name(const ArgMode* modes, unsigned int byteCount)                                                            \
    {                                                                                                                  \
        text32(Opcode::name, modes, byteCount);                                                                        \
    }
#define NORVEXA_WRITE_call(name)                                                                                       \
    void name(unsigned int count, bool builtin)                                                                        \
    {                                                                                                                  \
        call(Opcode::name, count, builtin);                                                                            \
    }
#define NORVEXA_WRITE_numberAndType(name)                                                                              \
    void name(long long number, const TypeItem* type)                                                                  \
    {                                                                                                                  \
        numberAndType(Opcode::name, number, type);                                                                     \
    }
#define NORVEXA_WRITE_twoTypes(name)                                                                                   \
    void name(const TypeItem* base, const TypeItem* derived)                                                           \
    {                                                                                                                  \
        twoTypes(Opcode::name, base, derived);                                                                         \
    }
#define NORVEXA_WRITE_flagAndType(name)                                                                                \
    void name(bool flag, const TypeItem* type)                                                                         \
    {                                                                                                                  \
        flagAndType(Opcode::name, flag, type);                                                                         \
    }
#define NORVEXA_WRITE_integralConstant(name)                                                                           \
    void name(unsigned long long value, const TypeItem* type, unsigned char sign, short length)                        \
    {                                                                                                                  \
        integralConstant(Opcode::name, value, type, sign, length);                                                     \
    }
#define NORVEXA_WRITER(number, name, shape, pops, pushes, what) NORVEXA_WRITE_##shape(name)
    NORVEXA_OPCODES(NORVEXA_WRITER)
#undef NORVEXA_WRITER
#undef NORVEXA_WRITE_end
#undef NORVEXA_WRITE_plain
#undef NORVEXA_WRITE_u32
#undef NORVEXA_WRITE_i16
#undef NORVEXA_WRITE_i64
#undef NORVEXA_WRITE_u64
#undef NORVEXA_WRITE_type
#undef NORVEXA_WRITE_symbol
#undef NORVEXA_WRITE_text16
#undef NORVEXA_WRITE_typedText
#undef NORVEXA_WRITE_text32
#undef NORVEXA_WRITE_modes32
#undef NORVEXA_WRITE_call
#undef NORVEXA_WRITE_numberAndType
#undef NORVEXA_WRITE_twoTypes
#undef NORVEXA_WRITE_flagAndType
#undef NORVEXA_WRITE_integralConstant

protected:
    Buffer buffer;

private:
    // The writers of the operand shapes.
    unsigned char* headAndTail(Opcode opcode, std::size_t tail);
    void plain(Opcode opcode)
    {
        buffer.append(static_cast<unsigned char>(opcode), 0);
    }
    void u32(Opcode opcode, std::uint32_t value);
    void i16(Opcode opcode, std::int16_t value);
    void u64(Opcode opcode, std::uint64_t value);
    void pointer(Opcode opcode, const void* p);
    void text16(Opcode opcode, const char* text);
    void typedValue(Opcode opcode, const char* value, std::size_t length, const TypeItem* type);
    void text32(Opcode opcode, const void* bytes, unsigned int n);
    void call(Opcode opcode, std::uint32_t count, bool builtin);
    void numberAndType(Opcode opcode, long long number, const TypeItem* type);
    void twoTypes(Opcode opcode, const TypeItem* base, const TypeItem* derived);
    void flagAndType(Opcode opcode, bool flag, const TypeItem* type);
    void integralConstant(Opcode opcode, std::uint64_t value, const TypeItem* type, unsigned char sign,
                          std::int16_t length);
};

#endif
