#include "types/ScopeItem.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "HostRecordAccess.h"
#include "services/EntryTrace.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/ClassScopeItem.h"
#include "types/CondvarScopeItem.h"
#include "types/ScopeTypeQueries.h"
#include "types/SymbolItem.h"
#include "types/SymbolList.h"
#include "types/SymbolListMap.h"
#include "types/TypeItem.h"

namespace {

ScopeItem::ScopeType scopeTypeOfContextKind(CONTEXT_SCOPE2 kind)
{
    switch (kind) {
    case CS2_FILE: return ScopeItem::file;
    case CS2_FUNCTION: return ScopeItem::function;
    case CS2_MEMBER_FUNCTION: return ScopeItem::memberFunction;
    case CS2_BLOCK: return ScopeItem::block;
    default: return ScopeItem::unknownScope;
    }
}

UBYTE1* hostName(const char* name)
{
    return reinterpret_cast<UBYTE1*>(const_cast<char*>(name));
}

// Asks the host for the block entry of a context and whether it is an
// OpenMP block; a host that cannot say means no OpenMP environment.
void noteOpenMpBlock(const LCC_Eval_Context_Info* context)
{
    SYMBOL_ENTRY* block = nullptr;
    try {
        block = SVC::ExprGetBlockSymbol(context);
    } catch (const InvalidOp&) {
        return;
    }
    if (block != nullptr)
        isOpenMpBlock(*block, context);
}

// The containing context of a context; null when the host reports none.
const LCC_Eval_Context_Info* containingContextOf(const LCC_Eval_Context_Info* context)
{
    const LCC_Eval_Context_Info* outer = nullptr;
    SVC::ExprGetContainingContextInfo(context, outer);
    return outer;
}

// The scope of an enclosing context, seen from inner: the file scope for the
// compilation unit, else a new scope of the context's block entry.
ScopeItem* enclosingScope(const LCC_Eval_Context_Info* outer, ScopeItem& inner)
{
    if (outer == nullptr || SVC::ExprGetContextType2(outer) == CS2_FILE)
        return ScopeItem::fileScope();
    SYMBOL_ENTRY* block = SVC::ExprGetBlockSymbol(outer);
    if (block == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    return new ScopeItem(outer, *block, inner);
}

} // namespace

// ---------------------------------------------------------------------------
// Construction and destruction

ScopeItem::ScopeItem(const LCC_Eval_Context_Info* context, ScopeType type) : context_(context), type_(type)
{
    if (type == unknownScope) {
        const CONTEXT_SCOPE2 kind = SVC::ExprGetContextType2(context);
        type_ = scopeTypeOfContextKind(kind);
        if (kind == CS2_BLOCK)
            noteOpenMpBlock(context);
    } else if (type == block) {
        noteOpenMpBlock(context);
    }
    registerWithEnvironment();
}

ScopeItem::ScopeItem(const LCC_Eval_Context_Info* context, SYMBOL_ENTRY& blockEntry, ScopeItem& parent)
    : context_(context), type_(block), nestingLevel_(parent.nestingLevel())
{
    switch (blockEntry.kind) {
    case SE_FUNCTION:
    case SE_ENTRY_FUNCTION:
        ++nestingLevel_;
        type_ = function;
        break;
    case SE_BLOCK:
        type_ = block;
        isOpenMpBlock(blockEntry, context);
        break;
    case SE_MEMBER_FUNCTION: {
        type_ = memberFunction;
        TypeItem functionType(TYPE_INDEX(blockEntry.memberfunction.type));
        const _TYPE_ENTRY* f = functionType.typeEntry();
        if (f == nullptr)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        if (f->leaf == TE_MEMBERFUNCTION) {
            if (f->memberfunction.flags & 1)
                type_ = staticMemberFunction;
        } else if (f->leaf == TE_METHOD) {
            TypeItem classType(TYPE_INDEX(f->function.classType));
            const _TYPE_ENTRY* c = classType.typeEntry();
            if (c == nullptr || c->leaf != TE_CLASS)
                throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
            TypeItem methods(TYPE_INDEX(c->klass.fieldList));
            const _TYPE_ENTRY* list = methods.typeEntry();
            if (list == nullptr || list->leaf != TE_LIST || list->list.kind != TE_LIST_TYPES)
                throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
            unsigned guard = 0;
            for (const TNtypeListNode* n = list->list.first.types; n != nullptr && guard < 65536;
                 n = n->next, ++guard) {
                TypeItem method(TYPE_INDEX(n->type));
                if (method == functionType) {
                    const _TYPE_ENTRY* m = method.typeEntry();
                    // Bit 0 of the record's flags marks a static member function.
                    const UBYTE4 flags = m == nullptr                   ? 0
                                         : m->leaf == TE_MEMBERFUNCTION ? m->memberfunction.flags
                                                                        : m->function.flags;
                    if (flags & 1)
                        type_ = staticMemberFunction;
                    break;
                }
            }
        } else {
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        }
        if (type_ != staticMemberFunction) {
            thisSymbol_ = parent.findVariable("this", 1);
            if (thisSymbol_ == nullptr)
                SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "failed to find the \"this\" pointer for scope %s",
                            parent.name());
        }
        break;
    }
    default:
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Creating default block scope for a symbol of type %d",
                    static_cast<int>(blockEntry.kind));
        type_ = block;
        break;
    }
    registerWithEnvironment();
}

