#include "TestServices.h"

#include <cstdlib>
#include <cstring>

#include "frontend/EE_ArraySectionExpression.h"
#include "frontend/EE_BaseMemberName.h"
#include "frontend/EE_BaseNameLookupChain.h"
#include "frontend/EE_ConditionalExpression.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_FunctionCallExpression.h"
#include "frontend/EE_ImaginaryExpression.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_MemberAccessList.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_OffsetofExpression.h"
#include "frontend/EE_Parameter.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_SizeofTypeExpression.h"
#include "frontend/EE_String.h"
#include "frontend/EE_SubscriptExpression.h"
#include "frontend/EE_TemplateArgument.h"
#include "frontend/EE_ThisExpression.h"
#include "frontend/EE_Token.h"
#include "frontend/EE_TypeidOfTypeExpression.h"
#include "frontend/EE_VectorSubscriptExpression.h"

EE_DeclarationStore* TestServices::Declaration::declarationStore()
{
    return inner;
}

EE_Name* TestServices::Store::qualifiedScopeLookup(const char* text, int typeOnly)
{
    auto found = declarations.find(text);
    if (found == declarations.end() || (typeOnly && !found->second->isType()))
        return nullptr;
    return services.createName(*found->second);
}

EE_Name* TestServices::Store::qualifiedScopeLookup(const char* text, EE_MemberAccessList&)
{
    return qualifiedScopeLookup(text, 0);
}

EE_TypeDescriptor* TestServices::Store::findTypeInScope(const EE_String& text)
{
    auto found = declarations.find(text.data());
    if (found == declarations.end() || !found->second->isType())
        throw EE_Exception(EE_Exception::InternalFailure);
    return found->second->typeDescriptor;
}

EE_String TestServices::LiteralValue::signature()
{
    return EE_String(text.c_str());
}

TestServices::TestServices(const std::vector<Symbol>& symbols)
{
    stores.push_back(std::make_unique<Store>(nullptr, 1, nullptr, *this));
    globalScope = stores.back().get();
    current = globalScope;
    for (const Symbol& symbol : symbols)
        declare(symbol);
}

TestServices::~TestServices() = default;

TestServices::Declaration* TestServices::declare(const Symbol& symbol)
{
    Store* owner = globalScope;
    if (!symbol.scope.empty()) {
        auto scope = scopes.find(symbol.scope);
        if (scope == scopes.end() || scope->second->inner == nullptr)
            throw EE_Exception(EE_Exception::InternalFailure);
        owner = scope->second->inner;
    }
    Store* inner = nullptr;
    bool opensScope = symbol.category == Type &&
                      (symbol.kind == EE_TypeDescriptor::Class || symbol.kind == EE_TypeDescriptor::Union ||
                       symbol.kind == EE_TypeDescriptor::NoType);
    Declaration* declaration = new (arena) Declaration(symbol.name.c_str(), owner, arena, symbol.category, nullptr);
    if (opensScope) {
        stores.push_back(std::make_unique<Store>(createName(*declaration), 0, owner, *this));
        inner = stores.back().get();
        declaration->inner = inner;
        scopes[symbol.name] = declaration;
    }
    bool named = symbol.kind == EE_TypeDescriptor::Class || symbol.kind == EE_TypeDescriptor::Union ||
                 symbol.kind == EE_TypeDescriptor::Enumeration;
    if ((symbol.category == Type || symbol.category == Template) && named)
        declaration->typeDescriptor = findOrCreateNamedTypeDescriptor(symbol.kind, *declaration, 0);
    else if (symbol.kind != EE_TypeDescriptor::NoType)
        declaration->typeDescriptor = predefined(symbol.kind);
    owner->declarations[symbol.name] = declaration;
    return declaration;
}

TestServices::LiteralValue* TestServices::literal(EE_LiteralValue::Kind kind, const std::string& text,
                                                  EE_TypeDescriptor* type)
{
    literals.push_back(std::make_unique<LiteralValue>(kind, type, text));
    LiteralValue* value = literals.back().get();
    value->value = std::strtoll(text.c_str(), nullptr, 0);
    return value;
}

