#include "tree/TreeNode.h"

#include <cstdio>
#include <limits>

#include "HostRecordAccess.h"
#include "machine/StackItem.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "tree/DebugType.h"
#include "tree/SqlHostVariable.h"
#include "tree/UpdateTreeNode.h"

namespace {

const char arrayInfoName[] = "virtual UBYTE2 TreeNode::QueryArrayInfo(UBYTE4&, BYTE4&) const";
const char elementInfoName[] = "virtual UBYTE2 TreeNode::QueryArrayElementInfo(UBYTE8, UpdateTreeNode*&) const";

const _TYPE_ENTRY* entryOf(const TypeItem& type)
{
    return type.typeIndex().module() == 0 ? nullptr : type.typeEntry();
}

} // namespace

const _TYPE_ENTRY* TreeNode::sqlArrayEntry(const char* function, unsigned missingLine, unsigned invalidLine) const
{
    if (detached_)
        return nullptr;
    setInternalRepresentation();
    const _TYPE_ENTRY* e = entryOf(dataType_);
    if (e == nullptr) {
        SVC::fTrace(function, missingLine, "Missing type entry");
        return nullptr;
    }
    if (!SqlTypeEntry::isSqlEntry(e)) {
        SVC::fTrace(function, invalidLine, "Invalid type %d", static_cast<int>(e->leaf));
        return nullptr;
    }
    return e;
}

std::uint16_t TreeNode::QueryArrayInfo(unsigned int& count, int& flag) const
{
    if (!detached_ && !SqlTypeEntry::isSqlEntry(entryOf(dataType_)) && typeOfDataItem().hasFlag(TypeFlags::array))
        return programArrayInfo(count, flag);
    const _TYPE_ENTRY* e = sqlArrayEntry(arrayInfoName, 64, 69);
    if (e == nullptr)
        return 10000;
    SqlTypeEntry entry(*e);
    if (entry.elementCount() <= 0) {
        SVC::fTrace(arrayInfoName, 76, "Not a valid array. Number of elements is %d", entry.elementCount());
        return 10000;
    }
    count = static_cast<unsigned>(entry.elementCount());
    flag = 1;
    return 0;
}

std::uint16_t TreeNode::QueryArrayElementInfo(unsigned long long index, UpdateTreeNode*& node) const
{
    if (!detached_ && !SqlTypeEntry::isSqlEntry(entryOf(dataType_)) && typeOfDataItem().hasFlag(TypeFlags::array))
        return programArrayElement(index, node);
    const _TYPE_ENTRY* e = sqlArrayEntry(elementInfoName, 95, 100);
    if (e == nullptr)
        return 10000;
    SqlTypeEntry array(*e);
    // Only elements that lie inside the variable exist.
    const std::int32_t count = array.elementCount();
    if (count <= 0 || index < 1 || index > static_cast<unsigned long long>(count))
        return 10000;
    const std::uint64_t size = sqlByteSize(static_cast<int>(array.sqlType()), array.length());
    const std::uint64_t steps = index - 1;
    if (size != 0 && steps > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) / size)
        return 10000;
    const std::int64_t elementOffset = static_cast<std::int64_t>(size * steps);

    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "(%d)", static_cast<int>(static_cast<std::uint32_t>(index)));
    std::string name(reinterpret_cast<const char*>(name_.data()), name_.length());
    name += suffix;
    if (UpdateTreeNode* made = childNamed(name)) {
        node = made;
        return 0;
    }
    SqlTypeEntry element(array);
    element.setElementCount(0);
    UpdateTreeNode* child = makeSqlChild(element, name.c_str(), elementOffset);
    static_cast<TreeNode*>(child)->elementIndex_ = index;
    node = child;
    return 0;
}

std::uint32_t TreeNode::QueryArrayType() const
{
    const TypeFlags& f = dataType_.typeFlags();
    const bool useItem = f.has(TypeFlags::reference) || f.has(TypeFlags::descriptorObject) ||
                         (f.has(TypeFlags::descriptorObject) && f.has(TypeFlags::pointer));
    const TypeItem& type = useItem ? typeOfDataItem() : dataType_;
    if (type.hasFlag(TypeFlags::array)) {
        const _TYPE_ENTRY* e = entryOf(type);
        if (e != nullptr)
            return e->leaf;
    }
    if (type.hasFlag(TypeFlags::pointer) && !type.hasFlag(TypeFlags::pointerToShared))
        return TE_POINTER;
    throw InvalidOp(InvalidOp::RTRC_Other, "virtual const UBYTE4 TreeNode::QueryArrayType() const", 904);
}