void ScopeItem::registerWithEnvironment()
{
    EvaluationEnvironment* owner = EvaluationEnvironment::currentRep();
    owner->addScope(*this);
    environment_ = owner;
}

ScopeItem::~ScopeItem()
{
    if (environment_ != nullptr)
        environment_->removeScope(*this);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "deleting _variables");
    for (unsigned i = variables_.count(); i > 0; --i)
        delete variables_[i - 1];
    variables_.deleteItems();
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "deleting _types");
    for (unsigned i = types_.count(); i > 0; --i)
        delete types_[i - 1];
    types_.deleteItems();
    delete symbolLists_;
    symbolLists_ = nullptr;
}

// ---------------------------------------------------------------------------
// Symbols

void ScopeItem::addSymbol(SymbolItem& symbol)
{
    if (symbol.isType())
        types_.append(&symbol);
    else
        variables_.append(&symbol);
}

SymbolItem* ScopeItem::findVariable(const char* name, int create) const
{
    if (name == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    EntryTrace trace("ScopeItem::findVariable", "ScopeName = %s, Varname = %s, create = %d", this->name(), name,
                     create);
    if (thisSymbol_ != nullptr && std::strcmp(name, "this") == 0) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Variable %s found.  It was previously created in scope %s", name,
                    this->name());
        return thisSymbol_;
    }
    for (unsigned i = variables_.count(); i > 0; --i) {
        SymbolItem* s = variables_[i - 1];
        if (std::strcmp(s->name(), name) == 0) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Variable %s found.  It was previously created in scope %s",
                        name, this->name());
            return s;
        }
    }
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Variable %s was not previously created in scope %s.Is Create=%d", name,
                this->name(), create);
    if (create == 0)
        return nullptr;
    SymbolItem* made = SymbolItem::makeVarSymbol(name, const_cast<ScopeItem&>(*this));
    if (made == nullptr) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Variable %s does not exist in scope %s", name, this->name());
        return nullptr;
    }
    if (made->isType()) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Name %s exists in scope %s, but is a type name", name,
                    this->name());
        return nullptr;
    }
    return made;
}

SymbolItem* ScopeItem::findType(const char* name, int create) const
{
    if (name == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    EntryTrace trace("ScopeItem::findType", "ScopeName = %s, typename = %s, create = %d", this->name(), name, create);
    for (unsigned i = types_.count(); i > 0; --i) {
        SymbolItem* s = types_[i - 1];
        if (std::strcmp(s->name(), name) == 0) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Type %s found.  It was previously created in scope %s", name,
                        this->name());
            return s;
        }
    }
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Type %s was not previously created in scope %s", name, this->name());
    if (create == 0)
        return nullptr;
    SymbolItem* made = SymbolItem::makeTypeSymbol(name, const_cast<ScopeItem&>(*this));
    if (made == nullptr) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Type %s does not exist in scope %s", name, this->name());
        return nullptr;
    }
    if (!made->isType()) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Name %s exists in scope %s, but is a variable name", name,
                    this->name());
        return nullptr;
    }
    return made;
}

// ---------------------------------------------------------------------------
// Names

const char* ScopeItem::name() const
{
    if (name_.empty()) {
        char address[32];
        std::snprintf(address, sizeof address, " Scope (%" PRIxPTR ")-", reinterpret_cast<std::uintptr_t>(this));
        std::string text;
        if (type_ == file) {
            text = "-File";
        } else if (type_ & function) {
            text = "-Function ";
            text += functionName();
        } else {
            text = "-Block";
        }
        text += address;
        name_ = ByteString(reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned>(text.size()));
    }
    return reinterpret_cast<const char*>(name_.data());
}

