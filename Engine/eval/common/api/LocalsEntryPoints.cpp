// The locals entry points: building, reading, refreshing and freeing the
// view of a frame's variables.

#include "api/LocalsEntryPoints.h"

#include "api/EntryFrame.h"
#include "api/LiveRepresentations.h"
#include "api/LocalVariable.h"
#include "api/LocalsRepresentation.h"

namespace {

// A frame number the host uses for the top of the stack.
constexpr UBYTE2 topFrameAlias = 65535;

UBYTE2 statusOfChange(std::int32_t changeState)
{
    switch (changeState) {
    case LocalVariable::unchanged: return statusLocalUnchanged;
    case LocalVariable::changed: return statusLocalChanged;
    default: return statusValidateAgain;
    }
}

} // namespace

UBYTE4 DbgBuildLocalVariables(const LCC_Eval_Context_Info* context, int language, LocalsRepresentation** view,
                              unsigned flags)
{
    return EntryFrame::run<UBYTE4>("UBYTE4 DbgBuildLocalVariables(const LCC_Eval_Context_Info*, int, "
                                   "LocalsRepresentation**, unsigned)",
                                   __LINE__, 0, [&](EntryFrame& frame) -> UBYTE4 {
                                       if (context == nullptr) {
                                           if (view != nullptr)
                                               *view = nullptr;
                                           return 0;
                                       }
                                       if (view == nullptr)
                                           return 0;
                                       LocalsRepresentation* made = frame.guardOr<LocalsRepresentation*>(
                                           nullptr, [&] { return new LocalsRepresentation(language, context, flags); });
                                       if (made == nullptr)
                                           return 0;
                                       try {
                                           LiveRepresentations::addView(*made);
                                       } catch (...) {
                                           delete made;
                                           return 0;
                                       }
                                       *view = made;
                                       return frame.guardOr<UBYTE4>(0, [&] {
                                           frame.makeCurrent(*made, context);
                                           made->variables().buildList();
                                           return made->variables().count();
                                       });
                                   });
}

UBYTE2 DbgGetLocalValue(LocalsRepresentation* view, UBYTE4 n, StackItem** value)
{
    return EntryFrame::run("UBYTE2 DbgGetLocalValue(LocalsRepresentation*, UBYTE4, StackItem**)", __LINE__,
                           UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
                               if (!LiveRepresentations::isLive(view) || value == nullptr)
                                   return statusFailure;
                               frame.makeCurrent(*view);
                               view->variables().buildList();
                               if (n >= view->variables().count())
                                   return statusFailure;
                               LocalVariable& variable = view->variables()[n];
                               *value = variable.value();
                               return statusOfChange(variable.changeState());
                           });
}

UBYTEP DbgGetLocalVariable(LocalsRepresentation* view, UBYTE4 n, const UBYTE1** name, StackItem** value)
{
    return EntryFrame::run<UBYTEP>("UBYTEP DbgGetLocalVariable(LocalsRepresentation*, UBYTE4, const UBYTE1**, "
                                   "StackItem**)",
                                   __LINE__, 0, [&](EntryFrame& frame) -> UBYTEP {
                                       if (!LiveRepresentations::isLive(view) || name == nullptr || value == nullptr)
                                           return 0;
                                       frame.makeCurrent(*view);
                                       view->variables().buildList();
                                       if (n >= view->variables().count())
                                           return 0;
                                       LocalVariable& variable = view->variables()[n];
                                       *value = variable.value();
                                       // The variable's own text: it lives as long as the view.
                                       *name = variable.name().data();
                                       return reinterpret_cast<UBYTEP>(variable.symbolHandle());
                                   });
}

void DbgFreeLocalVariables(LocalsRepresentation* view)
{
    EntryFrame::runQuietly("void DbgFreeLocalVariables(LocalsRepresentation*)", __LINE__, [&](EntryFrame& frame) {
        if (!LiveRepresentations::isLive(view))
            return;
        LiveRepresentations::removeView(*view);
        frame.makeCurrent(*view);
        delete view;
    });
}

void DbgRefreshLocalVariableFrame(LocalsRepresentation* view, const LCC_Eval_Context_Info* context, UBYTE2 n)
{
    EntryFrame::runQuietly("void DbgRefreshLocalVariableFrame(LocalsRepresentation*, const LCC_Eval_Context_Info*, "
                           "UBYTE2)",
                           __LINE__, [&](EntryFrame& frame) {
                               if (!LiveRepresentations::isLive(view))
                                   return;
                               // A null context leaves the view on the context it had.
                               const LCC_Eval_Context_Info* target = context != nullptr ? context : view->context();
                               frame.makeCurrent(*view, target);
                               view->evaluate(target, n == topFrameAlias ? 0 : n);
                           });
}

void DbgRefreshLocalVariables(LocalsRepresentation* view, const LCC_Eval_Context_Info* context)
{
    if (view == nullptr)
        return;
    try {
        DbgRefreshLocalVariableFrame(view, context, 0);
    } catch (...) {
    }
}
