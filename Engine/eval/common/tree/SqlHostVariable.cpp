#include "tree/SqlHostVariable.h"

namespace {

bool identifierChar(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '@' ||
           c == '#' || c == '$';
}

}  // namespace

std::uint64_t sqlByteSize(int sqlType, unsigned length)
{
    std::uint64_t l = length;
    std::uint64_t precision = (length >> 8) & 0xFFu;
    switch (sqlType) {
    case 404: case 405: case 408: case 409: case 904: case 905:
        return l + 4;
    case 412: case 413:
        return 2 * l + 4;
    case 448: case 449: case 456: case 457: case 908: case 909: case 65984:
        return l + 2;
    case 464: case 465: case 472: case 473:
        return 2 * l + 2;
    case 468: case 469:
        return 2 * l;
    case 484: case 485:
        return precision / 2 + 1;
    case 504: case 505:
        return precision + 1;
    default:
        return l;
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
    case 404: return "BLOB(" + n + ")";
    case 408: return "CLOB(" + n + ")";
    case 412: return "DBCLOB(" + n + ")";
    case 448: return "VARCHAR(" + n + ")";
    case 452: return "CHAR(" + n + ")";
    case 456: return "LONG VARCHAR";
    case 464: return "VARGRAPHIC(" + n + ")";
    case 468: return "GRAPHIC(" + n + ")";
    case 472: return "LONG VARGRAPHIC";
    case 480: return length == 4 ? "REAL" : "DOUBLE";
    case 484: return "DECIMAL" + decimal;
    case 492: return "BIGINT";
    case 496: return "INTEGER";
    case 500: return "SMALLINT";
    case 504: return "NUMERIC" + decimal;
    case 904: return "VARBINARY(" + n + ")";
    case 908: return "VARBINARY(" + n + ")";
    case 912: return "BINARY(" + n + ")";
    case 916: return "BLOB FILE";
    case 920: return "CLOB FILE";
    case 924: return "DBCLOB FILE";
    case 960: return "BLOB LOCATOR";
    case 964: return "CLOB LOCATOR";
    case 968: return "DBCLOB LOCATOR";
    case 972: return "RESULT SET LOCATOR";
    case 976: return "TABLE LOCATOR";
    case 996: return length == 4 ? "DECFLOAT(7)" : length == 8 ? "DECFLOAT(16)" : "DECFLOAT(34)";
    case 1000: return "SQLCA";
    case 65984: return "FILE NAME";
    default: return "??";
    }
}
