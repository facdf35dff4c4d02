#include "testhost/DwarfExpression.h"

#include <cstdio>

#include "testhost/MemoryImage.h"

namespace dwarf {

namespace {

class Reader {
public:
    Reader(const std::uint8_t* bytes, std::uint32_t length) : _p(bytes), _end(bytes + length) {}
    bool atEnd() const { return _p >= _end; }
    bool fixed(unsigned size, std::uint64_t& v)
    {
        if (std::uint64_t(_end - _p) < size)
            return false;
        v = 0;
        for (unsigned i = 0; i < size; ++i)
            v = (v << 8) | *_p++;
        return true;
    }
    bool uleb(std::uint64_t& v)
    {
        v = 0;
        unsigned shift = 0;
        while (_p < _end) {
            std::uint8_t b = *_p++;
            if (shift < 64)
                v |= std::uint64_t(b & 0x7f) << shift;
            shift += 7;
            if (!(b & 0x80))
                return true;
        }
        return false;
    }
    bool sleb(std::int64_t& v)
    {
        std::uint64_t r = 0;
        unsigned shift = 0;
        while (_p < _end) {
            std::uint8_t b = *_p++;
            if (shift < 64)
                r |= std::uint64_t(b & 0x7f) << shift;
            shift += 7;
            if (!(b & 0x80)) {
                if (shift < 64 && (b & 0x40))
                    r |= ~std::uint64_t(0) << shift;
                v = static_cast<std::int64_t>(r);
                return true;
            }
        }
        return false;
    }
    std::uint8_t next() { return *_p++; }

private:
    const std::uint8_t* _p;
    const std::uint8_t* _end;
};

std::int64_t signExtend(std::uint64_t v, unsigned size)
{
    unsigned bits = size * 8;
    if (bits >= 64)
        return static_cast<std::int64_t>(v);
    std::uint64_t sign = std::uint64_t(1) << (bits - 1);
    return static_cast<std::int64_t>((v ^ sign) - sign);
}

Result fail(const char* what, unsigned code)
{
    Result r;
    char text[80];
    std::snprintf(text, sizeof text, "%s (op 0x%02x)", what, code);
    r.error = text;
    return r;
}

} // namespace

Result evaluate(const std::uint8_t* bytes, std::uint32_t length, const Inputs& inputs)
{
    std::vector<std::uint64_t> stack;
    if (bytes == nullptr || length == 0)
        return fail("empty expression", 0);
    Reader in(bytes, length);
    auto readMemory = [&](std::uint64_t address, unsigned size, std::uint64_t& v) {
        std::uint8_t buffer[8] = {};
        if (inputs.memory == nullptr || size == 0 || size > 8 || inputs.memory->read(address, size, buffer) != size)
            return false;
        v = 0;
        for (unsigned i = 0; i < size; ++i)
            v = (v << 8) | buffer[i];
        return true;
    };
    while (!in.atEnd()) {
        std::uint8_t op = in.next();
        std::uint64_t u = 0;
        std::int64_t s = 0;
        switch (op) {
        case DW_OP_addr:
            if (!in.fixed(inputs.addressSize, u))
                return fail("truncated operand", op);
            stack.push_back(u);
            break;
        case DW_OP_const1u:
        case DW_OP_const2u:
        case DW_OP_const4u:
        case DW_OP_const8u: {
            unsigned size = op == DW_OP_const1u ? 1 : op == DW_OP_const2u ? 2 : op == DW_OP_const4u ? 4 : 8;
            if (!in.fixed(size, u))
                return fail("truncated operand", op);
            stack.push_back(u);
            break;
        }
        case DW_OP_const1s:
        case DW_OP_const2s:
        case DW_OP_const4s:
        case DW_OP_const8s: {
            unsigned size = op == DW_OP_const1s ? 1 : op == DW_OP_const2s ? 2 : op == DW_OP_const4s ? 4 : 8;
            if (!in.fixed(size, u))
                return fail("truncated operand", op);
            stack.push_back(static_cast<std::uint64_t>(signExtend(u, size)));
            break;
        }
        case DW_OP_constu:
            if (!in.uleb(u))
                return fail("truncated operand", op);
            stack.push_back(u);
            break;
        case DW_OP_consts:
            if (!in.sleb(s))
                return fail("truncated operand", op);
            stack.push_back(static_cast<std::uint64_t>(s));
            break;
        case DW_OP_fbreg:
            if (!in.sleb(s))
                return fail("truncated operand", op);
            if (!inputs.frameBase)
                return fail("no frame base", op);
            stack.push_back(*inputs.frameBase + static_cast<std::uint64_t>(s));
            break;
        case DW_OP_push_object_address:
            if (!inputs.objectAddress)
                return fail("no object address", op);
            stack.push_back(*inputs.objectAddress);
            break;
        case DW_OP_plus:
            if (stack.size() < 2)
                return fail("stack underflow", op);
            u = stack.back();
            stack.pop_back();
            stack.back() += u;
            break;
        case DW_OP_plus_uconst:
            if (!in.uleb(u))
                return fail("truncated operand", op);
            if (stack.empty())
                return fail("stack underflow", op);
            stack.back() += u;
            break;
        case DW_OP_deref:
            if (stack.empty())
                return fail("stack underflow", op);
            if (!readMemory(stack.back(), inputs.addressSize, u))
                return fail("unreadable memory", op);
            stack.back() = u;
            break;
        case DW_OP_deref_size: {
            if (!in.fixed(1, u))
                return fail("truncated operand", op);
            unsigned size = static_cast<unsigned>(u);
            if (stack.empty())
                return fail("stack underflow", op);
            if (!readMemory(stack.back(), size, u))
                return fail("unreadable memory", op);
            stack.back() = u;
            break;
        }
        default:
            if (op >= DW_OP_lit0 && op <= DW_OP_lit31) {
                stack.push_back(op - DW_OP_lit0);
                break;
            }
            return fail("unsupported operation", op);
        }
    }
    if (stack.empty())
        return fail("empty stack", 0);
    Result r;
    r.ok = true;
    r.value = stack.back();
    return r;
}

void Builder::bigEndian(std::uint64_t v, unsigned size)
{
    for (unsigned i = 0; i < size; ++i)
        _bytes.push_back(static_cast<std::uint8_t>(v >> (8 * (size - 1 - i))));
}

void Builder::uleb(std::uint64_t v)
{
    do {
        std::uint8_t b = v & 0x7f;
        v >>= 7;
        _bytes.push_back(v ? (b | 0x80) : b);
    } while (v);
}

void Builder::sleb(std::int64_t v)
{
    bool more = true;
    while (more) {
        std::uint8_t b = v & 0x7f;
        v >>= 7;
        more = !((v == 0 && !(b & 0x40)) || (v == -1 && (b & 0x40)));
        _bytes.push_back(more ? (b | 0x80) : b);
    }
}

Builder& Builder::addr(std::uint64_t address, unsigned size)
{
    _bytes.push_back(DW_OP_addr);
    bigEndian(address, size);
    return *this;
}
Builder& Builder::constU(std::uint64_t value)
{
    _bytes.push_back(DW_OP_constu);
    uleb(value);
    return *this;
}
Builder& Builder::constS(std::int64_t value)
{
    _bytes.push_back(DW_OP_consts);
    sleb(value);
    return *this;
}
Builder& Builder::const1u(std::uint8_t v)
{
    _bytes.push_back(DW_OP_const1u);
    bigEndian(v, 1);
    return *this;
}
Builder& Builder::const2s(std::int16_t v)
{
    _bytes.push_back(DW_OP_const2s);
    bigEndian(static_cast<std::uint16_t>(v), 2);
    return *this;
}
Builder& Builder::const4u(std::uint32_t v)
{
    _bytes.push_back(DW_OP_const4u);
    bigEndian(v, 4);
    return *this;
}
Builder& Builder::const4s(std::int32_t v)
{
    _bytes.push_back(DW_OP_const4s);
    bigEndian(static_cast<std::uint32_t>(v), 4);
    return *this;
}
Builder& Builder::const8u(std::uint64_t v)
{
    _bytes.push_back(DW_OP_const8u);
    bigEndian(v, 8);
    return *this;
}
Builder& Builder::lit(unsigned n)
{
    _bytes.push_back(static_cast<std::uint8_t>(DW_OP_lit0 + (n & 31)));
    return *this;
}
Builder& Builder::fbreg(std::int64_t offset)
{
    _bytes.push_back(DW_OP_fbreg);
    sleb(offset);
    return *this;
}
Builder& Builder::pushObjectAddress()
{
    _bytes.push_back(DW_OP_push_object_address);
    return *this;
}
Builder& Builder::plus()
{
    _bytes.push_back(DW_OP_plus);
    return *this;
}
Builder& Builder::plusUconst(std::uint64_t value)
{
    _bytes.push_back(DW_OP_plus_uconst);
    uleb(value);
    return *this;
}
Builder& Builder::deref()
{
    _bytes.push_back(DW_OP_deref);
    return *this;
}
Builder& Builder::derefSize(std::uint8_t size)
{
    _bytes.push_back(DW_OP_deref_size);
    _bytes.push_back(size);
    return *this;
}
Builder& Builder::op(std::uint8_t code)
{
    _bytes.push_back(code);
    return *this;
}

} // namespace dwarf
