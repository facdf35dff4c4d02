#ifndef NORVEXA_TYPES_SQLTYPEENTRY_H
#define NORVEXA_TYPES_SQLTYPEENTRY_H

#include <cstddef>
#include <cstdint>

#include "HostRecords.h"

// The type entry of an SQL host variable: a 40-byte record of kind 89,
// shaped like a host type entry so that a TypeItem can carry it. Fields, in
// host byte order (the record lives in the evaluator, not in the debuggee):
//   0 u32 kind (89)        4 u32 (unused)          8 u32 SQL type code
//  12 u32 declared length 16 u32 maximum length   20 u64 address (unaligned)
//  28 u32 address width   32 i32 element count    36 u16 CCSID
// The address width is kept as the host gives it, in bits (32 or 64);
// addressBytes reads it in bytes.
// Every field is read and written byte-wise, so the unaligned address is safe.
class SqlTypeEntry {
public:
    static constexpr std::uint32_t sqlKind = 89;
    static constexpr std::size_t recordSize = 40;

    // A record of kind 89 with every other field 0.
    SqlTypeEntry();
    // The record at a type entry's address (its first 40 bytes).
    explicit SqlTypeEntry(const _TYPE_ENTRY& entry);

    std::uint32_t kind() const { return get32(0); }
    std::uint32_t sqlType() const { return get32(8); }
    std::uint32_t length() const { return get32(12); }
    std::uint32_t maxLength() const { return get32(16); }
    std::uint64_t address() const;
    std::uint32_t addressWidth() const { return get32(28); }
    // The address width in bytes: 32 and 64 are bits; 4 and 8 are taken as
    // bytes already. Any other value is answered as it stands (no address
    // has that width).
    std::uint32_t addressBytes() const;
    std::int32_t elementCount() const { return static_cast<std::int32_t>(get32(32)); }
    std::uint16_t ccsid() const;

    SqlTypeEntry& setKind(std::uint32_t v) { return set32(0, v); }
    SqlTypeEntry& setSqlType(std::uint32_t v) { return set32(8, v); }
    SqlTypeEntry& setLength(std::uint32_t v) { return set32(12, v); }
    SqlTypeEntry& setMaxLength(std::uint32_t v) { return set32(16, v); }
    SqlTypeEntry& setAddress(std::uint64_t v);
    SqlTypeEntry& setAddressWidth(std::uint32_t v) { return set32(28, v); }
    SqlTypeEntry& setElementCount(std::int32_t v) { return set32(32, static_cast<std::uint32_t>(v)); }
    SqlTypeEntry& setCcsid(std::uint16_t v);

    // The record seen as a host type entry (its leaf word is the kind).
    const _TYPE_ENTRY* asTypeEntry() const { return reinterpret_cast<const _TYPE_ENTRY*>(bytes_); }
    const unsigned char* bytes() const { return bytes_; }

    // Whether a type entry is an SQL host variable's (kind 89).
    static bool isSqlEntry(const _TYPE_ENTRY* entry) { return entry != nullptr && entry->leaf == sqlKind; }

private:
    std::uint32_t get32(std::size_t offset) const;
    SqlTypeEntry& set32(std::size_t offset, std::uint32_t value);

    // Room for a whole _TYPE_ENTRY, so that readers of the union's leaf
    // word never reach past the record.
    alignas(8) unsigned char bytes_[sizeof(_TYPE_ENTRY) > recordSize ? sizeof(_TYPE_ENTRY) : recordSize];
};

#endif
