#include "compiler/EE_Operand.h"

#include <cstring>

#include "frontend/EE_Exception.h"

namespace {

template <class T>
T load(const unsigned char* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

} // namespace

std::size_t EE_Operand::read(const unsigned char* payload, std::size_t offset, std::size_t used,
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
