#ifndef NORVEXA_API_LOCALSREPRESENTATION_H
#define NORVEXA_API_LOCALSREPRESENTATION_H

#include "services/EvaluationEnvironment.h"

// The evaluation environment of the local variables of a stack frame.
class LocalsRepresentation : public EvaluationEnvironment {
public:
    // Bit 0 of flags: continue into the file scope; it also becomes the
    // environment's locals option.
    LocalsRepresentation(int language, const LCC_Eval_Context_Info* context, unsigned flags);
    ~LocalsRepresentation() override;

    // The name of the variable whose value is item; InvalidOp RTRC_AssertFail
    // when no variable of the view holds it.
    ByteString expression(StackItem* item) const override;
    LocalsRepresentation* asLocalsRepresentation() override;

    // The name under which the view shows a host symbol entry.
    static const char* localSymbolDisplayName(_SYMBOL_ENTRY* entry);

    unsigned flags() const { return flags_; }

private:
    unsigned flags_;
};

#endif
