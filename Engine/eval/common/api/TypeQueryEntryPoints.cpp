// The type queries: what a name is, the display name of a type, the data
// types and representations offered and the default representation.

#include "api/TypeQueryEntryPoints.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include <plomkit/ByteString.h>

#include "api/EntryFrame.h"
#include "api/LocalsRepresentation.h"
#include "services/CurrentEnvironmentScope.h"
#include "services/SVC.h"
#include "tree/DebugType.h"
#include "types/ClassScopeItem.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

#include <plomkit/ThreadOwned.h>

namespace {

constexpr UBYTE4 dataTypeLimit = 41;
constexpr UBYTE4 representationLimit = 24;

std::string typeName(const TypeItem& type)
{
    const char* text = type.demangledTypeName(0, false);
    return text != nullptr ? text : "";
}

// Walks from scope outward while a scope has an enclosing one or is the
// file scope; the first symbol find answers ends the walk.
template <class Find>
SymbolItem* findOutward(ScopeItem* scope, Find&& find)
{
    for (unsigned steps = 0; scope != nullptr && steps < 4096; ++steps) {
        ScopeItem* outer = scope->container();
        const bool isFile = scope->scopeType() == ScopeItem::file;
        if (outer == nullptr && !isFile)
            return nullptr;
        if (SymbolItem* found = find(*scope))
            return found;
        if (isFile)
            return nullptr;
        scope = outer;
    }
    return nullptr;
}

bool declarationText(const char* name, const LCC_Eval_Context_Info* context, int language, std::string& text)
{
    LocalsRepresentation view(language, context, 0);
    CurrentEnvironmentScope current(view, context);
    ScopeItem* scope = view.initializeAndMakeCurrent(context);
    if (SymbolItem* variable = findOutward(scope, [&](ScopeItem& s) { return s.findVariable(name, 1); })) {
        text = typeName(variable->dataType()) + " " + name + ";";
        return true;
    }
    scope = view.initializeAndMakeCurrent(context);
    SymbolItem* type = findOutward(scope, [&](ScopeItem& s) { return s.findType(name, 1); });
    if (type == nullptr)
        return false;
    const TypeItem& data = type->dataType();
    ClassScopeItem* klass = ClassScopeItem::getClassScope(data, nullptr, false);
    if (klass == nullptr) {
        text = typeName(data) + " " + name;
        return true;
    }
    text = typeName(data) + " {\n";
    // The class scope lists its members last declared first.
    const List<SymbolItem*>& members = klass->variables();
    for (unsigned i = 0; i < members.count(); ++i) {
        const SymbolItem& member = *members[i];
        text += "\t" + typeName(member.dataType()) + " " + member.name() + ";\n";
    }
    text += "};";
    return true;
}

} // namespace

UBYTE2 DbgWhatIs(const UBYTE1* name, const LCC_Eval_Context_Info* context, int language, UBYTE1** text)
{
    static const char signature[] = "UBYTE2 DbgWhatIs(const UBYTE1*, const LCC_Eval_Context_Info*, int, UBYTE1**)";
    return EntryFrame::run(signature, __LINE__, UBYTE2(statusFailure), [&](EntryFrame&) -> UBYTE2 {
        if (name == nullptr || context == nullptr || text == nullptr)
            return statusFailure;
        std::string declaration;
        if (!declarationText(reinterpret_cast<const char*>(name), context, language, declaration))
            return statusFailure;
        // The host frees the text with free().
        auto* copy = static_cast<UBYTE1*>(std::malloc(declaration.size() + 1));
        if (copy == nullptr)
            return statusFailure;
        std::memcpy(copy, declaration.c_str(), declaration.size() + 1);
        *text = copy;
        return statusSuccess;
    });
}

UBYTE1* DbgBuildTypeFullName(const LCC_Eval_Context_Info*, TYPE_INDEX index)
{
    static const char signature[] = "UBYTE1* DbgBuildTypeFullName(const LCC_Eval_Context_Info*, TYPE_INDEX)";
    return EntryFrame::run<UBYTE1*>(signature, __LINE__, nullptr, [&](EntryFrame&) {
        // One text per thread: the host calls on several threads.
        ByteString& text = threadOwned<ByteString>([] {});
        try {
            const TypeItem type(index);
            const char* name = type.demangledTypeName(0, false);
            text = name != nullptr ? ByteString(reinterpret_cast<const unsigned char*>(name),
                                                static_cast<unsigned>(std::strlen(name)))
                                   : ByteString();
        } catch (...) {
            text = ByteString();
        }
        SVC::fTrace(signature, 120, "returns \"%s\"", reinterpret_cast<const char*>(text.data()));
        return text.data();
    });
}

UBYTE2 DbgQueryTypes(UBYTE4* count, UBYTE4** list, UBYTE4 language)
{
    return EntryFrame::run("UBYTE2 DbgQueryTypes(UBYTE4*, UBYTE4**, UBYTE4)", 1048, UBYTE2(statusFailure),
                           [&](EntryFrame&) -> UBYTE2 {
                               if (count == nullptr || list == nullptr)
                                   return statusFailure;
                               unsigned int n = 0;
                               unsigned int* types = nullptr;
                               DebugType::instance().QueryTypes(n, types, language);
                               *count = n;
                               *list = types;
                               return statusSuccess;
                           });
}

UBYTE2 DbgQueryTypeRepresentations(UBYTE4 type, UBYTE4* count, UBYTE4** list)
{
    return EntryFrame::run("UBYTE2 DbgQueryTypeRepresentations(UBYTE4, UBYTE4*, UBYTE4**)", 1032, UBYTE2(statusFailure),
                           [&](EntryFrame&) -> UBYTE2 {
                               if (count == nullptr || list == nullptr || type >= dataTypeLimit)
                                   return statusFailure;
                               unsigned int n = 0;
                               unsigned int* reps = nullptr;
                               const UBYTE2 rc =
                                   DebugType::instance().QueryTypeRepresentations(static_cast<DBG_TYPE>(type), n, reps);
                               *count = n;
                               *list = reps;
                               return rc;
                           });
}

UBYTE2 DbgSetDefaultRep(UBYTE4 type, UBYTE4 rep)
{
    return EntryFrame::run(
        "UBYTE2 DbgSetDefaultRep(UBYTE4, UBYTE4)", 1120, UBYTE2(statusFailure), [&](EntryFrame&) -> UBYTE2 {
            if (type >= dataTypeLimit || rep >= representationLimit)
                return statusFailure;
            return DebugType::instance().SetDefaultRep(static_cast<DBG_TYPE>(type), static_cast<DBG_REPS>(rep));
        });
}
