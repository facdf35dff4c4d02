#ifndef NORVEXA_SERVICES_DEBUGGEEADDRESS_H
#define NORVEXA_SERVICES_DEBUGGEEADDRESS_H

#include <cstdint>

#include "HostRecords.h"

// An address in the debuggee, 32 or 64 bits wide. The layout is the host's
// EE_ADDR (width in bits, then the value as two 32-bit words, low word
// first), so an address is handed to the host by copying its three words.
class DebuggeeAddress {
public:
    DebuggeeAddress() : width_(0), low_(0), high_(0) {}
    explicit DebuggeeAddress(std::uint32_t value);
    explicit DebuggeeAddress(std::uint64_t value);
    DebuggeeAddress(std::uint64_t value, int size);
    DebuggeeAddress(const void* bytes, int size);
    DebuggeeAddress(const void* bytes, int size, bool bigEndian);
    DebuggeeAddress(const EE_ADDR& address);
    DebuggeeAddress(SYMBOL_ENTRY& entry, const LCC_Eval_Context_Info* context);

    void setAddr(std::uint32_t value);
    void setAddr(std::uint64_t value);
    void setAddr(std::uint64_t value, int size);
    void setAddr(const void* bytes, int size);
    void setAddr(const void* bytes, int size, bool bigEndian);
    void setAddr(const EE_ADDR& address);

    std::uint64_t addr() const;
    unsigned bits() const { return width_; }
    unsigned bytes() const { return width_ / 8; }
    bool isValid() const { return width_ == 32 || width_ == 64; }
    void clear()
    {
        width_ = 0;
        low_ = 0;
        high_ = 0;
    }

    DebuggeeAddress& operator+=(std::uint64_t n);
    DebuggeeAddress& operator-=(std::uint64_t n);
    DebuggeeAddress operator+(std::uint64_t n) const;
    DebuggeeAddress operator-(std::uint64_t n) const;
    DebuggeeAddress& operator=(const EE_ADDR& address);

    // Reads and writes go to the host with the current environment's context.
    unsigned read(void* buffer, unsigned count) const;
    unsigned write(const void* buffer, unsigned count) const;

    // Replaces the value by the pointer stored at this address (the current
    // environment's address size, big-endian in the debuggee); the width is
    // kept. Follows one step of a pointer chain per call.
    DebuggeeAddress& dereference();

    // "0x%8.8x" / "0x%16.16llx" (brief: without leading zeros), or "Invalid".
    // A null buffer formats into a per-thread buffer valid until the next
    // such call on the same thread.
    char* format(char* buffer = nullptr, bool brief = false) const;

    // The host's record of this address.
    EE_ADDR toEE_ADDR() const;

private:
    void setValue(std::uint64_t value);

    std::uint32_t width_;
    std::uint32_t low_;
    std::uint32_t high_;
};

static_assert(sizeof(DebuggeeAddress) == 12, "DebuggeeAddress must keep the EE_ADDR layout");

#endif
