#include "machine/ExternalFloatOrder.h"

#include <string>

#include "datatypes/ExternalFloat.h"

namespace {

constexpr unsigned char kBlank = 0x40;
constexpr unsigned char kPoint = 0x4B;
constexpr unsigned char kComma = 0x6B;
constexpr unsigned char kMinus = 0x60;
constexpr unsigned char kE = 0xC5;
constexpr unsigned char kImplied = 0xE6;

bool isDigit(unsigned char c)
{
    return c >= 0xF0 && c <= 0xF9;
}

// A number as sign, significant digits (no leading or trailing zero, as
// ASCII) and the power of ten of the last digit.
struct Exact {
    int sign = 0; // -1, 0 or 1
    std::string digits;
    long exponent = 0;
};

bool read(const ExternalFloat& value, Exact& out)
{
    DataError error = DataErrorNone;
    if (!value.isValidExternalFloat(&error))
        return false;
    const ByteString& b = value.bytes();
    const unsigned n = static_cast<unsigned>(b.length());
    unsigned i = 0;
    bool negative = false;
    if (i < n) {
        negative = b[i] == kMinus;
        ++i;
    }
    std::string digits;
    long fraction = 0;
    bool pointSeen = false;
    for (; i < n && b[i] != kE; ++i) {
        const unsigned char c = b[i];
        if (isDigit(c)) {
            digits.push_back(static_cast<char>('0' + (c - 0xF0)));
            if (pointSeen)
                ++fraction;
        } else if (c == kPoint || c == kComma) {
            pointSeen = true;
        } else if (c != kBlank) {
            return false;
        }
    }
    if (!pointSeen && !digits.empty()) {
        // An implied point: the picture tells the fraction digits.
        int integerDigits = 0;
        int fractionDigits = 0;
        char point = 0;
        value.getPicAttributes(&integerDigits, &fractionDigits, &point, nullptr, nullptr);
        if (static_cast<unsigned char>(point) == kImplied)
            fraction = fractionDigits;
    }
    long exponent = 0;
    bool exponentNegative = false;
    if (i < n && b[i] == kE) {
        for (++i; i < n; ++i) {
            const unsigned char c = b[i];
            if (c == kMinus)
                exponentNegative = true;
            else if (isDigit(c))
                exponent = exponent * 10 + (c - 0xF0);
        }
    }
    if (exponentNegative)
        exponent = -exponent;
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        out = Exact{};
        return true;
    }
    const auto last = digits.find_last_not_of('0');
    out.sign = negative ? -1 : 1;
    out.digits = digits.substr(first, last - first + 1);
    out.exponent = exponent - fraction + static_cast<long>(digits.size() - 1 - last);
    return true;
}

// -1, 0 or 1 for the magnitudes of two non-zero numbers.
int compareMagnitude(const Exact& a, const Exact& b)
{
    // The power of ten of the leading digit decides first.
    const long leadA = a.exponent + static_cast<long>(a.digits.size());
    const long leadB = b.exponent + static_cast<long>(b.digits.size());
    if (leadA != leadB)
        return leadA < leadB ? -1 : 1;
    const int c = a.digits.compare(b.digits);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

} // namespace

namespace externalfloatorder {

int compare(const ExternalFloat& left, const ExternalFloat& right)
{
    Exact a;
    Exact b;
    if (!read(left, a) || !read(right, b))
        return left.compare(right);
    if (a.sign != b.sign)
        return a.sign < b.sign ? -1 : 1;
    if (a.sign == 0)
        return 0;
    const int m = compareMagnitude(a, b);
    return a.sign > 0 ? m : -m;
}

} // namespace externalfloatorder
