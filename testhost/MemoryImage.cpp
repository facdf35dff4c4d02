#include "testhost/MemoryImage.h"

#include <algorithm>
#include <cstring>
#include <iterator>

MemoryImage::Blocks::const_iterator MemoryImage::blockOf(std::uint64_t address) const
{
    auto it = _blocks.upper_bound(address);
    if (it == _blocks.begin())
        return _blocks.end();
    --it;
    return address - it->first < it->second.size() ? it : _blocks.end();
}

void MemoryImage::storePiece(std::uint64_t address, const std::uint8_t* in, std::uint64_t count)
{
    const std::uint64_t last = address + (count - 1);
    std::uint64_t pos = address;
    for (;;) {
        auto next = _blocks.upper_bound(pos);
        if (next != _blocks.begin()) {
            auto holder = std::prev(next);
            const std::uint64_t offset = pos - holder->first;
            if (offset < holder->second.size()) {
                // Inside a block: overwrite what it holds.
                const std::uint64_t n = std::min<std::uint64_t>(holder->second.size() - offset, last - pos + 1);
                std::memcpy(holder->second.data() + offset, in + (pos - address), n);
                if (n == last - pos + 1)
                    return;
                pos += n;
                continue;
            }
        }
        // A gap up to the next block (or the end of the bytes).
        const std::uint64_t gapLast = next != _blocks.end() && next->first <= last ? next->first - 1 : last;
        const std::uint8_t* from = in + (pos - address);
        const std::uint64_t n = gapLast - pos + 1;
        auto before = next != _blocks.begin() ? std::prev(next) : _blocks.end();
        if (before != _blocks.end() && before->first + before->second.size() == pos)
            before->second.insert(before->second.end(), from, from + n);
        else
            _blocks.emplace(pos, std::vector<std::uint8_t>(from, from + n));
        if (gapLast == last)
            return;
        pos = gapLast + 1;
    }
}

void MemoryImage::store(std::uint64_t address, const void* bytes, std::uint64_t count)
{
    const auto* in = static_cast<const std::uint8_t*>(bytes);
    // Pieces that do not wrap past 2^64.
    while (count > 0) {
        const std::uint64_t room = address == 0 ? count : std::min<std::uint64_t>(count, 0 - address);
        storePiece(address, in, room);
        address += room;
        in += room;
        count -= room;
    }
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
    std::uint8_t bytes[8] = {};
    if (size > 8)
        size = 8;
    for (unsigned i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * (size - 1 - i)));
    store(address, bytes, size);
}

void MemoryImage::fill(std::uint64_t address, std::uint64_t count, std::uint8_t value)
{
    const std::vector<std::uint8_t> bytes(count, value);
    store(address, bytes.data(), count);
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
    _blocks.clear();
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
    while (done < count) {
        const std::uint64_t a = address + done;
        auto block = blockOf(a);
        if (block == _blocks.end())
            break;
        const std::uint64_t offset = a - block->first;
        const std::uint64_t n = std::min<std::uint64_t>(block->second.size() - offset, count - done);
        if (_unreadable.empty()) {
            if (out != nullptr)
                std::memcpy(out + done, block->second.data() + offset, n);
            done += static_cast<std::uint32_t>(n);
            continue;
        }
        for (std::uint64_t i = 0; i < n; ++i) {
            if (!_unreadable.empty() && inAny(_unreadable, a + i))
                return done;
            if (out != nullptr)
                out[done] = block->second[offset + i];
            ++done;
        }
    }
    return done;
}

std::uint32_t MemoryImage::write(std::uint64_t address, std::uint32_t count, const void* buffer)
{
    std::uint32_t allowed = 0;
    while (allowed < count && !inAny(_unwritable, address + allowed))
        ++allowed;
    if (allowed == 0)
        return 0;
    if (buffer != nullptr) {
        store(address, buffer, allowed);
    } else {
        const std::vector<std::uint8_t> zeros(allowed, 0);
        store(address, zeros.data(), allowed);
    }
    return allowed;
}

std::vector<std::uint8_t> MemoryImage::bytes(std::uint64_t address, std::uint32_t count) const
{
    std::vector<std::uint8_t> out(count, 0);
    std::uint32_t i = 0;
    while (i < count) {
        const std::uint64_t a = address + i;
        auto block = blockOf(a);
        if (block == _blocks.end()) {
            ++i;
            continue;
        }
        const std::uint64_t offset = a - block->first;
        const std::uint64_t n = std::min<std::uint64_t>(block->second.size() - offset, count - i);
        std::memcpy(out.data() + i, block->second.data() + offset, n);
        i += static_cast<std::uint32_t>(n);
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
    return blockOf(address) != _blocks.end();
}

bool MemoryImage::isReadable(std::uint64_t address) const
{
    return isMapped(address) && !inAny(_unreadable, address);
}

bool MemoryImage::isWritable(std::uint64_t address) const
{
    return !inAny(_unwritable, address);
}
