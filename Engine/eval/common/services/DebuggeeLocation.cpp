#include "services/DebuggeeLocation.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "services/ByteOrder.h"
#include "services/EvaluationEnvironment.h"
#include "services/FatPtr.h"
#include "services/InvalidOp.h"
#include "services/Register.h"
#include "types/EnvironmentTypes.h"

namespace {

// Questions about a pointer type, answered by its type flags.
bool isPointerToShared(const TypeItem* pointerType)
{
    return pointerType != nullptr && pointerType->hasFlag(TypeFlags::pointerToShared);
}

bool isFortranDescriptorArray(const TypeItem* pointerType)
{
    return pointerType != nullptr && pointerType->hasFlag(TypeFlags::fortranDescriptor) &&
           pointerType->hasFlag(TypeFlags::array);
}

// The size of the pointer held at a location of the given pointer type: the
// program's address size, unless (outside COBOL) a host pointer entry says
// otherwise.
unsigned pointerSize(const TypeItem* pointerType)
{
    unsigned size = EvaluationEnvironment::currentRep()->addressSize() == 8 ? 8 : 4;
    if (pointerType != nullptr && !isCobolLanguage()) {
        const _TYPE_ENTRY* entry = pointerType->typeEntry();
        if (entry != nullptr && entry->leaf == TE_POINTER) {
            if (entry->pointer.flags & TNpointer_Bytes4)
                size = 4;
            else if (entry->pointer.flags & TNpointer_Bytes8)
                size = 8;
        }
    }
    return size;
}

} // namespace

void DebuggeeLocation::notSupported(const char* function, unsigned line)
{
    throw InvalidOp(InvalidOp::RTRC_NotSupported, function, line);
}

DebuggeeLocation::DebuggeeLocation(const DebuggeeAddress& address) : DebuggeeLocation()
{
    *this = address;
}

DebuggeeLocation::DebuggeeLocation(unsigned long registerId) : DebuggeeLocation()
{
    target_ = new Register(registerId);
    kind_ = registerLocation;
}

void DebuggeeLocation::deleteTarget()
{
    if (kind_ == registerLocation)
        delete static_cast<Register*>(target_);
    else if (kind_ == fatPointer)
        delete static_cast<FatPtr*>(target_);
}

DebuggeeLocation& DebuggeeLocation::assign(const DebuggeeLocation& other)
{
    if (&other == this)
        return *this;
    // Copy the source's target before letting go of our own.
    void* copy = nullptr;
    DebuggeeAddress address;
    Kind kind = other.kind_;
    switch (other.kind_) {
    case registerLocation:
        copy = other.target_ ? new Register(*static_cast<const Register*>(other.target_)) : nullptr;
        break;
    case debuggeeMemory: {
        const DebuggeeAddress* a = static_cast<const DebuggeeAddress*>(other.target_);
        if (a != nullptr && a->isValid())
            address = *a;
        else
            kind = none;
        break;
    }
    case debuggerBuffer: copy = other.target_; break;
    case fatPointer: copy = other.target_ ? new FatPtr(*static_cast<const FatPtr*>(other.target_)) : nullptr; break;
    default: kind = none; break;
    }
    clear();
    target_ = copy;
    kind_ = kind;
    if (kind == debuggeeMemory) {
        address_ = address;
        target_ = &address_;
    }
    return *this;
}

DebuggeeLocation& DebuggeeLocation::operator=(const DebuggeeAddress& address)
{
    const bool valid = address.isValid();
    const DebuggeeAddress copy = address;
    clear();
    if (valid) {
        address_ = copy;
        target_ = &address_;
        kind_ = debuggeeMemory;
    }
    return *this;
}

DebuggeeLocation& DebuggeeLocation::operator=(const Register& reg)
{
    Register* copy = new Register(reg);
    clear();
    target_ = copy;
    kind_ = registerLocation;
    return *this;
}

DebuggeeLocation& DebuggeeLocation::operator=(void* buffer)
{
    clear();
    target_ = buffer;
    kind_ = debuggerBuffer;
    return *this;
}

DebuggeeLocation& DebuggeeLocation::operator=(const FatPtr& pointer)
{
    FatPtr* copy = new FatPtr(pointer);
    clear();
    target_ = copy;
    kind_ = fatPointer;
    return *this;
}

void DebuggeeLocation::setFatPtr(UPCfatPointer_t* record)
{
    if (kind_ != fatPointer || target_ == nullptr || record == nullptr)
        return;
    FatPtrImage& image = static_cast<FatPtr*>(target_)->image();
    if (image.length() != 0)
        std::memcpy(image.data(), record, image.length());
}

