#include "types/SqlTypeEntry.h"

#include <cstring>

SqlTypeEntry::SqlTypeEntry()
{
    std::memset(bytes_, 0, sizeof bytes_);
    setKind(sqlKind);
}

SqlTypeEntry::SqlTypeEntry(const _TYPE_ENTRY& entry)
{
    std::memset(bytes_, 0, sizeof bytes_);
    std::memcpy(bytes_, &entry, recordSize);
}

std::uint32_t SqlTypeEntry::get32(std::size_t offset) const
{
    std::uint32_t v;
    std::memcpy(&v, bytes_ + offset, sizeof v);
    return v;
}

SqlTypeEntry& SqlTypeEntry::set32(std::size_t offset, std::uint32_t value)
{
    std::memcpy(bytes_ + offset, &value, sizeof value);
    return *this;
}

std::uint64_t SqlTypeEntry::address() const
{
    std::uint64_t v;
    std::memcpy(&v, bytes_ + 20, sizeof v);
    return v;
}

SqlTypeEntry& SqlTypeEntry::setAddress(std::uint64_t v)
{
    std::memcpy(bytes_ + 20, &v, sizeof v);
    return *this;
}

std::uint16_t SqlTypeEntry::ccsid() const
{
    std::uint16_t v;
    std::memcpy(&v, bytes_ + 36, sizeof v);
    return v;
}

SqlTypeEntry& SqlTypeEntry::setCcsid(std::uint16_t v)
{
    std::memcpy(bytes_ + 36, &v, sizeof v);
    return *this;
}

std::uint32_t SqlTypeEntry::addressBytes() const
{
    const std::uint32_t width = addressWidth();
    return width == 32 || width == 64 ? width / 8 : width;
}
