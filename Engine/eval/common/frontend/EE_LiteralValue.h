#ifndef EE_LITERALVALUE_H
#define EE_LITERALVALUE_H

#include "frontend/EE_String.h"

class EE_TypeDescriptor;

// The value of a literal in an expression; the services implementation makes
// and owns the concrete values.
class EE_LiteralValue {
public:
    enum Kind : unsigned {
        Integral = 0,
        Real = 1,
        DecimalReal = 2,
        PackedDecimal = 3,
        FixedPointBinary = 4,
        Alphanumeric = 5,
        Character = 6,
        WideCharacter = 7,
        String = 8,
        WideString = 9,
        ZonedDecimal = 10,
        NationalDecimal = 11,
        National = 12,
        Dbcs = 13,
        Hexadecimal = 14
    };

    virtual EE_TypeDescriptor* typeDescriptor() const = 0;
    virtual EE_String signature() = 0;

    Kind kind;

protected:
    explicit EE_LiteralValue(Kind k) : kind(k) {}
    ~EE_LiteralValue() = default;
};

#endif
