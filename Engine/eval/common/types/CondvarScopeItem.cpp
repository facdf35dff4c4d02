#include "types/CondvarScopeItem.h"

#include <cstring>
#include <memory>

#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "types/SymbolItem.h"

CondvarScopeItem* CondvarScopeItem::getCondVarScope(const TNcobolCondVar& record, ScopeItem& parent)
{
    if (!isCobolLanguage())
        return nullptr;
    const List<ScopeItem*>& scopes = EvaluationEnvironment::currentRep()->scopes();
    for (unsigned i = scopes.count(); i > 0; --i) {
        ScopeItem* scope = scopes[i - 1];
        if (scope->scopeType() == condvarScope && &static_cast<CondvarScopeItem*>(scope)->conditionRecord() == &record)
            return static_cast<CondvarScopeItem*>(scope);
    }
    return new CondvarScopeItem(record, parent);
}

CondvarScopeItem::CondvarScopeItem(const TNcobolCondVar& record, ScopeItem& parent)
    : ScopeItem(parent.context(), condvarScope), record_(&record)
{
    setContainer(&parent);
}

CondvarScopeItem::~CondvarScopeItem()
{
    for (unsigned i = pseudoEntries_.count(); i > 0; --i)
        delete pseudoEntries_[i - 1];
    pseudoEntries_.deleteItems();
}

SymbolItem* CondvarScopeItem::findVariable(const char* name, int create) const
{
    if (name == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    for (unsigned i = variables_.count(); i > 0; --i)
        if (std::strcmp(variables_[i - 1]->name(), name) == 0)
            return variables_[i - 1];
    if (create == 0 || record_->conditions == nullptr)
        return nullptr;

    const TNconditionElement* element = nullptr;
    for (unsigned i = record_->count; i > 0; --i) {
        const TNconditionElement& candidate = record_->conditions[i - 1];
        if (candidate.name != nullptr && std::strcmp(candidate.name, name) == 0) {
            element = &candidate;
            break;
        }
    }
    if (element == nullptr)
        return nullptr;

    // The condition poses as a host symbol entry of the boolean type whose
    // value table is the condition element.
    auto owned = std::make_unique<SYMBOL_ENTRY>();
    SYMBOL_ENTRY* pseudo = owned.get();
    pseudo->typed.kind = SE_CONDITION_NAME;
    pseudo->typed.flags = 0;
    pseudo->typed.name = element->name;
    pseudo->typed.type = TYPE_INDEX{0, 144};
    pseudo->typed.u.condition = element;
    pseudoEntries_.append(pseudo);
    owned.release();
    SymbolItem::makeVarSymbol(pseudo, const_cast<CondvarScopeItem&>(*this));
    return findVariable(name, 0);
}
