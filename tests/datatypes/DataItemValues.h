#ifndef NORVEXA_TESTS_DATATYPES_DATAITEMVALUES_H
#define NORVEXA_TESTS_DATATYPES_DATAITEMVALUES_H

// Records, byte texts and a fixture for the tests of the data-item value
// classes.

#include <gtest/gtest.h>

#include "HostRecords.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "testhost/TestHostFixture.h"

#include <plomkit/ByteString.h>

#include <cstring>
#include <string>

namespace dataitemtest {

// Bytes from hex text ("123C"; blanks allowed).
inline ByteString bs(const std::string& hex)
{
    ByteString out;
    std::string digits;
    for (char c : hex)
        if (c != ' ')
            digits += c;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        out += static_cast<unsigned char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    return out;
}

inline std::string hex(const ByteString& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned i = 0; i < bytes.length(); ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

// National digit units from ASCII text: each character one UTF-16BE unit.
inline ByteString nat(const std::string& text)
{
    ByteString out;
    for (char c : text) {
        out += static_cast<unsigned char>(0);
        out += static_cast<unsigned char>(c);
    }
    return out;
}

inline TNpacked_decimal packedRec(int p, int d, bool isSigned = true)
{
    TNpacked_decimal r{};
    r.leaf = TE_PACKED_DECIMAL;
    r.precision = static_cast<UBYTE1>(p);
    r.decimalPlaces = static_cast<UBYTE1>(d);
    r.flags = isSigned ? 3 : 1;
    r.byteLength = static_cast<UBYTE1>(p / 2 + 1);
    r.scale = static_cast<signed char>(-d);
    return r;
}

// A P-scaled packed record: precision p and scale t as declared.
inline TNpacked_decimal packedScaled(int p, int t, bool isSigned = true)
{
    TNpacked_decimal r = packedRec(p, 0, isSigned);
    r.scale = static_cast<signed char>(t);
    r.decimalPlaces = static_cast<UBYTE1>(t < 0 ? -t : 0);
    return r;
}

inline TNzoned_decimal zonedRec(int p, int d, int kind = 3, bool isSigned = true)
{
    TNzoned_decimal r{};
    r.leaf = TE_ZONED_DECIMAL;
    r.precision = static_cast<UBYTE1>(p);
    r.decimalPlaces = static_cast<UBYTE1>(d);
    r.signKind = static_cast<TN_DecimalSign>(kind);
    r.flags = isSigned ? 3 : 1;
    r.byteLength = static_cast<UBYTE1>(p + ((kind == 4 || kind == 5) ? 1 : 0));
    r.scale = static_cast<signed char>(-d);
    return r;
}

inline TNzoned_decimal zonedScaled(int p, int t, int kind = 3, bool isSigned = true)
{
    TNzoned_decimal r = zonedRec(p, 0, kind, isSigned);
    r.scale = static_cast<signed char>(t);
    r.decimalPlaces = static_cast<UBYTE1>(t < 0 ? -t : 0);
    return r;
}

inline TNnational_decimal nationalRec(int p, int d, int kind = 5, bool isSigned = true)
{
    TNnational_decimal r{};
    r.leaf = TE_NATIONAL_DECIMAL;
    r.precision = static_cast<UBYTE1>(p);
    r.decimalPlaces = static_cast<UBYTE1>(d);
    r.signKind = static_cast<TN_DecimalSign>(kind);
    r.flags = isSigned ? 3 : 1;
    r.byteLength = static_cast<UBYTE1>(2 * p + (isSigned ? 2 : 0));
    r.scale = static_cast<signed char>(-d);
    return r;
}

inline TNfixed_point_binary binaryRec(int length, int p, int scale, bool isSigned)
{
    TNfixed_point_binary r{};
    r.leaf = TE_FIXED_POINT_BINARY;
    r.flags = isSigned ? TN_BinarySigned : 0;
    r.byteLength = static_cast<UBYTE1>(length);
    r.precision = static_cast<UBYTE1>(p);
    r.scale = static_cast<signed char>(scale);
    return r;
}

// The code of the InvalidOp that f throws; 0 when it throws none.
template <class F>
int codeOf(F&& f)
{
    try {
        f();
    } catch (const InvalidOp& e) {
        return e.code();
    }
    return 0;
}

// A type entry holding a record, for the constructors that take a type.
template <class Record>
_TYPE_ENTRY entryOf(const Record& record)
{
    _TYPE_ENTRY entry{};
    std::memcpy(&entry, &record, sizeof record);
    return entry;
}

// A simulated host and a current COBOL request.
class DataItemTest : public TestHostFixture {
protected:
    DataItemTest() : TestHostFixture(false) {}
    void SetUp() override
    {
        TestHostFixture::SetUp();
        env.makeCurrent(nullptr);
    }

    ExpressionRepresentation env{6, nullptr};
};

} // namespace dataitemtest

#endif
