#include "api/LocalsRepresentation.h"

#include "services/InvalidOp.h"
#include "services/SVC.h"

LocalsRepresentation::LocalsRepresentation(int language, const LCC_Eval_Context_Info* context,
                                           unsigned flags)
    : EvaluationEnvironment(language), flags_(flags)
{
    setContext(context);
    setAddressSize(SVC::ExprGetContextLocationType(context) == 4 ? 8 : 4);
    setLocalsOption((flags & 1) != 0);
}

LocalsRepresentation::~LocalsRepresentation() = default;

ByteString LocalsRepresentation::expression(StackItem*) const
{
    // The view's variables are listed by the locals entry points; a value
    // that none of them holds has no name here.
    throw InvalidOp(InvalidOp::RTRC_AssertFail, __PRETTY_FUNCTION__, __LINE__);
}

LocalsRepresentation* LocalsRepresentation::asLocalsRepresentation()
{
    return this;
}

const char* LocalsRepresentation::localSymbolDisplayName(_SYMBOL_ENTRY* entry)
{
    switch (entry->kind) {
    case SE_STATIC:
    case SE_SECTION_DATA: return entry->statics.displayName;
    case SE_THREAD_STATIC: return entry->threadstatic.displayName;
    default: return entry->header.name;
    }
}
