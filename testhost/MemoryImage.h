#ifndef NORVEXA_TESTHOST_MEMORYIMAGE_H
#define NORVEXA_TESTHOST_MEMORYIMAGE_H

#include <cstdint>
#include <initializer_list>
#include <map>
#include <vector>

// The simulated debuggee's memory: a sparse image of big-endian bytes, kept
// as contiguous blocks (one block for a variable stored whole, however
// large). Bytes exist only where something was stored; reading a byte that was
// never stored, or one inside an unreadable range, stops a read there.
// Writing creates bytes, except inside an unwritable range, where a write
// stops. Addresses wrap at 2^64.
class MemoryImage {
public:
    // Stores bytes at an address (mapping them).
    void store(std::uint64_t address, const void* bytes, std::uint64_t count);
    void store(std::uint64_t address, std::initializer_list<std::uint8_t> bytes);
    void store(std::uint64_t address, const std::vector<std::uint8_t>& bytes);
    // Stores the size low-order bytes of value, most significant first.
    void storeBigEndian(std::uint64_t address, std::uint64_t value, unsigned size);
    // Maps count bytes of the given value.
    void fill(std::uint64_t address, std::uint64_t count, std::uint8_t value);

    void markUnreadable(std::uint64_t address, std::uint64_t count);
    void markUnwritable(std::uint64_t address, std::uint64_t count);
    // Forgets every byte and every range.
    void clear();

    // Copies up to count bytes into buffer, stopping at the first byte that
    // is not mapped or not readable; returns how many were copied.
    std::uint32_t read(std::uint64_t address, std::uint32_t count, void* buffer) const;
    // Writes up to count bytes, stopping at the first unwritable byte;
    // returns how many were written.
    std::uint32_t write(std::uint64_t address, std::uint32_t count, const void* buffer);

    // Inspection for tests: the bytes (0 where nothing is mapped), and a
    // big-endian number of size bytes.
    std::vector<std::uint8_t> bytes(std::uint64_t address, std::uint32_t count) const;
    std::uint64_t bigEndian(std::uint64_t address, unsigned size) const;
    bool isMapped(std::uint64_t address) const;
    bool isReadable(std::uint64_t address) const;
    bool isWritable(std::uint64_t address) const;

private:
    struct Range {
        std::uint64_t first;
        std::uint64_t count;
        bool contains(std::uint64_t a) const { return a - first < count; }
    };
    static bool inAny(const std::vector<Range>& ranges, std::uint64_t address);
    using Blocks = std::map<std::uint64_t, std::vector<std::uint8_t>>;
    // The block holding the address, or end.
    Blocks::const_iterator blockOf(std::uint64_t address) const;
    // Stores count bytes (count >= 1) from address on, where address +
    // count - 1 does not wrap.
    void storePiece(std::uint64_t address, const std::uint8_t* in, std::uint64_t count);

    // By first address; blocks never overlap.
    Blocks _blocks;
    std::vector<Range> _unreadable;
    std::vector<Range> _unwritable;
};

#endif
