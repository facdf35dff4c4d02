#include "types/PrimitiveType.h"

namespace {

using F = TypeFlags;

const PrimitiveType primitives[] = {
    {128, "signed char", nullptr, nullptr, 1, F::character, t_signedChar},
    {129, "short", nullptr, nullptr, 2, F::integral, t_signedShortInt},
    {130, "int", nullptr, nullptr, 4, F::integral, t_signedLongInt},
    {132, "unsigned char", nullptr, nullptr, 1, F::character, t_unsignedChar},
    {133, "unsigned short", nullptr, nullptr, 2, F::integral, t_unsignedShortInt},
    {134, "unsigned int", nullptr, nullptr, 4, F::integral, t_unsignedLongInt},
    {136, "float", "COMP-1", nullptr, 4, F::floating, t_float},
    {137, "double", "COMP-2", nullptr, 8, F::floating, t_double},
    {138, "long double", nullptr, nullptr, 16, F::floating, t_longDouble},
    {139, "long double", nullptr, nullptr, 12, F::floating, t_longDouble},
    {140, "float _Complex", nullptr, nullptr, 8, F::complex, t_complexFloat},
    {141, "double _Complex", nullptr, nullptr, 16, F::complex, t_complexDouble},
    {142, "long double _Complex", nullptr, nullptr, 32, F::complex, t_complexLongDouble},
    {143, "long double _Complex", nullptr, nullptr, 24, F::complex, t_complexLongDouble},
    {144, "bool", "CONDITION-NAME", nullptr, 1, F::boolean, t_bool},
    {145, "bool", "CONDITION-NAME", nullptr, 2, F::boolean, t_shortBool},
    {146, "bool", "CONDITION-NAME", nullptr, 4, F::boolean, t_longBool},
    {148, "char", nullptr, nullptr, 1, F::integral, -1},
    {149, "wchar_t", nullptr, nullptr, 2, F::wchar, t_wchar_t},
    {150, "wchar_t", nullptr, nullptr, 4, F::wchar, t_wchar_t},
    {151, "void", nullptr, nullptr, 0, F::voidType, t_void},
    {155, "long long", nullptr, "long", 8, F::integral, t_signedLongLongInt},
    {156, "unsigned long long", nullptr, "unsigned long", 8, F::integral, t_unsignedLongLongInt},
    {157, "bool", "CONDITION-NAME", nullptr, 8, F::boolean, t_longLongBool},
    {159, "_Decimal32", nullptr, nullptr, 4, F::floating, t_decimal32},
    {192, "_Decimal64", nullptr, nullptr, 8, F::floating, t_decimal64},
    {193, "_Decimal128", nullptr, nullptr, 16, F::floating, t_decimal128},
    {194, nullptr, nullptr, nullptr, 0, F::ellipsis, -1},
    {195, nullptr, nullptr, nullptr, 24, F::arraySection, -1},
    {196, "float", "COMP1", nullptr, 4, F::floating, t_float_quvhex},
    {197, "double", "COMP2", nullptr, 8, F::floating, t_double_quvhex},
    {198, "long double", nullptr, nullptr, 16, F::floating, t_longDouble_quvhex},
    {199, nullptr, nullptr, nullptr, 0, F::anyIR, t_anyIR},
    {200, nullptr, nullptr, nullptr, 0, F::anyIRZ, t_anyIRZ},
    {201, nullptr, nullptr, nullptr, 0, F::anyIRZCL, t_anyIRZCL},
    {203, "float _Complex", nullptr, nullptr, 8, F::complex, t_complexFloat_quvhex},
    {204, "double _Complex", nullptr, nullptr, 16, F::complex, t_complexDouble_quvhex},
    {205, "long double _Complex", nullptr, nullptr, 32, F::complex, t_complexLongDouble_quvhex},
};

} // namespace

const PrimitiveType* PrimitiveType::find(unsigned code)
{
    for (const PrimitiveType& p : primitives)
        if (p.code == code)
            return &p;
    return nullptr;
}

unsigned PrimitiveType::integerBytes(unsigned code)
{
    switch (code) {
    case signedChar:
    case unsignedChar:
    case bool1:
    case plainChar: return 1;
    case shortInt:
    case unsignedShort:
    case bool2:
    case wchar2: return 2;
    case int4:
    case unsignedInt:
    case bool4:
    case wchar4: return 4;
    case longLong:
    case unsignedLongLong:
    case bool8: return 8;
    default: return 0;
    }
}
