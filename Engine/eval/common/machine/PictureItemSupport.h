#ifndef NORVEXA_MACHINE_PICTUREITEMSUPPORT_H
#define NORVEXA_MACHINE_PICTUREITEMSUPPORT_H

#include "HostRecords.h"
#include "datatypes/DataError.h"

class NationalNumericEdited;
class StackItem;

// Steps shared by the external floating-point and edited items.
namespace pictureitem {

// Raises the data error of a validation: RTRC_BadSignInNumeric or
// RTRC_BadDataInNumeric with the variable's name (empty when it has none);
// nothing for DataErrorNone.
void raiseDataError(DataError error, const char* variable);

// number edited into a national numeric-edited picture: edited in EBCDIC
// with the numeric-edited record of half the length, then widened.
NationalNumericEdited nationalNumericEdited(long double number, const TNnational_numeric_edited& record);

// Whether a move from source into a numeric-edited or national
// numeric-edited item is made: a group's text is taken as it stands and a
// number (ZERO among the figurative constants) is edited into the picture.
// Text, the other figurative constants and another edited number would have
// to be read as digits or de-edited first, which is refused.
bool movesIntoNumericEdited(const StackItem& source);

} // namespace pictureitem

#endif
