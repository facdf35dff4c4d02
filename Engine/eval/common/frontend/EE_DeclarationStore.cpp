#include "frontend/EE_DeclarationStore.h"

#include <vector>

#include "frontend/EE_Exception.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_String.h"

namespace {
// Deeper nesting than this means the chain of enclosing stores is broken.
constexpr unsigned MaxNesting = 4096;
}

EE_DeclarationStore::~EE_DeclarationStore() = default;

void EE_DeclarationStore::qualifierString(EE_String& out) const
{
    // The named stores from this one outwards, up to a global store or the
    // outermost store; they are written outermost first, each followed by
    // "::", behind the global store's "::".
    std::vector<const EE_DeclarationStore*> named;
    const EE_DeclarationStore* s = this;
    while (s != nullptr && !s->isGlobal) {
        if (s->name == nullptr || named.size() == MaxNesting)
            throw EE_Exception(EE_Exception::InternalFailure);
        named.push_back(s);
        s = s->enclosingDeclarationStore();
    }
    if (s != nullptr)
        out << "::";
    for (auto it = named.rbegin(); it != named.rend(); ++it)
        out << (*it)->name->signature() << "::";
}
