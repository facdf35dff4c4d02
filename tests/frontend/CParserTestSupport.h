#ifndef TESTS_FRONTEND_CPARSERTESTSUPPORT_H
#define TESTS_FRONTEND_CPARSERTESTSUPPORT_H

// What the tests of the C lexer and the C and C++ grammar share: services
// over a small program (variables, a typedef, classes with members, a
// namespace, templates), and a parse that answers the tree's signature or
// the failure as text.

#include <set>
#include <string>
#include <vector>

#include "testseam/LanguageTestSeam.h"
#include "TestServices.h"
#include "frontend/EE_ArenaString.h"
#include "frontend/EE_BaseMemberName.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_CastExpression.h"
#include "frontend/EE_ConditionalExpression.h"
#include "frontend/EE_FunctionCallExpression.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_Parameter.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_SizeofTypeExpression.h"
#include "frontend/EE_TypeidOfTypeExpression.h"
#include "frontend/EE_UnaryExpression.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_Expression.h"
#include "frontend/EE_Language.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_Parser.h"
#include "frontend/EE_TemplateArgument.h"
#include "frontend/EE_TypeDescriptor.h"

namespace cparser {

// How often the analyser (the test double) was called.
extern int analyserCalls;

using TD = EE_TypeDescriptor;

// Services over this program:
//   int a, b, c, x, y, i;  double d;  typedef int T;  int f();
//   struct S { int m; struct S *next; struct S inner...; };  S s, *p; S &r;
//   namespace N { struct B { int c; int k; }; int v; }
//   int S2;  struct S2 { int w; };        (a variable hides the class)
//   template f2<...>, instances "f2<int>", "f2<int, 3>", "f2<char *>"
//   template Holder<...>, instances Holder<int> { int z; } and Holder<Holder<int>>
//   int Base::bm, reached from N::B through a base class
class Services : public TestServices {
public:
    Services()
        : TestServices({{"a", Variable, TD::Int, ""},
                        {"b", Variable, TD::Int, ""},
                        {"c", Variable, TD::Int, ""},
                        {"x", Variable, TD::Int, ""},
                        {"y", Variable, TD::Int, ""},
                        {"i", Variable, TD::Int, ""},
                        {"d", Variable, TD::Double, ""},
                        {"T", Type, TD::Int, ""},
                        {"f", Function, TD::Int, ""},
                        {"S", Type, TD::Class, ""},
                        {"m", Variable, TD::Int, "S"},
                        {"next", Variable, TD::NoType, "S"},
                        {"inner", Variable, TD::NoType, "S"},
                        {"s", Variable, TD::NoType, ""},
                        {"p", Variable, TD::NoType, ""},
                        {"r", Variable, TD::NoType, ""},
                        {"N", Type, TD::NoType, ""},
                        {"B", Type, TD::Class, "N"},
                        {"c", Variable, TD::Int, "B"},
                        {"k", Variable, TD::Int, "B"},
                        {"bm", Variable, TD::Int, "B"},
                        {"v", Variable, TD::Int, "N"},
                        {"f2", Template, TD::NoType, ""},
                        {"f2<int>", Function, TD::Int, ""},
                        {"f2<int, 3>", Function, TD::Int, ""},
                        {"f2<char *>", Function, TD::Int, ""},
                        {"Holder", Template, TD::NoType, ""},
                        {"Holder<int>", Type, TD::Class, ""},
                        {"z", Variable, TD::Int, "Holder<int>"},
                        {"Holder<::Holder<int>>", Type, TD::Class, ""},
                        {"S2", Type, TD::Class, ""},
                        {"w", Variable, TD::Int, "S2"}})
    {
        TD* classS = typeOf("S");
        setType(global(), "s", classS);
        setType(global(), "p", findOrCreatePointerTypeDescriptor(*classS, 0));
        setType(global(), "r", findOrCreateReferenceTypeDescriptor(*classS, 0));
        setType(member("S"), "next", findOrCreatePointerTypeDescriptor(*classS, 0));
        setType(member("S"), "inner", classS);
        // A variable "S2" hides the class of that name from ordinary lookup; only
        // a lookup for types finds the class.
        variableS2 = new (storageArena()) Declaration("S2", global(), storageArena(), Variable, nullptr);
        variableS2->typeDescriptor = findOrCreatePredefinedTypeDescriptor(TD::Int, 0);
    }

    TD* typeOf(const std::string& name) { return global()->declarations.at(name)->typeDescriptor; }

    Store* member(const std::string& scope)
    {
        return static_cast<Store*>(global()->declarations.at(scope)->declarationStore());
    }

    void setType(Store* store, const std::string& name, TD* type)
    {
        store->declarations.at(name)->typeDescriptor = type;
    }

    // The variable S2 hides the class S2 from ordinary lookup.
    EE_Name* lookup(EE_String& name, EE_DeclarationStore* store, int qualified) override
    {
        lookups.push_back(std::string(name.data()) + (store == nullptr         ? ""
                                                      : store == globalStore() ? "@global"
                                                                               : "@scope"));
        if (store == nullptr && std::string(name.data()) == "S2")
            return createName(*variableS2);
        // Members named here are reached through a base class of their class.
        if (store != nullptr && baseMembers.count(name.data()) != 0) {
            EE_Name* plain = TestServices::lookup(name, store, qualified);
            if (plain == nullptr)
                return nullptr;
            return createBaseMemberName(*plain->declaration, 1, *store);
        }
        return TestServices::lookup(name, store, qualified);
    }

