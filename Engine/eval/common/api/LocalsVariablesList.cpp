#include "api/LocalsRepresentation.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "HostRecordAccess.h"
#include "api/ClassThisValue.h"
#include "api/LocalVariable.h"
#include "api/LocalVariableClassSym.h"
#include "api/LocalVariableStdSym.h"
#include "machine/StackItem.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/BaseClassDescriptor.h"
#include "types/ClassScopeItem.h"
#include "types/LocalSymbolItem.h"
#include "types/ScopeItem.h"
#include "types/TypeDepthGuard.h"
#include "types/TypeItem.h"

namespace {

// The host's entries of one scope are asked for with room for this many
// first; a scope with more is asked again with room for all of them.
constexpr unsigned initialEntryCapacity = 250;
constexpr unsigned entryCapacitySlack = 10;
// Scopes walked outward before the walk is taken as cyclic.
constexpr unsigned scopeWalkLimit = 4096;

bool contains(const std::vector<const char*>& names, const char* name)
{
    for (const char* n : names) {
        if (std::strcmp(n, name) == 0)
            return true;
    }
    return false;
}

const char* textOf(const char* text)
{
    return text != nullptr ? text : "";
}

const char* nameOf(const LocalVariable& variable)
{
    return reinterpret_cast<const char*>(variable.name().data());
}

// The host's entries of a scope, in host order (null entries included).
std::vector<SYMBOL_ENTRY*> scopeEntries(const LCC_Eval_Context_Info* context)
{
    // Each build has a buffer of its own: the host calls on several threads.
    std::vector<SYMBOL_ENTRY*> buffer(initialEntryCapacity, nullptr);
    UBYTE4 total = 0;
    UBYTE4 filled = SVC::ExprGetSymbolEntries(context, buffer.data(), static_cast<UBYTE4>(buffer.size()), &total);
    for (int retries = 0; total > buffer.size() && retries < 3; ++retries) {
        buffer.assign(std::size_t(total) + entryCapacitySlack, nullptr);
        filled = SVC::ExprGetSymbolEntries(context, buffer.data(), static_cast<UBYTE4>(buffer.size()), &total);
    }
    buffer.resize(std::min<std::size_t>(filled, buffer.size()));
    return buffer;
}

// A class or structure with data members: its members' names stand for
// the entry, whose own name is none or made up.
bool hasVisibleMembers(const TypeItem& type)
{
    return type.isClassOrStruct() && !type.isEmptyClassOrStruct();
}

void collectMemberNames(const TypeItem& type, std::vector<const char*>& names)
{
    List<TypeItem::StructMember> members = type.visibleMembers(1);
    for (unsigned i = 0; i < members.count(); ++i)
        names.push_back(textOf(members[i].name));
}

// Whether the view shows values of the entry's type.
bool displayable(const SYMBOL_ENTRY& entry)
{
    const TYPE_INDEX index = typeOfSymbol(entry);
    if (index.module == 0)
        return index.index < 256 && (LocalsRepresentation::displayableType(index.index) & 1) != 0;
    const TypeItem raw(index, nullptr, false);
    const _TYPE_ENTRY* e = raw.typeEntry();
    if (e != nullptr && e->leaf < 256 && (LocalsRepresentation::displayableType(e->leaf) & 2) != 0)
        return true;
    const TypeItem simplified(index);
    const EvaluatorTypeIndex& s = simplified.typeIndex();
    return s.module() == 0 && s.index() < 256 && (LocalsRepresentation::displayableType(s.index()) & 1) != 0;
}

bool isBaseClassSymbol(const SymbolItem& symbol)
{
    return (symbol.memberType() != nullptr && symbol.memberType()->isBaseClass()) || symbol.dataType().isBaseClass();
}

} // namespace

LocalsRepresentation::VariablesList::VariablesList(LocalsRepresentation& owner, const LCC_Eval_Context_Info* context)
    : context_(context), owner_(owner)
{}

LocalsRepresentation::VariablesList::~VariablesList()
{
    for (auto it = variables_.rbegin(); it != variables_.rend(); ++it)
        delete *it;
    for (auto it = thisValues_.rbegin(); it != thisValues_.rend(); ++it)
        delete *it;
}

LocalVariable* LocalsRepresentation::VariablesList::item(const StackItem* value) const
{
    if (value == nullptr)
        return nullptr;
    for (auto it = variables_.rbegin(); it != variables_.rend(); ++it) {
        if ((*it)->value() == value)
            return *it;
    }
    return nullptr;
}

