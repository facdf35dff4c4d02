#ifndef NORVEXA_MACHINE_FORTRANPOINTERTARGET_H
#define NORVEXA_MACHINE_FORTRANPOINTERTARGET_H

#include "services/DebuggeeLocation.h"
#include "services/InvalidOp.h"
#include "types/TypeItem.h"

// Moves the location of a Fortran pointer's descriptor to the pointer's
// target: RTRC_FortranPointerNotAllocated or
// RTRC_FortranPointerNotAssociated when it has none.
inline void moveToFortranPointerTarget(const TypeItem& pointer, DebuggeeLocation& where)
{
    if (!pointer.isAllocated())
        throw InvalidOp(InvalidOp::RTRC_FortranPointerNotAllocated, __PRETTY_FUNCTION__, __LINE__);
    if (!pointer.isAssociated())
        throw InvalidOp(InvalidOp::RTRC_FortranPointerNotAssociated, __PRETTY_FUNCTION__, __LINE__);
    if (!pointer.dereference(where))
        where.dereference(&pointer);
}

#endif
