#include "PackedOperands.h"

#include <stdexcept>

#include "datatypes/PackedDecimalRoutines.h"

namespace {

std::vector<unsigned char> packed(const char* text, int digits, int scale)
{
    const unsigned char* area = dtConvertPDstring2PackedDecimal(text, digits, scale);
    if (area == nullptr)
        throw std::logic_error(text);
    return std::vector<unsigned char>(area, area + digits / 2 + 1);
}

} // namespace

const PackedOperands& packedOperands(int digits)
{
    // 123456.78 and 987.65 as S9(13)V99; 12345678901234.5678 and
    // 98765432.1098 as S9(27)V9(4): products and quotients fit their fields.
    static const PackedOperands fifteen{15, 2, packed("-123456.78", 15, 2), packed("987.65", 15, 2), 15, 15};
    static const PackedOperands thirtyOne{31, 4, packed("-12345678901234.5678", 31, 4), packed("98765432.1098", 31, 4),
                                          31, 31};
    return digits == 15 ? fifteen : thirtyOne;
}

const unsigned char* packedOurs(PackedOperation operation, const PackedOperands& o, int* digits)
{
    switch (operation) {
    case PackedOperation::add:
        *digits = o.digits;
        return dtAddPackedDecimal(o.a.data(), o.digits, o.scale, 1, o.b.data(), o.digits, o.scale, 1, o.digits,
                                  o.scale);
    case PackedOperation::subtract:
        *digits = o.digits;
        return dtSubtractPackedDecimal(o.a.data(), o.digits, o.scale, 1, o.b.data(), o.digits, o.scale, 1, o.digits,
                                       o.scale);
    case PackedOperation::multiply:
        *digits = o.productDigits;
        return dtMultiplyPackedDecimal(o.a.data(), o.digits, o.scale, 1, o.b.data(), o.digits, o.scale, 1,
                                       o.productDigits);
    case PackedOperation::divide:
        *digits = o.quotientDigits;
        return dtDividePackedDecimal(o.a.data(), o.digits, o.scale, 1, o.b.data(), o.digits, o.scale, 1,
                                     o.quotientDigits, o.scale);
    }
    return nullptr;
}
