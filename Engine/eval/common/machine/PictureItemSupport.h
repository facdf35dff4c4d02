#ifndef NORVEXA_MACHINE_PICTUREITEMSUPPORT_H
#define NORVEXA_MACHINE_PICTUREITEMSUPPORT_H

#include "HostRecords.h"
#include "datatypes/DataError.h"

class NationalNumericEdited;

// Steps shared by the external floating-point and edited items.
namespace pictureitem {

// Raises the data error of a validation: RTRC_BadSignInNumeric or
// RTRC_BadDataInNumeric with the variable's name (empty when it has none);
// nothing for DataErrorNone.
void raiseDataError(DataError error, const char* variable);

// number edited into a national numeric-edited picture: edited in EBCDIC
// with the numeric-edited record of half the length, then widened.
NationalNumericEdited nationalNumericEdited(long double number, const TNnational_numeric_edited& record);

} // namespace pictureitem

#endif
