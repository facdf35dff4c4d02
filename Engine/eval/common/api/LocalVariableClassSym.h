#ifndef NORVEXA_API_LOCALVARIABLECLASSSYM_H
#define NORVEXA_API_LOCALVARIABLECLASSSYM_H

#include "api/LocalVariable.h"

class ClassThisValue;

// A data member of the object a member function runs on, read through the
// object's "this" (or its conversion to the base class that declares the
// member).
class LocalVariableClassSym : public LocalVariable {
public:
    LocalVariableClassSym(ClassThisValue& thisValue, SymbolItem& member);
    ~LocalVariableClassSym() override;

    // InvalidOp RTRC_InvalidSymbol when the member cannot be loaded.
    StackItem* evaluate(int frame) override;
    SymbolItem* symbolItem() const override;

    ClassThisValue& thisValue() const { return thisValue_; }

private:
    ClassThisValue& thisValue_;
};

#endif
