#include "types/TypeFlags.h"

#include <cstring>
#include <memory>

#include "HostRecordAccess.h"
#include "machine/TypeModelStackItems.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/CreatedTypeItem.h"
#include "types/PrimitiveType.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

namespace {

bool inFortran()
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    return env != nullptr && env->language() == EvaluationEnvironment::languageFortran;
}

[[noreturn]] void blockFactorFailure(const char* text)
{
    throw InvalidOp(InvalidOp::RTRC_AssertFail, __PRETTY_FUNCTION__, __LINE__, text);
}

std::uint64_t bigEndian(const unsigned char* bytes, unsigned count)
{
    std::uint64_t value = 0;
    for (unsigned i = 0; i < count; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

} // namespace

void TypeFlags::clear()
{
    factor_ = 0;
    std::memset(bits_, 0, sizeof bits_);
}

bool TypeFlags::operator==(const TypeFlags& other) const
{
    return factor_ == other.factor_ && std::memcmp(bits_, other.bits_, sizeof bits_) == 0;
}

void TypeFlags::setForPrimitive(unsigned code)
{
    if (PrimitiveType::isPointerForm(code)) {
        add(pointer);
        if ((code & ~unsigned(PrimitiveType::pointerBit)) == PrimitiveType::voidType)
            add(pointerToVoid);
        return;
    }
    if (code == PrimitiveType::signedChar || code == PrimitiveType::unsignedChar || code == PrimitiveType::plainChar)
        add(character);
    const PrimitiveType* p = PrimitiveType::find(code);
    if (p == nullptr) {
        remove(valid);
        return;
    }
    if (p->flag >= 0)
        add(static_cast<Flag>(p->flag));
    if (code == PrimitiveType::signedChar && inFortran())
        remove(character);
}

// The block factor of a UPC shared qualifier: held by a variable of the file
// scope, stored at an address that a DWARF expression computes, or given in
// the record itself.
std::uint64_t TypeFlags::upcBlockFactor(const TNupcshared& record)
{
    if (record.blockFactorSource == TNupcshared_FromVariable)
        return upcBlockFactorFromVariable(record.source.variableName);
    if (record.blockFactorSource == TNupcshared_FromAddress) {
        EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
        EE_ADDR address = SVC::Expr2ComputeAbsDWARFaddress(env->context(), upcBlockFactorExpression(record));
        unsigned char bytes[8] = {};
        if (SVC::Expr2ReadMemory(env->context(), address, 8, bytes) < 8)
            blockFactorFailure("Cannot read block factor");
        // The factor is a number of the debuggee: a big-endian word of the
        // program's address size.
        return env->addressSize() == 8 ? bigEndian(bytes, 8) : bigEndian(bytes, 4);
    }
    return upcConstantBlockFactor(record);
}

void TypeFlags::setForEntry(const TypeItem& item, const _TYPE_ENTRY& e)
{
    switch (e.leaf) {
    case TE_ARRAY:
    case TE_VUM_ARRAY: add(array); break;
    case TE_F90_DESC_ARRAY:
        add(array);
        add(fortranDescriptor);
        break;
    case TE_COBOL_TABLE:
        add(array);
        add(characterString);
        break;
    case TE_CHARSTRING: add(characterString); break;
    case TE_PACKED_DECIMAL: add(packedDecimal); break;
    case TE_FIXED_POINT_BINARY: add(binary); break;
    case TE_ENUM:
    case TE_ENUM2: add(enumeration); break;
    case TE_POINTER: {
        add(pointer);
        // The target's flags are computed through its own item; a chain of
        // pointers that leads back to itself (only malformed host records
        // make one) is cut after a fixed depth.
        thread_local unsigned depth = 0;
        if (depth >= 64)
            break;
        ++depth;
        try {
            TypeItem target(TYPE_INDEX(e.pointer.target));
            if (target.hasFlag(voidType))
                add(pointerToVoid);
            if (target.hasFlag(upcShared))
                add(pointerToShared);
        } catch (...) {
            --depth;
            throw;
        }
        --depth;
        break;
    }
    case TE_F90_POINTER:
        add(pointer);
        add(fortranDescriptor);
        break;
    case TE_REFERENCE:
        add(reference);
        if (e.reference.flags & TNreference_AddressOf)
            add(addressOfReference);
        break;
    case TE_BASED:
        add(based);
        factor_ = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(e.based.pointerName));
        break;
    case TE_NAMEDTAG:
    case TE_TYPEDEF:
    case TE_TYPEDEF2:
    case TE_DECORATION:
    case TE_QUALIFIER: {
        // A modifier keeps whatever the item already gathered.
        const TypeFlags& held = item.flags;
        if (this != &held) {
            for (unsigned i = 0; i < 6; ++i)
                bits_[i] = std::uint8_t(bits_[i] | held.bits_[i]);
            if (held.factor_ != 0)
                factor_ = held.factor_;
        }
        add(modifier);
        break;
    }
    case TE_UPC_SHARED: {
        const TypeFlags& held = item.flags;
        if (this != &held) {
            for (unsigned i = 0; i < 6; ++i)
                bits_[i] = std::uint8_t(bits_[i] | held.bits_[i]);
        }
        add(upcShared);
        factor_ = upcBlockFactor(e.upcshared);
        break;
    }
    case TE_FUNCTION:
    case TE_MEMBERFUNCTION:
    case TE_PROCEDURE:
    case TE_BUILTIN_PROCEDURE: add(function); break;
    case TE_F90_ALLOCATABLE:
        add(descriptorObject);
        add(fortranDescriptor);
        break;
    case TE_ZONED_DECIMAL: add(zonedDecimal); break;
    case TE_NATIONAL_DECIMAL: add(nationalDecimal); break;
    case TE_NATIONAL_STRING: add(nationalString); break;
    case TE_INDEX_NAME: add(indexName); break;
    case TE_INDEX_DATA_ITEM: add(indexDataItem); break;
    case TE_EXTERNAL_FLOAT: add(externalFloat); break;
    case TE_ALPHA_NUMERIC_EDITED: add(alphaNumericEdited); break;
    case TE_NUMERIC_EDITED: add(numericEdited); break;
    case TE_NATIONAL_EXTERNAL_FLOAT: add(nationalExternalFloat); break;
    case TE_NATIONAL_EDITED: add(nationalEdited); break;
    case TE_NATIONAL_NUMERIC_EDITED: add(nationalNumericEdited); break;
    case TE_FILE_DESCRIPTOR: add(fileDescriptor); break;
    case TE_DBCS_STRING: add(dbcsString); break;
    case TE_DBCS_EDITED: add(dbcsEdited); break;
    case TE_NONE:
    case TE_BASECLASS:
    case TE_INTEGER:
    case TE_CLASS:
    case TE_MEMBER:
    case TE_METHOD:
    case TE_LIST:
    case TE_ACCEPTED22:
    case TE_ACCEPTED24:
    case TE_STRUCT:
    case TE_GROUP:
    case TE_NAMESPACE64:
    case TE_NAMESPACE65:
    case TE_NAMESPACE66:
    case TE_CONDITION: break;
    default: remove(valid); break;
    }
}

