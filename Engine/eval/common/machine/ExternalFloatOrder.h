#ifndef NORVEXA_MACHINE_EXTERNALFLOATORDER_H
#define NORVEXA_MACHINE_EXTERNALFLOATORDER_H

class ExternalFloat;

namespace externalfloatorder {

// -1, 0 or 1: the number left holds against the number right holds, exactly
// (sign first, then the normalised magnitude of mantissa digits and
// exponent; -0 equals +0). A value that is no valid external float on either
// side is ordered by its characters.
int compare(const ExternalFloat& left, const ExternalFloat& right);

} // namespace externalfloatorder

#endif
