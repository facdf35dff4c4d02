#ifndef NORVEXA_SERVICES_CLOCALENUMBERS_H
#define NORVEXA_SERVICES_CLOCALENUMBERS_H

#include <cstddef>

// Conversions between long double and text with the point as the decimal
// separator, whatever locale the host process runs in.
namespace clocale_numbers {

// strtold in the C locale: the value of the number at the start of text;
// *end (when end is not null) receives the first character after it, or
// text when there is no number.
long double toLongDouble(const char* text, char** end);

// strtof and strtod in the C locale, as toLongDouble.
float toFloat(const char* text, char** end);
double toDouble(const char* text, char** end);

// snprintf(buffer, size, "%.*L?", precision, value) in the C locale, the
// conversion ? one of f, g, e and E.
int formatLongDouble(char* buffer, std::size_t size, char conversion, int precision, long double value);
// snprintf(buffer, size, "%.*Lf", precision, value) in the C locale.
int formatFixed(char* buffer, std::size_t size, int precision, long double value);
// snprintf(buffer, size, "%.*Lg", precision, value) in the C locale.
int formatGeneral(char* buffer, std::size_t size, int precision, long double value);

} // namespace clocale_numbers

#endif