    // The instance is the declaration named by the template and the
    // signatures of its arguments: "f2<int, 3>".
    EE_Name* resolveTemplate(const EE_Name& name, EE_TemplateArgument* arguments) override
    {
        std::string text = std::string(name.declaration->name->data()) + "<";
        for (EE_TemplateArgument* a = arguments; a != nullptr; a = a->next) {
            text += a->kind == EE_TemplateArgument::TypeArgument ? std::string(a->type->signature().data())
                                                                 : std::string(a->expression->signature(1).data());
            if (a->next != nullptr)
                text += ", ";
        }
        text += ">";
        resolved.push_back(arguments == nullptr ? "(no list)" : text);
        return global()->qualifiedScopeLookup(text.c_str(), 0);
    }

    int prependBaseLookupChain(EE_BaseMemberName& name, EE_DeclarationStore& store, int& ambiguous) override
    {
        ++baseChainCalls;
        ambiguous = ambiguousBase;
        if (!baseFound)
            return 0;
        // Only a class is a link of the way to a base member; a namespace on the
        // way adds nothing.
        EE_Declaration* owner = store.name != nullptr ? store.name->declaration : nullptr;
        if (owner != nullptr && owner->typeDescriptor != nullptr && owner->typeDescriptor->kind == TD::Class)
            name.prependComponent(*createBaseNameLookupChainComponent(store));
        return 1;
    }

    std::vector<std::string> lookups;
    std::vector<std::string> resolved;
    std::set<std::string> baseMembers;
    int baseChainCalls = 0;
    bool baseFound = true;
    int ambiguousBase = 0;
    Declaration* variableS2 = nullptr;
};

inline std::string positionText(const char* position)
{
    return position == nullptr ? "end" : "'" + std::string(position) + "'";
}

// The structure of a tree, every operation bracketed: "(a - (b - c))". The
// operators are the nodes' short forms; names, literals and types their
// signatures; a parenthesised expression shows as "[...]".
inline std::string shape(EE_Expression* e)
{
    if (e == nullptr)
        return "null";
    std::string op = e->signature(0).data();
    if (EE_UnaryExpression* u = e->asUnaryExpression())
        return "(" + op + " " + shape(u->operand) + ")";
    if (EE_BinaryExpression* b = e->asBinaryExpression())
        return "(" + shape(b->left) + " " + op + " " + shape(b->right) + ")";
    if (EE_ConditionalExpression* c = e->asConditionalExpression())
        return "(" + shape(c->condition) + " ? " + shape(c->whenTrue) + " : " + shape(c->whenFalse) + ")";
    if (EE_CastExpression* c = e->asCastExpression()) {
        static const char* const names[] = {"cast", "static_cast", "reinterpret_cast", "const_cast"};
        return std::string("(") + names[c->kind] + "<" + c->typeDescriptor->signature().data() + "> " +
               shape(c->operand) + ")";
    }
    if (EE_SizeofTypeExpression* s = e->asSizeofTypeExpression())
        return std::string("sizeof<") + s->type->signature().data() + ">";
    if (EE_TypeidOfTypeExpression* t = e->asTypeidOfTypeExpression())
        return std::string("typeid<") + t->type->signature().data() + ">";
    if (EE_MemberExpression* m = e->asMemberExpression())
        return "(" + shape(m->object) + op + m->member->signature().data() + ")";
    if (EE_ParenthesesExpression* p = e->asParenthesesExpression())
        return "[" + shape(p->inner) + "]";
    if (EE_FunctionCallExpression* f = e->asFunctionCallExpression()) {
        std::string text = shape(f->callee) + "(";
        for (EE_Parameter* p = f->parameters; p != nullptr; p = p->next)
            text += shape(p->expression) + (p->next != nullptr ? "; " : "");
        return text + ")";
    }
    return e->signature(1).data();
}

// The failure of a parse as text: "syntax error at 'x'", "parse error 3 at
// 'x'", "error 2".
inline std::string failure(const EE_ParseException& e)
{
    if (e.code == EE_ParseException::SyntaxError)
        return "syntax error at " + positionText(e.position);
    return "parse error " + std::to_string(e.code) + " at " + positionText(e.position);
}

// The structure of the tree of the text, or its failure.
inline std::string parseShape(Services& services, const char* text)
{
    EE_Parser parser(services, 0);
    try {
        return shape(parser.parseTheExpression(text, 0));
    } catch (const EE_ParseException& e) {
        return failure(e);
    } catch (const EE_Exception& e) {
        return "error " + std::to_string(e.code);
    }
}

// The tree of the text in full form, or the failure: "syntax error at 'x'",
// "parse error 3 at 'x'", "error 2".
inline std::string parse(Services& services, const char* text)
{
    EE_Parser parser(services, 0);
    try {
        EE_Expression* root = parser.parseTheExpression(text, 0);
        return root->signature(1).data();
    } catch (const EE_ParseException& e) {
        return failure(e);
    } catch (const EE_Exception& e) {
        return "error " + std::to_string(e.code);
    }
}

// The root node of the text (null on any failure).
inline EE_Expression* root(Services& services, const char* text)
{
    EE_Parser parser(services, 0);
    try {
        return parser.parseTheExpression(text, 0);
    } catch (...) {
        return nullptr;
    }
}

// Sets the calling thread's language for the life of the object.
class Language {
public:
    explicit Language(int language) : previous(EE_setCurrentLanguage(language)) {}
    ~Language() { EE_setCurrentLanguage(previous); }
    Language(const Language&) = delete;
    Language& operator=(const Language&) = delete;

private:
    int previous;
};

} // namespace cparser

#endif
