#include "frontend/EE_Declaration.h"

#include "frontend/EE_ArenaString.h"
#include "frontend/EE_DeclarationStore.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_StorageArena.h"

EE_Declaration::EE_Declaration(const char* declaredName, EE_DeclarationStore* owningStore, EE_StorageArena& arena)
    : name(nullptr), store(owningStore), typeDescriptor(nullptr)
{
    name = new (arena) EE_ArenaString(declaredName, &arena);
}

void EE_Declaration::id(EE_String& out) const
{
    if (name != nullptr)
        out << *name;
}

void EE_Declaration::fullyQualifiedName(EE_String& out)
{
    EE_DeclarationStore* enclosing = enclosingDeclarationStore();
    if (enclosing != nullptr)
        enclosing->qualifierString(out);
    id(out);
}

EE_Declaration* EE_Declaration::classOfEnclosingMemberDeclarationStore()
{
    EE_DeclarationStore* enclosing = enclosingDeclarationStore();
    if (enclosing == nullptr || enclosing->name == nullptr)
        return nullptr;
    return enclosing->name->declaration;
}
