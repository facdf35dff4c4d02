#ifndef NORVEXA_MACHINE_STACKITEMINTEGER_H
#define NORVEXA_MACHINE_STACKITEMINTEGER_H

#include <cstring>
#include <type_traits>

#include "machine/StackItem.h"
#include "services/ByteOrder.h"

// A binary integer of 1, 2, 4 or 8 bytes, held in the debuggee's big-endian
// byte order so that a load copies the debuggee's bytes unchanged. T is the
// C type of the value; its signedness decides how the value widens.
template <class T>
class StackItemInteger : public StackItem {
    static_assert(std::is_integral_v<T> && sizeof(T) <= 8);

public:
    StackItemInteger(EvaluationEnvironment& environment, const TypeItem& type)
        : StackItem(environment, type)
    {
    }

    void load(const DebuggeeLocation& location) override
    {
        unsigned char image[sizeof(T)];
        location.read(image, sizeof image);
        std::memcpy(value_, image, sizeof image);
        location_ = location;
    }

    std::uint64_t asUnsigned() const override
    {
        const std::uint64_t v = byteorder::fromBigEndian(value_, sizeof(T));
        if constexpr (std::is_signed_v<T>) {
            using U = std::make_unsigned_t<T>;
            return static_cast<std::uint64_t>(
                static_cast<std::int64_t>(static_cast<T>(static_cast<U>(v))));
        }
        return v;
    }

    // The value's bytes as the debuggee stores them.
    const unsigned char* resultBuffer() const { return value_; }

private:
    unsigned char value_[sizeof(T)] = {};
};

#endif
