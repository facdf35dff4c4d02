#include "CobolTestServices.h"

#include <cstring>

#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_FunctionCallExpression.h"
#include "frontend/EE_ImplicitMemberName.h"
#include "frontend/EE_MemberAccessList.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_Parameter.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_Token.h"
#include "frontend/EE_UnaryExpression.h"

CobolTestServices::CobolTestServices(const std::vector<Item>& items)
{
    cobol = true;
    EE_StorageArena& arena = storageArena();
    for (const Item& item : items) {
        Declaration* declaration = new (arena) Declaration(item.name.c_str(), global(), arena, Variable, nullptr);
        if (item.typed) {
            EE_TypeDescriptor* element = findOrCreatePredefinedTypeDescriptor(EE_TypeDescriptor::AlphanumericString, 0);
            declaration->typeDescriptor =
                item.table ? new (arena) EE_TypeDescriptor(EE_TypeDescriptor::Array, element, nullptr, 10) : element;
        }
        entries.push_back({item, declaration});
    }
}

const CobolTestServices::Entry* CobolTestServices::find(const std::string& name) const
{
    for (const Entry& entry : entries)
        if (entry.item.name == name)
            return &entry;
    return nullptr;
}

EE_Expression* CobolTestServices::groupExpression(const Entry& group)
{
    EE_Name* name = createName(*group.declaration);
    if (group.item.parent.empty())
        return createNameExpression(name);
    const Entry* outer = find(group.item.parent);
    return createMemberExpression(EE_MemberExpression::Dot, groupExpression(*outer), name);
}

EE_Name* CobolTestServices::lookup(EE_String& name, EE_MemberAccessList& qualifiers, EE_DeclarationStore*)
{
    std::string line = name.data();
    std::vector<std::string> wanted;
    for (EE_MemberAccessList::Link* link = qualifiers.first; link != nullptr; link = link->next) {
        line += "|";
        line += link->qualifier.data();
        wanted.push_back(link->qualifier.data());
    }
    lookups.push_back(line);

    const Entry* entry = find(name.data());
    if (entry == nullptr)
        return nullptr;
    // Each qualifier must be an enclosing group, outward in the order written.
    const Entry* scope = entry;
    for (const std::string& qualifier : wanted) {
        do
            scope = scope->item.parent.empty() ? nullptr : find(scope->item.parent);
        while (scope != nullptr && scope->item.name != qualifier);
        if (scope == nullptr)
            return nullptr;
    }
    EE_StorageArena& arena = storageArena();
    if (entry->item.parent.empty())
        return createName(*entry->declaration);
    return new (arena) EE_ImplicitMemberName(&arena, entry->declaration, groupExpression(*find(entry->item.parent)));
}

EE_FigConstant* CobolTestServices::findOrCreateFigConstantValue(EE_Token& token)
{
    std::string text(token.spelling, token.length);
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    figConstants.push_back(std::make_unique<FigConstant>(text));
    return figConstants.back().get();
}

EE_TypeDescriptor* CobolTestServices::findOrCreateFixedPointTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                           unsigned int digits, int scale,
                                                                           bool isSigned, EE_DecimalSign sign)
{
    types.push_back("fixed " + std::to_string(kind) + " digits=" + std::to_string(digits) +
                    " scale=" + std::to_string(scale) + " signed=" + std::to_string(isSigned));
    return TestServices::findOrCreateFixedPointTypeDescriptor(kind, digits, scale, isSigned, sign);
}

namespace {

std::string stringType(const char* what, unsigned kind, unsigned length, bool quote, bool hex, bool nul,
                       const char* text)
{
    return std::string(what) + " " + std::to_string(kind) + " length=" + std::to_string(length) +
           " quote=" + std::to_string(quote) + " hex=" + std::to_string(hex) + " nul=" + std::to_string(nul) +
           " text=" + (text != nullptr ? std::string(text, std::strlen(text) > 3 ? 3 : std::strlen(text)) : "null");
}

} // namespace

EE_TypeDescriptor* CobolTestServices::findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                           unsigned int length, bool quote, bool hex,
                                                                           bool nul, const char* text)
{
    types.push_back(stringType("chars", kind, length, quote, hex, nul, text));
    return TestServices::findOrCreateCharstringTypeDescriptor(kind, length, quote, hex, nul, text);
}

EE_TypeDescriptor* CobolTestServices::findOrCreateNationalStringTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                               unsigned int length, bool quote,
                                                                               bool hex, bool nul, const char* text)
{
    types.push_back(stringType("national", kind, length, quote, hex, nul, text));
    return TestServices::findOrCreateNationalStringTypeDescriptor(kind, length, quote, hex, nul, text);
}

EE_TypeDescriptor* CobolTestServices::findOrCreateDbcsStringTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                           unsigned int length, bool quote, bool hex,
                                                                           bool nul, const char* text)
{
    types.push_back(stringType("dbcs", kind, length, quote, hex, nul, nullptr));
    (void)text;
    return TestServices::findOrCreateDbcsStringTypeDescriptor(kind, length, quote, hex, nul, text);
}

EE_TypeDescriptor* CobolTestServices::doubleTypeDescriptor()
{
    types.push_back("double");
    return TestServices::doubleTypeDescriptor();
}

EE_TypeDescriptor* CobolTestServices::pointerToVoidTypeDescriptor()
{
    types.push_back("pointer");
    return TestServices::pointerToVoidTypeDescriptor();
}

std::string cobolTree(const EE_Expression* e)
{
    if (e == nullptr)
        return "null";
    if (const EE_BinaryExpression* b = e->asBinaryExpression())
        return "(" + std::string(b->signature(0).data()) + " " + cobolTree(b->left) + " " + cobolTree(b->right) + ")";
    if (const EE_UnaryExpression* u = e->asUnaryExpression())
        return "(" + std::string(u->signature(0).data()) + " " + cobolTree(u->operand) + ")";
    if (const EE_MemberExpression* m = e->asMemberExpression())
        return "(. " + cobolTree(m->object) + " " + std::string(m->member->signature().data()) + ")";
    if (const EE_ParenthesesExpression* p = e->asParenthesesExpression())
        return "(paren " + cobolTree(p->inner) + ")";
    if (const EE_FunctionCallExpression* f = e->asFunctionCallExpression()) {
        std::string out = "(call " + cobolTree(f->callee);
        for (const EE_Parameter* p = f->parameters; p != nullptr; p = p->next)
            out += " " + std::to_string(p->mode) + ":" + cobolTree(p->expression);
        return out + ")";
    }
    return e->signature(0).data();
}