EE_TypeDescriptor* TestServices::descriptor(EE_TypeDescriptor::Kind kind, short scale)
{
    return new (arena) EE_TypeDescriptor(kind, nullptr, nullptr, 0, 0, scale);
}

int TestServices::mblen(const char* text)
{
    unsigned char c = static_cast<unsigned char>(*text);
    int n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    for (int i = 1; i < n; ++i)
        if (text[i] == '\0')
            return i;
    return n;
}

int TestServices::utf8encode(unsigned int code, char* out)
{
    if (code < 0x80) {
        out[0] = static_cast<char>(code);
        return 1;
    }
    if (code < 0x800) {
        out[0] = static_cast<char>(0xC0 | code >> 6);
        out[1] = static_cast<char>(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        out[0] = static_cast<char>(0xE0 | code >> 12);
        out[1] = static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out[2] = static_cast<char>(0x80 | (code & 0x3F));
        return 3;
    }
    if (code < 0x110000) {
        out[0] = static_cast<char>(0xF0 | code >> 18);
        out[1] = static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out[2] = static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out[3] = static_cast<char>(0x80 | (code & 0x3F));
        return 4;
    }
    return 0;
}

EE_DeclarationStore* TestServices::setCurrentStore(EE_DeclarationStore& store)
{
    EE_DeclarationStore* previous = current;
    current = static_cast<Store*>(&store);
    return previous;
}

EE_TypeDescriptor* TestServices::pointerToCharTypeDescriptor()
{
    return findOrCreatePointerTypeDescriptor(*predefined(EE_TypeDescriptor::Char), 0);
}

EE_TypeDescriptor* TestServices::pointerToWchartTypeDescriptor()
{
    return findOrCreatePointerTypeDescriptor(*predefined(EE_TypeDescriptor::WcharT), 0);
}

EE_TypeDescriptor* TestServices::pointerToFortranCharacterTypeDescriptor()
{
    return findOrCreatePointerTypeDescriptor(*predefined(EE_TypeDescriptor::UnsignedChar), 0);
}

EE_TypeDescriptor* TestServices::pointerToVoidTypeDescriptor()
{
    return findOrCreatePointerTypeDescriptor(*predefined(EE_TypeDescriptor::Void), 0);
}

EE_TypeDescriptor* TestServices::underlyingTypeDescriptor(const EE_TypeDescriptor& type)
{
    // wchar_t stands for a 32-bit signed integer on this target.
    if (type.kind == EE_TypeDescriptor::WcharT)
        return predefined(EE_TypeDescriptor::Int);
    return const_cast<EE_TypeDescriptor*>(&type);
}

bool TestServices::sizeOf(const EE_TypeDescriptor& type, long long& size) const
{
    auto found = sizes.find(type.kind);
    if (found == sizes.end())
        return false;
    size = found->second;
    return true;
}

unsigned TestServices::rankOf(const EE_TypeDescriptor& type) const
{
    unsigned rank = 0;
    for (const EE_TypeDescriptor* t = &type; t != nullptr && t->kind == EE_TypeDescriptor::Array; t = t->next)
        ++rank;
    return rank;
}

EE_TemplateArgument* TestServices::createTemplateArgument(EE_Expression& expression)
{
    return new (arena) EE_TemplateArgument(&expression);
}

EE_TemplateArgument* TestServices::createTemplateArgument(const EE_TypeDescriptor& type)
{
    return new (arena) EE_TemplateArgument(const_cast<EE_TypeDescriptor*>(&type));
}

EE_TypeDescriptor* TestServices::findOrCreatePredefinedTypeDescriptor(EE_TypeDescriptor::Kind kind, int isConst)
{
    EE_TypeDescriptor*& slot = basic[{kind, isConst}];
    if (slot == nullptr)
        slot = new (arena) EE_TypeDescriptor(kind, nullptr, nullptr, 0, isConst);
    return slot;
}

EE_TypeDescriptor* TestServices::findOrCreateTypeDescriptor(EE_TypeDescriptor::Kind kind, const EE_TypeDescriptor& type,
                                                            int isConst)
{
    EE_TypeDescriptor*& slot = derived[{kind, &type, isConst}];
    if (slot == nullptr)
        slot = new (arena) EE_TypeDescriptor(kind, const_cast<EE_TypeDescriptor*>(&type), nullptr, 0, isConst);
    return slot;
}

EE_TypeDescriptor* TestServices::findOrCreateArrayTypeDescriptor(const EE_TypeDescriptor& element, EE_Expression& bound)
{
    long long count = computeIntegralConstant(bound);
    return new (arena)
        EE_TypeDescriptor(EE_TypeDescriptor::Array, const_cast<EE_TypeDescriptor*>(&element), nullptr, count);
}

EE_TypeDescriptor* TestServices::findOrCreateNamedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                 EE_Declaration& declaration, int isConst)
{
    return new (arena) EE_TypeDescriptor(kind, nullptr, &declaration, 0, isConst);
}

