#ifndef NORVEXA_SERVICES_REGISTER_H
#define NORVEXA_SERVICES_REGISTER_H

#include <cstdint>

#include "HostRecords.h"

// A machine register of the debuggee, known to the host by an opaque id. Its
// size and type are asked of the host once and kept.
class Register {
public:
    // The host's register types.
    enum : std::uint16_t {
        integerRegister = 1,
        floatRegister = 2
    };

    Register() : id_(0), bytes_(0), hostType_(0) {}
    explicit Register(unsigned long id) : id_(static_cast<UBYTEP>(id)), bytes_(0), hostType_(0) {}
    Register(const Register&) = default;
    Register& operator=(const Register&) = default;

    UBYTEP registerId() const { return id_; }

    // The size in bytes (0 when the host describes no usable register); the
    // host type through type.
    unsigned typeAndSize(UBYTE2& type) const;

    // The host's id of the register called name, in the current context.
    static UBYTEP id(const char* name);

    // "Invalid Register" or "register %p"; a null buffer formats into a
    // per-thread buffer valid until the next such call on the same thread.
    char* format(char* buffer = nullptr) const;

    // The primitive type {0, code} matching the register, or {0, 0}.
    TYPE_INDEX datatype() const;

    // Reads count bytes as the big-endian image of the value; fewer bytes
    // than the register holds narrow the value.
    unsigned read(void* buffer, unsigned count) const;
    // Writes the big-endian image of the whole register.
    unsigned write(const void* buffer, unsigned count, int unused = 0) const;

private:
    UBYTEP id_;
    mutable std::uint32_t bytes_;
    mutable std::uint32_t hostType_;
};

#endif
