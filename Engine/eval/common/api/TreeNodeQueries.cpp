// The root of a result, a node's members, elements and data type.

#include "api/EntryFrame.h"
#include "api/LiveRepresentations.h"
#include "api/TreeNodeEntryPoints.h"
#include "frontend/EE_Language.h"
#include "machine/StackItem.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "tree/RootTreeNode.h"

namespace {

// Makes the node's environment current for the frame, without a context.
// A node the host does not hold (or whose representation is gone) is
// refused before anything reads it.
void enterNode(EntryFrame& frame, UpdateTreeNode& node)
{
    if (!LiveRepresentations::isLiveNode(&node))
        throw InvalidOp(InvalidOp::RTRC_InvalidValue, __PRETTY_FUNCTION__, __LINE__);
    EvaluationEnvironment* environment = node.internalRep();
    if (environment == nullptr)
        throw InvalidOp(InvalidOp::RTRC_AssertFail, __PRETTY_FUNCTION__, __LINE__);
    frame.makeCurrent(*environment);
}

const char resultsSignature[] =
    "UBYTE2 DbgQueryResultsRepsAndDataType(StackItem*, UpdateTreeNode*, UBYTE2*, UBYTE2**, UBYTE2**, UBYTE2*, "
    "UBYTE1**, UBYTE2*, UBYTE2*)";

} // namespace

RootTreeNode* buildRootNode(StackItem& item)
{
    RootTreeNode* root = item.getTreeRoot();
    if (item.environment().language() != EE_LanguageSQL)
        root->loadResult(item);
    root->addReference();
    return root;
}

UBYTE2 DbgBuildRootNodeInfo(StackItem* item, UpdateTreeNode** out)
{
    return EntryFrame::run("UBYTE2 DbgBuildRootNodeInfo(StackItem*, UpdateTreeNode**)", __LINE__, UBYTE2(statusFailure),
                           [&](EntryFrame& frame) -> UBYTE2 {
                               if (!LiveRepresentations::isLiveResult(item) || out == nullptr)
                                   return statusFailure;
                               // Loading the result may read the debuggee (a
                               // Fortran array's data location): in its own
                               // environment.
                               frame.makeCurrent(item->environment());
                               RootTreeNode* root = buildRootNode(*item);
                               LiveRepresentations::handOutNode(root);
                               *out = root;
                               return statusSuccess;
                           });
}

UBYTE2 DbgQueryStructInfo(StackItem*, UpdateTreeNode* node, UBYTE4* count)
{
    return EntryFrame::run("UBYTE2 DbgQueryStructInfo(StackItem*, UpdateTreeNode*, UBYTE4*)", __LINE__,
                           UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
                               if (node == nullptr || count == nullptr)
                                   return statusFailure;
                               enterNode(frame, *node);
                               unsigned int n = 0;
                               const UBYTE2 status = node->QueryStructInfo(n);
                               *count = n;
                               return status;
                           });
}

UBYTE2 DbgQueryArrayInfo(StackItem*, UpdateTreeNode* node, UBYTE4* count, BYTE4* first)
{
    return EntryFrame::run("UBYTE2 DbgQueryArrayInfo(StackItem*, UpdateTreeNode*, UBYTE4*, BYTE4*)", __LINE__,
                           UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
                               if (node == nullptr || count == nullptr || first == nullptr)
                                   return statusFailure;
                               enterNode(frame, *node);
                               unsigned int n = 0;
                               int base = 0;
                               const UBYTE2 status = node->QueryArrayInfo(n, base);
                               *count = n;
                               *first = base;
                               return status;
                           });
}

UBYTE2 Dbg2QueryStructElementInfo(StackItem*, UpdateTreeNode* node, UBYTE8 index, UpdateTreeNode** child, UBYTE1** name)
{
    static const char signature[] =
        "UBYTE2 Dbg2QueryStructElementInfo(StackItem*, UpdateTreeNode*, UBYTE8, UpdateTreeNode**, UBYTE1**)";
    return EntryFrame::run(signature, __LINE__, UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
        if (node == nullptr || child == nullptr || name == nullptr)
            return statusFailure;
        *child = nullptr;
        enterNode(frame, *node);
        UpdateTreeNode* found = nullptr;
        unsigned char* text = nullptr;
        const UBYTE2 status = node->QueryStructElementInfo(index, found, text);
        if (status != statusSuccess || found == nullptr)
            return status != statusSuccess ? status : UBYTE2(statusFailure);
        found->addReference();
        LiveRepresentations::handOutNode(found);
        *child = found;
        *name = text;
        return statusSuccess;
    });
}

