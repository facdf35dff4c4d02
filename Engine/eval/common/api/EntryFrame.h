#ifndef NORVEXA_API_ENTRYFRAME_H
#define NORVEXA_API_ENTRYFRAME_H

#include <optional>

#include "HostRecords.h"
#include "HostStatusCodes.h"
#include "api/FloatingPointGuard.h"
#include "services/CurrentEnvironmentScope.h"
#include "services/EntryTrace.h"

class EvaluationEnvironment;

// The frame every entry point shares. Made first thing in the entry point:
// it opens the entry trace ("ENTER <signature>: (<line>)", indent + 2).
// Leaving the entry point by any way (a return, an exception thrown past
// the frame) puts back the environment that was current on entry and then
// writes "EXIT" and undents. On Windows the frame also runs in the
// evaluator's floating-point mode, from before the entry trace to after the
// exit trace, and gives the caller its own mode back (FloatingPointGuard).
//
//     UBYTE2 DbgSomething(ExpressionRepresentation* rep, const LCC_Eval_Context_Info* ctx)
//     {
//         return EntryFrame::run(signature, line, UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
//             if (!LiveRepresentations::isLive(rep))
//                 return statusFailure;
//             frame.makeCurrent(*rep, ctx);
//             ...
//             return statusSuccess;
//         });
//     }
class EntryFrame {
public:
    EntryFrame(const char* signature, unsigned line);
    ~EntryFrame();

    EntryFrame(const EntryFrame&) = delete;
    EntryFrame& operator=(const EntryFrame&) = delete;

    // Makes env the calling thread's current environment until the frame
    // ends (a non-null context also becomes env's context). Called again,
    // it puts the first one's predecessor back before making env current,
    // so the frame still restores what was current on entry.
    void makeCurrent(EvaluationEnvironment& env, const LCC_Eval_Context_Info* context = nullptr);

    // The whole of an entry point: opens the frame and runs work(frame) in
    // the catch-all, so that nothing thrown, by the work or by the frame's
    // own trace and environment, leaves the entry point: failure is the
    // answer then. Every entry point runs in it:
    //
    //     return EntryFrame::run(signature, line, UBYTE2(statusFailure),
    //                            [&](EntryFrame& frame) -> UBYTE2 { ... });
    template <class Result, class Work>
    static Result run(const char* signature, unsigned line, Result failure, Work&& work) noexcept
    {
        try {
            EntryFrame frame(signature, line);
            return work(frame);
        } catch (...) {
            return failure;
        }
    }

    // The same for the entry points that answer nothing.
    template <class Work>
    static void runQuietly(const char* signature, unsigned line, Work&& work) noexcept
    {
        try {
            EntryFrame frame(signature, line);
            work(frame);
        } catch (...) {
        }
    }

    // Runs work inside the catch-all: its status, or statusFailure when it
    // throws anything.
    template <class Work>
    UBYTE2 guard(Work&& work) noexcept
    {
        return guardOr<UBYTE2>(statusFailure, static_cast<Work&&>(work));
    }

    // Runs work; an exception goes to mapping, which is called inside the
    // handler, so it may rethrow (`throw;`) to match the exception's type,
    // and answers the status for it. Whatever mapping lets through (an
    // exception it does not match, or one of its own) gives statusFailure.
    template <class Work, class Mapping>
    UBYTE2 guard(Work&& work, Mapping&& mapping) noexcept
    {
        try {
            return work();
        } catch (...) {
            try {
                return mapping();
            } catch (...) {
                return statusFailure;
            }
        }
    }

    // Runs work; failure is the answer when it throws anything.
    template <class Result, class Work>
    Result guardOr(Result failure, Work&& work) noexcept
    {
        try {
            return work();
        } catch (...) {
            return failure;
        }
    }

    // Runs work, swallowing whatever it throws: for entry points that answer
    // nothing.
    template <class Work>
    void guardQuietly(Work&& work) noexcept
    {
        try {
            work();
        } catch (...) {
        }
    }

private:
    // Declared first: set before anything else runs, put back last.
    FloatingPointGuard floatingPoint_;
    // Destroyed after the environment is put back.
    EntryTrace trace_;
    std::optional<CurrentEnvironmentScope> current_;
};

#endif
