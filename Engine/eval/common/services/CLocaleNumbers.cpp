#include "services/CLocaleNumbers.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#if !defined(_WIN32)
#include <locale.h>
#endif

namespace clocale_numbers {

namespace {

int printLongDouble(char* buffer, std::size_t size, char conversion, int precision, long double value)
{
    switch (conversion) {
    case 'f': return std::snprintf(buffer, size, "%.*Lf", precision, value);
    case 'e': return std::snprintf(buffer, size, "%.*Le", precision, value);
    case 'E': return std::snprintf(buffer, size, "%.*LE", precision, value);
    default: return std::snprintf(buffer, size, "%.*Lg", precision, value);
    }
}

} // namespace

#if !defined(_WIN32)

namespace {

locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

} // namespace

long double toLongDouble(const char* text, char** end)
{
    return strtold_l(text, end, cLocale());
}

float toFloat(const char* text, char** end)
{
    return strtof_l(text, end, cLocale());
}

double toDouble(const char* text, char** end)
{
    return strtod_l(text, end, cLocale());
}

// Under the C locale on the calling thread only.
int formatLongDouble(char* buffer, std::size_t size, char conversion, int precision, long double value)
{
    locale_t previous = uselocale(cLocale());
    int length = printLongDouble(buffer, size, conversion, precision, value);
    uselocale(previous);
    return length;
}

int formatFixed(char* buffer, std::size_t size, int precision, long double value)
{
    return formatLongDouble(buffer, size, 'f', precision, value);
}

int formatGeneral(char* buffer, std::size_t size, int precision, long double value)
{
    return formatLongDouble(buffer, size, 'g', precision, value);
}

#else

namespace {

// The decimal separator of the process's locale when it is one byte other
// than the point, else 0.
char localeSeparator()
{
    const std::lconv* conventions = std::localeconv();
    if (conventions == nullptr || conventions->decimal_point == nullptr)
        return 0;
    const char* point = conventions->decimal_point;
    return point[0] != '.' && point[0] != 0 && point[1] == 0 ? point[0] : 0;
}

} // namespace

// Windows has no per-thread C locale for long double conversions: the text
// is translated to and from the process locale's separator instead.
long double toLongDouble(const char* text, char** end)
{
    const char separator = localeSeparator();
    if (separator == 0)
        return std::strtold(text, end);
    // The locale's separator is no decimal separator in the C locale: the
    // number ends before it. The point is the separator, in whichever form
    // the runtime reads it.
    std::string copy(text);
    copy = copy.substr(0, copy.find(separator));
    char* stop = nullptr;
    long double value = std::strtold(copy.c_str(), &stop);
    std::size_t used = static_cast<std::size_t>(stop - copy.c_str());
    if (used < copy.size() && copy[used] == '.') {
        std::string translated = copy;
        translated[used] = separator;
        char* stop2 = nullptr;
        long double value2 = std::strtold(translated.c_str(), &stop2);
        std::size_t used2 = static_cast<std::size_t>(stop2 - translated.c_str());
        if (used2 > used) {
            value = value2;
            used = used2;
        }
    }
    if (end != nullptr)
        *end = const_cast<char*>(text) + used;
    return value;
}

namespace {

// A number written with the point, read by the runtime's reader under the
// process locale: the point becomes the locale's separator first.
template <typename Number>
Number readTranslated(const char* text, char** end, Number (*read)(const char*, char**))
{
    const char separator = localeSeparator();
    const char* point = separator != 0 ? std::strchr(text, '.') : nullptr;
    if (point == nullptr)
        return read(text, end);
    std::string translated(text);
    translated[static_cast<std::size_t>(point - text)] = separator;
    char* stop = nullptr;
    const Number value = read(translated.c_str(), &stop);
    if (end != nullptr)
        *end = const_cast<char*>(text) + (stop - translated.c_str());
    return value;
}

} // namespace

// The locale's separator put back to the point.
int formatLongDouble(char* buffer, std::size_t size, char conversion, int precision, long double value)
{
    int length = printLongDouble(buffer, size, conversion, precision, value);
    const char separator = localeSeparator();
    if (separator != 0 && length > 0 && size > 0)
        if (char* at = std::strchr(buffer, separator))
            *at = '.';
    return length;
}

float toFloat(const char* text, char** end)
{
    return readTranslated<float>(text, end, [](const char* t, char** e) { return std::strtof(t, e); });
}

double toDouble(const char* text, char** end)
{
    return readTranslated<double>(text, end, [](const char* t, char** e) { return std::strtod(t, e); });
}

int formatFixed(char* buffer, std::size_t size, int precision, long double value)
{
    return formatLongDouble(buffer, size, 'f', precision, value);
}

int formatGeneral(char* buffer, std::size_t size, int precision, long double value)
{
    return formatLongDouble(buffer, size, 'g', precision, value);
}

#endif

} // namespace clocale_numbers