UBYTE2 Dbg2QueryArrayElementInfo(StackItem*, UpdateTreeNode* node, UBYTE8 index, UpdateTreeNode** child)
{
    static const char signature[] =
        "UBYTE2 Dbg2QueryArrayElementInfo(StackItem*, UpdateTreeNode*, UBYTE8, UpdateTreeNode**)";
    return EntryFrame::run(signature, __LINE__, UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
        if (node == nullptr || child == nullptr)
            return statusFailure;
        *child = nullptr;
        enterNode(frame, *node);
        UpdateTreeNode* found = nullptr;
        const UBYTE2 status = node->QueryArrayElementInfo(index, found);
        if (status != statusSuccess || found == nullptr)
            return status != statusSuccess ? status : UBYTE2(statusFailure);
        found->addReference();
        LiveRepresentations::handOutNode(found);
        *child = found;
        return statusSuccess;
    });
}

UBYTE2 DbgQueryResultsRepsAndDataType(StackItem* item, UpdateTreeNode* node, UBYTE2* count, UBYTE2** reps,
                                      UBYTE2** results, UBYTE2* defaultRep, UBYTE1** typeName, UBYTE2* dataType,
                                      UBYTE2* length)
{
    return EntryFrame::run(resultsSignature, __LINE__, UBYTE2(statusFailure), [&](EntryFrame& frame) -> UBYTE2 {
        UBYTE2 status = statusFailure;
        if (LiveRepresentations::isLiveResult(item) && node != nullptr && count != nullptr && reps != nullptr &&
            results != nullptr && defaultRep != nullptr && typeName != nullptr && dataType != nullptr &&
            length != nullptr) {
            status = frame.guard([&]() -> UBYTE2 {
                enterNode(frame, *node);
                // The node answers the result kinds before the representations.
                return node->QueryResultType(*item, *count, *results, *reps, *defaultRep, *typeName, *dataType,
                                             *length);
            });
        }
        if (status == statusFailure) {
            SVC::fTrace(resultsSignature, __LINE__, "DbgQueryResultsRepsAndDataType(%d) returned %d (DBG2_CALL_FAIL)",
                        __LINE__, status);
        } else {
            SVC::fTrace(resultsSignature, __LINE__,
                        "DbgQueryResultsRepsAndDataType(%d) returned %d.  NumReps = %d; DataTypeIndex = %d; "
                        "DataTypeLength = %d;pTypeName = \"%s\"",
                        __LINE__, status, *count, *dataType, *length,
                        *typeName != nullptr ? reinterpret_cast<const char*>(*typeName) : "");
        }
        return status;
    });
}

UBYTE2 DbgQueryResultType(StackItem* item, UpdateTreeNode* node, UBYTE2* count, UBYTE2** reps, UBYTE2** results,
                          UBYTE2* defaultRep, UBYTE1** typeName)
{
    static const char signature[] =
        "UBYTE2 DbgQueryResultType(StackItem*, UpdateTreeNode*, UBYTE2*, UBYTE2**, UBYTE2**, UBYTE2*, UBYTE1**)";
    return EntryFrame::run(signature, __LINE__, UBYTE2(statusFailure), [&](EntryFrame&) -> UBYTE2 {
        UBYTE2 dataType = 0;
        UBYTE2 length = 0;
        // The inner entry point catches what the query throws; this one has
        // nothing of its own that could.
        const UBYTE2 status =
            DbgQueryResultsRepsAndDataType(item, node, count, reps, results, defaultRep, typeName, &dataType, &length);
        if (status == statusFailure) {
            SVC::fTrace(signature, __LINE__, "DbgQueryResultType(%d) returned %d (DBG2_CALL_FAIL)", __LINE__, status);
        } else {
            SVC::fTrace(signature, __LINE__, "DbgQueryResultType(%d) returned %d.  NumReps = %d; pTypeName = \"%s\"",
                        __LINE__, status, *count, *typeName != nullptr ? reinterpret_cast<const char*>(*typeName) : "");
        }
        return status;
    });
}
