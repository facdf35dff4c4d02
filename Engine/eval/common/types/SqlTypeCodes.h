#ifndef NORVEXA_TYPES_SQLTYPECODES_H
#define NORVEXA_TYPES_SQLTYPECODES_H

#include <cstdint>

// The SQL type codes of host variables. Codes come in pairs: the even code
// named here, and the odd code one above it, the same type allowing nulls
// (the file name, 65984, has no such twin).
enum SqlTypeCode : std::uint32_t {
    sqlBlob = 404,
    sqlClob = 408,
    sqlDbclob = 412,
    sqlVarchar = 448,
    sqlChar = 452,
    sqlLongVarchar = 456,
    sqlVargraphic = 464,
    sqlGraphic = 468,
    sqlLongVargraphic = 472,
    sqlFloat = 480,
    sqlDecimal = 484,
    sqlBigint = 492,
    sqlInteger = 496,
    sqlSmallint = 500,
    sqlNumeric = 504,
    sqlVarbinaryLong = 904, // VARBINARY with a 4-byte length
    sqlVarbinary = 908,     // VARBINARY with a 2-byte length
    sqlBinary = 912,
    sqlBlobFile = 916,
    sqlClobFile = 920,
    sqlDbclobFile = 924,
    sqlBlobLocator = 960,
    sqlClobLocator = 964,
    sqlDbclobLocator = 968,
    sqlResultSetLocator = 972,
    sqlTableLocator = 976,
    sqlDecfloat = 996,
    sqlSqlca = 1000,
    sqlFileName = 65984,
};

// The odd twin of a pair: the same type allowing nulls.
constexpr std::uint32_t sqlNullable(SqlTypeCode code)
{
    return code + 1u;
}

// The code of a pair's type without nulls; the file name as it is.
inline std::uint32_t sqlBaseCode(std::uint32_t code)
{
    return code == sqlFileName ? code : code & ~1u;
}

#endif
