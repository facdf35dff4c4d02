#ifndef TESTS_FRONTEND_COBOLTESTSERVICES_H
#define TESTS_FRONTEND_COBOLTESTSERVICES_H

#include <string>
#include <vector>

#include "TestServices.h"
#include "frontend/EE_FigConstant.h"

class EE_Expression;

// Services for COBOL parses: a small data division of named items, each at
// the top level or inside a group, optionally a table (OCCURS). A data name
// resolves when its OF/IN qualifiers are, in order, among its enclosing
// groups; an item inside a group resolves to an implicit member name whose
// object is the group's expression. Every lookup and every literal type the
// scanner asks for is recorded as a text line.
class CobolTestServices : public TestServices {
public:
    struct Item {
        std::string name;   // upper case, as the lexer hands names over
        std::string parent; // the enclosing group, "" at the top level
        bool table;         // an OCCURS item: its type is an array
        bool typed = true;  // false: the declaration has no type
    };

    class FigConstant final : public EE_FigConstant {
    public:
        explicit FigConstant(std::string text) : text(std::move(text)) {}
        ~FigConstant() = default;
        EE_TypeDescriptor* typeDescriptor() const override { return nullptr; }
        EE_String signature() override { return EE_String(text.c_str()); }
        std::string text;
    };

    explicit CobolTestServices(const std::vector<Item>& items = {});

    // "NAME|Q1|Q2" for each COBOL lookup, in order.
    std::vector<std::string> lookups;
    // One line per literal type made, e.g. "fixed 44 digits=2 scale=0 signed=0".
    std::vector<std::string> types;

    EE_Name* lookup(EE_String& name, EE_MemberAccessList& qualifiers, EE_DeclarationStore* store) override;
    using TestServices::lookup;
    EE_FigConstant* findOrCreateFigConstantValue(EE_Token& token) override;

    EE_TypeDescriptor* findOrCreateFixedPointTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int digits,
                                                            int scale, bool isSigned, EE_DecimalSign sign) override;
    EE_TypeDescriptor* findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int length, bool,
                                                            bool, bool, const char*) override;
    using TestServices::findOrCreateCharstringTypeDescriptor;
    EE_TypeDescriptor* findOrCreateNationalStringTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int length, bool,
                                                                bool, bool, const char*) override;
    using TestServices::findOrCreateNationalStringTypeDescriptor;
    EE_TypeDescriptor* findOrCreateDbcsStringTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int length, bool,
                                                            bool, bool, const char*) override;
    using TestServices::findOrCreateDbcsStringTypeDescriptor;
    EE_TypeDescriptor* doubleTypeDescriptor() override;
    EE_TypeDescriptor* pointerToVoidTypeDescriptor() override;

private:
    struct Entry {
        Item item;
        Declaration* declaration;
    };
    const Entry* find(const std::string& name) const;
    // The expression of a group: a name node at the top level, else a member
    // node of its own group's expression.
    EE_Expression* groupExpression(const Entry& group);

    std::vector<Entry> entries;
    std::vector<std::unique_ptr<FigConstant>> figConstants;
};

// The tree as a nested text: a binary or unary node as "(op left right)"
// with the node's short text, a member as "(. object member)", parentheses
// as "(paren inner)", a call as "(call callee mode:argument ...)" with the
// arguments in chain order, other nodes as their short signature.
std::string cobolTree(const EE_Expression* e);

#endif
