#ifndef NORVEXA_TESTSEAM_SVCTESTSEAM_H
#define NORVEXA_TESTSEAM_SVCTESTSEAM_H

#include "HostRecords.h"

// What tests set of the host-service state that the evaluator itself only
// reads or only ever turns one way: the trace switch (the evaluator turns it
// on, never off) and the calling thread's trace indent. Built into the test
// seam library only; libnorvexa.so carries none of it.
class SVCTestSeam {
public:
    static void setTrace(bool on);
    static bool tracing();
    // The calling thread's trace indent, in columns.
    static UBYTE4& indent();

private:
    SVCTestSeam() = delete;
};

#endif
