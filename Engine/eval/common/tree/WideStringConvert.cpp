#include "tree/WideStringConvert.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

#include "machine/LiteralParsers.h"
#include "services/SVC.h"

ByteString convertString(const ByteString& text, WCHAR_TYPE type)
{
    ByteString result;
    const char* at = reinterpret_cast<const char*>(text.data());
    unsigned left = static_cast<unsigned>(text.length());
    while (left > 0) {
        std::uint64_t code = 0;
        const int used = convertChar(at, left, code);
        if (used <= 0) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Invalid character detected in string; character value = 0x%x",
                        static_cast<unsigned char>(*at));
            ++at;
            --left;
            continue;
        }
        at += used;
        left -= static_cast<unsigned>(used);
        unsigned char bytes[MB_LEN_MAX > 4 ? MB_LEN_MAX : 4];
        int count = 0;
        if (type == WCHAR_4BYTE || type == WCHAR_2BYTE) {
            count = type == WCHAR_4BYTE ? 4 : 2;
            for (int i = 0; i < count; ++i)
                bytes[i] = static_cast<unsigned char>(code >> (8 * (count - 1 - i)));
        } else {
            count = std::wctomb(reinterpret_cast<char*>(bytes), static_cast<wchar_t>(code));
            if (count <= 0) {
                bytes[0] = static_cast<unsigned char>(code);
                count = 1;
            }
        }
        result += ByteString(bytes, static_cast<unsigned>(count));
    }
    return result;
}
