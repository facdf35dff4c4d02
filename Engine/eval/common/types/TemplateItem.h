#ifndef NORVEXA_TYPES_TEMPLATEITEM_H
#define NORVEXA_TYPES_TEMPLATEITEM_H

#include <cstdint>

#include <plomkit/ByteString.h>

class ScopeItem;
class SymbolItem;
class TypeItem;

// A C++ template-id being built from a name and its arguments (Pair<int,3>),
// resolved as a variable or a type by the full text under which the host
// keeps it. The evaluation environment owns each one and deletes it on
// reset.
class TemplateItem {
public:
    enum State : std::uint32_t {
        started = 0,
        building = 1,
        resolved = 2,
        failed = 3
    };

    // Whether the host knows name in the scope's context as a template.
    // Host failures answer false.
    static bool isTemplateName(const char* name, const ScopeItem& scope);

    TemplateItem(const ByteString& name, const ScopeItem& scope);
    ~TemplateItem();

    TemplateItem(const TemplateItem&) = delete;
    TemplateItem& operator=(const TemplateItem&) = delete;

    // Appends a constant argument in decimal; false (and the item failed)
    // once resolved or failed.
    bool addTemplateArg(unsigned long long value, int isSigned) const;
    // Appends a type argument by its source-language name; false (and the
    // item failed) for a missing or nameless type.
    bool addTemplateArg(const TypeItem* type) const;

    // The variable the finished text names, or null (a type, or nothing).
    SymbolItem* resolveTemplateAsSymbol() const;
    // The type the finished text names, or null.
    const TypeItem* resolveTemplateAsType() const;

    const ByteString& text() const { return text_; }
    State state() const { return state_; }

private:
    // Appends the argument separator when an argument came before; false
    // (the item failed) when no argument may be added any more.
    bool startArgument() const;

    mutable ByteString text_;
    mutable TypeItem* type_ = nullptr;
    mutable SymbolItem* symbol_ = nullptr;
    const ScopeItem* scope_;
    mutable State state_ = started;
};

#endif
