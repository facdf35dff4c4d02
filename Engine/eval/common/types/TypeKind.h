#ifndef NORVEXA_TYPES_TYPEKIND_H
#define NORVEXA_TYPES_TYPEKIND_H

// The evaluator's classification of a type. The stack-value factories, the
// formatters and the update code dispatch on it instead of on host leaf
// codes. The values are stored and compared as numbers.
enum TypeKind : int {
    t_bool = 0,
    t_shortBool = 1,
    t_longBool = 2,
    t_longLongBool = 3,
    t_char = 4,
    t_signedChar = 5,
    t_unsignedChar = 6,
    t_signedShortInt = 7,
    t_unsignedShortInt = 8,
    t_signedInt = 9,
    t_unsignedInt = 10,
    t_signedLongInt = 11,
    t_unsignedLongInt = 12,
    t_signedLongLongInt = 13,
    t_unsignedLongLongInt = 14,
    t_float = 15,
    t_float_quvhex = 16,
    t_double = 17,
    t_double_quvhex = 18,
    t_longDouble = 19,
    t_longDouble_quvhex = 20,
    t_complexFloat = 21,
    t_complexDouble = 22,
    t_complexLongDouble = 23,
    t_pointer = 24,
    t_f90Pointer = 25,
    t_unused26 = 26, // never produced
    t_array = 27,
    t_enum = 28,
    t_reference = 29,
    t_namedType = 30,
    t_void = 31,
    t_wchar_t = 32,
    t_function = 33,
    t_decimal32 = 34,
    t_decimal64 = 35,
    t_decimal128 = 36,
    t_packedDecimal = 37,
    t_fixedPointBinary = 38,
    t_characterString = 39,
    t_arraySection = 40,
    t_anyIR = 41,
    t_anyIRZ = 42,
    t_anyIRZCL = 43,
    t_zonedDecimal = 44,
    t_nationalDecimal = 45,
    t_nationalString = 46,
    t_indexName = 47,
    t_indexDataItem = 48,
    t_externalFloat = 49,
    t_alphaNumericEdited = 50,
    t_numericEdited = 51,
    t_nationalExternalFloat = 52,
    t_nationalEdited = 53,
    t_nationalNumericEdited = 54,
    t_filedesc = 55,
    t_addressOfReference = 56,
    t_dbcsString = 57,
    t_dbcsEdited = 58,
    t_complexFloat_quvhex = 59,
    t_complexDouble_quvhex = 60,
    t_complexLongDouble_quvhex = 61,
};

enum : int {
    TypeKindCount = 62
};

// The traced name of a kind ("t_bool" ...); "" for 26 and for values out of
// range.
const char* typeKindName(TypeKind kind);

#endif