const TypeFlags& TypeFlags::compute(const TypeItem& item)
{
    // Computed into a fresh value and taken over only when complete, so that
    // a failure (a block factor that cannot be read) leaves the flags to be
    // computed again on the next use.
    TypeFlags result;
    result.add(computed);
    result.add(valid);
    if (item.index.module() == 0) {
        result.setForPrimitive(item.index.index());
    } else {
        const _TYPE_ENTRY* e = item.entry;
        if (e == nullptr && !item.created)
            e = item.typeEntry();
        const TypeFlags& held = item.flags;
        if (held.has(upcShared))
            result.add(upcShared);
        if (held.factor_ != 0)
            result.factor_ = held.factor_;
        if (e == nullptr)
            result.remove(valid);
        else
            result.setForEntry(item, *e);
    }
    *this = result;
    return *this;
}

void TypeFlags::merge(const TypeItem& other)
{
    TypeFlags theirs;
    theirs.set(other);
    bits_[0] = std::uint8_t(bits_[0] | theirs.bits_[0]);
    bits_[1] = std::uint8_t(bits_[1] | theirs.bits_[1]);
    bits_[2] = std::uint8_t(bits_[2] | theirs.bits_[2]);
    bits_[3] = std::uint8_t(bits_[3] | (theirs.bits_[3] & 0xFE));
    bits_[4] = std::uint8_t(bits_[4] | theirs.bits_[4]);
    bits_[5] = std::uint8_t(bits_[5] | (theirs.bits_[5] & 0x3F));
    // The width-carrier bit is set by no rule, so only a shared factor is
    // ever taken over.
    if ((theirs.has(upcShared) || theirs.has(pointerToShared)) && theirs.factor_ != 0)
        factor_ = theirs.factor_;
}

void TypeFlags::merge(const TYPE_INDEX& index)
{
    const TypeItem* other = CreatedTypeItem::findOrCreateType(index, nullptr);
    if (other != nullptr)
        merge(*other);
}

void TypeFlags::merge(const EvaluatorTypeIndex& index)
{
    merge(index.typeIndex());
}

// The factor held by a variable of the file scope: the variable is found
// there, made a stack value of its own type and read as an unsigned number.
std::uint64_t TypeFlags::upcBlockFactorFromVariable(const char* name)
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    // Without a context there is no file to search.
    ScopeItem* scope = env != nullptr && env->context() != nullptr ? fileScope() : nullptr;
    if (scope == nullptr)
        blockFactorFailure("No file scope");
    SymbolItem* variable = name != nullptr ? scope->findVariable(name, 1) : nullptr;
    if (variable == nullptr)
        blockFactorFailure("No blocking factor symbol");
    // The address first: working it out can give the symbol its type.
    const DebuggeeLocation& location = variable->debuggeeAddress(-1);
    std::unique_ptr<StackItem> value;
    try {
        value.reset(RuntimeStack::makeStackItem(variable->dataType(), env->context()));
    } catch (const InvalidOp&) {
        // No item class for the variable's type.
        blockFactorFailure("No evaluation object");
    }
    // A value that cannot be read whole would leave the factor made of
    // whatever the stack value held before.
    const unsigned size = variable->dataType().typeSize();
    unsigned char probe[16];
    if (size == 0 || size > sizeof probe || location.read(probe, size) < size)
        blockFactorFailure("Cannot read block factor");
    value->load(location);
    return value->asUnsigned();
}