void TreeNode::QueryArrayBaseIndex(int& base) const
{
    base = 0;
    const _TYPE_ENTRY* e = entryOf(typeOfDataItem());
    const UBYTE4 leaf = e != nullptr ? e->leaf : 0;
    if (leaf == TE_ARRAY)
        return;
    if (leaf == TE_COBOL_TABLE) {
        base = 1;
        return;
    }
    if (leaf == TE_F90_DESC_ARRAY) {
        DwarfLocation lower = dwarfBlockLocation(e->f90descarray.lowerBound);
        EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
        const LCC_Eval_Context_Info* ctx = env != nullptr ? env->context() : nullptr;
        EE_ADDR value{};
        if (location_.kind() == DebuggeeLocation::debuggeeMemory) {
            const UBYTE8 own = location_.address().addr();
            value = SVC::Expr2ComputeDWARFaddress(ctx, lower.bytes, lower.length, &own);
        } else {
            value = SVC::Expr2ComputeDWARFaddress(ctx, lower.bytes, lower.length);
        }
        base = static_cast<int>(DebuggeeAddress(value).addr());
        return;
    }
    throw InvalidOp(InvalidOp::RTRC_FIXME, "void TreeNode::QueryArrayBaseIndex(BYTE4&) const", 891);
}

std::uint16_t TreeNode::QueryStructInfo(unsigned int& count, const TypeItem& type) const
{
    if (detached_)
        return 10000;
    setInternalRepresentation();
    TreeNode* self = const_cast<TreeNode*>(this);
    if (type.hasFlag(TypeFlags::pointer)) {
        if ((flags2_ & flag2Rebuild) != 0) {
            self->removeChildren();
            flags2_ &= static_cast<std::uint8_t>(~flag2Rebuild);
        }
        flags2_ |= flag2PointerTargets;
        const _TYPE_ENTRY* e = entryOf(type);
        if (e != nullptr && e->leaf == TE_F90_POINTER) {
            if (!type.isAssociated())
                return 10000;
            count = 0;
            return 0;
        }
        if (!firstChild_)
            makePointerChild(type);
        count = 1;
        return 0;
    }
    const _TYPE_ENTRY* e = entryOf(type);
    if (e == nullptr)
        return 10000;
    if (firstChild_) {
        count = childCount();
        return 0;
    }
    switch (e->leaf) {
    case TE_LIST: {
        if (e->list.kind == TE_LIST_TYPES) {
            for (const TNtypeListNode* n = e->list.first.types; n != nullptr; n = n->next) {
                const _TYPE_ENTRY* m = entryOf(TypeItem(n->type));
                if (m == nullptr || m->leaf != TE_MEMBER)
                    continue;
                if (m->member.name == nullptr || *m->member.name == 0 || typeIndexEmpty(m->member.memberType))
                    continue;
                addMemberChild(TypeItem(TYPE_INDEX(m->member.memberType)), m->member.name,
                               static_cast<std::int64_t>(memberOffset(m->member)));
            }
        }
        break;
    }
    case TE_STRUCT:
    case TE_F90_ALLOCATABLE: {
        const _TYPE_ENTRY* s = e;
        if (e->leaf == TE_F90_ALLOCATABLE) {
            s = entryOf(TypeItem(TYPE_INDEX(e->f90allocatable.objectType)));
            if (s == nullptr || s->leaf != TE_STRUCT)
                return 10000;
        }
        const _TYPE_ENTRY* types = entryOf(TypeItem(TYPE_INDEX(s->structure.memberTypes)));
        const _TYPE_ENTRY* names = entryOf(TypeItem(TYPE_INDEX(s->structure.memberNames)));
        if (types == nullptr || names == nullptr || types->leaf != TE_LIST || names->leaf != TE_LIST ||
            types->list.kind != TE_LIST_TYPES || names->list.kind != TE_LIST_NAMES)
            return 10000;
        const TNnameListNode* n = names->list.first.names;
        for (const TNtypeListNode* t = types->list.first.types; t != nullptr && n != nullptr;
             t = t->next, n = n->next) {
            if (typeIndexEmpty(t->type))
                continue;
            addMemberChild(TypeItem(t->type), n->name, nameListOffset(*n));
        }
        break;
    }
    default:
        if (!SqlTypeEntry::isSqlEntry(e) || !makeSqlStructChildren(SqlTypeEntry(*e)))
            return 10000;
        count = childCount();
        return 0;
    }
    if (!firstChild_)
        return 10000;
    self->loadChildren();
    count = childCount();
    return 0;
}

