#ifndef NORVEXA_API_LIVEREPRESENTATIONS_H
#define NORVEXA_API_LIVEREPRESENTATIONS_H

class EvaluationEnvironment;
class ExpressionRepresentation;
class LocalsRepresentation;
class StackItem;
class UpdateTreeNode;

// The handles the host holds: the representations and locals views built
// and not yet freed, the results and type results handed out and not yet
// released, and the tree nodes handed out with the references the host
// still holds on each. Every entry point checks the handles it is given
// against these sets before it touches them: a handle the library does not
// know (never handed out, or already released) is refused, and a free of
// one is ignored, so that a host's double free or use after free never
// reaches freed memory. A node or result whose representation was freed
// is refused too: it would reach the freed environment.
//
// A result the host releases is also taken out of its representation first,
// whichever of the two the host releases first: a released type result is
// no longer the representation's validation result (an evaluation then
// answers as for an expression never validated), and a released result is
// no longer the one the validation result's root presents.
class LiveRepresentations {
public:
    static void add(ExpressionRepresentation& rep);
    static void remove(ExpressionRepresentation& rep);
    static void addView(LocalsRepresentation& view);
    static void removeView(LocalsRepresentation& view);
    // Whether the environment is a representation or view the host holds.
    static bool isLive(const EvaluationEnvironment* environment);
    static bool isLive(const ExpressionRepresentation* rep);
    static bool isLive(const LocalsRepresentation* view);

    // Results and type results.
    static void handOutResult(StackItem* result);
    // Takes a result out of the set; false when it was not in it.
    static bool takeBackResult(const StackItem* result);
    // takeBackResult and releasingResult under one hold of the lock: true
    // when the result was in the set (the caller then destroys it).
    static bool takeBackEvaluationResult(const StackItem* result);
    // A result handed out, or a value of a live view, whose environment is
    // live.
    static bool isLiveResult(const StackItem* result);

    // Nodes: the host gained or gives back one reference.
    static void handOutNode(UpdateTreeNode* node);
    // False when the host holds no reference on the node.
    static bool takeBackNode(const UpdateTreeNode* node);
    // A node the host holds whose environment is live.
    static bool isLiveNode(const UpdateTreeNode* node);

    // Called before the host's result or type result is destroyed.
    static void releasingResult(const StackItem& result);
    static void releasingTypeResult(const StackItem& typeResult);
};

#endif
