#include "compiler/EE_OstrelServices.h"

#include <algorithm>
#include <string>
#include <vector>

#include "HostRecordAccess.h"
#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelLiteralValue.h"
#include "compiler/ServicesRefusal.h"
#include "datatypes/DataItemSupport.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
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

// The number a condition value holds, as the text of a COBOL numeric
// literal ("-12.5"): the literal loads read their value from the text.
std::string numericText(const PackedDecimal& value)
{
    const PackedDecimal::Effective e = value.effective();
    const unsigned char* b = e.bytes.data();
    const unsigned n = e.bytes.length();
    if (n == 0)
        servicesRefuse();
    std::string digits;
    for (unsigned i = 0; i + 1 < 2 * n; ++i) {
        const unsigned digit = (i % 2 == 0 ? b[i / 2] >> 4 : b[i / 2]) & 0xF;
        if (digit > 9)
            servicesRefuse(); // not a number: no literal to load
        digits += static_cast<char>('0' + digit);
    }
    const unsigned sign = b[n - 1] & 0xF;
    const std::size_t places = e.decimals > 0 ? static_cast<std::size_t>(e.decimals) : 0;
    if (digits.size() <= places)
        digits.insert(0, places + 1 - digits.size(), '0');
    std::string whole = digits.substr(0, digits.size() - places);
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
    std::string text = (sign == 0xD || sign == 0xB) ? "-" : "";
    text += whole;
    if (places > 0)
        text += "." + digits.substr(digits.size() - places);
    return text;
}

std::string numericText(const TypeItem& type, EE_LiteralValue::Kind kind, const void* bytes)
{
    static const char here[] = "numericText";
    switch (kind) {
    case EE_LiteralValue::PackedDecimal:
        return numericText(
            PackedDecimal(bytes, dataitem::recordOf<TNpacked_decimal>(type, TE_PACKED_DECIMAL, here, __LINE__)));
    case EE_LiteralValue::ZonedDecimal:
        return numericText(PackedDecimal(
            ZonedDecimal(bytes, dataitem::recordOf<TNzoned_decimal>(type, TE_ZONED_DECIMAL, here, __LINE__))));
    case EE_LiteralValue::NationalDecimal:
        return numericText(PackedDecimal(
            NationalDecimal(bytes, dataitem::recordOf<TNnational_decimal>(type, TE_NATIONAL_DECIMAL, here, __LINE__))));
    case EE_LiteralValue::FixedPointBinary: {
        // The value class takes the binary in the host's byte order.
        const auto record = dataitem::recordOf<TNfixed_point_binary>(type, TE_FIXED_POINT_BINARY, here, __LINE__);
        unsigned char host[8] = {};
        const unsigned length = record.byteLength;
        if (length == 0 || length > sizeof host)
            servicesRefuse();
        const auto* stored = static_cast<const unsigned char*>(bytes);
        for (unsigned i = 0; i < length; ++i)
            host[i] = stored[length - 1 - i];
        return numericText(PackedDecimal(FixedPointBinary(host, record)));
    }
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
    // The strings keep the value's bytes; a number becomes the literal of
    // its text, typed as the scanner types a numeric literal, so that the
    // assignment converts it to the variable's picture.
    const EE_LiteralValue::Kind kind = literalKind(present(type));
    EE_LiteralValue* value = nullptr;
    if (kind == EE_LiteralValue::Alphanumeric || kind == EE_LiteralValue::National || kind == EE_LiteralValue::Dbcs) {
        const auto length = static_cast<unsigned>(valueType->typeSize());
        value = newLiteral(kind, type, static_cast<const char*>(first->value), length);
    } else {
        const std::string text = numericText(*valueType, kind, first->value);
        const bool negative = text[0] == '-';
        const std::size_t point = text.find('.');
        const unsigned fraction = point == std::string::npos ? 0 : static_cast<unsigned>(text.size() - point - 1);
        const unsigned digits =
            static_cast<unsigned>(text.size()) - (negative ? 1 : 0) - (point == std::string::npos ? 0 : 1);
        const bool binary = digits < 19;
        EE_TypeDescriptor* literalType = findOrCreateFixedPointTypeDescriptor(
            binary ? EE_TypeDescriptor::FixedPointBinary : EE_TypeDescriptor::PackedDecimal, digits,
            -static_cast<int>(fraction), negative, EE_DecimalSignNone);
        value = newLiteral(binary ? EE_LiteralValue::FixedPointBinary : EE_LiteralValue::PackedDecimal, literalType,
                           text.c_str(), text.size());
    }
    for (auto it = subscripts.rbegin(); it != subscripts.rend(); ++it)
        variable = createBinaryExpression(EE_BinaryExpression::Subscript, variable, *it);
    return createBinaryExpression(EE_BinaryExpression::Assign, variable, createLiteralExpression(value));
}
