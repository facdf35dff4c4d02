#include "datatypes/ZfloatingPoint.h"

#include "datatypes/ZhexFP128.h"
#include "datatypes/ZhexFP32.h"
#include "datatypes/ZhexFP64.h"
#include "datatypes/ZieeeFP128.h"
#include "datatypes/ZieeeFP32.h"
#include "datatypes/ZieeeFP64.h"
#include "services/InvalidOp.h"

bool ZfloatingPoint::ldToZfp(void* target, unsigned int size, bool hex, ldouble_t value)
{
    if (size != 4 && size != 8 && size != 16)
        return false;
    if (target == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other,
                        "static bool ZfloatingPoint::ldToZfp(void*, unsigned int, bool, ldouble_t)", __LINE__);

    if (!hex) {
        switch (size) {
        case 4: return ZieeeFP32::ldToZfp(target, value);
        case 8: return ZieeeFP64::ldToZfp(target, value);
        default: return ZieeeFP128::ldToZfp(target, value);
        }
    }
    if (size == 16)
        return ZhexFP128::ldToZfp(target, value);

    double const rounded = static_cast<double>(value);
    bool const stored = size == 4 ? ZhexFP32::ldToZfp(target, rounded) : ZhexFP64::ldToZfp(target, rounded);
    // A nonzero value that underflows to a double zero was flushed, not
    // stored as it is.
    return stored && !(rounded == 0 && value != 0);
}

ldouble_t ZfloatingPoint::ldFromZfp(void const* source, unsigned int size, bool hex)
{
    static char const function[] = "static ldouble_t ZfloatingPoint::ldFromZfp(const void*, unsigned int, bool)";
    if (size != 4 && size != 8 && size != 16)
        throw InvalidOp(InvalidOp::RTRC_NotSupported, function, __LINE__);
    if (source == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, function, __LINE__);

    if (hex) {
        switch (size) {
        case 4: return ZhexFP32(source).value();
        case 8: return ZhexFP64(source).value();
        default: return ZhexFP128(source).value();
        }
    }
    switch (size) {
    case 4: return ZieeeFP32(source).value();
    case 8: return ZieeeFP64(source).value();
    default: return ZieeeFP128(source).value();
    }
}