LocalVariable* LocalsRepresentation::VariablesList::item(const char* name) const
{
    if (name == nullptr)
        return nullptr;
    const std::size_t length = std::strlen(name);
    for (auto it = variables_.rbegin(); it != variables_.rend(); ++it) {
        const ByteString& n = (*it)->name();
        if (n.length() == length && std::memcmp(n.data(), name, length) == 0)
            return *it;
    }
    return nullptr;
}

StackItem* LocalsRepresentation::VariablesList::evaluate()
{
    // "this" is computed once per refresh and shared by every member.
    for (auto it = thisValues_.rbegin(); it != thisValues_.rend(); ++it)
        (*it)->reset();
    buildList();
    const int frame = owner_.frameIndex();
    StackItem* last = nullptr;
    for (auto it = variables_.rbegin(); it != variables_.rend(); ++it) {
        LocalVariable& variable = **it;
        try {
            last = variable.evaluate(frame);
        } catch (...) {
            // One variable that cannot be read does not hold up the others.
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Variable %s could not be refreshed", nameOf(variable));
            variable.recordFailure();
            last = variable.value();
        }
    }
    return last;
}

void LocalsRepresentation::VariablesList::buildList()
{
    if (built_)
        return;
    built_ = true;
    owner_.clearOpenMpEnvs();
    const unsigned flags = owner_.flags();
    std::vector<const char*> seen;
    unsigned environmentCount = 0;
    bool outer = false;
    SymbolItem* thisSymbol = nullptr;

    ScopeItem* scope = new ScopeItem(context_, ScopeItem::unknownScope);
    for (unsigned steps = 0; scope != nullptr && steps < scopeWalkLimit; scope = scope->container(), ++steps) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "this = %p - processing scope %p named %s", static_cast<void*>(this),
                    static_cast<void*>(scope), scope->name());
        if (scope->scopeType() == ScopeItem::file && (flags & includeFileScope) == 0)
            break;
        if (scope->nestingLevel() > environmentCount)
            outer = true;
        if (!scope->isClassOrStructureScope()) {
            addScopeVariables(*scope, seen, environmentCount, outer);
            if (flags & innermostScopeOnly)
                break;
            if (scope->scopeType() == ScopeItem::memberFunction)
                thisSymbol = scope->findVariable("this", 1);
            continue;
        }
        auto& classScope = static_cast<ClassScopeItem&>(*scope);
        List<const char*> classNames;
        try {
            classNames = classScope.namespaceNames();
        } catch (const InvalidOp&) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "The names of class scope %p cannot be listed",
                        static_cast<void*>(scope));
        }
        if ((flags & addObjectMembers) != 0 && thisSymbol != nullptr) {
            ClassThisValue* thisValue = nullptr;
            try {
                thisValue = new ClassThisValue(*thisSymbol);
            } catch (const InvalidOp&) {
                SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "\"this\" of scope %p points to no class",
                            static_cast<void*>(scope));
            }
            if (thisValue != nullptr && thisValue->classType() != nullptr) {
                thisValues_.push_back(thisValue);
                addClassMembers(*thisValue, classScope, seen);
            } else {
                delete thisValue;
            }
        }
        for (unsigned i = 0; i < classNames.count(); ++i)
            seen.push_back(textOf(classNames[i]));
        if (flags & innermostScopeOnly)
            break;
    }
    sort();
}

