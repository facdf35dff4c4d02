#include "api/LiveRepresentations.h"

#include <mutex>
#include <unordered_set>

#include "machine/StackItem.h"
#include "services/ExpressionRepresentation.h"
#include "tree/RootTreeNode.h"

namespace {

std::mutex lock;

std::unordered_set<const EvaluationEnvironment*>& live()
{
    static std::unordered_set<const EvaluationEnvironment*> set;
    return set;
}

// The live representation an item was made in, or null. Only the address
// of the item's environment is compared: it may be gone.
ExpressionRepresentation* representationOf(const StackItem& item)
{
    EvaluationEnvironment* environment = &item.environment();
    if (live().count(environment) == 0)
        return nullptr;
    return environment->asExprRepresentation();
}

}  // namespace

void LiveRepresentations::add(ExpressionRepresentation& rep)
{
    std::lock_guard<std::mutex> guard(lock);
    live().insert(&rep);
}

void LiveRepresentations::remove(ExpressionRepresentation& rep)
{
    std::lock_guard<std::mutex> guard(lock);
    live().erase(&rep);
}

void LiveRepresentations::releasingResult(const StackItem& result)
{
    std::lock_guard<std::mutex> guard(lock);
    ExpressionRepresentation* rep = representationOf(result);
    if (rep == nullptr || rep->validationResult() == nullptr)
        return;
    rep->validationResult()->getTreeRoot()->forgetResult(&result);
}

void LiveRepresentations::releasingTypeResult(const StackItem& typeResult)
{
    std::lock_guard<std::mutex> guard(lock);
    ExpressionRepresentation* rep = representationOf(typeResult);
    if (rep != nullptr && rep->validationResult() == &typeResult)
        rep->saveValidationResult(nullptr);
}
