#include "types/RTTIsupport.h"

#include <cctype>
#include <memory>
#include <vector>

#include "HostRecordAccess.h"
#include "services/ByteOrder.h"
#include "services/DebuggeeAddress.h"
#include "services/DebuggeeLocation.h"
#include "services/EvaluationEnvironment.h"
#include "services/SVC.h"
#include "types/CreatedTypeItem.h"
#include "types/TypeDepthGuard.h"

namespace {

// How much is read at the name pointer at first.
constexpr unsigned firstRead = 256;

unsigned wordSize()
{
    return EvaluationEnvironment::currentRep()->addressSize() == 8 ? 8 : 4;
}

// The debuggee word at an address (big-endian, the program's address size);
// false when it cannot be read whole.
bool readWord(const DebuggeeAddress& at, std::uint64_t& value)
{
    const unsigned w = wordSize();
    unsigned char bytes[8] = {};
    if (at.read(bytes, w) != w)
        return false;
    value = byteorder::fromBigEndian(bytes, w);
    return true;
}

DebuggeeAddress addressOf(std::uint64_t value)
{
    return DebuggeeAddress(value, static_cast<int>(wordSize()));
}

// Up to count bytes at an address; what could be read.
std::vector<unsigned char> readBytes(const DebuggeeAddress& at, unsigned count)
{
    std::vector<unsigned char> bytes(count);
    unsigned got = 0;
    try {
        got = at.read(bytes.data(), count);
    } catch (const InvalidOp&) {
        got = 0;
    }
    bytes.resize(got);
    return bytes;
}

} // namespace

RTTIsupport::TypeInfo::TypeInfo(const DebuggeeAddress& vtable)
{
    try {
        if (!vtable.isValid() || vtable.addr() == 0)
            return;
        const unsigned w = wordSize();
        std::uint64_t typeInfo = 0;
        if (!readWord(vtable - w, typeInfo) || typeInfo == 0)
            return;
        std::uint64_t namePointer = 0;
        if (!readWord(addressOf(typeInfo) + w, namePointer) || namePointer == 0)
            return;
        const DebuggeeAddress nameAt = addressOf(namePointer);
        std::vector<unsigned char> bytes = readBytes(nameAt, firstRead);
        if (bytes.empty())
            return;
        // The length prefix; a length past the bound is no name at all.
        std::size_t digits = 0;
        std::uint64_t length = 0;
        while (digits < bytes.size() && std::isdigit(bytes[digits])) {
            length = length * 10 + (bytes[digits] - '0');
            if (length > maximumNameLength)
                return;
            ++digits;
        }
        if (digits == bytes.size() || length == 0)
            return;
        const std::size_t whole = digits + length;
        if (whole > bytes.size()) {
            bytes = readBytes(nameAt, static_cast<unsigned>(whole));
            if (bytes.size() != whole)
                return;
        }
        text_.assign(reinterpret_cast<const char*>(bytes.data()), whole);
    } catch (...) {
        text_.clear();
    }
}

std::string RTTIsupport::TypeInfo::typeName() const
{
    if (text_.size() < 2)
        return std::string();
    std::size_t digits = 0;
    while (digits < text_.size() && std::isdigit(static_cast<unsigned char>(text_[digits])))
        ++digits;
    return text_.substr(digits);
}

RTTIsupport::TypeInfo* RTTIsupport::getTypeInfo(const TypeItem& declared, const DebuggeeAddress& object)
{
    try {
        const TypeItem* type = &declared;
        DebuggeeAddress at = object;
        const _TYPE_ENTRY* e = type->typeEntry();
        if (e == nullptr)
            return nullptr;
        if (e->leaf == TE_REFERENCE) {
            // The object a reference refers to.
            at.dereference();
            type = &type->referent();
            e = type->typeEntry();
            if (e == nullptr)
                return nullptr;
        }
        if (!isClassLeaf(e->leaf))
            return nullptr;
        const _TYPE_ENTRY* list =
            SVC::ExprGetTypeEntry(EvaluationEnvironment::currentRep()->context(), e->klass.fieldList);
        if (list == nullptr || list->leaf != TE_LIST || list->list.kind != TE_LIST_TYPES)
            return nullptr;
        const TNclassmember* pointer = nullptr;
        unsigned steps = 0;
        for (const TNtypeListNode* node = list->list.first.types; node != nullptr; node = node->next) {
            TypeDepthGuard::checkListStep(steps++, __PRETTY_FUNCTION__, __LINE__);
            const _TYPE_ENTRY* m =
                node->type.module == 0
                    ? nullptr
                    : SVC::ExprGetTypeEntry(EvaluationEnvironment::currentRep()->context(), node->type);
            if (m != nullptr && m->leaf == TE_MEMBER && (m->member.flags & TNclassmember_VirtualTablePointer)) {
                pointer = &m->member;
                break;
            }
        }
        if (pointer == nullptr)
            return nullptr;
        DebuggeeAddress slot;
        if (memberLocationIsExpression(*pointer)) {
            const UBYTE8 base = at.addr();
            slot = DebuggeeAddress(SVC::Expr2ComputeDWARFaddress(EvaluationEnvironment::currentRep()->context(),
                                                                 pointer->location.expression,
                                                                 pointer->expressionLength & 0xFFFFu, &base));
        } else {
            slot = at + pointer->location.offset;
        }
        std::uint64_t vtable = 0;
        if (!readWord(slot, vtable))
            return nullptr;
        std::unique_ptr<TypeInfo> info(new TypeInfo(addressOf(vtable)));
        if (info->text().empty())
            return nullptr;
        return info.release();
    } catch (...) {
        return nullptr;
    }
}

TypeItem RTTIsupport::getDisplayType(const TypeItem& type, const DebuggeeAddress& object)
{
    try {
        std::unique_ptr<TypeInfo> info(getTypeInfo(type, object));
        if (!info)
            return TypeItem(type);
        const std::string dynamicName = info->typeName();
        if (dynamicName.empty() || dynamicName == type.shortTypeName())
            return TypeItem(type);
        const TypeItem* found = CreatedTypeItem::findType(dynamicName.c_str());
        if (found != nullptr && found->isClassOrStruct())
            return TypeItem(*found);
    } catch (...) {
    }
    return TypeItem(type);
}

int RTTIsupport::updateType(TypeItem& type, DebuggeeLocation& location)
{
    try {
        if (!type.isClassOrStruct() || isCobolLanguage())
            return 0;
        if (location.kind() != DebuggeeLocation::debuggeeMemory || !location.isValid() || location.isNull())
            return 2;
        TypeItem shown = getDisplayType(type, location.address());
        const EvaluatorTypeIndex& shownIndex = shown.typeIndex();
        if ((shownIndex.module() == 0 && shownIndex.index() == 0) || shownIndex == type.typeIndex())
            return 0;
        type = shown;
        return 1;
    } catch (...) {
        return 0;
    }
}
