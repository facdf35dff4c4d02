#ifndef EE_TRACEBACKINFORMATION_H
#define EE_TRACEBACKINFORMATION_H

// Base of the front end's internal-failure exception. It carries nothing of
// its own; it marks exceptions that describe where an expression failed.
class EE_TraceBackInformation {
public:
    EE_TraceBackInformation() = default;
};

#endif
