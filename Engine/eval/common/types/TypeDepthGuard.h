#ifndef NORVEXA_TYPES_TYPEDEPTHGUARD_H
#define NORVEXA_TYPES_TYPEDEPTHGUARD_H

#include "services/InvalidOp.h"

// Bounds the recursion of the type model over chains that the host's records
// describe (targets of pointers, elements of arrays, base classes, member
// types). Well-formed records nest only a few levels; a cyclic or corrupt
// record would recurse without end, so past the limit the walk fails with
// InvalidOp RTRC_Other instead of overflowing the stack. The count is kept
// per thread: each host thread walks its own types.
class TypeDepthGuard {
public:
    // Nesting levels allowed before the walk is refused.
    static constexpr unsigned limit = 128;
    // Nodes walked in one host list before the list is taken as cyclic.
    static constexpr unsigned listLimit = 65536;

    TypeDepthGuard(const char* function, unsigned line)
    {
        // Once the limit was reached every walk still under way fails as
        // well, until the outermost one has ended: a caller that swallows
        // the error and walks again must not start the descent anew.
        if (depth_ >= limit || tripped_) {
            tripped_ = true;
            throw InvalidOp(InvalidOp::RTRC_Other, function, line, "Type records nest too deeply");
        }
        ++depth_;
    }
    ~TypeDepthGuard()
    {
        if (--depth_ == 0)
            tripped_ = false;
    }

    TypeDepthGuard(const TypeDepthGuard&) = delete;
    TypeDepthGuard& operator=(const TypeDepthGuard&) = delete;

    // Throws when a list walk has gone on for too many nodes.
    static void checkListStep(unsigned steps, const char* function, unsigned line)
    {
        if (steps >= listLimit)
            throw InvalidOp(InvalidOp::RTRC_Other, function, line, "Type list does not end");
    }

private:
    static inline thread_local unsigned depth_ = 0;
    static inline thread_local bool tripped_ = false;
};

#endif
