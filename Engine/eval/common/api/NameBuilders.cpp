// The name builders of members, base classes, pointer targets and whole
// node expressions, and the demangling of linkage names.

#include <string>

#include "api/BuiltNameText.h"
#include "api/DemangleBinding.h"
#include "api/EntryFrame.h"
#include "api/LiveRepresentations.h"
#include "api/NameBuilderEntryPoints.h"
#include "api/NodeName.h"
#include "api/SimpleName.h"
#include "services/SVC.h"
#include "tree/SqlHostVariable.h"
#include "tree/UpdateTreeNode.h"

#include <plomkit/ThreadOwned.h>

namespace {

// "P" when simple by the rule given, else "(P)".
template <class Simple>
std::string parenthesised(const std::string& p, Simple simple)
{
    return simple(p) ? p : "(" + p + ")";
}

bool plainName(const std::string& p)
{
    return simpleName(reinterpret_cast<const unsigned char*>(p.c_str()));
}

bool simpleExpression(const std::string& p)
{
    return isSimpleName(p.c_str());
}

UBYTE1* traced(const char* signature, unsigned line, UBYTE1* result)
{
    SVC::fTrace(signature, line, "returns \"%s\"", reinterpret_cast<const char*>(result));
    return result;
}

// A name builder in the entry frame: null when it fails.
template <class Work>
UBYTE1* buildName(const char* signature, unsigned line, Work&& work)
{
    return EntryFrame::run<UBYTE1*>(signature, line, nullptr, static_cast<Work&&>(work));
}

// Makes a node the host holds current; false for any other handle.
bool enterNode(EntryFrame& frame, UpdateTreeNode& node)
{
    if (!LiveRepresentations::isLiveNode(&node))
        return false;
    if (EvaluationEnvironment* environment = node.internalRep())
        frame.makeCurrent(*environment);
    return true;
}

} // namespace

UBYTE1* DbgClassDataMemberFullName(StackItem*, UpdateTreeNode*, UBYTE1* parent, UBYTE1* member)
{
    static const char signature[] = "UBYTE1* DbgClassDataMemberFullName(StackItem*, UpdateTreeNode*, UBYTE1*, UBYTE1*)";
    return buildName(signature, __LINE__, [&](EntryFrame&) {
        ByteString& result = threadOwned<ByteString>([] {});
        std::string name;
        if (parent != nullptr && member != nullptr)
            name = parenthesised(builtNameInput(parent), plainName) + "." + builtNameInput(member);
        return traced(signature, __LINE__, keepBuiltName(result, name));
    });
}

UBYTE1* DbgClassBaseClassFullName(StackItem*, UpdateTreeNode* node, UBYTE1* parent, UBYTE1* member)
{
    static const char signature[] = "UBYTE1* DbgClassBaseClassFullName(StackItem*, UpdateTreeNode*, UBYTE1*, UBYTE1*)";
    return buildName(signature, __LINE__, [&](EntryFrame& frame) -> UBYTE1* {
        ByteString& result = threadOwned<ByteString>([] {});
        std::string name;
        if (node != nullptr && parent != nullptr && member != nullptr) {
            if (!enterNode(frame, *node))
                return nullptr;
            const char* base = node->shortTypeName();
            name = "(*((" + std::string(base != nullptr ? base : "") + "*)&" + builtNameInput(parent) + "))";
        }
        return traced(signature, __LINE__, keepBuiltName(result, name));
    });
}

UBYTE1* DbgStructElementFullName(StackItem*, UpdateTreeNode*, UBYTE1* parent, UBYTE1* member)
{
    static const char signature[] = "UBYTE1* DbgStructElementFullName(StackItem*, UpdateTreeNode*, UBYTE1*, UBYTE1*)";
    return buildName(signature, __LINE__, [&](EntryFrame&) -> UBYTE1* {
        ByteString& result = threadOwned<ByteString>([] {});
        if (parent == nullptr || member == nullptr)
            return nullptr;
        const std::string p = builtNameInput(parent);
        if (member[0] == '*')
            return keepBuiltName(result, simpleExpression(p) ? "*" + p : "*(" + p + ")");
        return keepBuiltName(result, parenthesised(p, simpleExpression) + "." + builtNameInput(member));
    });
}

UBYTE1* DbgDerefPointerFullName(StackItem*, UpdateTreeNode*, UBYTE1* name)
{
    static const char signature[] = "UBYTE1* DbgDerefPointerFullName(StackItem*, UpdateTreeNode*, UBYTE1*)";
    return buildName(signature, __LINE__, [&](EntryFrame&) {
        ByteString& result = threadOwned<ByteString>([] {});
        const std::string p = builtNameInput(name);
        std::string text;
        if (!p.empty())
            text = plainName(p) ? "*" + p : "*(" + p + ")";
        return traced(signature, __LINE__, keepBuiltName(result, text));
    });
}

UBYTE1* DbgMakeUnambiguousFullName(UBYTE1* name)
{
    static const char signature[] = "UBYTE1* DbgMakeUnambiguousFullName(UBYTE1*)";
    static UBYTE1 empty[1] = {0};
    return buildName(signature, __LINE__, [&](EntryFrame&) {
        ByteString& result = threadOwned<ByteString>([] {});
        if (name == nullptr || name[0] == '\0')
            return traced(signature, __LINE__, empty);
        if (isSimpleName(name))
            return traced(signature, __LINE__, name);
        return traced(signature, __LINE__, keepBuiltName(result, "(" + builtNameInput(name) + ")"));
    });
}

UBYTE1* DbgBuildNodeExpression(UpdateTreeNode* node)
{
    return buildName("UBYTE1* DbgBuildNodeExpression(UpdateTreeNode*)", __LINE__, [&](EntryFrame& frame) -> UBYTE1* {
        ByteString& result = threadOwned<ByteString>([] {});
        if (node == nullptr || !enterNode(frame, *node))
            return nullptr;
        result = nodeName(*node);
        return result.empty() ? nullptr : result.data();
    });
}

UBYTE2 DbgDemangleName(UBYTE4 language, UBYTE1* mangled, UBYTE1** readable, UBYTE1** name)
{
    static const char signature[] = "UBYTE2 DbgDemangleName(UBYTE4, UBYTE1*, UBYTE1**, UBYTE1**)";
    return EntryFrame::run(signature, __LINE__, UBYTE2(statusFailure), [&](EntryFrame&) -> UBYTE2 {
        ByteString& first = threadOwned<ByteString>([] {});
        ByteString& second = threadOwned<ByteString>([] {});
        ByteString a, b;
        const int code = language <= 4 ? static_cast<int>(language) : -1;
        const UBYTE2 status = DemangleBinding::demangle(code, reinterpret_cast<const char*>(mangled), a, b);
        if (status != 0)
            return status;
        first = std::move(a);
        second = std::move(b);
        if (readable != nullptr)
            *readable = first.data();
        if (name != nullptr)
            *name = second.data();
        return 0;
    });
}
