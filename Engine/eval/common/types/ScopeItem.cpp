#include "types/ScopeItem.h"

#include "services/EvaluationEnvironment.h"

ScopeItem::ScopeItem(const LCC_Eval_Context_Info* context, ScopeType type)
    : context_(context), type_(type), environment_(nullptr)
{
    EvaluationEnvironment* owner = EvaluationEnvironment::currentRep();
    owner->addScope(*this);
    environment_ = owner;
}

ScopeItem::~ScopeItem()
{
    if (environment_ != nullptr)
        environment_->removeScope(*this);
}
