#ifndef NORVEXA_API_FLOATINGPOINTGUARD_H
#define NORVEXA_API_FLOATINGPOINTGUARD_H

#if defined(_WIN32)
#include <fenv.h>
#endif

// The floating-point mode of an entry point's frame on Windows. On entry the
// host's floating-point environment (x87 control and status words, MXCSR) is
// saved and the evaluator's mode set: every exception masked, the denormal
// one included; rounding to nearest; 64-bit precision; projective infinity.
// On every exit, an exception's included, the host's environment is put back
// as it was, so flags raised while the exceptions were masked are dropped.
// An entry point called from inside another (the update road re-enters the
// evaluation) puts back the outer frame's mode, not the host's. Elsewhere the
// guard leaves the floating-point unit alone.
class FloatingPointGuard {
public:
    FloatingPointGuard();
    ~FloatingPointGuard();

    FloatingPointGuard(const FloatingPointGuard&) = delete;
    FloatingPointGuard& operator=(const FloatingPointGuard&) = delete;

private:
#if defined(_WIN32)
    fenv_t saved;
    unsigned int savedMxcsr = 0; // the runtime's environment may leave it out
    bool sse = false;
#endif
};

#endif
