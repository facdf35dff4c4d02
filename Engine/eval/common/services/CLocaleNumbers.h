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

// strtod and strtof in the C locale: the number correctly rounded to double
// or float, read as toLongDouble reads it.
double toDouble(const char* text, char** end);
float toFloat(const char* text, char** end);

// snprintf(buffer, size, "%.*Lf", precision, value) in the C locale.
int formatFixed(char* buffer, std::size_t size, int precision, long double value);

}  // namespace clocale_numbers

#endif
