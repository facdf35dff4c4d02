#include "compiler/EE_OstrelServices.h"

#include <vector>

#include "HostRecordAccess.h"
#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelLiteralValue.h"
#include "compiler/ServicesRefusal.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_ImplicitMemberName.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_SubscriptExpression.h"
#include "types/CreatedTypeItem.h"
#include "types/SymbolItem.h"

namespace {

// The literal kind of a condition value's type.
EE_LiteralValue::Kind literalKind(const EE_TypeDescriptor& type)
{
    switch (type.kind) {
    case EE_TypeDescriptor::PackedDecimal: return EE_LiteralValue::PackedDecimal;
    case EE_TypeDescriptor::FixedPointBinary: return EE_LiteralValue::FixedPointBinary;
    case EE_TypeDescriptor::ZonedDecimal: return EE_LiteralValue::ZonedDecimal;
    case EE_TypeDescriptor::NationalDecimal: return EE_LiteralValue::NationalDecimal;
    case EE_TypeDescriptor::AlphanumericString: return EE_LiteralValue::Alphanumeric;
    case EE_TypeDescriptor::NationalString: return EE_LiteralValue::National;
    case EE_TypeDescriptor::DbcsString: return EE_LiteralValue::Dbcs;
    default: servicesRefuse();
    }
}

} // namespace

// A receiving condition name (SET condition-name TO TRUE) becomes the
// assignment of the condition's first value (a range: its low bound) to its
// conditional variable, subscripted as the condition name was. A condition
// name that is read is not expanded: the machine tests it.
EE_Expression* EE_OstrelServices::expandConditionNameExpression(EE_Expression& expression, int receiving)
{
    if (receiving == 0)
        return nullptr;
    std::vector<EE_Expression*> subscripts; // outermost first
    EE_Expression* core = &expression;
    for (;;) {
        if (EE_ParenthesesExpression* p = core->asParenthesesExpression()) {
            core = &present(p->inner);
        } else if (EE_SubscriptExpression* s = core->asSubscriptExpression()) {
            subscripts.push_back(s->right);
            core = &present(s->left);
        } else {
            break;
        }
    }
    EE_Name* name = nullptr;
    EE_Expression* variable = nullptr;
    if (EE_MemberExpression* member = core->asMemberExpression()) {
        name = member->member;
        variable = member->object;
    } else if (EE_NameExpression* plain = core->asNameExpression()) {
        name = plain->name;
        if (name != nullptr && name->asImplicitMemberName() != nullptr)
            variable = name->asImplicitMemberName()->object;
    }
    if (name == nullptr || name->declaration == nullptr || !name->declaration->isConditionName())
        return nullptr;
    const SymbolItem* symbol = static_cast<EE_OstrelDeclaration*>(name->declaration)->symbol();
    if (variable == nullptr || symbol == nullptr || symbol->entry() == nullptr)
        servicesRefuse();
    const TNconditionElement* condition = symbolEntryCondition(*symbol->entry());
    if (condition == nullptr)
        servicesRefuse();
    const TNconditionValue* first = nullptr;
    if (condition->valueCount > 0 && condition->values != nullptr)
        first = &condition->values[0];
    else if (condition->rangeCount > 0 && condition->ranges != nullptr)
        first = &condition->ranges[0].low;
    if (first == nullptr || first->value == nullptr)
        servicesRefuse();
    const TypeItem* valueType = CreatedTypeItem::findOrCreateType(first->type, nullptr);
    EE_TypeDescriptor* type = findOrCreateTypeDescriptor(valueType);
    const auto length = static_cast<unsigned>(valueType->typeSize());
    EE_LiteralValue* value =
        newLiteral(literalKind(present(type)), type, static_cast<const char*>(first->value), length);
    for (auto it = subscripts.rbegin(); it != subscripts.rend(); ++it)
        variable = createBinaryExpression(EE_BinaryExpression::Subscript, variable, *it);
    return createBinaryExpression(EE_BinaryExpression::Assign, variable, createLiteralExpression(value));
}