void* DebuggeeLocation::buffer() const
{
    return kind_ == debuggerBuffer ? target_ : nullptr;
}

const Register* DebuggeeLocation::registerTarget() const
{
    return kind_ == registerLocation ? static_cast<const Register*>(target_) : nullptr;
}

const FatPtr& DebuggeeLocation::fatPtr() const
{
    if (target_ == nullptr)
        notSupported(__PRETTY_FUNCTION__, __LINE__);
    return *static_cast<const FatPtr*>(target_);
}

DebuggeeAddress& DebuggeeLocation::memory() const
{
    return *static_cast<DebuggeeAddress*>(target_);
}

bool DebuggeeLocation::isValid() const
{
    switch (kind_) {
    case debuggeeMemory: return memory().isValid();
    case registerLocation:
    case debuggerBuffer: return true;
    case fatPointer: return fatPtr().isValid();
    default: return false;
    }
}

bool DebuggeeLocation::isNull() const
{
    switch (kind_) {
    case debuggerBuffer: return target_ == nullptr;
    case debuggeeMemory: return memory().addr() == 0;
    case fatPointer: return fatPtr().isNull();
    default: return false;
    }
}

unsigned DebuggeeLocation::size() const
{
    switch (kind_) {
    case debuggeeMemory: return memory().bytes();
    case registerLocation: {
        UBYTE2 type = 0;
        return static_cast<const Register*>(target_)->typeAndSize(type);
    }
    case debuggerBuffer: return 4;
    case fatPointer: return 16;
    default: notSupported(__PRETTY_FUNCTION__, __LINE__);
    }
}

DebuggeeAddress DebuggeeLocation::address() const
{
    switch (kind_) {
    case debuggeeMemory: return memory();
    case fatPointer: fatPtr().addrfield(); return DebuggeeAddress();
    default: return DebuggeeAddress();
    }
}

unsigned DebuggeeLocation::read(void* buffer, unsigned count) const
{
    if (buffer == nullptr || count == 0)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    switch (kind_) {
    case debuggeeMemory: return memory().read(buffer, count);
    case registerLocation: return static_cast<const Register*>(target_)->read(buffer, count);
    case debuggerBuffer:
        if (target_ == nullptr)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        std::memmove(buffer, target_, count);
        return count;
    case fatPointer: return fatPtr().read(buffer, count);
    default: notSupported(__PRETTY_FUNCTION__, __LINE__);
    }
}

unsigned DebuggeeLocation::write(const void* buffer, unsigned count, int flags) const
{
    switch (kind_) {
    case debuggeeMemory: return memory().write(buffer, count);
    case registerLocation: return static_cast<const Register*>(target_)->write(buffer, count, flags);
    case fatPointer: return fatPtr().write(buffer, count);
    default: notSupported(__PRETTY_FUNCTION__, __LINE__);
    }
}

DebuggeeLocation& DebuggeeLocation::increment(long long n)
{
    switch (kind_) {
    case debuggerBuffer: target_ = static_cast<unsigned char*>(target_) + n; return *this;
    case debuggeeMemory: memory() += static_cast<std::uint64_t>(n); return *this;
    case fatPointer: static_cast<FatPtr*>(target_)->increment(n); return *this;
    default: notSupported(__PRETTY_FUNCTION__, __LINE__);
    }
}

bool DebuggeeLocation::operator!=(const DebuggeeLocation& other) const
{
    if (kind_ != other.kind_ || target_ == nullptr || other.target_ == nullptr)
        return true;
    switch (kind_) {
    case debuggeeMemory: {
        const DebuggeeAddress& a = memory();
        const DebuggeeAddress& b = other.memory();
        return a.bits() != b.bits() || a.addr() != b.addr();
    }
    case registerLocation:
        return static_cast<const Register*>(target_)->registerId() !=
               static_cast<const Register*>(other.target_)->registerId();
    case debuggerBuffer: return target_ != other.target_;
    case fatPointer: fatPtr().isValid(); return true;
    default: return true;
    }
}

long long DebuggeeLocation::operator-(const DebuggeeLocation& other) const
{
    if (kind_ != other.kind_)
        notSupported(__PRETTY_FUNCTION__, __LINE__);
    switch (kind_) {
    case debuggerBuffer:
        return static_cast<long long>(reinterpret_cast<std::uintptr_t>(target_) -
                                      reinterpret_cast<std::uintptr_t>(other.target_));
    case debuggeeMemory:
        if (memory().isValid() && other.memory().isValid())
            return static_cast<long long>(memory().addr() - other.memory().addr());
        notSupported(__PRETTY_FUNCTION__, __LINE__);
    case fatPointer: return fatPtr() - other.fatPtr();
    default: notSupported(__PRETTY_FUNCTION__, __LINE__);
    }
}

