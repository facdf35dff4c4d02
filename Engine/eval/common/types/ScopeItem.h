#ifndef NORVEXA_TYPES_SCOPEITEM_H
#define NORVEXA_TYPES_SCOPEITEM_H

#include <cstdint>

#include "HostRecords.h"

class EvaluationEnvironment;

// A scope over one host context. Every scope belongs to the evaluation
// environment that was current when it was made: it registers there on
// construction, remembers that environment, and unregisters from it (never
// from whichever environment happens to be current) when destroyed. The
// environment deletes the scopes it still holds when it is reset or destroyed.
//
// This is the part of the scope that the evaluation environment relies on;
// the lookups and the other scope kinds build on it.
class ScopeItem {
public:
    enum ScopeType : std::uint32_t {
        unknownScope = 0,
        file = 1,
        block = 2,
        classScope = 4,
        structureScope = 8,
        condvarScope = 16,
        function = 256,
        memberFunction = 768,
        staticMemberFunction = 1792,
    };

    // Registers with the current environment (InvalidOp RTRC_AssertFail when
    // there is none).
    ScopeItem(const LCC_Eval_Context_Info* context, ScopeType type);
    virtual ~ScopeItem();

    ScopeItem(const ScopeItem&) = delete;
    ScopeItem& operator=(const ScopeItem&) = delete;

    const LCC_Eval_Context_Info* context() const { return context_; }
    ScopeType scopeType() const { return type_; }
    // The environment that owns this scope (null once it let go of it).
    EvaluationEnvironment* environment() const { return environment_; }

protected:
    const LCC_Eval_Context_Info* context_;
    ScopeType type_;

private:
    friend class EvaluationEnvironment;
    EvaluationEnvironment* environment_;
};

#endif
