#include "types/TemplateItem.h"

#include <cstdio>
#include <cstring>

#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "services/TextBytes.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

namespace {

// The host's search flags and kind for template names, passed through.
constexpr UBYTE4 kTemplateSearchFlags = 0x60800000;
constexpr UBYTE4 kTemplateEntryKind = 38;

// The punctuation of a template-id, made once for the process.
const ByteString& openText()
{
    static const ByteString text = textOf("<");
    return text;
}
const ByteString& closeText()
{
    static const ByteString text = textOf(">");
    return text;
}
const ByteString& commaText()
{
    static const ByteString text = textOf(",");
    return text;
}

const char* cText(const ByteString& text)
{
    return reinterpret_cast<const char*>(text.data());
}

} // namespace

bool TemplateItem::isTemplateName(const char* name, const ScopeItem& scope)
{
    if (name == nullptr || name[0] == '\0')
        return false;
    try {
        SYMBOL_ENTRY* entry = SVC::ExprSearchForSymbolEntry(
            scope.context(), reinterpret_cast<UBYTE1*>(const_cast<char*>(name)), 1, kTemplateSearchFlags);
        return entry != nullptr && entry->kind == kTemplateEntryKind;
    } catch (...) {
        return false;
    }
}

TemplateItem::TemplateItem(const ByteString& name, const ScopeItem& scope) : text_(name), scope_(&scope)
{
    text_ += openText();
}

TemplateItem::~TemplateItem()
{
    delete type_;
}

bool TemplateItem::startArgument() const
{
    if (state_ == building) {
        text_ += commaText();
        return true;
    }
    if (state_ == started)
        return true;
    state_ = failed;
    return false;
}

bool TemplateItem::addTemplateArg(unsigned long long value, int isSigned) const
{
    if (!startArgument())
        return false;
    char digits[32];
    if (isSigned != 0)
        std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(value));
    else
        std::snprintf(digits, sizeof digits, "%llu", value);
    text_ += textOf(digits);
    state_ = building;
    return true;
}

bool TemplateItem::addTemplateArg(const TypeItem* type) const
{
    if (!startArgument())
        return false;
    if (type == nullptr || (type->typeIndex().module() == 0 && type->typeIndex().index() == 0)) {
        state_ = failed;
        return false;
    }
    ByteString name;
    type->primitiveName(name);
    if (name.empty()) {
        state_ = failed;
        return false;
    }
    text_ += name;
    state_ = building;
    return true;
}

SymbolItem* TemplateItem::resolveTemplateAsSymbol() const
{
    if (state_ == resolved)
        return type_ == nullptr ? symbol_ : nullptr;
    if (state_ != building) {
        state_ = failed;
        return nullptr;
    }
    state_ = resolved;
    text_ += closeText();
    if (scope_ == nullptr) {
        state_ = failed;
        return nullptr;
    }
    const char* text = cText(text_);
    ScopeItem& original = const_cast<ScopeItem&>(*scope_);
    unsigned depth = 0;
    for (ScopeItem* scope = &original; scope != nullptr && depth < 4096; scope = scope->container(), ++depth) {
        if (SymbolItem* variable = SymbolItem::makeVarSymbol(text, *scope)) {
            if (!variable->isType()) {
                symbol_ = variable;
                SVC::fTrace(__PRETTY_FUNCTION__, __LINE__,
                            "Resolved templated symbol %s as a variable at scope %s (original scope %s)", text,
                            scope->name(), original.name());
                return symbol_;
            }
        }
        if (SymbolItem* typeSymbol = SymbolItem::makeTypeSymbol(text, *scope)) {
            symbol_ = typeSymbol;
            type_ = new TypeItem(typeSymbol->dataType());
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__,
                        "Resolved templated type symbol %s as a type at scope %s (original scope %s)", text,
                        scope->name(), original.name());
            return nullptr;
        }
    }
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Failed to resolve templated symbol %s at scope %s", text,
                original.name());
    state_ = failed;
    return nullptr;
}

const TypeItem* TemplateItem::resolveTemplateAsType() const
{
    resolveTemplateAsSymbol();
    return state_ == resolved ? type_ : nullptr;
}
