#include "machine/BaseClassLocation.h"

#include <vector>

#include "HostRecordAccess.h"
#include "services/DebuggeeAddress.h"
#include "services/DebuggeeLocation.h"
#include "services/EvaluationEnvironment.h"
#include "services/SVC.h"
#include "types/TypeDepthGuard.h"
#include "types/TypeItem.h"

namespace {

// The DWARF operation that pushes the object's address.
constexpr UBYTE1 pushObjectAddress = 0x97;

const LCC_Eval_Context_Info* context()
{
    return EvaluationEnvironment::currentRep()->context();
}

const _TYPE_ENTRY* entryOf(TYPE_INDEX index)
{
    if (index.module == 0)
        return nullptr;
    return SVC::ExprGetTypeEntry(context(), index);
}

DebuggeeAddress zeroLike(const DebuggeeAddress& object)
{
    return DebuggeeAddress(std::uint64_t(0), static_cast<int>(object.bytes()));
}

DebuggeeAddress sameWidth(std::uint64_t value, const DebuggeeAddress& object)
{
    return DebuggeeAddress(value, static_cast<int>(object.bytes()));
}

// A member of the class's list with its type (a pointer).
struct PointerMember {
    const TNclassmember* member = nullptr;
    TypeItem type;
};

// The value of the pointer stored in the object at the member's offset.
std::uint64_t readPointer(const DebuggeeAddress& at, const PointerMember& p)
{
    DebuggeeLocation where(at);
    where.dereference(static_cast<long long>(memberOffset(*p.member)), &p.type);
    return where.address().addr();
}

} // namespace

DebuggeeAddress baseClassLocation(const DebuggeeAddress& object, const TypeItem& baseRecord, const TypeItem& derived)
{
    const _TYPE_ENTRY* record = baseRecord.typeEntry();
    const _TYPE_ENTRY* klass = derived.typeEntry();
    if (record == nullptr || klass == nullptr || record->leaf != TE_BASECLASS || !isClassLeaf(klass->leaf))
        return zeroLike(object);
    const TNbaseclass& base = record->baseclass;

    if (baseLocationIsExpression(base)) {
        const DwarfLocation expression = baseLocationExpression(base);
        std::vector<UBYTE1> program(expression.length + 1);
        program[0] = pushObjectAddress;
        for (UBYTE4 i = 0; i < expression.length; ++i)
            program[i + 1] = expression.bytes[i];
        const UBYTE8 objectValue = object.addr();
        const DebuggeeAddress part(SVC::Expr2ComputeDWARFaddress(context(), program.data(),
                                                                 static_cast<UBYTE4>(program.size()), &objectValue));
        return part.isValid() ? sameWidth(part.addr(), object) : zeroLike(object);
    }
    if (!baseIsVirtual(base))
        return object + baseOffset(base);

    const _TYPE_ENTRY* list = entryOf(klass->klass.fieldList);
    if (list == nullptr || list->leaf != TE_LIST || list->list.kind != TE_LIST_TYPES)
        return zeroLike(object);
    const TypeItem baseClass(base.baseType);
    const bool tableForm = classHasVirtualBaseTable(klass->klass);

    PointerMember table;
    PointerMember slot;
    unsigned steps = 0;
    for (const TNtypeListNode* node = list->list.first.types; node != nullptr; node = node->next) {
        TypeDepthGuard::checkListStep(steps++, __PRETTY_FUNCTION__, __LINE__);
        const _TYPE_ENTRY* m = entryOf(node->type);
        if (m == nullptr || m->leaf != TE_MEMBER)
            continue;
        const TypeItem type(m->member.memberType);
        if (!type.hasFlag(TypeFlags::pointer))
            continue;
        if (slot.member == nullptr && memberIsVirtualBasePointer(m->member) && type.pointee() == baseClass) {
            slot.member = &m->member;
            slot.type = type;
            if (!tableForm)
                return sameWidth(readPointer(object, slot), object);
        } else if (tableForm && table.member == nullptr && memberIsVirtualTablePointer(m->member)) {
            table.member = &m->member;
            table.type = type;
        }
        if (tableForm && table.member != nullptr && slot.member != nullptr)
            break;
    }
    if (!tableForm || table.member == nullptr || slot.member == nullptr)
        return zeroLike(object);
    // The object's table, then the slot in it that holds the base's offset.
    const DebuggeeAddress tableAddress = sameWidth(readPointer(object, table), object);
    const std::uint64_t offset = readPointer(tableAddress, slot);
    return object + offset;
}
