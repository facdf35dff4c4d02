#include <limits>
#include <string>

#include "HostRecordAccess.h"
#include "services/EntryTrace.h"
#include "services/InvalidOp.h"
#include "tree/FormatTreeNode.h"
#include "tree/NodeTypes.h"
#include "types/RTTIsupport.h"

// Keeping a node's format type in step with the dynamic class of the object
// it shows.

namespace {

bool sameName(const char* name, const std::string& wanted)
{
    return name != nullptr && wanted == name;
}

// Clears the running bit of fixFormatType's guard on every way out.
class FixGuard {
public:
    explicit FixGuard(std::uint8_t& bits) : bits_(bits) { bits_ |= FormatTreeNode::fixRunning; }
    ~FixGuard() { bits_ &= static_cast<std::uint8_t>(~FormatTreeNode::fixRunning); }
    FixGuard(const FixGuard&) = delete;
    FixGuard& operator=(const FixGuard&) = delete;

private:
    std::uint8_t& bits_;
};

} // namespace

bool FormatTreeNode::setFormatType(const TypeItem& type)
{
    formatTypeChanged_ = false;
    if (formatType_ == type)
        return false;
    if (isEmptyNodeType(type)) {
        formatType_ = type;
        formatTypeChanged_ = true;
        removeChildren();
        return true;
    }
    TypeItem chosen(type);
    if (chosen.hasFlag(TypeFlags::reference) && !chosen.hasFlag(TypeFlags::addressOfReference)) {
        try {
            chosen = TypeItem(chosen.referent());
        } catch (const InvalidOp&) {
            // A reference whose referent cannot be had is shown as it is.
        }
    }
    DebuggeeLocation where = location();
    switch (RTTIsupport::updateType(chosen, where)) {
    case 0:
    case 1: break;
    default: chosen = typeOfDataItem(); break;
    }
    if (formatType_ == chosen)
        return false;
    formatType_ = chosen;
    formatTypeChanged_ = true;
    removeChildren();
    return true;
}

namespace {

// Base classes nest no deeper than this; deeper records are taken as a
// cycle and end the search.
constexpr unsigned maximumBaseDepth = 64;

int searchBases(std::int64_t& offset, const std::string& wantedName, const TypeItem& cls, unsigned depth)
{
    const _TYPE_ENTRY* c = nodeTypeEntry(cls);
    const _TYPE_ENTRY* fields =
        c != nullptr && isClassLeaf(c->leaf) ? nodeTypeEntry(TypeItem(TYPE_INDEX(c->klass.fieldList))) : nullptr;
    if (depth > maximumBaseDepth || fields == nullptr || fields->leaf != TE_LIST || fields->list.kind != TE_LIST_TYPES)
        return 0;
    for (const TNtypeListNode* n = fields->list.first.types; n != nullptr; n = n->next) {
        const _TYPE_ENTRY* f = nodeTypeEntry(TypeItem(n->type));
        if (f == nullptr || f->leaf != TE_BASECLASS)
            continue;
        const TNbaseclass& base = f->baseclass;
        const bool fixed = (base.flags & TNbaseclass_Virtual) == 0 && !baseLocationIsExpression(base);
        const TypeItem baseType(base.baseType);
        std::int64_t running = offset - static_cast<std::int64_t>(baseOffset(base));
        int found = sameName(baseType.demangledTypeName(), wantedName)
                        ? 1
                        : searchBases(running, wantedName, baseType, depth + 1);
        if (found == 1 && !fixed)
            found = 2;
        if (found == 1)
            offset = running;
        if (found != 0)
            return found;
    }
    return 0;
}

} // namespace

int FormatTreeNode::getAddressOffset(std::int64_t& offset, const TypeItem& wanted, const TypeItem& cls) const
{
    EntryTrace trace("int FormatTreeNode::getAddressOffset(int&, const TypeItem&, const TypeItem&) const", "(%d)",
                     __LINE__);
    const char* wantedName = wanted.demangledTypeName();
    return wantedName != nullptr && *wantedName != 0 ? searchBases(offset, std::string(wantedName), cls, 0) : 0;
}

void FormatTreeNode::rereadAtLocation() const
{
    freeBuffer();
    if (!isLoaded())
        return;
    FormatTreeNode* self = const_cast<FormatTreeNode*>(this);
    const std::uint64_t size = formatType_.typeSize();
    bool read = false;
    if (size != 0 && size <= std::numeric_limits<unsigned>::max() && location().isValid()) {
        try {
            self->ensureBuffer(size);
            read = location().read(const_cast<unsigned char*>(ownBuffer()), static_cast<unsigned>(size)) == size;
        } catch (const InvalidOp&) {
            read = false;
        }
    }
    if (!read) {
        freeBuffer();
        self->clearFlags(flagLoaded);
    }
}

void FormatTreeNode::formatTypeTaken() const
{
    formatTypeChanged_ = true;
    const_cast<FormatTreeNode*>(this)->removeChildren();
    if (!formatType_.isClassOrStruct())
        return;
    const _TYPE_ENTRY* e = nodeTypeEntry(formatType_);
    const UBYTE4 leaf = e != nullptr ? e->leaf : 0;
    if (leaf == TE_CLASS || leaf == TE_REFERENCE || leaf == TE_GROUP) {
        unsigned members = 0;
        unsigned bases = 0;
        TYPE_INDEX index{};
        QueryClassInfo(members, bases, index);
    } else if (leaf == TE_STRUCT) {
        unsigned count = 0;
        TreeNode::QueryStructInfo(count, formatType_);
    } else {
        throw InvalidOp(InvalidOp::RTRC_FIXME, "void FormatTreeNode::fixFormatType()", __LINE__);
    }
}

void FormatTreeNode::fixFormatType() const
{
    if ((fixBits_ & (fixRunning | fixDone)) != 0)
        return;
    FixGuard guard(fixBits_);
    FormatTreeNode* self = const_cast<FormatTreeNode*>(this);
    // A node not loaded yet is loaded first, so that its location is that
    // of its object (a pointer's target, say) and not its parent's.
    if (parent() != nullptr && !isLoaded() && formatType_.isClassOrStruct()) {
        try {
            self->loadThisNode(loadNode);
        } catch (const InvalidOp&) {
            return;
        }
    }
    TypeItem updated(formatType_);
    DebuggeeLocation where = debuggeeAddress();
    switch (RTTIsupport::updateType(updated, where)) {
    case 0: return;
    case 1:
        if (parent() != nullptr) {
            // The node's location is that of the part of the object its
            // former type stands for; the derived object starts before it.
            std::int64_t offset = 0;
            const int found = getAddressOffset(offset, formatType_, updated);
            if (found == 2) {
                // A base whose offset is not fixed: the node keeps the type
                // it has, at its place.
                return;
            }
            if (offset != 0) {
                DebuggeeLocation moved = debuggeeAddress();
                moved.increment(offset);
                self->setLocation(moved);
            }
            self->formatType_ = updated;
            rereadAtLocation();
        }
        self->formatType_ = updated;
        break;
    default:
        if (!self->setFormatType(typeOfDataItem()))
            return;
        break;
    }
    formatTypeTaken();
}
