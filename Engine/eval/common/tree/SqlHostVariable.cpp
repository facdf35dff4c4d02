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