EE_TypeDescriptor* TestServices::findOrCreateFixedPointTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int,
                                                                      int scale, bool, EE_DecimalSign)
{
    return descriptor(kind, static_cast<short>(scale));
}

EE_TypeDescriptor* TestServices::findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int, bool,
                                                                      bool, bool, const char*)
{
    return descriptor(kind);
}

EE_TypeDescriptor* TestServices::findOrCreateCharstringTypeDescriptor(const EE_TypeDescriptor&)
{
    return descriptor(EE_TypeDescriptor::AlphanumericString);
}

EE_TypeDescriptor* TestServices::findOrCreateRefModTypeDescriptor(const EE_TypeDescriptor& type, int)
{
    return descriptor(type.kind);
}

EE_TypeDescriptor* TestServices::findOrCreateNationalStringTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int,
                                                                          bool, bool, bool, const char*)
{
    return descriptor(kind);
}

EE_TypeDescriptor* TestServices::findOrCreateNationalStringTypeDescriptor(const EE_TypeDescriptor&)
{
    return descriptor(EE_TypeDescriptor::NationalString);
}

EE_TypeDescriptor* TestServices::findOrCreateDbcsStringTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int, bool,
                                                                      bool, bool, const char*)
{
    return descriptor(kind);
}

EE_TypeDescriptor* TestServices::findOrCreateDbcsStringTypeDescriptor(const EE_TypeDescriptor&)
{
    return descriptor(EE_TypeDescriptor::DbcsString);
}

EE_TypeDescriptor* TestServices::findOrCreateIndexDataItemTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int)
{
    return descriptor(kind);
}

EE_ConditionalExpression* TestServices::createConditionalExpression(EE_Expression* condition, EE_Expression* whenTrue,
                                                                    EE_Expression* whenFalse)
{
    return new (arena) EE_ConditionalExpression(condition, whenTrue, whenFalse);
}

EE_UnaryExpression* TestServices::createUnaryExpression(EE_UnaryExpression::Kind kind, EE_Expression* operand)
{
    return new (arena) EE_UnaryExpression(kind, operand);
}

EE_BinaryExpression* TestServices::createBinaryExpression(EE_BinaryExpression::Kind kind, EE_Expression* left,
                                                          EE_Expression* right)
{
    if (kind == EE_BinaryExpression::Subscript)
        return new (arena) EE_SubscriptExpression(left, right);
    return new (arena) EE_BinaryExpression(kind, left, right);
}

EE_CastExpression* TestServices::createCastExpression(EE_CastExpression::Kind kind, EE_TypeDescriptor* type,
                                                      EE_Expression* operand)
{
    return new (arena) EE_CastExpression(kind, type, operand);
}

EE_SizeofTypeExpression* TestServices::createSizeofTypeExpression(EE_TypeDescriptor* type)
{
    return new (arena) EE_SizeofTypeExpression(type);
}

