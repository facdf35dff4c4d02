#ifndef NORVEXA_API_LIVEREPRESENTATIONS_H
#define NORVEXA_API_LIVEREPRESENTATIONS_H

class ExpressionRepresentation;
class StackItem;

// The representations the host holds (built and not yet freed), so that a
// result the host releases can be taken out of its representation first,
// whichever of the two the host releases first: a released type result is
// no longer the representation's validation result (an evaluation then
// answers as for an expression never validated), and a released result is
// no longer the one the validation result's root presents.
class LiveRepresentations {
public:
    static void add(ExpressionRepresentation& rep);
    static void remove(ExpressionRepresentation& rep);

    // Called before the host's result or type result is destroyed.
    static void releasingResult(const StackItem& result);
    static void releasingTypeResult(const StackItem& typeResult);
};

#endif
