#ifndef NORVEXA_TESTHOST_INPROCESS_INVALIDOPCODE_H
#define NORVEXA_TESTHOST_INPROCESS_INVALIDOPCODE_H

#include "services/InvalidOp.h"

// The code of the InvalidOp the call throws, 0 when it throws none.
template <class F>
int codeOf(F&& f)
{
    try {
        f();
    } catch (const InvalidOp& e) {
        return e.code();
    }
    return 0;
}

#endif
