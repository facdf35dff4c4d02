#include <cstdio>
#include <string>

#include "HostRecordAccess.h"
#include "machine/StackItem.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "tree/FormatTreeNode.h"
#include "tree/NodeTypes.h"
#include "tree/UpdateTreeNode.h"
#include "types/ScopeItem.h"

// The host's result-type, structure, class and base-class queries of a
// formatting node, and the formatted value it hands out.

namespace {

// Field entries whose members are not shown: the virtual-table pointer,
// pointers to virtual bases and two further kinds of compiler members.
constexpr UBYTE4 hiddenMemberBits = 0x126;

// The member's name, or for a COBOL group member its level in two digits,
// a blank and the name ("05 NAME").
std::string displayedMemberName(const TNclassmember& member)
{
    std::string name = member.name != nullptr ? member.name : "";
    if (member.levelNumber >= 1 && member.levelNumber <= 99) {
        char level[4];
        std::snprintf(level, sizeof level, "%02u", static_cast<unsigned>(member.levelNumber));
        name = std::string(level) + " " + name;
    }
    return name;
}

unsigned currentAddressSize()
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    return env != nullptr && env->addressSize() == 8 ? 8 : 4;
}

const LCC_Eval_Context_Info* currentContext()
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    return env != nullptr ? env->context() : nullptr;
}

} // namespace

std::uint16_t FormatTreeNode::QueryResultType(const StackItem& item, unsigned short& count, unsigned short*& results,
                                              unsigned short*& reps, unsigned short& defaultIndex,
                                              unsigned char*& typeName, unsigned short& dataType,
                                              unsigned short& length) const
{
    fixFormatType();
    TypeItem type(formatType_);
    const std::uint16_t status = const_cast<FormatTreeNode*>(this)->TreeNode::QueryResultType(
        type, count, results, reps, defaultIndex, typeName, item.inDebuggerAddressSpace() ? 1 : 0, dataType, length);
    addLengthAttribute();
    typeName = const_cast<unsigned char*>(this->typeName().data());
    return status;
}

std::uint16_t FormatTreeNode::QueryStructInfo(unsigned int& count) const
{
    fixFormatType();
    // A class, structure, union or group (also through a reference) lists
    // its base classes and members.
    const _TYPE_ENTRY* e = nodeTypeEntry(formatType_);
    if (e != nullptr && e->leaf == TE_REFERENCE)
        e = nodeTypeEntry(TypeItem(TYPE_INDEX(e->reference.referent)));
    if (e != nullptr && isClassLeaf(e->leaf) && !formatType_.hasFlag(TypeFlags::pointer)) {
        unsigned members = 0;
        unsigned bases = 0;
        TYPE_INDEX index{};
        const std::uint16_t status = QueryClassInfo(members, bases, index);
        if (status != 0)
            return status;
        count = members + bases;
        return 0;
    }
    return TreeNode::QueryStructInfo(count, formatType_);
}

