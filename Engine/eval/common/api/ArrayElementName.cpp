#include <string>

#include "api/BuiltNameText.h"
#include "api/NameBuilderEntryPoints.h"
#include "tree/UpdateTreeNode.h"

UBYTE1* DbgArrayElementFullName(StackItem*, UpdateTreeNode* node, UBYTE1*, BYTE4 index)
{
    thread_local ByteString result;
    if (node == nullptr)
        return keepBuiltName(result, "");
    return keepBuiltName(result, builtNameInput(node->memberName()) + "(" + std::to_string(index) + ")");
}
