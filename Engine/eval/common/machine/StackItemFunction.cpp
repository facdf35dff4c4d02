#include "machine/StackItemFunction.h"

#include <cstring>

#include "HostRecordAccess.h"
#include "services/ByteOrder.h"
#include "services/DebuggeeAddress.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"

namespace {

[[noreturn]] void other(const char* function, unsigned line)
{
    throw InvalidOp(InvalidOp::RTRC_Other, function, line);
}

// Writes an address big-endian at offset, 4 or 8 bytes as it is wide.
void putAddress(std::vector<unsigned char>& bytes, std::uint64_t offset, const DebuggeeAddress& address)
{
    const unsigned width = address.bytes();
    if (width != 4 && width != 8)
        other(__PRETTY_FUNCTION__, __LINE__);
    if (offset > bytes.size() || width > bytes.size() - offset)
        other(__PRETTY_FUNCTION__, __LINE__);
    byteorder::toBigEndian(bytes.data() + offset, address.addr(), width);
}

} // namespace

StackItemFunction::StackItemFunction(EvaluationEnvironment& environment, const TypeItem& type, const ScopeItem* scope)
    : StackItem(environment, type, scope), displayType_(type)
{
    setHasValue(true);
}

StackItemFunction::StackItemFunction(EvaluationEnvironment& environment, const SymbolItem& symbol)
    : StackItem(environment, symbol.dataType(), &symbol.scope())
{
    const int kind = symbol.functionType();
    if (kind < 1 || kind > 3)
        other(__PRETTY_FUNCTION__, __LINE__);
    const DebuggeeLocation where = symbol.debuggeeAddress(-1);
    if (where.kind() == DebuggeeLocation::debuggerBuffer) {
        // The evaluator's own pointer is no debuggee address: the value is
        // what the location hands out for it.
        DebuggeeLocation copy(where);
        const unsigned char* raw = copy.rawData();
        displayType_ = symbol.dataType();
        bytes_.assign(raw, raw + 4);
        setHasValue(true);
        return;
    }
    if (where.kind() != DebuggeeLocation::debuggeeMemory)
        other(__PRETTY_FUNCTION__, __LINE__);
    location_ = static_cast<void*>(nullptr);
    const void* descriptor = symbol.descriptor();
    if (!isProcDescriptor(descriptor)) {
        displayType_ = symbol.dataType();
        const DebuggeeAddress entry = where.address();
        bytes_.assign(entry.bytes() == 8 ? 8 : 4, 0);
        putAddress(bytes_, 0, entry);
    } else {
        buildDescriptor(symbol, *static_cast<const _TYPE_ENTRY*>(descriptor));
    }
    setHasValue(true);
}

void StackItemFunction::buildDescriptor(const SymbolItem& symbol, const _TYPE_ENTRY& descriptor)
{
    displayType_ = TypeItem(procDescriptorStructureType(descriptor));
    const _TYPE_ENTRY* structure = displayType_.typeEntry();
    if (!displayType_.isClassOrStruct() || displayType_.isEmptyClassOrStruct() || structure == nullptr ||
        structure->leaf != TE_STRUCT)
        other(__PRETTY_FUNCTION__, __LINE__);
    const unsigned size = displayType_.typeSize();
    if (size == 0)
        other(__PRETTY_FUNCTION__, __LINE__);
    bytes_.assign(size, 0);

    const List<TypeItem::StructMember> members = displayType_.visibleMembers(0);
    const LCC_Eval_Context_Info* context = symbol.scope().context();
    for (unsigned i = members.count(); i-- > 0;) {
        const TypeItem::StructMember& member = members[i];
        const _SYMBOL_ENTRY* element = procDescriptorElement(descriptor, i);
        if (element == nullptr)
            other(__PRETTY_FUNCTION__, __LINE__);
        switch (element->kind) {
        case SE_FUNCTION:
        case SE_ENTRY_FUNCTION:
        case SE_MEMBER_FUNCTION:
        case SE_NAMED33:
        case SE_SECTION_DATA36: {
            DebuggeeAddress address(SVC::Expr2MapSection(context, procDescriptorElementSection(*element)));
            if (!address.isValid())
                break; // the member stays zero
            address += procDescriptorElementOffset(*element);
            putAddress(bytes_, member.offset, address);
            break;
        }
        case SE_CONSTANT: {
            const unsigned length = TypeItem(symbolEntryType(*element)).typeSize();
            const void* value = symbolEntryConstantValue(*element);
            if (member.offset > bytes_.size() || length > bytes_.size() - member.offset)
                other(__PRETTY_FUNCTION__, __LINE__);
            if (length != 0 && value != nullptr)
                std::memcpy(bytes_.data() + member.offset, value, length);
            break;
        }
        default: other(__PRETTY_FUNCTION__, __LINE__);
        }
    }
}

StackItemFunction::StackItemFunction(const StackItemFunction& other)
    : StackItem(other), displayType_(other.displayType_), bytes_(other.bytes_)
{}

StackItemFunction::~StackItemFunction() = default;

StackItem* StackItemFunction::clone() const
{
    return new StackItemFunction(*this);
}

std::uint64_t StackItemFunction::size() const
{
    return bytes_.size();
}

void StackItemFunction::load(const DebuggeeLocation&)
{
    setHasValue(false);
    throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

void* StackItemFunction::resultBuffer() const
{
    return bytes_.empty() ? nullptr : const_cast<unsigned char*>(bytes_.data());
}

const TypeItem& StackItemFunction::formatType() const
{
    return displayType_;
}