void LocalsRepresentation::VariablesList::addScopeVariables(ScopeItem& scope, std::vector<const char*>& seen,
                                                            unsigned& environmentCount, bool& outer)
{
    const unsigned flags = owner_.flags();
    const bool dropSpecial = (flags & dropSpecialNames) != 0;
    std::vector<SYMBOL_ENTRY*> kept;
    std::vector<const char*> anonymous;

    for (SYMBOL_ENTRY* entry : scopeEntries(scope.context())) {
        if (entry == nullptr)
            continue;
        switch (entry->kind) {
        case SE_STATIC:
        case SE_SECTION_DATA:
        case SE_THREAD_STATIC:
        case SE_COMMON_MEMBER: break;
        case SE_AUTOMATIC:
        case SE_REGISTER:
        case SE_TYPED41:
            if (outer)
                continue;
            break;
        case SE_DWARF_LOCATION:
            if (outer) {
                // Beyond a parallel region only what has an address of its own.
                try {
                    SVC::Expr2ComputeAbsDWARFaddress(scope.context(), symbolEntryLocation(*entry));
                } catch (const InvalidOp&) {
                    continue;
                }
            }
            break;
        default: continue;
        }

        try {
            const char* name = symbolEntryDisplayName(*entry);
            bool nameTest = true;
            switch (nameType(name)) {
            case plainName:
            case escapedName: break;
            case environmentName:
                ++environmentCount;
                if (dropSpecial)
                    continue;
                break;
            case unnamed: {
                const TypeItem type(typeOfSymbol(*entry));
                if (!hasVisibleMembers(type))
                    continue;
                collectMemberNames(type, anonymous);
                nameTest = false;
                break;
            }
            case numberedName: {
                const TypeItem type(typeOfSymbol(*entry));
                if (hasVisibleMembers(type))
                    collectMemberNames(type, anonymous);
                else if (dropSpecial)
                    continue;
                break;
            }
            default:
                if (dropSpecial)
                    continue;
                break;
            }
            if (nameTest) {
                if (contains(seen, name))
                    continue;
                seen.push_back(name);
            }
            if (displayable(*entry))
                kept.push_back(entry);
        } catch (const InvalidOp&) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Symbol entry %p is not listed", static_cast<void*>(entry));
        }
    }

    for (auto it = kept.rbegin(); it != kept.rend(); ++it) {
        SYMBOL_ENTRY& entry = **it;
        const char* name = symbolEntryDisplayName(entry);
        if (name != nullptr && *name != '\0' && contains(anonymous, name))
            continue;
        auto* symbol = new LocalSymbolItem(entry, scope, scope.nestingLevel());
        scope.addSymbol(*symbol);
        try {
            variables_.push_back(new LocalVariableStdSym(*symbol));
        } catch (const InvalidOp&) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Variable %s has no value of its type", symbol->name());
        }
    }
    seen.insert(seen.end(), anonymous.begin(), anonymous.end());
}

void LocalsRepresentation::VariablesList::addClassMembers(ClassThisValue& thisValue, ClassScopeItem& scope,
                                                          std::vector<const char*> names)
{
    addClassMembersAt(thisValue, scope, std::move(names), 0);
}

void LocalsRepresentation::VariablesList::addClassMembersAt(ClassThisValue& thisValue, ClassScopeItem& scope,
                                                            std::vector<const char*> names, unsigned depth)
{
    const bool dropSpecial = (owner_.flags() & dropSpecialNames) != 0;
    const List<SymbolItem*>& members = scope.variables();
    // A copy: the type's trace text lives only until the next one is made.
    const std::string className = textOf(scope.classType().format());
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Processing %d variables and all base classes in class %s",
                static_cast<int>(members.count()), className.c_str());
    for (unsigned i = members.count(); i > 0; --i) {
        SymbolItem& member = *members[i - 1];
        if (isBaseClassSymbol(member))
            continue;
        const char* name = textOf(member.name());
        if (dropSpecial) {
            const int nameClass = nameType(name);
            if (nameClass == unnamed || nameClass >= reservedName) {
                if (nameClass == unnamed)
                    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Null class member name found!!!");
                continue;
            }
        }
        if (contains(names, name)) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Class variable %s is masked", name);
            continue;
        }
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Class variable %s is added", name);
        variables_.push_back(new LocalVariableClassSym(thisValue, member));
        names.push_back(name);
    }

    const ClassDescriptor* info = scope.classInfo();
    const BaseClassDescriptor* first = info != nullptr ? info->firstBase : nullptr;
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "classInfoBlock.baseClasses=%p", static_cast<const void*>(first));
    for (const BaseClassDescriptor* base = first; base != nullptr; base = base->next) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "baseClassInfo=%p", static_cast<const void*>(base));
        if (base->baseType == nullptr)
            continue;
        ClassScopeItem* baseScope = ClassScopeItem::getClassScope(*base->baseType, nullptr, false);
        if (baseScope == nullptr)
            continue;
        if (depth + 1 >= TypeDepthGuard::limit) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Bases of class %s nest too deeply; skipped", className.c_str());
            continue;
        }
        auto* baseThis = new ClassThisValue(thisValue, *base->baseType);
        thisValues_.push_back(baseThis);
        addClassMembersAt(*baseThis, *baseScope, names, depth + 1);
    }
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Completed processing variables and base classes in class %s",
                className.c_str());
}

void LocalsRepresentation::VariablesList::sort()
{
    // Descending byte order of the names.
    std::stable_sort(variables_.begin(), variables_.end(), [](const LocalVariable* a, const LocalVariable* b) {
        return std::strcmp(nameOf(*b), nameOf(*a)) < 0;
    });
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "There are %d local variables:", static_cast<int>(variables_.size()));
    for (std::size_t i = 0; i < variables_.size(); ++i)
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "%d: %s", static_cast<int>(i), nameOf(*variables_[i]));
}
