#include "types/TypeKind.h"

namespace {

const char* const kindNames[TypeKindCount] = {
    "t_bool", "t_shortBool", "t_longBool", "t_longLongBool", "t_char", "t_signedChar",
    "t_unsignedChar", "t_signedShortInt", "t_unsignedShortInt", "t_signedInt", "t_unsignedInt",
    "t_signedLongInt", "t_unsignedLongInt", "t_signedLongLongInt", "t_unsignedLongLongInt",
    "t_float", "t_float_quvhex", "t_double", "t_double_quvhex", "t_longDouble",
    "t_longDouble_quvhex", "t_complexFloat", "t_complexDouble", "t_complexLongDouble",
    "t_pointer", "t_f90Pointer", "", "t_array", "t_enum", "t_reference", "t_namedType", "t_void",
    "t_wchar_t", "t_function", "t_decimal32", "t_decimal64", "t_decimal128", "t_packedDecimal",
    "t_fixedPointBinary", "t_characterString", "t_arraySection", "t_anyIR", "t_anyIRZ",
    "t_anyIRZCL", "t_zonedDecimal", "t_nationalDecimal", "t_nationalString", "t_indexName",
    "t_indexDataItem", "t_externalFloat", "t_alphaNumericEdited", "t_numericEdited",
    "t_nationalExternalFloat", "t_nationalEdited", "t_nationalNumericEdited", "t_filedesc",
    "t_addressOfReference", "t_dbcsString", "t_dbcsEdited", "t_complexFloat_quvhex",
    "t_complexDouble_quvhex", "t_complexLongDouble_quvhex",
};

}  // namespace

const char* typeKindName(TypeKind kind)
{
    int k = static_cast<int>(kind);
    return (k >= 0 && k < TypeKindCount) ? kindNames[k] : "";
}
