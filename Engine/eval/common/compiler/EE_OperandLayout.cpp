#include "compiler/EE_OperandLayout.h"

namespace operandlayout {

namespace {

using K = FieldKind;

// One row per shape of the opcode table. Pointer fields take one native
// pointer and start at multiples of 8, so a 4-byte pointer keeps the order
// of the fields in the same rows.
namespace shape {

constexpr std::uint8_t pointerWidth = sizeof(void*);

constexpr Layout end(const char* name)
{
    return Layout{name, {}, 0, 1, false};
}
constexpr Layout plain(const char* name)
{
    return Layout{name, {}, 0, 1, false};
}

constexpr Layout one(const char* name, FieldKind kind, std::uint8_t width)
{
    return Layout{name, {{kind, 0}}, width, width, false};
}

constexpr Layout u32(const char* name)
{
    return one(name, K::u32, 4);
}
constexpr Layout i16(const char* name)
{
    return one(name, K::i16, 2);
}
constexpr Layout i64(const char* name)
{
    return one(name, K::i64, 8);
}
constexpr Layout u64(const char* name)
{
    return one(name, K::u64, 8);
}
constexpr Layout type(const char* name)
{
    return one(name, K::type, pointerWidth);
}
constexpr Layout symbol(const char* name)
{
    return one(name, K::symbol, pointerWidth);
}

// A count at 0 and the tail right after it.
constexpr Layout text16(const char* name)
{
    return Layout{name, {{K::count16, 0}}, 2, 2, true};
}
constexpr Layout text32(const char* name)
{
    return Layout{name, {{K::count32, 0}}, 4, 4, true};
}
constexpr Layout modes32(const char* name)
{
    return text32(name);
}

// A count at 0, a type at 8, the tail after the head.
constexpr Layout typedText(const char* name)
{
    return Layout{name, {{K::count16, 0}, {K::type, 8}}, 16, 8, true};
}

constexpr Layout call(const char* name)
{
    return Layout{name, {{K::u32, 0}, {K::u8, 4}}, 5, 4, false};
}

// A 64-bit number at 0 and a type at 8.
constexpr Layout numberAndType(const char* name)
{
    return Layout{name, {{K::i64, 0}, {K::type, 8}}, 16, 8, false};
}

constexpr Layout twoTypes(const char* name)
{
    return Layout{name, {{K::type, 0}, {K::type, 8}}, 16, 8, false};
}
constexpr Layout flagAndType(const char* name)
{
    return Layout{name, {{K::u8, 0}, {K::type, 8}}, 16, 8, false};
}

constexpr Layout integralConstant(const char* name)
{
    return Layout{name, {{K::u64, 0}, {K::type, 8}, {K::u8, 16}, {K::i16, 18}}, 20, 8, false};
}

} // namespace shape

const Layout table[] = {
#define NORVEXA_LAYOUT_ROW(number, name, shapeName, pops, pushes, what) shape::shapeName(#name),
    NORVEXA_OPCODES(NORVEXA_LAYOUT_ROW)
#undef NORVEXA_LAYOUT_ROW
};
static_assert(sizeof table / sizeof table[0] == lastOpcode + 1);

} // namespace

std::size_t fieldWidth(FieldKind kind)
{
    switch (kind) {
    case K::none: return 0;
    case K::u8: return 1;
    case K::i16:
    case K::u16:
    case K::count16: return 2;
    case K::u32:
    case K::count32: return 4;
    case K::i64:
    case K::u64: return 8;
    case K::type:
    case K::symbol: return sizeof(void*);
    }
    return 0;
}

const char* fieldKindName(FieldKind kind)
{
    switch (kind) {
    case K::none: return "none";
    case K::u8: return "u8";
    case K::i16: return "i16";
    case K::u16: return "u16";
    case K::u32: return "u32";
    case K::i64: return "i64";
    case K::u64: return "u64";
    case K::type: return "type";
    case K::symbol: return "symbol";
    case K::count16: return "n16";
    case K::count32: return "n32";
    }
    return "?";
}

const Layout* layout(unsigned opcode)
{
    return opcode <= lastOpcode ? &table[opcode] : nullptr;
}

} // namespace operandlayout
