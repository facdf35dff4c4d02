#include "machine/RuntimeStack.h"

#include "services/InvalidOp.h"

// The string conversions of a cast: an array target for a string item, and
// a character array held as a string. The string items they work on are
// not built yet, so both refuse.

void RuntimeStack::genConvertString(const TypeItem&)
{
    throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
}

void RuntimeStack::adjustString(const TypeItem&)
{
    throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
}
