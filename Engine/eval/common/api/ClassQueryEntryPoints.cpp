// The class queries of a tree node: member and base-class counts, and the
// child node of one data member or base class.

#include "api/TypeQueryEntryPoints.h"

#include "api/EntryFrame.h"
#include "api/LiveRepresentations.h"
#include "services/InvalidOp.h"
#include "services/EvaluationEnvironment.h"
#include "services/SVC.h"
#include "tree/UpdateTreeNode.h"

namespace {

// Makes the node's environment current for the rest of the frame.
void enterNode(EntryFrame& frame, const UpdateTreeNode& node)
{
    if (!LiveRepresentations::isLiveNode(&node))
        throw InvalidOp(InvalidOp::RTRC_InvalidValue, __PRETTY_FUNCTION__, __LINE__);
    if (EvaluationEnvironment* env = node.internalRep())
        frame.makeCurrent(*env);
}

const char* textOf(const UBYTE1* text)
{
    return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

// What a query of one child answered, handed to the host: a failure (or no
// child) leaves the host a null child; a child gains one reference for the
// host. The traces name the index as indexText does; a failure's trace ends
// with failedSuffix.
UBYTE2 handOutChild(UBYTE2 rc, UpdateTreeNode* found, unsigned char* text, UBYTE4 n, UpdateTreeNode** child,
                    UBYTE1** name, const char* function, const char* indexText, const char* failedSuffix,
                    unsigned failedLine, unsigned line)
{
    if (rc != statusSuccess || found == nullptr) {
        *child = nullptr;
        SVC::fTrace(function, failedLine, "rc = %d; %s = %d%s", int(rc), indexText, int(n), failedSuffix);
        return rc != statusSuccess ? rc : UBYTE2(statusFailure);
    }
    found->addReference();
    LiveRepresentations::handOutNode(found);
    *child = found;
    *name = text;
    SVC::fTrace(function, line, "rc = %d; %s = %d, name = \"%s\"", int(rc), indexText, int(n), textOf(text));
    return statusSuccess;
}

} // namespace

UBYTE2 DbgQueryClassInfo(StackItem*, UpdateTreeNode* node, UBYTE4* members, UBYTE4* bases,
                         const LCC_Eval_Context_Info** context, TYPE_INDEX* type)
{
    return EntryFrame::run("UBYTE2 DbgQueryClassInfo(StackItem*, UpdateTreeNode*, UBYTE4*, UBYTE4*, "
                           "const LCC_Eval_Context_Info**, TYPE_INDEX*)",
                           840, UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
                               if (node == nullptr || members == nullptr || bases == nullptr || context == nullptr ||
                                   type == nullptr)
                                   return statusFailure;
                               enterNode(frame, *node);
                               *context = EvaluationEnvironment::currentRep()->context();
                               unsigned int memberCount = 0;
                               unsigned int baseCount = 0;
                               TYPE_INDEX index{};
                               const UBYTE2 rc = node->QueryClassInfo(memberCount, baseCount, index);
                               *members = memberCount;
                               *bases = baseCount;
                               *type = index;
                               return rc;
                           });
}

UBYTE2 DbgQueryClassDataMemInfo(StackItem*, UpdateTreeNode* node, UBYTE4 n, UpdateTreeNode** child, UBYTE1** name)
{
    return EntryFrame::run("UBYTE2 DbgQueryClassDataMemInfo(StackItem*, UpdateTreeNode*, UBYTE4, UpdateTreeNode**, "
                           "UBYTE1**)",
                           900, UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
                               if (node == nullptr || child == nullptr || name == nullptr)
                                   return statusFailure;
                               enterNode(frame, *node);
                               UpdateTreeNode* found = nullptr;
                               unsigned char* text = nullptr;
                               const UBYTE2 rc = node->QueryClassDataMemInfo(n, found, text);
                               return handOutChild(rc, found, text, n, child, name, __PRETTY_FUNCTION__,
                                                   "DataMemberIndex", "", 914, 926);
                           });
}

UBYTE2 DbgQueryClassBaseClassInfo(StackItem*, UpdateTreeNode* node, UBYTE4 n, UpdateTreeNode** child, UBYTE1** name,
                                  UBYTE4* flags)
{
    return EntryFrame::run("UBYTE2 DbgQueryClassBaseClassInfo(StackItem*, UpdateTreeNode*, UBYTE4, UpdateTreeNode**, "
                           "UBYTE1**, UBYTE4*)",
                           863, UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
                               if (node == nullptr || child == nullptr || name == nullptr || flags == nullptr)
                                   return statusFailure;
                               enterNode(frame, *node);
                               UpdateTreeNode* found = nullptr;
                               unsigned char* text = nullptr;
                               unsigned int bits = 0;
                               const UBYTE2 rc = node->QueryClassBaseClassInfo(n, found, text, bits);
                               const UBYTE2 answer = handOutChild(rc, found, text, n, child, name, __PRETTY_FUNCTION__,
                                                                  "BaseClassIndex", ", name = ??", 878, 884);
                               if (answer == statusSuccess)
                                   *flags = bits;
                               return answer;
                           });
}
