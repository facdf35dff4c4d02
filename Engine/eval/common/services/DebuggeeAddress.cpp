#include "services/DebuggeeAddress.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "services/ByteOrder.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"

static_assert(sizeof(EE_ADDR) == 12, "EE_ADDR is three 32-bit words");

namespace {

[[noreturn]] void badSize(const char* function, unsigned line)
{
    throw InvalidOp(InvalidOp::RTRC_Other, function, line);
}

} // namespace

DebuggeeAddress::DebuggeeAddress(std::uint32_t value) : width_(32), low_(value), high_(0) {}

DebuggeeAddress::DebuggeeAddress(std::uint64_t value) : width_(64), low_(0), high_(0)
{
    setValue(value);
}

DebuggeeAddress::DebuggeeAddress(std::uint64_t value, int size) : DebuggeeAddress()
{
    setAddr(value, size);
}

DebuggeeAddress::DebuggeeAddress(const void* bytes, int size) : DebuggeeAddress()
{
    setAddr(bytes, size);
}

DebuggeeAddress::DebuggeeAddress(const void* bytes, int size, bool bigEndian) : DebuggeeAddress()
{
    setAddr(bytes, size, bigEndian);
}

DebuggeeAddress::DebuggeeAddress(const EE_ADDR& address) : DebuggeeAddress()
{
    setAddr(address);
}

DebuggeeAddress::DebuggeeAddress(SYMBOL_ENTRY& entry, const LCC_Eval_Context_Info* context) : DebuggeeAddress()
{
    // Without a context the symbol is taken as one of the current request's
    // program, i.e. the context the request's file scope stands for.
    if (context == nullptr)
        context = EvaluationEnvironment::currentRep()->fileScopeContext();

    const std::uint32_t storage = entry.kind;
    if (storage == SE_SECTION_DATA) {
        *this = SVC::Expr2MapSection(context, entry.statics.section);
        const std::uint64_t offset = (std::uint64_t(entry.statics.offsetHigh) << 32) | entry.statics.offsetLow;
        *this += offset;
        return;
    }
    if (storage == SE_STATIC)
        throw InvalidOp(InvalidOp::RTRC_IncompleteSymbol, __PRETTY_FUNCTION__, __LINE__);
    throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

void DebuggeeAddress::setValue(std::uint64_t value)
{
    low_ = static_cast<std::uint32_t>(value);
    high_ = static_cast<std::uint32_t>(value >> 32);
}

void DebuggeeAddress::setAddr(std::uint32_t value)
{
    width_ = 32;
    low_ = value;
    high_ = 0;
}

void DebuggeeAddress::setAddr(std::uint64_t value)
{
    width_ = 64;
    setValue(value);
}

void DebuggeeAddress::setAddr(std::uint64_t value, int size)
{
    if (size == 4)
        setAddr(static_cast<std::uint32_t>(value));
    else if (size == 8)
        setAddr(value);
    else {
        clear();
        badSize(__PRETTY_FUNCTION__, __LINE__);
    }
}

void DebuggeeAddress::setAddr(const void* bytes, int size)
{
    if (bytes == nullptr || (size != 4 && size != 8)) {
        clear();
        badSize(__PRETTY_FUNCTION__, __LINE__);
    }
    if (size == 4) {
        std::uint32_t v;
        std::memcpy(&v, bytes, 4);
        setAddr(v);
    } else {
        std::uint64_t v;
        std::memcpy(&v, bytes, 8);
        setAddr(v);
    }
}

void DebuggeeAddress::setAddr(const void* bytes, int size, bool bigEndian)
{
    if (!bigEndian) {
        setAddr(bytes, size);
        return;
    }
    if (bytes == nullptr || (size != 4 && size != 8)) {
        clear();
        badSize(__PRETTY_FUNCTION__, __LINE__);
    }
    const std::uint64_t v = byteorder::fromBigEndian(bytes, static_cast<unsigned>(size));
    if (size == 4)
        setAddr(static_cast<std::uint32_t>(v));
    else
        setAddr(v);
}

void DebuggeeAddress::setAddr(const EE_ADDR& address)
{
    std::memcpy(static_cast<void*>(this), &address, sizeof *this);
}

DebuggeeAddress& DebuggeeAddress::operator=(const EE_ADDR& address)
{
    setAddr(address);
    return *this;
}

EE_ADDR DebuggeeAddress::toEE_ADDR() const
{
    EE_ADDR a;
    std::memcpy(static_cast<void*>(&a), this, sizeof a);
    return a;
}

std::uint64_t DebuggeeAddress::addr() const
{
    if (width_ == 32)
        return low_;
    if (width_ == 64)
        return (std::uint64_t(high_) << 32) | low_;
    return 0;
}

DebuggeeAddress& DebuggeeAddress::operator+=(std::uint64_t n)
{
    if (width_ == 32)
        low_ += static_cast<std::uint32_t>(n);
    else if (width_ == 64)
        setValue(addr() + n);
    return *this;
}

DebuggeeAddress& DebuggeeAddress::operator-=(std::uint64_t n)
{
    if (width_ == 32)
        low_ -= static_cast<std::uint32_t>(n);
    else if (width_ == 64)
        setValue(addr() - n);
    return *this;
}

DebuggeeAddress DebuggeeAddress::operator+(std::uint64_t n) const
{
    DebuggeeAddress r(*this);
    r += n;
    return r;
}

DebuggeeAddress DebuggeeAddress::operator-(std::uint64_t n) const
{
    DebuggeeAddress r(*this);
    r -= n;
    return r;
}

unsigned DebuggeeAddress::read(void* buffer, unsigned count) const
{
    if (buffer == nullptr || count == 0)
        badSize(__PRETTY_FUNCTION__, __LINE__);
    return SVC::Expr2ReadMemory(EvaluationEnvironment::currentRep()->context(), toEE_ADDR(), count, buffer);
}

unsigned DebuggeeAddress::write(const void* buffer, unsigned count) const
{
    if (buffer == nullptr || count == 0)
        badSize(__PRETTY_FUNCTION__, __LINE__);
    const unsigned written =
        SVC::Expr2WriteMemory(EvaluationEnvironment::currentRep()->context(), toEE_ADDR(), count, buffer);
    if (written < count)
        throw InvalidOp(InvalidOp::RTRC_WriteMemoryFailed, __PRETTY_FUNCTION__, __LINE__);
    return count;
}

DebuggeeAddress& DebuggeeAddress::dereference()
{
    const unsigned size = EvaluationEnvironment::currentRep()->addressSize() == 8 ? 8 : 4;
    unsigned char image[8] = {};
    read(image, size);
    const std::uint64_t v = byteorder::fromBigEndian(image, size);
    if (width_ == 32)
        low_ = static_cast<std::uint32_t>(v);
    else
        setValue(v);
    return *this;
}

char* DebuggeeAddress::format(char* buffer, bool brief) const
{
    static thread_local char shared[24];
    char* out = buffer != nullptr ? buffer : shared;
    if (width_ == 32)
        std::snprintf(out, sizeof shared, brief ? "0x%x" : "0x%8.8x", low_);
    else if (width_ == 64)
        std::snprintf(out, sizeof shared, brief ? "0x%" PRIx64 : "0x%16.16" PRIx64, addr());
    else
        std::snprintf(out, sizeof shared, "%s", "Invalid");
    return out;
}