EE_TypeidOfTypeExpression* TestServices::createTypeidOfTypeExpression(EE_TypeDescriptor* type)
{
    return new (arena) EE_TypeidOfTypeExpression(type);
}

EE_OffsetofExpression* TestServices::createOffsetofExpression(EE_Name* name)
{
    return new (arena) EE_OffsetofExpression(name);
}

EE_MemberExpression* TestServices::createMemberExpression(EE_MemberExpression::Kind kind, EE_Expression* object,
                                                          EE_Name* member)
{
    return new (arena) EE_MemberExpression(kind, object, member);
}

EE_LiteralExpression* TestServices::createLiteralExpression(EE_LiteralValue* value)
{
    return new (arena) EE_LiteralExpression(value);
}

EE_FigConstantExpression* TestServices::createFigConstantExpression(EE_FigConstant* value)
{
    return new (arena) EE_FigConstantExpression(value);
}

EE_ThisExpression* TestServices::createThisExpression()
{
    EE_TypeDescriptor* enclosing = typeDescriptorOfClosestEnclosingClass();
    if (enclosing == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return new (arena) EE_ThisExpression(findOrCreatePointerTypeDescriptor(*enclosing, 0));
}

EE_NameExpression* TestServices::createNameExpression(EE_Name* name)
{
    return new (arena) EE_NameExpression(name);
}

EE_SubscriptExpression* TestServices::createNameSubrangeExpression(EE_Expression* name, EE_Expression* range)
{
    return new (arena) EE_SubscriptExpression(name, range);
}

EE_ParenthesesExpression* TestServices::createParenthesesExpression(EE_Expression* inner)
{
    return new (arena) EE_ParenthesesExpression(inner);
}

EE_ImaginaryExpression* TestServices::createImaginaryExpression()
{
    return new (arena) EE_ImaginaryExpression();
}

EE_Parameter* TestServices::createParameter(EE_Expression* expression, EE_Parameter* next)
{
    return new (arena) EE_Parameter(expression, next);
}

EE_FunctionCallExpression* TestServices::createFunctionCallExpression(EE_Expression* callee, EE_Parameter* parameters,
                                                                      int option)
{
    return new (arena) EE_FunctionCallExpression(callee, parameters, option);
}

EE_ArraySectionExpression* TestServices::createArraySectionExpression(EE_Expression* lower, EE_Expression* upper,
                                                                      EE_Expression* stride, unsigned int dimension,
                                                                      int argument)
{
    return new (arena) EE_ArraySectionExpression(lower, upper, stride, dimension, argument);
}

EE_VectorSubscriptExpression* TestServices::createVectorSubscriptExpression(EE_Parameter* parameters,
                                                                            unsigned int first, unsigned int second)
{
    return new (arena) EE_VectorSubscriptExpression(parameters, first, second);
}

EE_LiteralValue* TestServices::findOrCreateLiteralValue(EE_Token& token)
{
    std::string text(token.spelling ? token.spelling : "", token.length);
    EE_LiteralValue::Kind kind = EE_LiteralValue::Integral;
    if (!text.empty() && text[0] == '\'')
        kind = EE_LiteralValue::Character;
    else if (!text.empty() && text[0] == '"')
        kind = EE_LiteralValue::String;
    else if (token.type != nullptr && token.type->kind >= EE_TypeDescriptor::Float &&
             token.type->kind <= EE_TypeDescriptor::HexLongDouble)
        kind = EE_LiteralValue::Real;
    LiteralValue* value = literal(kind, text, token.type);
    if (kind == EE_LiteralValue::Character && text.size() >= 3)
        value->value = static_cast<unsigned char>(text[1]);
    return value;
}

EE_LiteralValue* TestServices::findOrCreateTrueLiteralValue()
{
    LiteralValue* value = literal(EE_LiteralValue::Integral, "true", boolTypeDescriptor());
    value->value = 1;
    return value;
}

EE_LiteralValue* TestServices::findOrCreateFalseLiteralValue()
{
    return literal(EE_LiteralValue::Integral, "false", boolTypeDescriptor());
}

EE_LiteralValue* TestServices::findOrCreateDefaultSectionLiteralValue()
{
    return literal(EE_LiteralValue::Integral, "0", signedIntTypeDescriptor());
}

EE_LiteralValue* TestServices::createIntegerLiteralValue(long long value)
{
    return literal(EE_LiteralValue::Integral, std::to_string(value), signedLongLongIntTypeDescriptor());
}

EE_LiteralValue* TestServices::createFixedPointLiteralValue(long long value)
{
    return literal(EE_LiteralValue::FixedPointBinary, std::to_string(value),
                   descriptor(EE_TypeDescriptor::FixedPointBinary));
}

long long TestServices::integerValue(const EE_LiteralValue& value)
{
    return static_cast<const LiteralValue&>(value).value;
}

EE_FigConstant* TestServices::findOrCreateFigConstantValue(EE_Token&)
{
    throw EE_Exception(EE_Exception::InternalFailure);
}

EE_Label& TestServices::createLabel() const
{
    throw EE_Exception(EE_Exception::InternalFailure);
}

void TestServices::record(const char* operation, const EE_TypeDescriptor& type) const
{
    generated.push_back(std::string(operation) + " " + type.signature().data());
}

EE_Name* TestServices::createName(EE_Declaration& declaration)
{
    return new (arena) EE_Name(&arena, &declaration);
}

EE_BaseMemberName* TestServices::createBaseMemberName(EE_Declaration& declaration, int flag, EE_DeclarationStore& store)
{
    EE_BaseMemberName* name = new (arena) EE_BaseMemberName(&arena, &declaration);
    if (flag == 0)
        name->prependComponent(*createBaseNameLookupChainComponent(store));
    return name;
}

EE_BaseNameLookupChain* TestServices::createBaseNameLookupChainComponent(EE_DeclarationStore& store)
{
    return new (arena) EE_BaseNameLookupChain(&store);
}

EE_Name* TestServices::resolveTemplate(const EE_Name& name, EE_TemplateArgument* arguments)
{
    Declaration* pattern = static_cast<Declaration*>(name.declaration);
    if (pattern == nullptr || !pattern->isTemplate() || arguments == nullptr)
        return nullptr;
    std::string instance = name.signature().data();
    const char* separator = "<";
    for (EE_TemplateArgument* a = arguments; a != nullptr; a = a->next) {
        instance += separator;
        if (a->kind == EE_TemplateArgument::TypeArgument)
            instance += a->type ? a->type->signature().data() : "";
        else
            instance += a->expression ? a->expression->signature(1).data() : "";
        separator = ",";
    }
    instance += ">";
    Category category = pattern->typeDescriptor ? Type : Function;
    Declaration* declaration =
        new (arena) Declaration(instance.c_str(), static_cast<Store*>(pattern->store), arena, category, nullptr);
    if (pattern->typeDescriptor != nullptr) {
        EE_TypeDescriptor::Kind kind = pattern->typeDescriptor->kind;
        if (kind == EE_TypeDescriptor::Class || kind == EE_TypeDescriptor::Union)
            declaration->typeDescriptor = findOrCreateNamedTypeDescriptor(kind, *declaration, 0);
        else
            declaration->typeDescriptor = pattern->typeDescriptor;
    }
    return createName(*declaration);
}

EE_Name* TestServices::lookup(EE_String& name, EE_DeclarationStore* store, int)
{
    if (store != nullptr)
        return store->qualifiedScopeLookup(name.data(), 0);
    for (Store* s = current; s != nullptr; s = s->enclosing)
        if (EE_Name* found = s->qualifiedScopeLookup(name.data(), 0))
            return found;
    return nullptr;
}

EE_Name* TestServices::lookup(EE_String& name, EE_MemberAccessList& qualifiers, EE_DeclarationStore* store)
{
    for (Store* s = store ? static_cast<Store*>(store) : current; s != nullptr; s = s->enclosing)
        if (EE_Name* found = s->qualifiedScopeLookup(name.data(), qualifiers))
            return found;
    return nullptr;
}
