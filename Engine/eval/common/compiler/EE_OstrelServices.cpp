// The services object: construction, capabilities, stores and type queries.

#include "compiler/EE_OstrelServices.h"

#include <cstring>

#include "compiler/CxxevalInterface.h"
#include "compiler/EE_OstrelDeclarationStore.h"
#include "compiler/ServicesRefusal.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_ParamType.h"
#include "services/EvaluationEnvironment.h"

EE_OstrelServices::EE_OstrelServices(const ScopeItem* currentScope, const ScopeItem* fileScope)
    : scope(currentScope),
      global(createGlobalDeclarationStore(fileScope)),
      current(findOrCreateDeclarationStore(currentScope)),
      descriptors(arena, *this),
      environmentFlags(debuggerEnvironment())
{}

// Everything handed out lives in the arena and goes with it.
EE_OstrelServices::~EE_OstrelServices() = default;

bool EE_OstrelServices::supportsAssignment()
{
    return (environmentFlags & 1) != 0;
}

bool EE_OstrelServices::supportsDecimalFloatingPoint()
{
    return (environmentFlags & 8) != 0;
}

int EE_OstrelServices::mblen(const char* text)
{
    if (text == nullptr)
        return 0;
    return MBlen(reinterpret_cast<const unsigned char*>(text), static_cast<unsigned>(std::strlen(text)));
}

int EE_OstrelServices::utf8encode(unsigned int code, char* buffer)
{
    return utf8Encode(code, reinterpret_cast<unsigned char*>(buffer));
}

bool EE_OstrelServices::isFortran()
{
    return isFortranLanguage();
}

bool EE_OstrelServices::isCobol()
{
    return isCobolLanguage();
}

EE_StorageArena& EE_OstrelServices::storageArena()
{
    return arena;
}

EE_DeclarationStore* EE_OstrelServices::globalStore()
{
    return global;
}

EE_DeclarationStore* EE_OstrelServices::currentStore()
{
    return current;
}

EE_DeclarationStore* EE_OstrelServices::setCurrentStore(EE_DeclarationStore& store)
{
    EE_OstrelDeclarationStore* previous = current;
    current = static_cast<EE_OstrelDeclarationStore*>(&store);
    return previous;
}

const ScopeItem* EE_OstrelServices::globalScopeHandle()
{
    return global->scope;
}

// The class whose member function the expression is in: the current store
// when it is a class store, else the first class store met on the way out
// through owning classes and enclosing stores; none at the global store.
EE_TypeDescriptor* EE_OstrelServices::typeDescriptorOfClosestEnclosingClass()
{
    EE_DeclarationStore* store = &present(current);
    while (store->name == nullptr) {
        if (EE_DeclarationStore* owner = store->owningClass()) {
            store = owner;
            break;
        }
        if (store == global)
            return nullptr;
        store = store->enclosingDeclarationStore();
        if (store == nullptr)
            servicesRefuse();
    }
    return findOrCreateNamedTypeDescriptor(EE_TypeDescriptor::Class, present(present(store->name).declaration), 0);
}

EE_TypeDescriptor* EE_OstrelServices::arraySectionTypeDescriptor()
{
    return descriptorOfPredefinedKind(EE_TypeDescriptor::ArraySection);
}

EE_TypeDescriptor* EE_OstrelServices::underlyingTypeDescriptor(const EE_TypeDescriptor& type)
{
    const EE_TypeDescriptor::Kind kind = descriptors.underlyingTypeDescriptorKind(type);
    // An enumeration stands for its own integer type: the kind alone could
    // name an integer of another size (int and long share a kind).
    if (type.kind == EE_TypeDescriptor::Enumeration)
        return descriptors.findOrCreatePredefinedTypeDescriptor(kind, enumType(EE_OstrelTypeDescriptor::typeOf(type)));
    return findOrCreatePredefinedTypeDescriptor(kind, 0);
}

EE_TypeDescriptor* EE_OstrelServices::bitFieldPromotion(const EE_TypeDescriptor& type)
{
    const TypeItem* item = EE_OstrelTypeDescriptor::typeOf(type);
    const _TYPE_ENTRY* entry = item != nullptr ? item->typeEntry() : nullptr;
    if (entry == nullptr || entry->leaf != TE_INTEGER)
        return nullptr;
    const unsigned width = entry->integer.bitLength;
    if (entry->integer.bitOffset == 0 && (width == 8 || width == 16 || width == 32 || width == 64))
        return nullptr; // a plain integer
    const bool isUnsigned = (entry->integer.flags & TNinteger_Unsigned) != 0;
    const unsigned intBits = 8 * sizeOfInt();
    if (width < intBits)
        return signedIntTypeDescriptor();
    if (width == intBits)
        return isUnsigned ? unsignedIntTypeDescriptor() : signedIntTypeDescriptor();
    return isUnsigned ? unsignedLongLongIntTypeDescriptor() : signedLongLongIntTypeDescriptor();
}

unsigned EE_OstrelServices::cachedSize(unsigned& cache, EE_TypeDescriptor* type)
{
    if (cache == 0) {
        long long size = 0;
        if (!sizeOf(present(type), size) || size <= 0)
            servicesRefuse();
        cache = static_cast<unsigned>(size);
    }
    return cache;
}

unsigned EE_OstrelServices::sizeOfInt()
{
    return cachedSize(sizeOfIntCache, signedIntTypeDescriptor());
}

unsigned EE_OstrelServices::sizeOfLongInt()
{
    return cachedSize(sizeOfLongIntCache, signedLongIntTypeDescriptor());
}

bool EE_OstrelServices::sizeOf(const EE_TypeDescriptor& type, long long& size) const
{
    if (type.kind == EE_TypeDescriptor::PackedDecimal && !isCobolLanguage()) {
        size = -1;
        return false;
    }
    size = static_cast<long long>(sizeOfType(EE_OstrelTypeDescriptor::typeOf(type)));
    return true;
}

unsigned EE_OstrelServices::rankOf(const EE_TypeDescriptor& type) const
{
    return rankOfType(EE_OstrelTypeDescriptor::typeOf(type));
}

long long EE_OstrelServices::lowerBound(const EE_TypeDescriptor& type, unsigned int dimension) const
{
    return boundOfType(EE_OstrelTypeDescriptor::typeOf(type), false, dimension);
}

long long EE_OstrelServices::upperBound(const EE_TypeDescriptor& type, unsigned int dimension) const
{
    return boundOfType(EE_OstrelTypeDescriptor::typeOf(type), true, dimension);
}

bool EE_OstrelServices::isSameAs(const EE_TypeDescriptor& a, const EE_TypeDescriptor& b) const
{
    return isSameType(EE_OstrelTypeDescriptor::typeOf(a), EE_OstrelTypeDescriptor::typeOf(b));
}

EE_ParamType* EE_OstrelServices::createTypeParameter(EE_TypeDescriptor* type, EE_ParamType* previous)
{
    return new (arena) EE_ParamType(type, previous);
}
