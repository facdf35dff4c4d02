#include "api/LiveRepresentations.h"

#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "api/LocalsRepresentation.h"
#include "machine/StackItem.h"
#include "services/ExpressionRepresentation.h"
#include "tree/RootTreeNode.h"

namespace {

std::mutex lock;

struct Handles {
    // Both kinds, as the environments they are (for the nodes and results
    // made in them), and each kind as the host's handle of it.
    std::unordered_set<const EvaluationEnvironment*> environments;
    std::unordered_set<const ExpressionRepresentation*> expressions;
    std::unordered_set<const LocalsRepresentation*> views;
    std::unordered_set<const StackItem*> results;
    // Nodes of results taken back, kept for the next result handed out, so
    // that a warm evaluation and its release allocate nothing.
    std::vector<std::unordered_set<const StackItem*>::node_type> spareResults;
    // The references the host holds, by node.
    std::unordered_map<const UpdateTreeNode*, unsigned long> nodes;
};

Handles& handles()
{
    static Handles set;
    return set;
}

// Under the lock. Only the address is compared: the environment may be gone.
bool liveEnvironment(const EvaluationEnvironment* environment)
{
    return environment != nullptr && handles().environments.count(environment) != 0;
}

// The live representation an item was made in, or null.
ExpressionRepresentation* representationOf(const StackItem& item)
{
    EvaluationEnvironment* environment = &item.environment();
    if (!liveEnvironment(environment))
        return nullptr;
    return environment->asExprRepresentation();
}

// Under the lock: takes a result out of the set, keeping its node for the
// next result handed out; false when it was not in the set.
bool extractResult(const StackItem* result)
{
    Handles& h = handles();
    auto node = h.results.extract(result);
    if (node.empty())
        return false;
    // A host holding many results at once gives back as many spare nodes;
    // beyond a few, they are freed.
    constexpr size_t keptSpares = 64;
    if (h.spareResults.size() < keptSpares) {
        if (h.spareResults.capacity() == 0)
            h.spareResults.reserve(keptSpares);
        h.spareResults.push_back(std::move(node));
    }
    return true;
}

// Under the lock: the root of the result's live representation forgets it.
void forgetInRoot(const StackItem& result)
{
    ExpressionRepresentation* rep = representationOf(result);
    if (rep == nullptr || rep->validationResult() == nullptr)
        return;
    rep->validationResult()->getTreeRoot()->forgetResult(&result);
}

} // namespace

void LiveRepresentations::add(ExpressionRepresentation& rep)
{
    std::lock_guard<std::mutex> guard(lock);
    handles().environments.insert(&rep);
    handles().expressions.insert(&rep);
}

void LiveRepresentations::remove(ExpressionRepresentation& rep)
{
    std::lock_guard<std::mutex> guard(lock);
    handles().environments.erase(&rep);
    handles().expressions.erase(&rep);
}

void LiveRepresentations::addView(LocalsRepresentation& view)
{
    std::lock_guard<std::mutex> guard(lock);
    handles().environments.insert(&view);
    handles().views.insert(&view);
}

void LiveRepresentations::removeView(LocalsRepresentation& view)
{
    std::lock_guard<std::mutex> guard(lock);
    handles().environments.erase(&view);
    handles().views.erase(&view);
}

bool LiveRepresentations::isLive(const EvaluationEnvironment* environment)
{
    std::lock_guard<std::mutex> guard(lock);
    return liveEnvironment(environment);
}

bool LiveRepresentations::isLive(const ExpressionRepresentation* rep)
{
    std::lock_guard<std::mutex> guard(lock);
    return rep != nullptr && handles().expressions.count(rep) != 0;
}

bool LiveRepresentations::isLive(const LocalsRepresentation* view)
{
    std::lock_guard<std::mutex> guard(lock);
    return view != nullptr && handles().views.count(view) != 0;
}

void LiveRepresentations::handOutResult(StackItem* result)
{
    if (result == nullptr)
        return;
    std::lock_guard<std::mutex> guard(lock);
    Handles& h = handles();
    if (h.spareResults.empty()) {
        h.results.insert(result);
        return;
    }
    auto node = std::move(h.spareResults.back());
    h.spareResults.pop_back();
    node.value() = result;
    h.results.insert(std::move(node));
}

bool LiveRepresentations::takeBackResult(const StackItem* result)
{
    if (result == nullptr)
        return false;
    std::lock_guard<std::mutex> guard(lock);
    return extractResult(result);
}

bool LiveRepresentations::takeBackEvaluationResult(const StackItem* result)
{
    if (result == nullptr)
        return false;
    std::lock_guard<std::mutex> guard(lock);
    if (!extractResult(result))
        return false;
    try {
        forgetInRoot(*result);
    } catch (...) {
    }
    return true;
}

bool LiveRepresentations::isLiveResult(const StackItem* result)
{
    if (result == nullptr)
        return false;
    std::lock_guard<std::mutex> guard(lock);
    Handles& h = handles();
    if (h.results.count(result) != 0)
        return liveEnvironment(&result->environment());
    for (const LocalsRepresentation* view : h.views) {
        if (view->variables().item(result) != nullptr)
            return true;
    }
    return false;
}

void LiveRepresentations::handOutNode(UpdateTreeNode* node)
{
    if (node == nullptr)
        return;
    std::lock_guard<std::mutex> guard(lock);
    ++handles().nodes[node];
}

bool LiveRepresentations::takeBackNode(const UpdateTreeNode* node)
{
    std::lock_guard<std::mutex> guard(lock);
    auto found = handles().nodes.find(node);
    if (found == handles().nodes.end())
        return false;
    if (--found->second == 0)
        handles().nodes.erase(found);
    return true;
}

bool LiveRepresentations::isLiveNode(const UpdateTreeNode* node)
{
    if (node == nullptr)
        return false;
    std::lock_guard<std::mutex> guard(lock);
    if (handles().nodes.count(node) == 0)
        return false;
    return liveEnvironment(node->internalRep());
}

void LiveRepresentations::releasingResult(const StackItem& result)
{
    std::lock_guard<std::mutex> guard(lock);
    forgetInRoot(result);
}

void LiveRepresentations::releasingTypeResult(const StackItem& typeResult)
{
    std::lock_guard<std::mutex> guard(lock);
    ExpressionRepresentation* rep = representationOf(typeResult);
    if (rep != nullptr && rep->validationResult() == &typeResult)
        rep->saveValidationResult(nullptr);
}
