#include "services/Register.h"

#include <cstdio>
#include <cstring>

#include "services/ByteOrder.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"

namespace {

const LCC_Eval_Context_Info* currentContext()
{
    return EvaluationEnvironment::currentRep()->context();
}

// The host's raw register contents (host byte order) of an extended-precision
// register as a long double: the 80-bit value in the low 10 bytes.
long double extendedValue(const unsigned char* raw)
{
    long double v = 0;
    unsigned char bytes[sizeof(long double)] = {};
    std::memcpy(bytes, raw, 10);
    std::memcpy(&v, bytes, sizeof v);
    return v;
}

template <class F>
void storeBigEndian(void* buffer, F value)
{
    unsigned char image[sizeof(F)];
    std::memcpy(image, &value, sizeof value);
    byteorder::reverseCopy(buffer, image, sizeof(F));
}

} // namespace

unsigned Register::typeAndSize(UBYTE2& type) const
{
    if (bytes_ == 0) {
        UBYTE2 hostType = 0;
        UBYTE2 bits = 0;
        SVC::ExprQueryRegisterInfo(currentContext(), id_, &hostType, &bits);
        type = hostType;
        if (bits == 0 || (bits > 8 && bits % 8 != 0) || (bits + 7u) / 8u > 12)
            return 0;
        bytes_ = (bits + 7u) / 8u;
        hostType_ = hostType;
    }
    type = static_cast<UBYTE2>(hostType_);
    return bytes_;
}

UBYTEP Register::id(const char* name)
{
    return SVC::ExprQueryRegisterId(currentContext(), reinterpret_cast<UBYTE1*>(const_cast<char*>(name)));
}

char* Register::format(char* buffer) const
{
    static thread_local char shared[40];
    char* out = buffer != nullptr ? buffer : shared;
    if (id_ == 0)
        std::snprintf(out, sizeof shared, "%s", "Invalid Register");
    else
        std::snprintf(out, sizeof shared, "register %p", reinterpret_cast<void*>(id_));
    return out;
}

TYPE_INDEX Register::datatype() const
{
    UBYTE2 type = 0;
    const unsigned size = typeAndSize(type);
    unsigned code = 0;
    if (type == integerRegister) {
        switch (size) {
        case 1: code = 132; break;
        case 2: code = 133; break;
        case 4: code = 134; break;
        case 8: code = 156; break;
        default: break;
        }
    } else if (type == floatRegister) {
        switch (size) {
        case 4: code = 136; break;
        case 8: code = 137; break;
        case 12: code = 138; break;
        default: break;
        }
    }
    TYPE_INDEX t{};
    t.module = 0;
    t.index = code;
    return t;
}

unsigned Register::read(void* buffer, unsigned count) const
{
    UBYTE2 type = 0;
    const unsigned size = typeAndSize(type);
    if (buffer == nullptr || count == 0 || count > size)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);

    if (count == size) {
        if (!byteorder::reversibleSize(size))
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        SVC::ExprGetRegisterValue(currentContext(), id_, static_cast<UBYTE1*>(buffer));
        byteorder::reverseCopy(buffer, buffer, size);
        return count;
    }

    // Narrowed read: the whole register, then the part asked for.
    unsigned char raw[16] = {};
    SVC::ExprGetRegisterValue(currentContext(), id_, raw);
    if (type == integerRegister && (size == 2 || size == 4 || size == 8) && (count == 1 || count == 2 || count == 4)) {
        // raw holds the value in host order: its low-order bytes come first.
        byteorder::reverseCopy(buffer, raw, count);
        return count;
    }
    if (type == floatRegister) {
        if (size == 8 && count == 4) {
            double d;
            std::memcpy(&d, raw, sizeof d);
            storeBigEndian(buffer, static_cast<float>(d));
            return count;
        }
        if (size == 12 && (count == 8 || count == 4)) {
            const long double v = extendedValue(raw);
            if (count == 8)
                storeBigEndian(buffer, static_cast<double>(v));
            else
                storeBigEndian(buffer, static_cast<float>(v));
            return count;
        }
    }
    throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
}

unsigned Register::write(const void* buffer, unsigned count, int) const
{
    UBYTE2 type = 0;
    const unsigned size = typeAndSize(type);
    if (buffer == nullptr || count == 0 || count != size || !byteorder::reversibleSize(size))
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    unsigned char scratch[16];
    byteorder::reverseCopy(scratch, buffer, size);
    SVC::ExprSetRegisterValue(currentContext(), id_, scratch);
    return count;
}
