#ifndef NORVEXA_TESTHOST_TESTHOSTFIXTURE_H
#define NORVEXA_TESTHOST_TESTHOSTFIXTURE_H

// The in-process fixture lives with the rest of the in-process part of the
// test host (library testhost_inprocess).
#include "testhost/inprocess/TestHostFixture.h"

#endif