char* DebuggeeLocation::format(char* buffer) const
{
    static thread_local char shared[64];
    char* out = buffer != nullptr ? buffer : shared;
    switch (kind_) {
    case debuggeeMemory: return memory().format(out, false);
    case registerLocation: return static_cast<const Register*>(target_)->format(out);
    case debuggerBuffer:
        std::snprintf(out, sizeof shared, "0x%" PRIxPTR " (dbgr)", reinterpret_cast<std::uintptr_t>(target_));
        return out;
    case fatPointer: return fatPtr().format(out);
    default: std::snprintf(out, sizeof shared, "%s", "INVALID"); return out;
    }
}

const unsigned char* DebuggeeLocation::rawData()
{
    switch (kind_) {
    case debuggeeMemory: {
        const DebuggeeAddress& a = memory();
        byteorder::toBigEndian(raw_, a.addr(), a.bits() == 64 ? 8 : 4);
        return raw_;
    }
    case debuggerBuffer:
        // The evaluator's own pointer is no debuggee address: never hand it out.
        std::memset(raw_, 0, 4);
        return raw_;
    default: notSupported(__PRETTY_FUNCTION__, __LINE__);
    }
}

ByteString DebuggeeLocation::formatRaw() const
{
    switch (kind_) {
    case debuggerBuffer: {
        // The whole pointer, at the evaluator's own pointer width.
        unsigned char bytes[sizeof(void*)];
        std::memcpy(bytes, &target_, sizeof bytes);
        return ByteString(bytes, sizeof bytes);
    }
    case fatPointer: return ByteString();
    case debuggeeMemory: {
        char digits[24];
        std::snprintf(digits, sizeof digits, "%" PRIu64, memory().addr());
        return ByteString(reinterpret_cast<const unsigned char*>(digits), static_cast<unsigned>(std::strlen(digits)));
    }
    default: throw InvalidOp(InvalidOp::RTRC_InvalidFormat, __PRETTY_FUNCTION__, __LINE__);
    }
}

DebuggeeLocation& DebuggeeLocation::convertToLocal()
{
    switch (kind_) {
    case registerLocation:
    case debuggeeMemory:
    case debuggerBuffer: return *this;
    case fatPointer: fatPtr().localAddress(); return *this;
    default: throw InvalidOp(InvalidOp::RTRC_AssertFail, __PRETTY_FUNCTION__, __LINE__);
    }
}

DebuggeeLocation& DebuggeeLocation::dereference(const TypeItem* pointerType)
{
    if (isPointerToShared(pointerType)) {
        // The fat pointer to be read has no size: kinds 1 and 2 fail on the
        // empty read.
        switch (kind_) {
        case registerLocation:
        case debuggeeMemory: throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        case fatPointer: notSupported(__PRETTY_FUNCTION__, __LINE__);
        default: throw InvalidOp(InvalidOp::RTRC_AssertFail, __PRETTY_FUNCTION__, __LINE__);
        }
    }

    const unsigned size = pointerSize(pointerType);
    if (size != 4 && size != 8)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);

    unsigned char image[8] = {};
    switch (kind_) {
    case debuggeeMemory: {
        DebuggeeAddress& a = memory();
        a.read(image, size);
        const std::uint64_t value = byteorder::fromBigEndian(image, size);
        if (isFortranDescriptorArray(pointerType)) {
            // The data location of a descriptor array: the address keeps
            // its width and takes the value read there.
            if (a.bits() == 32)
                a.setAddr(static_cast<std::uint32_t>(value));
            else
                a.setAddr(value);
        } else {
            a.setAddr(value, static_cast<int>(size));
        }
        return *this;
    }
    case debuggerBuffer: {
        if (target_ == nullptr)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        // A pointer kept in the evaluator is in the evaluator's byte order.
        const DebuggeeAddress a(target_, static_cast<int>(size));
        return *this = a;
    }
    case registerLocation: {
        static_cast<const Register*>(target_)->read(image, size);
        const DebuggeeAddress a(byteorder::fromBigEndian(image, size), static_cast<int>(size));
        return *this = a;
    }
    case fatPointer: notSupported(__PRETTY_FUNCTION__, __LINE__);
    default: throw InvalidOp(InvalidOp::RTRC_AssertFail, __PRETTY_FUNCTION__, __LINE__);
    }
}

DebuggeeLocation& DebuggeeLocation::dereference(long long offset, const TypeItem* pointerType)
{
    DebuggeeLocation moved(*this);
    moved.increment(offset);
    moved.dereference(pointerType);
    return *this = moved;
}
