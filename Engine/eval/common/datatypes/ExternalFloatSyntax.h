#ifndef NORVEXA_DATATYPES_EXTERNALFLOATSYNTAX_H
#define NORVEXA_DATATYPES_EXTERNALFLOATSYNTAX_H

// The syntax check shared by the external floating-point items of both
// encodings: a sign (or blank), mantissa digits with at most one point, an E,
// an exponent sign (or blank) and two exponent digits; an all-blank value is
// valid. The encodings differ only in their characters.

#include "datatypes/DataError.h"

namespace externalfloat {

// The characters of one encoding; isDigit tells its digits.
struct Alphabet {
    unsigned blank;
    unsigned plus;
    unsigned minus;
    unsigned point;
    unsigned e;
    bool (*isDigit)(unsigned);
};

// Whether the count characters at(0) .. at(count - 1) form a valid value;
// when not, *error (if given) says why.
template <class At>
bool isValid(unsigned count, At at, const Alphabet& a, DataError* error)
{
    auto fail = [&](DataError e) {
        if (error != nullptr)
            *error = e;
        return false;
    };
    if (count == 0)
        return true;
    const unsigned first = at(0);
    if (first != a.blank && first != a.plus && first != a.minus)
        return fail(DataErrorBadSign);
    bool empty = first == a.blank;
    bool mantissaDigit = false;
    bool pointSeen = false;
    bool eSeen = false;
    bool exponentSign = false;
    int exponentDigits = 0;
    unsigned last = first;
    for (unsigned i = 1; i < count; ++i) {
        const unsigned c = at(i);
        last = c;
        if (c == a.blank) {
            if (empty)
                continue;
            if (eSeen && !exponentSign && exponentDigits == 0) {
                exponentSign = true;
                continue;
            }
            return fail(DataErrorBadDigit);
        }
        empty = false;
        if (c == a.point) {
            if (pointSeen || eSeen)
                return fail(DataErrorBadDigit);
            pointSeen = true;
        } else if (c == a.e) {
            if (eSeen || !mantissaDigit)
                return fail(DataErrorBadDigit);
            eSeen = true;
        } else if (c == a.plus || c == a.minus) {
            if (!eSeen || exponentSign || exponentDigits != 0)
                return fail(DataErrorBadDigit);
            exponentSign = true;
        } else if (a.isDigit(c)) {
            if (eSeen) {
                if (!exponentSign)
                    return fail(DataErrorBadSign);
                ++exponentDigits;
            } else {
                mantissaDigit = true;
            }
        } else {
            return fail(eSeen && !exponentSign ? DataErrorBadSign : DataErrorBadDigit);
        }
    }
    if (empty)
        return true;
    if (!eSeen || !exponentSign || exponentDigits != 2 || !a.isDigit(last))
        return fail(DataErrorBadDigit);
    return true;
}

} // namespace externalfloat

#endif
