#include "compiler/EE_InstructionStream.h"

#include <new>

#include "compiler/EE_OperandLayout.h"
#include "frontend/EE_Exception.h"

using evaluator::refuse;

// ---------------------------------------------------------------------------
// Blocks

std::size_t EE_InstructionStream::Buffer::Bytes::DataSize()
{
    static const std::size_t capacity = blockBytes - payloadOffset();
    return capacity;
}

EE_InstructionStream::Buffer::Bytes* EE_InstructionStream::Buffer::Bytes::allocate()
{
    void* raw = ::operator new(blockBytes);
    Bytes* block = static_cast<Bytes*>(raw);
    block->next = nullptr;
    block->used = 0;
    return block;
}

void EE_InstructionStream::Buffer::Bytes::release(Bytes* block)
{
    ::operator delete(static_cast<void*>(block));
}

// ---------------------------------------------------------------------------
// Buffer

EE_InstructionStream::Buffer::~Buffer()
{
    Bytes* block = first;
    while (block != nullptr) {
        Bytes* next = block->next;
        Bytes::release(block);
        block = next;
    }
    first = last = nullptr;
}

unsigned char* EE_InstructionStream::Buffer::append(unsigned char opcode, std::size_t operandSize)
{
    const operandlayout::Layout* row = operandlayout::layout(opcode);
    if (row == nullptr)
        refuse();
    const std::size_t align = operandSize > 0 ? row->align : 1;
    const std::size_t capacity = Bytes::DataSize();

    // The instruction must fit an empty block, leaving its last byte free.
    if (operandSize >= capacity || 1 + operandlayout::paddingAt(1, align) + operandSize >= capacity)
        refuse();

    if (first == nullptr) {
        first = last = Bytes::allocate();
    }
    std::size_t padding = operandlayout::paddingAt(last->used + 1u, align);
    if (last->used + 1 + padding + operandSize >= capacity) {
        Bytes* block = Bytes::allocate();
        last->next = block;
        last = block;
        padding = operandlayout::paddingAt(1, align);
    }
    unsigned char* bytes = last->bytes();
    bytes[last->used] = opcode;
    last->used = static_cast<std::uint16_t>(last->used + 1 + padding + operandSize);
    return bytes + (last->used - operandSize);
}

std::uint64_t EE_InstructionStream::Buffer::size() const
{
    std::uint64_t total = 0;
    for (const Bytes* block = first; block != nullptr; block = block->next)
        total += block->used;
    return total;
}

// ---------------------------------------------------------------------------
// Iterator

EE_InstructionStream::BufferIterator::BufferIterator(const EE_InstructionStream& stream) : block_(stream.buffer.first)
{}

const unsigned char* EE_InstructionStream::BufferIterator::data() const
{
    if (block_ == nullptr || offset_ >= block_->used)
        refuse();
    return block_->bytes() + offset_;
}

EE_InstructionStream::BufferIterator& EE_InstructionStream::BufferIterator::operator+=(std::size_t n)
{
    if (block_ == nullptr || n > block_->used || offset_ + n > block_->used)
        refuse();
    offset_ += n;
    if (offset_ == block_->used) {
        if (block_->next == nullptr)
            refuse();
        block_ = block_->next;
        offset_ = 0;
    }
    return *this;
}

std::size_t EE_InstructionStream::BufferIterator::remaining() const
{
    return block_ != nullptr && offset_ < block_->used ? block_->used - offset_ : 0;
}
