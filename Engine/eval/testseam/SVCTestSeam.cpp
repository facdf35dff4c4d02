#include "testseam/SVCTestSeam.h"

#include "services/SVCState.h"

void SVCTestSeam::setTrace(bool on)
{
    SVCState::traceSwitch().store(on, std::memory_order_relaxed);
}

bool SVCTestSeam::tracing()
{
    return SVCState::tracing();
}

UBYTE4& SVCTestSeam::indent()
{
    return SVCState::indent();
}
