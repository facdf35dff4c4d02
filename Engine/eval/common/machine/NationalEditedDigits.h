#ifndef NORVEXA_MACHINE_NATIONALEDITEDDIGITS_H
#define NORVEXA_MACHINE_NATIONALEDITEDDIGITS_H

#include "HostRecords.h"

class NationalDecimal;
class NationalEdited;

// A number edited into a national-edited picture: its digits go in
// unsigned, as an unsigned national decimal of the given digit count and
// scale (decimal places for a negative scale) holds them after a MOVE.
NationalEdited nationalEditedDigits(const NationalDecimal& value, unsigned precision, int scale,
                                    const TNnational_edited& record);

#endif
