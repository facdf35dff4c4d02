#include "datatypes/IndexValueSupport.h"

#include "datatypes/DataItemSupport.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalDecimalRoutines.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/PackedDecimalRoutines.h"
#include "datatypes/ZonedDecimal.h"
#include "datatypes/ZonedDecimalRoutines.h"

#include <cmath>
#include <cstring>

namespace indexvalue {

std::uint64_t read(const void* bytes, unsigned length, const char* function, unsigned line)
{
    switch (length) {
    case 1: {
        std::uint8_t v;
        std::memcpy(&v, bytes, 1);
        return v;
    }
    case 2: {
        std::uint16_t v;
        std::memcpy(&v, bytes, 2);
        return v;
    }
    case 4: {
        std::uint32_t v;
        std::memcpy(&v, bytes, 4);
        return v;
    }
    case 8: {
        std::uint64_t v;
        std::memcpy(&v, bytes, 8);
        return v;
    }
    default: dataitem::refuse(InvalidOp::RTRC_Other, function, line);
    }
}

void write(std::uint64_t value, void* bytes, unsigned size, const char* function, unsigned line)
{
    switch (size) {
    case 1: {
        const std::uint8_t v = static_cast<std::uint8_t>(value);
        std::memcpy(bytes, &v, 1);
        break;
    }
    case 2: {
        const std::uint16_t v = static_cast<std::uint16_t>(value);
        std::memcpy(bytes, &v, 2);
        break;
    }
    case 4: {
        const std::uint32_t v = static_cast<std::uint32_t>(value);
        std::memcpy(bytes, &v, 4);
        break;
    }
    case 8: std::memcpy(bytes, &value, 8); break;
    default: dataitem::refuse(InvalidOp::RTRC_Other, function, line);
    }
}

std::uint64_t truncated(long double value)
{
    if (std::isnan(value))
        return 0;
    const bool negative = value < 0;
    const long double m = truncl(fabsl(value));
    std::uint64_t v;
    if (m >= 18446744073709551615.0L)
        v = UINT64_MAX;
    else
        v = static_cast<std::uint64_t>(m);
    return negative ? 0 - v : v;
}

std::uint64_t fromText(const char* text)
{
    std::uint64_t v = 0;
    for (const char* c = text; c != nullptr && *c != '\0'; ++c)
        if (*c >= '0' && *c <= '9')
            v = v * 10 + static_cast<std::uint64_t>(*c - '0');
    if (text != nullptr && text[0] == '-')
        v = 0 - v;
    return v;
}

std::uint64_t integerOf(const PackedDecimal& source)
{
    const TNpacked_decimal& r = source.record();
    ByteString in = dataitem::atLeast(source.bytes(), static_cast<unsigned>(r.precision / 2 + 1));
    return static_cast<std::uint64_t>(
        dtConvertPackedDecimal2FixedPointBinary(in.data(), r.precision, r.decimalPlaces, nullptr));
}

std::uint64_t integerOf(const ZonedDecimal& source)
{
    const TNzoned_decimal& r = source.record();
    ByteString in = dataitem::atLeast(source.bytes(), static_cast<unsigned>(r.precision + 1));
    std::uint32_t sign = 0;
    return static_cast<std::uint64_t>(dtConvertZonedDecimal2FixedPointBinary(
        in.data(), r.precision, 0, source.isSigned(), source.signKind(), &sign, 0));
}

std::uint64_t integerOf(const NationalDecimal& source)
{
    const TNnational_decimal& r = source.record();
    ByteString in = dataitem::atLeast(source.bytes(), static_cast<unsigned>(2 * r.precision + 2));
    std::uint32_t negative = 0;
    return static_cast<std::uint64_t>(dtConvertNationalDecimal2FixedPointBinary(in.data(), r.precision, r.decimalPlaces,
                                                                                &negative, source.routineSignKind()));
}

std::uint64_t integerInto(const PackedDecimal& source)
{
    const TNpacked_decimal& r = source.record();
    ByteString in = dataitem::atLeast(source.bytes(), static_cast<unsigned>(r.precision / 2 + 1));
    // Units of 10^-decimals: every digit stands, as in the one-argument
    // conversion.
    return static_cast<std::uint64_t>(dtConvertPackedDecimal2FixedPointBinary2(
        in.data(), r.precision, r.decimalPlaces, 0, source.isSigned(), 0, -static_cast<int>(r.decimalPlaces)));
}

} // namespace indexvalue
