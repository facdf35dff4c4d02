#ifndef NORVEXA_SERVICES_DEBUGGEELOCATION_H
#define NORVEXA_SERVICES_DEBUGGEELOCATION_H

#include <cstdint>

#include <plomkit/ByteString.h>

#include "services/DebuggeeAddress.h"

class FatPtr;
class Register;
class TypeItem;
struct UPCfatPointer_t;

// Where the bytes of a value live: nowhere (kind 0), in a debuggee register
// (1), in debuggee memory (2), in a buffer inside the evaluator (3), or
// behind a parallel-language pointer to shared data (4). Register and fat
// pointer targets are owned and deep-copied; an address is held inline (a
// location in memory is copied without an allocation); a buffer is shared.
class DebuggeeLocation {
public:
    enum Kind : std::uint32_t {
        none = 0,
        registerLocation = 1,
        debuggeeMemory = 2,
        debuggerBuffer = 3,
        fatPointer = 4,
    };

    DebuggeeLocation() : target_(nullptr), raw_{}, kind_(none) {}
    DebuggeeLocation(const DebuggeeAddress& address);
    explicit DebuggeeLocation(unsigned long registerId);
    DebuggeeLocation(const DebuggeeLocation& other) : DebuggeeLocation() { *this = other; }
    ~DebuggeeLocation() { clear(); }

    DebuggeeLocation& operator=(const DebuggeeLocation& other)
    {
        // The usual cases, a valid place in memory over a location that owns
        // nothing, and no place at all: no target to copy.
        if (other.kind_ == debuggeeMemory && kind_ != registerLocation && kind_ != fatPointer &&
            other.target_ != nullptr && static_cast<const DebuggeeAddress*>(other.target_)->isValid()) {
            address_ = *static_cast<const DebuggeeAddress*>(other.target_);
            target_ = &address_;
            kind_ = debuggeeMemory;
            return *this;
        }
        if (other.kind_ == none) {
            clear();
            return *this;
        }
        return assign(other);
    }
    DebuggeeLocation& operator=(const DebuggeeAddress& address);
    DebuggeeLocation& operator=(const Register& reg);
    DebuggeeLocation& operator=(void* buffer);
    DebuggeeLocation& operator=(const FatPtr& pointer);

    // Copies as many bytes as the held fat pointer's image has from the
    // host's record into that image.
    void setFatPtr(UPCfatPointer_t* record);
    void clear()
    {
        if (kind_ == registerLocation || kind_ == fatPointer)
            deleteTarget();
        target_ = nullptr;
        kind_ = none;
    }

    Kind kind() const { return kind_; }
    // The evaluator buffer of a kind-3 location (null otherwise).
    void* buffer() const;
    // The register of a kind-1 location (null otherwise).
    const Register* registerTarget() const;

    bool isValid() const;
    bool isNull() const;
    unsigned size() const;
    DebuggeeAddress address() const;

    unsigned read(void* buffer, unsigned count) const;
    unsigned write(const void* buffer, unsigned count, int flags = 0) const;
    DebuggeeLocation& increment(long long n);
    DebuggeeLocation& convertToPointer(long long n) { return increment(n); }

    bool operator!=(const DebuggeeLocation& other) const;
    long long operator-(const DebuggeeLocation& other) const;

    // "INVALID", the address's or the register's text, or "0x%lx (dbgr)".
    // A null buffer formats into a per-thread buffer valid until the next
    // such call on the same thread.
    char* format(char* buffer = nullptr) const;
    // The address value as a big-endian image (4 or 8 bytes); 4 zero bytes
    // for an evaluator buffer.
    const unsigned char* rawData();
    ByteString formatRaw() const;
    DebuggeeLocation& convertToLocal();

    // Replaces the location by the place the pointer held here points to.
    DebuggeeLocation& dereference(const TypeItem* pointerType);
    DebuggeeLocation& dereference(long long offset, const TypeItem* pointerType);

private:
    // Frees the register or fat pointer the location owns.
    void deleteTarget();
    // operator= beyond its usual case.
    DebuggeeLocation& assign(const DebuggeeLocation& other);
    [[noreturn]] static void notSupported(const char* function, unsigned line);
    const FatPtr& fatPtr() const;
    DebuggeeAddress& memory() const;

    void* target_;
    DebuggeeAddress address_; // target_ points here for a location in memory
    unsigned char raw_[8];
    Kind kind_;
};

#endif