void FormatTreeNode::addFieldChild(const TypeItem& fieldType, const _TYPE_ENTRY& field) const
{
    FormatTreeNode* self = const_cast<FormatTreeNode*>(this);
    if (field.leaf == TE_BASECLASS) {
        const TypeItem base(field.baseclass.baseType);
        const _TYPE_ENTRY* b = nodeTypeEntry(base);
        if (b == nullptr || !isClassLeaf(b->leaf))
            return;
        // The node keeps the base-class record: its offset, location
        // expression or virtual-base form is what locates the part.
        Reference<UpdateTreeNode> child(new UpdateTreeNode(base, fieldType, ""));
        child->markFixed();
        self->addChild(child);
        return;
    }
    if (field.leaf != TE_MEMBER)
        return;
    const TNclassmember& member = field.member;
    if ((member.flags & hiddenMemberBits) != 0)
        return;
    const TypeItem type(member.memberType);
    if (memberIsStatic(member)) {
        EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
        if (env == nullptr || !env->localsOption())
            return;
        DebuggeeAddress address;
        if (memberLocationIsExpression(member)) {
            const DwarfLocation where = memberLocationExpression(member);
            address = DebuggeeAddress(
                static_cast<std::uint64_t>(SVC::GetDwarfValue(currentContext(), where.bytes, where.length)),
                static_cast<int>(currentAddressSize()));
        } else {
            // Linked under the name of its storage when the entry gives one.
            const char* storage = memberStorageName(member);
            const char* name = storage != nullptr && *storage != 0 ? storage : member.name;
            const ScopeItem* file = fileScope();
            const LCC_Eval_Context_Info* ctx = file != nullptr ? file->context() : currentContext();
            address = DebuggeeAddress(SVC::Expr2GetLinkAddress(
                ctx, reinterpret_cast<UBYTE1*>(const_cast<char*>(name != nullptr ? name : "")), 0));
        }
        Reference<UpdateTreeNode> child(new UpdateTreeNode(type, member.name, 0));
        child->setFlags(flagStaticMember);
        child->setStaticAddress(address);
        self->addChild(child);
        return;
    }
    const std::string name = displayedMemberName(member);
    std::int64_t offset = static_cast<std::int64_t>(memberOffset(member));
    bool lost = false;
    if (memberLocationIsExpression(member)) {
        const DwarfLocation where = memberLocationExpression(member);
        const UBYTE8 object = 0;
        try {
            offset = SVC::GetDwarfValue(currentContext(), where.bytes, where.length, &object);
        } catch (const InvalidOp& error) {
            if (error.code() != InvalidOp::RTRC_SubscriptOutOfBounds)
                throw;
            lost = true;
            offset = 0;
        }
    }
    Reference<UpdateTreeNode> child(new UpdateTreeNode(type, name.c_str(), offset));
    if (lost) {
        child->setFlags(flagStaticMember);
        child->setStaticAddress(DebuggeeAddress(std::uint64_t{0}, static_cast<int>(currentAddressSize())));
    }
    self->addChild(child);
}

std::uint16_t FormatTreeNode::QueryClassInfo(unsigned int& members, unsigned int& bases, TYPE_INDEX& index) const
{
    setInternalRepresentation();
    fixFormatType();
    index = dataType().typeIndex().typeIndex();
    if (isDetached())
        return 10000;
    if (firstChild() == nullptr) {
        const _TYPE_ENTRY* e = nodeTypeEntry(formatType_);
        if (e != nullptr && e->leaf == TE_REFERENCE) {
            const _TYPE_ENTRY* referent = nodeTypeEntry(TypeItem(TYPE_INDEX(e->reference.referent)));
            if (referent == nullptr || !isClassLeaf(referent->leaf))
                return 10000;
            const_cast<FormatTreeNode*>(this)->setFlags(flagReference);
            e = referent;
        }
        if (e == nullptr || !isClassLeaf(e->leaf))
            return 10000;
        const _TYPE_ENTRY* fields = nodeTypeEntry(TypeItem(TYPE_INDEX(e->klass.fieldList)));
        if (fields == nullptr || fields->leaf != TE_LIST || fields->list.kind != TE_LIST_TYPES)
            return 10000;
        for (const TNtypeListNode* n = fields->list.first.types; n != nullptr; n = n->next) {
            const TypeItem fieldType(n->type);
            const _TYPE_ENTRY* field = nodeTypeEntry(fieldType);
            if (field != nullptr)
                addFieldChild(fieldType, *field);
        }
    }
    members = 0;
    bases = 0;
    for (const UpdateTreeNode* c = firstChild(); c != nullptr; c = c->nextSibling()) {
        if ((c->flags() & flagBaseClass) != 0)
            ++bases;
        else
            ++members;
    }
    return 0;
}

std::uint16_t FormatTreeNode::QueryClassBaseClassInfo(unsigned int n, UpdateTreeNode*& node, unsigned char*& name,
                                                      unsigned int& flags) const
{
    setInternalRepresentation();
    if (isDetached())
        return 10000;
    unsigned i = 0;
    for (UpdateTreeNode* c = firstChild(); c != nullptr; c = c->nextSibling()) {
        if ((c->flags() & flagBaseClass) == 0)
            continue;
        if (++i == n) {
            node = c;
            name = const_cast<unsigned char*>(c->memberName());
            flags = 0;
            return 0;
        }
    }
    return 10000;
}

const char* FormatTreeNode::setFormattedValue(const ByteString& text) const
{
    formattedValue_ = text;
    return reinterpret_cast<const char*>(formattedValue_.data());
}