const char* ScopeItem::functionName() const
{
    if ((type_ & function) == 0)
        return "Not a function";
    SYMBOL_ENTRY* block = nullptr;
    try {
        block = SVC::ExprGetBlockSymbol(context_);
    } catch (const InvalidOp&) {
        return "Invalid Function";
    }
    if (block == nullptr)
        return "Not a function";
    // Member functions (static ones too) carry their name in the
    // member-function entry; plain functions in the function entry.
    const char* text = nullptr;
    if ((type_ == memberFunction || type_ == staticMemberFunction) && block->kind == SE_MEMBER_FUNCTION)
        text = block->memberfunction.functionName;
    else if (block->kind == SE_FUNCTION || block->kind == SE_ENTRY_FUNCTION)
        text = block->function.plainName;
    else
        return "Not a function";
    return text != nullptr ? text : "";
}

// ---------------------------------------------------------------------------
// Enclosing scopes

ScopeItem* ScopeItem::container() const
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Scope type %i", static_cast<int>(type_));
    if (container_ != nullptr)
        return container_;
    ScopeItem* self = const_cast<ScopeItem*>(this);
    switch (type_) {
    case block:
    case function: container_ = enclosingScope(containingContextOf(context_), *self); break;
    case classScope:
    case structureScope: container_ = fileScope(); break;
    case memberFunction:
    case staticMemberFunction: {
        SYMBOL_ENTRY* entry = SVC::ExprGetBlockSymbol(context_);
        if (entry == nullptr || entry->kind != SE_MEMBER_FUNCTION)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        TypeItem classType(TYPE_INDEX(entry->memberfunction.classType));
        const _TYPE_ENTRY* c = classType.typeEntry();
        const char* className = c != nullptr ? typeEntryName(*c) : nullptr;
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Scope %s is a member function of class %s", name(),
                    c == nullptr ? "<UNKNOWN>" : (className != nullptr ? className : ""));
        ScopeItem* enclosing = enclosingScope(containingContextOf(context_), *self);
        container_ = ClassScopeItem::getClassScope(classType, enclosing, false);
        break;
    }
    default: SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Scope %s has no container", name()); break;
    }
    if (container_ != nullptr)
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Scope %s is contained by scope %s", name(), container_->name());
    else
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Scope %s is not contained by any scope", name());
    return container_;
}

ScopeItem* ScopeItem::fileScope()
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
    if (ScopeItem* known = env->environmentFileScope())
        return known;
    const LCC_Eval_Context_Info* context = env->context();
    for (unsigned depth = 0; depth < 4096 && SVC::ExprGetContextType2(context) != CS2_FILE; ++depth) {
        const LCC_Eval_Context_Info* outer = containingContextOf(context);
        if (outer == nullptr)
            break;
        context = outer;
    }
    return new ScopeItem(context, file);
}

bool ScopeItem::isCUcontext(const LCC_Eval_Context_Info* context)
{
    if (SVC::ExprGetContextType2(context) == CS2_FILE)
        return true;
    fileScope();
    return false;
}

unsigned ScopeItem::getSymbolsToSearch() const
{
    const int language = EvaluationEnvironment::currentRep()->language();
    if (type_ == file)
        return (language == 1 || language == 2 || language == 11) ? 4719318u : 4719312u;
    if (type_ == classScope)
        return 4259920u;
    return language == 11 ? 37749466u : 37748952u;
}

// ---------------------------------------------------------------------------
// Types defined here

bool ScopeItem::definesType(const TypeItem& type) const
{
    for (unsigned i = types_.count(); i > 0; --i)
        if (&types_[i - 1]->dataType() == &type)
            return true;
    return false;
}

ScopeItem* ScopeItem::findDefiningScope(const TypeItem& type)
{
    const List<ScopeItem*>& scopes = EvaluationEnvironment::currentRep()->scopes();
    for (unsigned i = scopes.count(); i > 0; --i)
        if (scopes[i - 1]->definesType(type))
            return scopes[i - 1];
    return nullptr;
}

void ScopeItem::searchSymbolsWithClassOrStructType(SymbolList&, const char*) const {}

// ---------------------------------------------------------------------------
// Flattened symbol lists

namespace {

// The parents of a qualified-name entry, closest first: each parent, and the
// next as long as the previous one is itself a qualified-name entry. A chain
// that comes back to an entry it already holds is corrupt.
std::vector<const SYMBOL_ENTRY*> qualifierChain(const SYMBOL_ENTRY& entry)
{
    std::vector<const SYMBOL_ENTRY*> chain;
    const SYMBOL_ENTRY* parent = symbolEntryParent(entry);
    while (parent != nullptr) {
        bool seen = parent == &entry;
        for (const SYMBOL_ENTRY* earlier : chain)
            seen = seen || earlier == parent;
        if (seen)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__,
                            "The qualifier chain of a symbol entry is cyclic");
        chain.push_back(parent);
        if (parent->kind != SE_QUALIFIED_NAME)
            break;
        parent = symbolEntryParent(*parent);
    }
    return chain;
}

