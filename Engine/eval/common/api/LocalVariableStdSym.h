#ifndef NORVEXA_API_LOCALVARIABLESTDSYM_H
#define NORVEXA_API_LOCALVARIABLESTDSYM_H

#include "api/LocalVariable.h"

class LocalSymbolItem;

// A plain local or parameter of the frame. A constant gets its value once,
// when it is made; any other symbol an item of its type, loaded on each
// refresh from the symbol's place in the frame.
class LocalVariableStdSym : public LocalVariable {
public:
    explicit LocalVariableStdSym(LocalSymbolItem& symbol);
    ~LocalVariableStdSym() override;

    StackItem* evaluate(int frame) override;
    SymbolItem* symbolItem() const override;

private:
    LocalSymbolItem& local() const;
    // Loads the value; whether the type's shape changed (a Fortran
    // pointer, whose associated state goes to associated).
    bool load(int frame, bool& associated);
    bool constant_ = false;
};

#endif
