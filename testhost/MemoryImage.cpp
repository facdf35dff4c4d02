#include "testhost/MemoryImage.h"

void MemoryImage::store(std::uint64_t address, const void* bytes, std::uint64_t count)
{
    const auto* in = static_cast<const std::uint8_t*>(bytes);
    for (std::uint64_t i = 0; i < count; ++i)
        _bytes[address + i] = in[i];
}

void MemoryImage::store(std::uint64_t address, std::initializer_list<std::uint8_t> bytes)
{
    store(address, bytes.begin(), bytes.size());
}

void MemoryImage::store(std::uint64_t address, const std::vector<std::uint8_t>& bytes)
{
    store(address, bytes.data(), bytes.size());
}

void MemoryImage::storeBigEndian(std::uint64_t address, std::uint64_t value, unsigned size)
{
    for (unsigned i = 0; i < size; ++i)
        _bytes[address + i] = static_cast<std::uint8_t>(value >> (8 * (size - 1 - i)));
}

void MemoryImage::fill(std::uint64_t address, std::uint64_t count, std::uint8_t value)
{
    for (std::uint64_t i = 0; i < count; ++i)
        _bytes[address + i] = value;
}

void MemoryImage::markUnreadable(std::uint64_t address, std::uint64_t count)
{
    _unreadable.push_back({address, count});
}

void MemoryImage::markUnwritable(std::uint64_t address, std::uint64_t count)
{
    _unwritable.push_back({address, count});
}

void MemoryImage::clear()
{
    _bytes.clear();
    _unreadable.clear();
    _unwritable.clear();
}

bool MemoryImage::inAny(const std::vector<Range>& ranges, std::uint64_t address)
{
    for (const Range& r : ranges)
        if (r.contains(address))
            return true;
    return false;
}

std::uint32_t MemoryImage::read(std::uint64_t address, std::uint32_t count, void* buffer) const
{
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::uint32_t done = 0;
    for (; done < count; ++done) {
        std::uint64_t a = address + done;
        auto it = _bytes.find(a);
        if (it == _bytes.end() || inAny(_unreadable, a))
            break;
        if (out != nullptr)
            out[done] = it->second;
    }
    return done;
}

std::uint32_t MemoryImage::write(std::uint64_t address, std::uint32_t count, const void* buffer)
{
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    std::uint32_t done = 0;
    for (; done < count; ++done) {
        std::uint64_t a = address + done;
        if (inAny(_unwritable, a))
            break;
        _bytes[a] = in != nullptr ? in[done] : 0;
    }
    return done;
}

std::vector<std::uint8_t> MemoryImage::bytes(std::uint64_t address, std::uint32_t count) const
{
    std::vector<std::uint8_t> out(count, 0);
    for (std::uint32_t i = 0; i < count; ++i) {
        auto it = _bytes.find(address + i);
        if (it != _bytes.end())
            out[i] = it->second;
    }
    return out;
}

std::uint64_t MemoryImage::bigEndian(std::uint64_t address, unsigned size) const
{
    std::uint64_t value = 0;
    for (std::uint8_t b : bytes(address, size))
        value = (value << 8) | b;
    return value;
}

bool MemoryImage::isMapped(std::uint64_t address) const
{
    return _bytes.count(address) != 0;
}

bool MemoryImage::isReadable(std::uint64_t address) const
{
    return isMapped(address) && !inAny(_unreadable, address);
}

bool MemoryImage::isWritable(std::uint64_t address) const
{
    return !inAny(_unwritable, address);
}
