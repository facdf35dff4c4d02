#ifndef EE_PARAMTYPE_H
#define EE_PARAMTYPE_H

class EE_TypeDescriptor;

// One parameter of a function type: its type (null when the program gives
// none) and the parameter before it. A function descriptor holds the last
// parameter, so the chain runs backwards from there.
class EE_ParamType {
public:
    EE_ParamType(EE_TypeDescriptor* t, EE_ParamType* p) : previous(p), type(t) {}

    EE_ParamType* previous;
    EE_TypeDescriptor* type;
};

#endif
