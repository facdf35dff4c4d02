#include "api/EntryFrame.h"

EntryFrame::EntryFrame(const char* signature, unsigned line) : trace_(signature, line) {}

EntryFrame::~EntryFrame() = default;

void EntryFrame::makeCurrent(EvaluationEnvironment& env, const LCC_Eval_Context_Info* context)
{
    current_.reset();
    current_.emplace(env, context);
}