std::uint16_t TreeNode::QueryStructElementInfo(unsigned long long n, UpdateTreeNode*& node, unsigned char*& name) const
{
    if (detached_)
        return 10000;
    setInternalRepresentation();
    UpdateTreeNode* c = childAt(n);
    if (c == nullptr)
        return 10000;
    node = c;
    name = const_cast<unsigned char*>(c->memberName());
    return 0;
}

std::uint16_t TreeNode::QueryClassDataMemInfo(unsigned int n, UpdateTreeNode*& node, unsigned char*& name) const
{
    if (detached_)
        return 10000;
    setInternalRepresentation();
    unsigned i = 0;
    for (UpdateTreeNode* c = firstChild_.get(); c != nullptr; c = c->nextSibling()) {
        if ((c->flags() & flagBaseClass) != 0)
            continue;
        if (++i == n) {
            node = c;
            name = const_cast<unsigned char*>(c->memberName());
            return 0;
        }
    }
    return 10000;
}

std::uint16_t TreeNode::QueryResultType(TypeItem& type, unsigned short& count, unsigned short*& results,
                                        unsigned short*& reps, unsigned short& defaultIndex, unsigned char*& typeName,
                                        int inEvaluator, unsigned short& dataType, unsigned short& length)
{
    if (detached_)
        return 10000;
    setInternalRepresentation();
    const DebugType::FormatInfo* row = DebugType::instance().resultTypes(type, rank_);
    if (inEvaluator != 0 && type.hasFlag(TypeFlags::pointer) && !type.pointee().hasFlag(TypeFlags::character))
        throw InvalidOp(InvalidOp::RTRC_Other,
                        "UBYTE2 TreeNode::QueryResultType(TypeItem&, UBYTE2&, UBYTE2*&, UBYTE2*&, UBYTE2&, "
                        "UBYTE1*&, int, UBYTE2&, UBYTE2&)",
                        34);
    std::string text = (flags_ & flagRegister) != 0 ? "register " : "";
    const _TYPE_ENTRY* entry = entryOf(type);
    if (SqlTypeEntry::isSqlEntry(entry)) {
        // An SQL host variable is named as the program declares it.
        const SqlTypeEntry sql(*entry);
        text += sqlTypeName(sql.sqlType(), sql.length());
        if (sql.elementCount() > 0)
            text += "[" + std::to_string(sql.elementCount()) + "]";
    } else if (const char* demangled = type.demangledTypeName(rank_)) {
        text += demangled;
    }
    typeName_ = ByteString(reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned>(text.size()));
    typeName = typeName_.data();
    count = row->count();
    results = const_cast<unsigned short*>(row->results16());
    reps = const_cast<unsigned short*>(row->representations16());
    defaultIndex = static_cast<unsigned short>(row->defaultIndex());
    dataType = static_cast<unsigned short>(row->type());
    const _TYPE_ENTRY* e = entryOf(type);
    length = static_cast<unsigned short>((SqlTypeEntry::isSqlEntry(e) ? SqlTypeEntry(*e).length() : type.typeSize()) &
                                         0xFFFFu);
    return 0;
}

const unsigned short* TreeNode::QueryNodeActions() const
{
    unsigned n = 0;
    if (!detached_ && isRootNode()) {
        EvaluationEnvironment* env = internalRep();
        const std::uint16_t validation = env != nullptr ? env->validationReturnCode() : 0;
        if (validation == 1000 || validation == 1001 || validation == 1003)
            actions_[n++] = 2;
    }
    actions_[n] = 0;
    return actions_;
}

bool TreeNode::itemAddress(const StackItem& item, EE_ADDR& address) const
{
    if (detached_)
        return false;
    const DebuggeeLocation& where = item.location();
    if (where.kind() != DebuggeeLocation::debuggeeMemory || !where.isValid())
        return false;
    address = (where.address() + static_cast<std::uint64_t>(offset_)).toEE_ADDR();
    return true;
}

std::uint16_t TreeNode::watchData(const LCC_Eval_Context_Info*, StackItem& item, EE_ADDR& address,
                                  unsigned int& size) const
{
    if (!itemAddress(item, address))
        return 10000;
    size = static_cast<unsigned>(dataType_.typeSize());
    return 0;
}

std::uint16_t TreeNode::calcStackItemAddress(const LCC_Eval_Context_Info*, StackItem& item, EE_ADDR& address,
                                             TYPE_INDEX& index) const
{
    if (!itemAddress(item, address))
        return 10000;
    index = dataType_.typeIndex().typeIndex();
    // A bit-field member reports the bit-field index.
    const _TYPE_ENTRY* e = entryOf(dataType_);
    if (index.module != 0 && e != nullptr && e->leaf == TE_INTEGER)
        index = TYPE_INDEX{0, 151};
    return 0;
}
