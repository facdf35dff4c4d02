#include "types/TypeItem.h"

#include "services/EvaluationEnvironment.h"
#include "services/SVC.h"

const _TYPE_ENTRY* TypeItem::typeEntry() const
{
    if (entry_ == nullptr && index_.module() != 0)
        entry_ = SVC::ExprGetTypeEntry(EvaluationEnvironment::currentRep()->context(),
                                       index_.typeIndex());
    return entry_;
}

unsigned TypeItem::equivalentPrimitiveType() const
{
    if (index_.module() == 0)
        return index_.index();
    try {
        if (typeEntry() == nullptr)
            return index_.index();
    } catch (...) {
    }
    return 223;
}
