#ifndef TESTS_FRONTEND_FRONTENDFIXTURES_H
#define TESTS_FRONTEND_FRONTENDFIXTURES_H

// Small concrete stand-ins for the classes that the services implementation
// derives from the front end's abstract ones.

#include <string>

#include "testseam/LanguageTestSeam.h"
#include "frontend/EE_Declaration.h"
#include "frontend/EE_DeclarationStore.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_FigConstant.h"
#include "frontend/EE_Language.h"
#include "frontend/EE_LiteralValue.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_StorageArena.h"
#include "frontend/EE_String.h"
#include "frontend/EE_TypeDescriptor.h"

namespace fixtures {

class Store : public EE_DeclarationStore {
public:
    Store(EE_Name* name, int global, EE_DeclarationStore* enclosing)
        : EE_DeclarationStore(name, global), enclosing(enclosing)
    {}

    EE_DeclarationStore* enclosingDeclarationStore() const override { return enclosing; }
    EE_DeclarationStore* owningClass() override { return nullptr; }
    EE_Name* qualifiedScopeLookup(const char*, int) override { return nullptr; }
    EE_Name* qualifiedScopeLookup(const char*, EE_MemberAccessList&) override { return nullptr; }
    EE_TypeDescriptor* findTypeInScope(const EE_String&) override { return nullptr; }
    bool prependBaseLookupChain(EE_BaseMemberName&, EE_DeclarationStore&, int&) override { return false; }

    EE_DeclarationStore* enclosing;
};

class Declaration : public EE_Declaration {
public:
    Declaration(const char* name, EE_DeclarationStore* store, EE_StorageArena& arena)
        : EE_Declaration(name, store, arena)
    {}

    EE_DeclarationStore* enclosingDeclarationStore() override { return store; }
    bool isBuiltinProcedure() const override { return false; }
    bool isProcedure() const override { return false; }
    bool isType() const override { return false; }
    bool isTemplate() const override { return false; }
    bool isSymbol() const override { return true; }
    EE_DeclarationStore* declarationStore() override { return nullptr; }
    bool isConditionName() const override { return false; }
    bool isStaticMember() const override { return false; }
    EE_TypeDescriptor* setTypeDescriptor() override { return typeDescriptor; }
    EE_TypeDescriptor* analyze() override { return typeDescriptor; }
};

class Literal : public EE_LiteralValue {
public:
    explicit Literal(const char* text, EE_TypeDescriptor* type = nullptr)
        : EE_LiteralValue(Integral), text(text), type(type)
    {}

    EE_TypeDescriptor* typeDescriptor() const override { return type; }
    EE_String signature() override { return EE_String(text.c_str()); }

    std::string text;
    EE_TypeDescriptor* type;
};

class FigConstant : public EE_FigConstant {
public:
    explicit FigConstant(const char* text) : text(text) {}

    EE_TypeDescriptor* typeDescriptor() const override { return nullptr; }
    EE_String signature() override { return EE_String(text.c_str()); }

    std::string text;
};

// Sets the calling thread's language for the life of the object.
class Language {
public:
    explicit Language(int language) : previous(EE_setCurrentLanguage(language)) {}
    ~Language() { EE_setCurrentLanguage(previous); }

private:
    int previous;
};

inline std::string text(const EE_String& s)
{
    return std::string(s.data(), s.length());
}

// The code of the EE_Exception that `f` throws, or -1 when it throws none.
template <class F>
int exceptionCode(F&& f)
{
    try {
        f();
    } catch (const EE_Exception& e) {
        return static_cast<int>(e.code);
    }
    return -1;
}

} // namespace fixtures

#endif
