#include <string>

#include "api/BuiltNameText.h"
#include "api/EntryFrame.h"
#include "api/LiveRepresentations.h"
#include "api/NameBuilderEntryPoints.h"
#include "tree/UpdateTreeNode.h"

#include <plomkit/ThreadOwned.h>

UBYTE1* DbgArrayElementFullName(StackItem*, UpdateTreeNode* node, UBYTE1*, BYTE4 index)
{
    static const char signature[] = "UBYTE1* DbgArrayElementFullName(StackItem*, UpdateTreeNode*, UBYTE1*, BYTE4)";
    return EntryFrame::run<UBYTE1*>(signature, __LINE__, nullptr, [&](EntryFrame&) -> UBYTE1* {
        ByteString& result = threadOwned<ByteString>([] {});
        if (node == nullptr)
            return keepBuiltName(result, "");
        // A node the host does not hold has no name.
        if (!LiveRepresentations::isLiveNode(node))
            return nullptr;
        return keepBuiltName(result, builtNameInput(node->memberName()) + "(" + std::to_string(index) + ")");
    });
}
