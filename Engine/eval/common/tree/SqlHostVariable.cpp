#include "tree/SqlHostVariable.h"

#include "types/SqlTypeCodes.h"

namespace {

bool identifierChar(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '@' ||
           c == '#' || c == '$';
}

} // namespace

std::uint64_t sqlByteSize(int sqlType, unsigned length)
{
    std::uint64_t l = length;
    std::uint64_t precision = (length >> 8) & 0xFFu;
    switch (sqlBaseCode(static_cast<std::uint32_t>(sqlType))) {
    case sqlBlob:
    case sqlClob:
    case sqlVarbinaryLong: return l + 4;
    case sqlDbclob: return 2 * l + 4;
    case sqlVarchar:
    case sqlLongVarchar:
    case sqlVarbinary:
    case sqlFileName: return l + 2;
    case sqlVargraphic:
    case sqlLongVargraphic: return 2 * l + 2;
    case sqlGraphic: return 2 * l;
    case sqlDecimal: return precision / 2 + 1;
    case sqlNumeric: return precision + 1;
    default: return l;
    }
}

bool simpleName(const unsigned char* name)
{
    if (name == nullptr)
        return true;
    unsigned depth = 0;
    for (const unsigned char* p = name; *p != 0; ++p) {
        if (depth == 0) {
            if (*p == '(')
                depth = 1;
            else if (!identifierChar(*p))
                return false;
        } else if (*p == '(') {
            ++depth;
        } else if (*p == ')') {
            --depth;
        }
    }
    return true;
}

std::string sqlTypeName(std::uint32_t sqlType, std::uint32_t length)
{
    const std::string n = std::to_string(length);
    const std::string decimal = "(" + std::to_string((length >> 8) & 0xFF) + "," + std::to_string(length & 0xFF) + ")";
    // Codes come in pairs: the odd one allows nulls.
    switch (sqlType & ~1u) {
    case sqlBlob: return "BLOB(" + n + ")";
    case sqlClob: return "CLOB(" + n + ")";
    case sqlDbclob: return "DBCLOB(" + n + ")";
    case sqlVarchar: return "VARCHAR(" + n + ")";
    case sqlChar: return "CHAR(" + n + ")";
    case sqlLongVarchar: return "LONG VARCHAR";
    case sqlVargraphic: return "VARGRAPHIC(" + n + ")";
    case sqlGraphic: return "GRAPHIC(" + n + ")";
    case sqlLongVargraphic: return "LONG VARGRAPHIC";
    case sqlFloat: return length == 4 ? "REAL" : "DOUBLE";
    case sqlDecimal: return "DECIMAL" + decimal;
    case sqlBigint: return "BIGINT";
    case sqlInteger: return "INTEGER";
    case sqlSmallint: return "SMALLINT";
    case sqlNumeric: return "NUMERIC" + decimal;
    case sqlVarbinaryLong: return "VARBINARY(" + n + ")";
    case sqlVarbinary: return "VARBINARY(" + n + ")";
    case sqlBinary: return "BINARY(" + n + ")";
    case sqlBlobFile: return "BLOB FILE";
    case sqlClobFile: return "CLOB FILE";
    case sqlDbclobFile: return "DBCLOB FILE";
    case sqlBlobLocator: return "BLOB LOCATOR";
    case sqlClobLocator: return "CLOB LOCATOR";
    case sqlDbclobLocator: return "DBCLOB LOCATOR";
    case sqlResultSetLocator: return "RESULT SET LOCATOR";
    case sqlTableLocator: return "TABLE LOCATOR";
    case sqlDecfloat: return length == 4 ? "DECFLOAT(7)" : length == 8 ? "DECFLOAT(16)" : "DECFLOAT(34)";
    case sqlSqlca: return "SQLCA";
    case sqlFileName: return "FILE NAME";
    default: return "??";
    }
}
