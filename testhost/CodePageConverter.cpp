#include "testhost/CodePageConverter.h"

#include <cerrno>
#include <cstring>
#include <cwchar>
#include <vector>

#if !defined(_WIN32)
#include <iconv.h>
#endif

namespace codepage {

std::string iconvName(const char* codePage)
{
    std::string name = codePage != nullptr ? codePage : "";
    if (name.empty())
        return "CP1047";
    size_t end = name.size();
    size_t begin = end;
    while (begin > 0 && name[begin - 1] >= '0' && name[begin - 1] <= '9')
        --begin;
    if (begin == end)
        return "";
    // iconv spells pages below 100 with three digits ("CP037").
    std::string digits = name.substr(begin);
    while (digits.size() > 3 && digits[0] == '0')
        digits.erase(0, 1);
    if (digits.size() < 3)
        digits = std::string(3 - digits.size(), '0') + digits;
    // CCSID 1200 is UTF-16, big-endian like all the debuggee's data.
    if (digits == "1200")
        return "UTF-16BE";
    return "CP" + digits;
}

#if !defined(_WIN32)
namespace {

// Converts all of the input; false on failure.
bool runIconv(const char* to, const char* from, const void* source, size_t length, std::vector<char>& out)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::vector<char> in(static_cast<const char*>(source), static_cast<const char*>(source) + length);
    char* inp = in.data();
    size_t inLeft = in.size();
    out.assign(length * 4 + 16, 0);
    size_t used = 0;
    bool ok = true;
    for (;;) {
        char* outp = out.data() + used;
        size_t outLeft = out.size() - used;
        size_t r = iconv(cd, inLeft ? &inp : nullptr, inLeft ? &inLeft : nullptr, &outp, &outLeft);
        used = out.size() - outLeft;
        if (r != static_cast<size_t>(-1)) {
            if (inLeft == 0) {
                // Flush any shift state (a closing shift-in).
                outp = out.data() + used;
                outLeft = out.size() - used;
                if (iconv(cd, nullptr, nullptr, &outp, &outLeft) == static_cast<size_t>(-1) && errno == E2BIG) {
                    out.resize(out.size() * 2);
                    continue;
                }
                used = out.size() - outLeft;
                break;
            }
            continue;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        ok = false;
        break;
    }
    iconv_close(cd);
    out.resize(used);
    return ok;
}

} // namespace

std::int32_t convert(const char* codePage, int conversion, const void* source, std::uint16_t sourceLength, void* target,
                     std::uint16_t targetRoom)
{
    std::string page = iconvName(codePage);
    if (page.empty() || (source == nullptr && sourceLength != 0))
        return -1;
    const char* from = nullptr;
    const char* to = nullptr;
    static const char* const utf16 = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? "UTF-16LE" : "UTF-16BE";
    switch (conversion) {
    case 0:
        from = "UTF-8";
        to = page.c_str();
        break;
    case 1:
        from = page.c_str();
        to = utf16;
        break;
    case 2:
        from = page.c_str();
        to = "UTF-8";
        break;
    case 3:
        from = page.c_str();
        to = "WCHAR_T";
        break;
    default: return -1;
    }
    std::vector<char> out;
    if (!runIconv(to, from, source, sourceLength, out))
        return -1;
    if (conversion == 3) {
        size_t elements = out.size() / sizeof(wchar_t) + 1;
        std::vector<wchar_t> wide(elements, 0);
        std::memcpy(wide.data(), out.data(), out.size() - out.size() % sizeof(wchar_t));
        size_t n = elements < targetRoom ? elements : targetRoom;
        if (target != nullptr && n != 0)
            std::memcpy(target, wide.data(), n * sizeof(wchar_t));
        return static_cast<std::int32_t>(elements);
    }
    size_t n = out.size() < targetRoom ? out.size() : targetRoom;
    if (target != nullptr && n != 0)
        std::memcpy(target, out.data(), n);
    return static_cast<std::int32_t>(out.size());
}

#endif

} // namespace codepage
