// The decimal target: one input gives two operands with their precisions,
// scales, signed flags and sign kinds, a result precision and scale, a
// shift, a target scale and a text, and every packed and zoned routine runs
// on them: check, re-digit, scale, compress, convert to and from binary,
// long double and text, compare, add, subtract, multiply, divide, power
// and format. Counts are drawn a little beyond what the routines accept,
// so that their refusals run too. Operands and texts live in buffers of
// exactly their length, and every result is copied out for its documented
// length, so that a read or write beyond either is a sanitizer's finding.
// Rules checked besides: a readable operand compares equal to itself, and a
// result is refused (null) whenever its precision or scale is out of range.

#include <cstring>
#include <vector>

#include "FuzzTargets.h"
#include "datatypes/PackedDecimalRoutines.h"
#include "datatypes/ZonedDecimalRoutines.h"

namespace {

// Reads the input front to back; past its end every byte is 0.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::vector<unsigned char> bytes(std::size_t count)
    {
        std::vector<unsigned char> out(count == 0 ? 1 : count, 0);
        for (std::size_t i = 0; i < count; ++i)
            out[i] = byte();
        return out;
    }
    // The rest, cut to the text limit and ended at its first NUL, in a
    // buffer of exactly its length and the NUL.
    std::vector<char> text()
    {
        std::vector<char> out;
        while (at_ < size_ && out.size() < fuzzTextLimit && data_[at_] != 0)
            out.push_back(static_cast<char>(data_[at_++]));
        out.push_back('\0');
        out.shrink_to_fit();
        return out;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

struct Operand {
    int digits;
    int scale;
    int isSigned;
    int kind; // zoned sign kind, 0 to 6 (6 is none the routines know)
    std::vector<unsigned char> packed;
    std::vector<unsigned char> zoned;
};

int packedBytes(int digits)
{
    return digits / 2 + 1;
}
int zonedBytes(int digits, int kind)
{
    return digits + (kind == 4 || kind == 5 ? 1 : 0);
}
bool validCounts(int digits, int scale)
{
    return digits >= 1 && digits <= 72 && scale >= 0 && scale <= digits;
}

// Precisions 0 to 75 and scales -2 to 37: the accepted ranges and a little
// beyond them.
int drawDigits(Input& in)
{
    return in.byte() % 76;
}
int drawScale(Input& in)
{
    return in.byte() % 40 - 2;
}

Operand drawOperand(Input& in, int flags, int kind)
{
    Operand o;
    o.digits = drawDigits(in);
    o.scale = drawScale(in);
    o.isSigned = flags & 1;
    o.kind = kind;
    o.packed = in.bytes(static_cast<std::size_t>(packedBytes(o.digits)));
    o.zoned = in.bytes(static_cast<std::size_t>(zonedBytes(o.digits, kind)));
    return o;
}

// Copies a result out of its routine's area for its documented length.
void take(const unsigned char* area, int length)
{
    if (area == nullptr || length <= 0)
        return;
    std::vector<unsigned char> copy(static_cast<std::size_t>(length));
    std::memcpy(copy.data(), area, copy.size());
}

void takeText(const char* text, std::size_t limit)
{
    if (text == nullptr)
        return;
    if (::strnlen(text, limit) == limit)
        failFuzzCheck("a formatted text without its end within its area");
}

// A packed result of pr digits: refused exactly when pr or sr is out of
// range (a scale check only where the routine takes one).
void expectPacked(const unsigned char* area, int pr, int sr, bool mayRefuseOtherwise)
{
    if (!validCounts(pr, sr < 0 ? 0 : sr) || sr < 0) {
        if (area != nullptr)
            failFuzzCheck("a packed result of a precision or scale out of range");
        return;
    }
    if (area == nullptr && !mayRefuseOtherwise)
        failFuzzCheck("a packed result refused for counts in range");
    take(area, packedBytes(pr));
}

void packedRoutines(const Operand& a, const Operand& b, int pr, int sr, int shift, int targetScale, int flags,
                    const std::vector<char>& text)
{
    const unsigned char* x = a.packed.data();
    const unsigned char* y = b.packed.data();
    const int pa = a.digits, sa = a.scale, pb = b.digits, sb = b.scale;

    (void)packedSign(x, pa);
    std::vector<unsigned char> copy(a.packed);
    packedSetSign(copy.data(), pa, flags & 2 ? -1 : 1);
    dtNegatePackedDecimal(copy.data(), pa);

    if (validCounts(pa, sa)) {
        if (packedAbsCmp(x, pa, sa, x, pa, sa) != 0 ||
            dtComparePackedDecimal(x, pa, sa, a.isSigned, x, pa, sa, a.isSigned) != 0)
            failFuzzCheck("a packed operand that does not compare equal to itself");
    }
    (void)packedAbsCmp(x, pa, sa, y, pb, sb);
    (void)dtComparePackedDecimal(x, pa, sa, a.isSigned, y, pb, sb, b.isSigned);

    int allZero = 0;
    if (validCounts(pa, sa))
        expectPacked(dtConvertPackedDecimal(x, pa, sa, pr, sr, a.isSigned, &allZero), pr, sr, false);
    if (pa >= 1 && pa <= 72) {
        const int grown = pa + (shift < 0 ? -shift : shift);
        const int shrunk = pa - (shift < 0 ? -shift : shift);
        expectPacked(dtScalePackedDecimal1(x, pa, a.isSigned, shift), grown, 0, false);
        const unsigned char* compressed = dtCompressPackedDecimal1(x, pa, a.isSigned, shift);
        if (shrunk >= 1)
            take(compressed, packedBytes(shrunk));
        else if (compressed != nullptr)
            failFuzzCheck("a compressed packed result without digits");
    }

    std::uint32_t negative = 0;
    const long long value = dtConvertPackedDecimal2FixedPointBinary(x, pa, sa, &negative);
    (void)dtConvertPackedDecimal2FixedPointBinary2(x, pa, sa, a.isSigned, b.isSigned, 0, targetScale);
    expectPacked(dtConvertFixedPointBinary2PackedDecimal(value, pr, sr, a.isSigned), pr, 0, false);
    std::uint32_t digits = 0, scale = 0;
    if (const unsigned char* area = dtConvertLonglong2PackedDecimal(value, &digits, &scale))
        take(area, packedBytes(static_cast<int>(digits)));
    if (const unsigned char* area =
            dtConvertUnLonglong2PackedDecimal(static_cast<unsigned long long>(value), &digits, &scale))
        take(area, packedBytes(static_cast<int>(digits)));

    takeText(dtFormatPackedDecimal(x, pa, sa, flags & 4), 147);
    long double real = 0;
    if (makeMeLongDouble(x, pa, sa, &real) == 1)
        take(dtConvertLongDouble2PackedDecimal(real, pr, sr), validCounts(pr, sr) && sr <= 31 ? packedBytes(pr) : 0);

    take(dtAddPackedDecimal(x, pa, sa, a.isSigned, y, pb, sb, b.isSigned, pr, sr), packedBytes(pr));
    take(dtSubtractPackedDecimal(x, pa, sa, a.isSigned, y, pb, sb, b.isSigned, pr, sr), packedBytes(pr));
    take(dtMultiplyPackedDecimal(x, pa, sa, a.isSigned, y, pb, sb, b.isSigned, pr), packedBytes(pr));
    take(dtDividePackedDecimal(x, pa, sa, a.isSigned, y, pb, sb, b.isSigned, pr, sr), packedBytes(pr));
    if (flags & 8)
        take(dtPowerPackedDecimal(x, pa, sa, a.isSigned, y, pb, sb, b.isSigned, pr, sr), packedBytes(pr));
    if (validCounts(pa, sa) && validCounts(pr, 0)) {
        std::vector<unsigned char> shifted(static_cast<std::size_t>(packedBytes(pr)));
        _Shift_Right_Pckd_BCD(x, pa, shifted.data(), pr, shift, flags & 16);
        _Shift_Left_Pckd_BCD(x, pa, shifted.data(), pr, shift);
    }

    (void)dtConvertPDstring2LongLong(text.data(), flags & 32);
    std::vector<unsigned char> scanned(PackedDecimalMaxBytes);
    if (scanPackedDecimal(text.data(), pr, sr, scanned.data()) != 0 && !validCounts(pr, sr))
        failFuzzCheck("a text scanned into a precision or scale out of range");
    take(dtConvertPDstring2PackedDecimal(text.data(), pr, sr), validCounts(pr, sr) && sr <= 31 ? packedBytes(pr) : 0);
    std::vector<unsigned char> literal(31);
    (void)dtGetPackedDecimalWithPropertries(text.data(), literal.data(), &digits, &scale);
}

void zonedRoutines(const Operand& a, const Operand& b, int pr, int sr, int shift, int targetScale, int flags,
                   const std::vector<char>& text)
{
    const unsigned char* x = a.zoned.data();
    const unsigned char* y = b.zoned.data();
    const int pa = a.digits, sa = a.scale, pb = b.digits, sb = b.scale;
    const int resultKind = b.kind;

    if (validCounts(pa, sa) && a.kind <= 5 && dtCompareZonedDecimal(x, pa, sa, a.kind, x, pa, sa, a.kind, 0) != 0)
        failFuzzCheck("a zoned operand that does not compare equal to itself");
    (void)dtCompareZonedDecimal(x, pa, sa, a.kind, y, pb, sb, b.kind, 0);
    // National operands, two bytes a character and a sign unit of two:
    // as many characters as the operands' bytes hold.
    if (a.kind >= 4 && a.kind <= 5 && b.kind >= 4 && b.kind <= 5 && pa >= 1 && pb >= 1) {
        const int na = (pa - 1) / 2, nb = (pb - 1) / 2;
        (void)dtCompareZonedDecimal(x, na, sa < na ? sa : na, a.kind, y, nb, sb < nb ? sb : nb, b.kind, 1);
    }

    if (const unsigned char* area = dtConvertZonedDecimal(x, pa, sa, a.kind, pr, sr, resultKind))
        take(area, zonedBytes(pr, resultKind));
    if (const unsigned char* area = dtCopyZonedDecimal(x, pa, 0, a.kind))
        take(area, zonedBytes(pa, a.kind));
    std::vector<unsigned char> copy(a.zoned);
    if (pa >= 1)
        dtNegateZonedDecimal(copy.data(), pa, a.kind);
    const int magnitude = shift < 0 ? -shift : shift;
    if (const unsigned char* area = dtScaleZonedDecimal1(x, pa, a.kind, shift))
        take(area, zonedBytes(pa + magnitude, a.kind));
    if (const unsigned char* area = dtCompressZonedDecimal1(x, pa, a.kind, shift))
        take(area, zonedBytes(pa - magnitude, a.kind));

    std::uint32_t sign = 0;
    const std::int64_t value = dtConvertZonedDecimal2FixedPointBinary(x, pa, 0, a.isSigned, a.kind, &sign, flags & 2);
    (void)dtConvertZonedDecimal2FixedPointBinary2(x, pa, sa, a.isSigned, a.kind, b.isSigned, 0, targetScale);
    if (const unsigned char* area =
            dtConvertFixedPointBinary2ZonedDecimal(static_cast<std::uint64_t>(value), pr, 0, a.isSigned, resultKind))
        take(area, zonedBytes(pr, resultKind));
    std::uint32_t digits = 0, decimals = 0;
    if (const unsigned char* area = dtConvertLonglong2ZonedDecimal(value, &digits, &decimals))
        take(area, static_cast<int>(digits));
    if (const unsigned char* area =
            dtConvertUnLonglong2ZonedDecimal(static_cast<unsigned long long>(value), &digits, &decimals))
        take(area, static_cast<int>(digits));
    if (const unsigned char* area =
            dtConvertCharstring2ZonedDecimal(reinterpret_cast<const unsigned char*>(text.data()), &digits, &decimals))
        take(area, static_cast<int>(digits));

    if (const unsigned char* area = dtConvertPackedDecimal2ZonedDecimal(a.packed.data(), pa, 0, a.isSigned))
        take(area, pa);
    if (const unsigned char* area = dtConvertZonedDecimal2PackedDecimal(x, pa, 0, a.isSigned, a.kind))
        take(area, packedBytes(pa));

    // The arithmetic reads its operands as kind 3 (sign in the last digit).
    if (a.kind == 3 || b.kind == 3 || (flags & 64)) {
        take(dtAddZonedDecimal(x, pa, sa, y, pb, sb, pr, sr), pr);
        take(dtSubtractZonedDecimal(x, pa, sa, y, pb, sb, pr, sr), pr);
        take(dtMultiplyZonedDecimal(x, pa, sa, y, pb, sb, pr, sr), pr);
        take(dtDivideZonedDecimal(x, pa, sa, y, pb, sb, pr, sr), pr);
        if (flags & 8)
            take(dtPowerZonedDecimal(x, pa, sa, y, pb, sb, pr, sr), pr);
    }

    takeText(dtFormatZonedDecimal(x, pa, sa, a.kind), 160);
    (void)dtConvertZDstring2LongLong(text.data(), flags & 32);
    if (const unsigned char* area = dtConvertZDstring2ZonedDecimal(text.data(), pr, sr))
        take(area, pr);
    std::vector<unsigned char> literal(31);
    (void)dtGetZonedDecimalWithPropertries(text.data(), literal.data(), &digits, &decimals);
}

} // namespace

int fuzzDecimal(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    const int flags = in.byte();
    const int kinds = in.byte();
    const int pr = drawDigits(in);
    const int sr = drawScale(in);
    const int shift = static_cast<signed char>(in.byte()) % 80;
    const int targetScale = static_cast<signed char>(in.byte()) % 20;
    const Operand a = drawOperand(in, flags >> 7, kinds % 7);
    const Operand b = drawOperand(in, flags >> 6, kinds / 7 % 7);
    const std::vector<char> text = in.text();
    packedRoutines(a, b, pr, sr, shift, targetScale, flags, text);
    zonedRoutines(a, b, pr, sr, shift, targetScale, flags, text);
    return 0;
}