// The scope a qualifier's type leads into: the aggregate's class scope or
// the item's condition-name scope; null when the type leads nowhere.
ScopeItem* scopeOfQualifier(const SymbolItem& qualifier, ScopeItem& current)
{
    const TypeItem type = scopetypes::withoutArrays(qualifier.dataType());
    if (scopetypes::isAggregate(type))
        return ClassScopeItem::getClassScope(type, &current, false);
    if (const TNcobolCondVar* conditions = scopetypes::conditionRecord(type))
        return CondvarScopeItem::getCondVarScope(*conditions, current);
    return nullptr;
}

} // namespace

SymbolList* ScopeItem::getFlattenedSymbolList(const char* name) const
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Symbol name %s", name != nullptr ? name : "");
    if (symbolLists_ == nullptr)
        symbolLists_ = new SymbolListMap;
    SymbolList* result = symbolLists_->findOrCreateList(name);
    if (result == nullptr || result->count() > 0)
        return result;

    try {
        ScopeItem* search = const_cast<ScopeItem*>(this);
        for (unsigned depth = 0; search != nullptr && search->isClassOrStructureScope() && depth < 4096; ++depth)
            search = search->container();
        SYMBOL_LIST* entries = search == nullptr ? nullptr
                                                 : SVC::Expr2SearchForSymbolEntries(search->context(), hostName(name),
                                                                                    0, getSymbolsToSearch() | 1024u);

        std::vector<SYMBOL_ENTRY*> qualified;
        for (unsigned i = 0; entries != nullptr && entries[i] != nullptr; ++i) {
            SYMBOL_ENTRY* entry = entries[i];
            if (entry->kind == SE_QUALIFIED_NAME && symbolEntryName(*entry) != nullptr &&
                std::strcmp(symbolEntryName(*entry), name) == 0) {
                qualified.push_back(entry);
                continue;
            }
            if (isClassOrStructureScope())
                continue;
            SymbolItem* symbol = SymbolItem::makeVarSymbol(entry, *search);
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Symbol item name %s", symbol->name());
            result->addEntry(*symbol);
        }

        for (size_t k = qualified.size(); k > 0; --k) {
            const std::vector<const SYMBOL_ENTRY*> chain = qualifierChain(*qualified[k - 1]);
            // Resolve the qualifiers from the outermost inward; scopes[j] is
            // the scope in which chain[n - 1 - j] was found.
            std::vector<ScopeItem*> scopes{search};
            SymbolItem* outermost = nullptr;
            bool resolved = true;
            for (size_t j = chain.size(); j > 0; --j) {
                const char* qualifierName = symbolEntryName(*chain[j - 1]);
                SymbolItem* qualifier =
                    qualifierName != nullptr ? scopes.back()->findVariable(qualifierName, 1) : nullptr;
                if (qualifier == nullptr) {
                    resolved = false;
                    break;
                }
                if (outermost == nullptr)
                    outermost = qualifier;
                ScopeItem* next = scopeOfQualifier(*qualifier, *scopes.back());
                if (next == nullptr) {
                    resolved = false;
                    break;
                }
                scopes.push_back(next);
            }
            if (!resolved)
                continue;
            SymbolItem* symbol = scopes.back()->findVariable(name, 1);
            if (symbol == nullptr)
                continue;
            SymbolList found;
            found.addEntry(*symbol);
            if (symbol->dataType().hasFlag(TypeFlags::array))
                symbol->addQualifiedArrayHit();
            // The qualifiers from the innermost outward, each in the scope it
            // was found in, then the outermost one.
            const size_t n = chain.size();
            for (size_t j = 0; j + 1 < n; ++j) {
                const char* qualifierName = symbolEntryName(*chain[j]);
                SymbolItem* qualifier = scopes[n - 1 - j]->findVariable(qualifierName, 1);
                if (qualifier == nullptr)
                    break;
                found.addQualifierToAllEntries(*qualifier);
            }
            if (outermost != nullptr)
                found.addQualifierToAllEntries(*outermost);
            result->append(found);
        }
    } catch (...) {
        symbolLists_->remove(name);
        throw;
    }

    if (result->count() == 0) {
        symbolLists_->remove(name);
        return nullptr;
    }
    return result;
}

// ---------------------------------------------------------------------------
// OpenMP blocks

bool isOpenMpBlock(SYMBOL_ENTRY& block, const LCC_Eval_Context_Info* context)
{
    if (!symbolEntryHoldsOpenMp(block))
        return false;
    SYMBOL_ENTRY* environment = SVC::ExprSearchForSymbolEntry(context, hostName("#ENV"), 1, 8);
    if (environment == nullptr)
        return false;
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Creating block scope with environment pointer");
    EvaluationEnvironment::currentRep()->addOpenMpEnv(*environment);
    return true;
}
