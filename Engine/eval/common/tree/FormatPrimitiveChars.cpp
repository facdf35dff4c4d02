#include "tree/FormatPrimitive.h"

#include <cstdio>
#include <cwchar>
#include <vector>

#include "services/EvaluationEnvironment.h"
#include "services/SVC.h"

namespace {

std::wstring escape(unsigned long long code, int minDigits)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "\\x%0*llx", minDigits, code);
    return std::wstring(buffer, buffer + std::char_traits<char>::length(buffer));
}

// One EBCDIC byte in the environment's code page as wide characters. The
// host answers how many elements the text takes, its terminator counted: no
// answer (0 or less) gives the escape; an answer beyond the room converts
// again into room enough.
std::wstring converted(unsigned char c)
{
    std::vector<wchar_t> buffer(5, 0);
    BYTE4 answer =
        SVC::ExprEbcdicConvert(&c, 1, buffer.data(), static_cast<UBYTE2>(buffer.size()), nullptr, Conv_ToWide);
    if (answer > static_cast<BYTE4>(buffer.size()) && answer < 0x10000) {
        buffer.assign(static_cast<std::size_t>(answer), 0);
        answer = SVC::ExprEbcdicConvert(&c, 1, buffer.data(), static_cast<UBYTE2>(buffer.size()), nullptr, Conv_ToWide);
    }
    if (answer <= 0 || answer > static_cast<BYTE4>(buffer.size()))
        return escape(c, 2);
    std::wstring text(buffer.data(), static_cast<std::size_t>(answer - 1));
    std::size_t nul = text.find(L'\0');
    if (nul != std::wstring::npos)
        text.resize(nul);
    return text;
}

// A control character of the host's set (C0, DEL or C1) is never shown raw:
// a line feed or an escape sequence in a value would break the host's view.
bool isControl(const std::wstring& text)
{
    if (text.empty())
        return true;
    for (wchar_t w : text)
        if (w < 0x20 || (w >= 0x7F && w <= 0x9F))
            return true;
    return false;
}

// Whether a wide character survives a trip to the native multibyte encoding
// and back.
bool roundTrips(unsigned long long code)
{
    if (code > 0x10FFFF)
        return false;
    char bytes[MB_LEN_MAX];
    std::mbstate_t state{};
    std::size_t n = std::wcrtomb(bytes, static_cast<wchar_t>(code), &state);
    if (n == static_cast<std::size_t>(-1))
        return false;
    wchar_t back = 0;
    std::mbstate_t state2{};
    std::size_t m = std::mbrtowc(&back, bytes, n, &state2);
    return m == n && static_cast<unsigned long long>(back) == code;
}

} // namespace

std::wstring FormatPrimitive::formatSBCScharOther(unsigned char c)
{
    static const wchar_t* const named[] = {L"\\a", L"\\b", L"\\t", L"\\n", L"\\v", L"\\f", L"\\r"};
    if (c >= 0x20 && c < 0x7F)
        return std::wstring(1, static_cast<wchar_t>(c));
    if (c >= 7 && c <= 13)
        return named[c - 7];
    return escape(c, 2);
}

std::wstring FormatPrimitive::formatSBCSchar(unsigned char c)
{
    if (isCobolLanguage()) {
        if (c == 0)
            return L".";
        return converted(c);
    }
    if (c < 0x20) {
        switch (c) {
        case 0x05: return L"\\t";
        case 0x0C: return L"\\f";
        case 0x0D: return L"\\r";
        case 0x15: return L"\\n";
        case 0x16: return L"\\b";
        default: return escape(c, 2);
        }
    }
    switch (c) {
    case 0x2F: return L"\\a";
    case 0x7D: return L"\\'";
    case 0x7F: return L"\\\"";
    case 0xE0: return L"\\\\";
    default: break;
    }
    std::wstring text = converted(c);
    return isControl(text) ? escape(c, 2) : text;
}

// A wide character holds its wide code (UCS-4, or UTF-16 where wchar_t is 2
// bytes), never an EBCDIC byte: L'a' is 97 and shows as a.
std::wstring FormatPrimitive::formatDBCSchar(unsigned long long c)
{
    if (isCobolLanguage())
        return formatDBCScharOther(c);
    static const wchar_t* const named[] = {L"\\a", L"\\b", L"\\t", L"\\n", L"\\v", L"\\f", L"\\r"};
    if (c >= 7 && c <= 13)
        return named[c - 7];
    switch (c) {
    case '\'': return L"\\'";
    case '"': return L"\\\"";
    case '\\': return L"\\\\";
    default: break;
    }
    if ((c >= 0x20 && c < 0x7F) || (c > 0x7F && roundTrips(c)))
        return std::wstring(1, static_cast<wchar_t>(c));
    return escape(c, 1);
}

std::wstring FormatPrimitive::formatDBCScharOther(unsigned long long c)
{
    if (isCobolLanguage()) {
        if (c == 0)
            return L".";
        return std::wstring(1, static_cast<wchar_t>(c));
    }
    bool shown = c == '"' || c == '?' || c == '\\' || c == '\'' || (c >= 7 && c <= 13) || (c >= 32 && c <= 127) ||
                 (c > 127 && roundTrips(c));
    if (shown)
        return std::wstring(1, static_cast<wchar_t>(c));
    return escape(c, 1);
}
