#include "api/NodeName.h"

#include <string>

#include "api/SimpleName.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "tree/UpdateTreeNode.h"

namespace {

constexpr int languageCobol = 6;

constexpr DBG_REPS repArray = 11;
constexpr DBG_REPS repStructureFirst = 12;
constexpr DBG_REPS repStructureLast = 15;
constexpr DBG_REPS repAddress = 19;

const char nodeNameSignature[] = "ByteString nodeName(UpdateTreeNode&)";

std::string text(const unsigned char* bytes)
{
    return bytes != nullptr ? reinterpret_cast<const char*>(bytes) : "";
}

bool isCobol(const UpdateTreeNode& node)
{
    EvaluationEnvironment* environment = node.internalRep();
    if (environment == nullptr)
        throw InvalidOp(InvalidOp::RTRC_AssertFail, nodeNameSignature, __LINE__);
    return environment->language() == languageCobol;
}

std::string expression(const UpdateTreeNode& node)
{
    const std::string member = text(node.memberName());
    const TreeNode* parentNode = node.parent();
    if (parentNode == nullptr)
        return member;
    const UpdateTreeNode* parent = dynamic_cast<const UpdateTreeNode*>(parentNode);
    if (parent == nullptr)
        throw InvalidOp(InvalidOp::RTRC_AssertFail, nodeNameSignature, __LINE__);
    const std::string p = expression(*parent);
    if (p.empty())
        return member;

    const DBG_REPS rep = parent->representation();
    if (rep >= repStructureFirst && rep <= repStructureLast) {
        if ((node.flags() & TreeNode::flagBaseClass) != 0 || member.empty())
            return p;
        if (isCobol(node))
            return member + " OF " + p;
        return isSimpleName(p.c_str()) ? p + "." + member : "(" + p + ")." + member;
    }
    if (rep == repArray) {
        const bool cobol = isCobol(node);
        const std::string::size_type open = member.rfind(cobol ? '(' : '[');
        const std::string subscript = open == std::string::npos ? std::string() : member.substr(open);
        if (cobol || p.back() == ']' || isSimpleName(p.c_str()))
            return p + subscript;
        return "(" + p + ")" + subscript;
    }
    if (rep == repAddress)
        return isSimpleName(p.c_str()) ? "*" + p : "*(" + p + ")";
    throw InvalidOp(InvalidOp::RTRC_IncompatTypes, nodeNameSignature, __LINE__);
}

} // namespace

ByteString nodeName(UpdateTreeNode& node)
{
    const std::string name = expression(node);
    return ByteString(reinterpret_cast<const unsigned char*>(name.data()), static_cast<unsigned>(name.size()));
}
