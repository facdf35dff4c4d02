#include "tree/FormatTreeNode.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "services/ByteOrder.h"
#include "services/CurrentEnvironmentQueries.h"
#include "services/EvaluationEnvironment.h"
#include "services/Message.h"
#include "services/SVC.h"
#include "tree/FormatByType.h"

using namespace FormatByType;

namespace {

// The link name the host knows at an address, or null.
const UBYTE1* linkName(const DebuggeeAddress& address)
{
    const UBYTE1* first = nullptr;
    const UBYTE1* second = nullptr;
    const UBYTE1* third = nullptr;
    if (!SVC::ExprGetLinkName(CurrentEnvironment::currentContext(), address.toEE_ADDR(), &first, &second, &third))
        return nullptr;
    return first != nullptr && first[0] != 0 ? first : nullptr;
}

// The most bytes a string shown from the debuggee is read in: a maximum
// length beyond it is not a reason to ask the host for gigabytes.
constexpr unsigned stringReadLimit = 1u << 20;

} // namespace

ByteString FormatTreeNode::formatAddress(const DebuggeeLocation& location, DBG_REPS rep, const TypeItem& pointee,
                                         unsigned int maxLength) const
{
    switch (rep) {
    case 6:
    case 23:
        if (location.kind() == DebuggeeLocation::debuggeeMemory && pointee.hasFlag(TypeFlags::function))
            return getFunctionName(location.address());
        return formatAddressAsString(location, rep, pointee, maxLength);
    case 9: return formatAddressAsHex(location);
    case 10: return formatAddressAsDecimal(location);
    case 20: return formatAddressAsUPC(location);
    case 21: return location.formatRaw();
    case 11:
        if (SVC::debuggerVersion()->addressForms == 0)
            return ByteString();
        return formatAddressAsArray(location, pointee, maxLength);
    case 19: {
        // A host without the structure and array address forms still sees
        // the address: in hexadecimal.
        if (SVC::debuggerVersion()->addressForms == 0)
            return location.kind() == DebuggeeLocation::fatPointer ? ByteString() : formatAddressAsHex(location);
        if (location.kind() == DebuggeeLocation::fatPointer || formatType_.hasFlag(TypeFlags::pointerToShared))
            return formatAddressAsUPC(location);
        // Second flag byte, bit 32: the node is shown in its type's own
        // first address form rather than in hexadecimal.
        if ((flags2() & 32) == 0)
            return formatAddressAsHex(location);
        const DebugType::FormatInfo* row = DebugType::instance().resultTypes(typeOfDataItem(), rank());
        for (unsigned i = 0; row != nullptr && i < row->count(); ++i) {
            if (row->representation(i) != 19)
                return formatAddress(location, row->representation(i), pointee, maxLength);
        }
        return ByteString();
    }
    default: return ByteString();
    }
}

ByteString FormatTreeNode::formatAddressAsHex(const DebuggeeLocation& location) const
{
    switch (location.kind()) {
    case DebuggeeLocation::debuggeeMemory: {
        const DebuggeeAddress address = location.address();
        return formatHexadecimal(address.addr(), 2 * address.bytes());
    }
    case DebuggeeLocation::debuggerBuffer:
        // An address in the evaluator's own storage: all of its digits.
        return formatHexadecimal(reinterpret_cast<std::uintptr_t>(location.buffer()), 2 * sizeof(void*));
    case DebuggeeLocation::fatPointer: return text(location.format());
    default: throw InvalidOp(InvalidOp::RTRC_InvalidFormat, __PRETTY_FUNCTION__, __LINE__);
    }
}

ByteString FormatTreeNode::formatAddressAsDecimal(const DebuggeeLocation& location) const
{
    switch (location.kind()) {
    case DebuggeeLocation::debuggeeMemory:
        return formatDecimal(static_cast<unsigned long long>(location.address().addr()));
    case DebuggeeLocation::debuggerBuffer:
        return formatDecimal(static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(location.buffer())));
    default: throw InvalidOp(InvalidOp::RTRC_InvalidFormat, __PRETTY_FUNCTION__, __LINE__);
    }
}

ByteString FormatTreeNode::formatAddressAsString(const DebuggeeLocation& location, DBG_REPS rep,
                                                 const TypeItem& pointee, unsigned int maxLength,
                                                 std::uint64_t characters) const
{
    unsigned size = 0;
    if (pointee.typeIndex().module() == 0) {
        switch (pointee.typeIndex().index()) {
        case 128:
        case 132:
        case 148: size = 1; break;
        case 149: size = 2; break;
        case 150: size = 4; break;
        default: break;
        }
    }
    if (size == 0)
        throw InvalidOp(InvalidOp::RTRC_InvalidFormat, __PRETTY_FUNCTION__, __LINE__);
    // maxLength less the two quotes; nothing is shown (and nothing read)
    // when no character has room.
    if (maxLength <= 2)
        return ByteString();
    unsigned limit = std::min(maxLength - 2, stringReadLimit / size);
    if (characters != 0 && characters < limit)
        limit = static_cast<unsigned>(characters);
    std::vector<unsigned char> bytes;
    unsigned count = 0;
    if ((flags() & flagMayNotLoad) != 0) {
        const unsigned char* buffer = evaluationBuffer();
        const std::uint64_t held = heldBytes(*this);
        if (SVC::tracing())
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "String in debugger space at location %p (%d bytes)",
                        static_cast<const void*>(buffer), static_cast<int>(std::min<std::uint64_t>(held, 0x7FFFFFFF)));
        count = static_cast<unsigned>(std::min<std::uint64_t>(held / size, limit));
        bytes.assign(buffer, buffer + std::size_t(count) * size);
    } else {
        if (location.isNull())
            return text("NULL");
        if (SVC::tracing()) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Debuggee string at 0x%llx of %d bytes",
                        static_cast<unsigned long long>(location.address().addr()), static_cast<int>(limit * size));
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__,
                        size == 1 ? "Valid char type.Length=%d" : "Valid wchar type.Length=%d",
                        static_cast<int>(limit));
        }
        bytes.assign(std::size_t(limit) * size, 0);
        unsigned got = 0;
        try {
            got = location.read(bytes.data(), limit * size);
        } catch (const InvalidOp&) {
            got = 0;
        }
        if (got == 0)
            throw InvalidOp(InvalidOp::RTRC_ReadMemoryFailed, __PRETTY_FUNCTION__, __LINE__);
        count = got / size;
    }
    // The text ends at its first NUL character, or with the object.
    bool ended = characters != 0 && count == characters;
    for (unsigned i = 0; i < count; ++i) {
        if (byteorder::fromBigEndian(bytes.data() + std::size_t(i) * size, size) == 0) {
            count = i;
            ended = true;
            break;
        }
    }
    if (SVC::tracing())
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Format.string.num_read=%d.maxSLen=%d", static_cast<int>(count),
                    static_cast<int>(maxLength));
    if (rep == 23) {
        if (size == 1)
            return formatString(reinterpret_cast<const char*>(bytes.data()), count, maxLength, !ended);
        return formatWchar(bytes.data(), size, count, maxLength, ended);
    }
    if (size == 1)
        return formatStringOther(reinterpret_cast<const char*>(bytes.data()), count, maxLength, ended);
    return formatWcharOther(bytes.data(), size, count, maxLength, ended);
}

ByteString FormatTreeNode::formatAddressAsUPC(const DebuggeeLocation& location) const
{
    if (location.kind() != DebuggeeLocation::fatPointer)
        throw InvalidOp(InvalidOp::RTRC_InvalidFormat, __PRETTY_FUNCTION__, __LINE__);
    // Pointers to shared data are not read in this system: asking the
    // pointer anything is refused, and the text says so.
    try {
        (void)location.isNull();
    } catch (const InvalidOp&) {
    }
    return Message(55).textAsByteString();
}

ByteString FormatTreeNode::getFunctionName(const DebuggeeAddress& address) const
{
    if (const UBYTE1* name = linkName(address))
        return text(reinterpret_cast<const char*>(name));
    // A function descriptor: the code address is the pointer 8 bytes on.
    try {
        const unsigned width = environmentAddressSize();
        unsigned char bytes[8] = {};
        DebuggeeAddress slot = address + 8;
        if (slot.read(bytes, width) == width) {
            if (const UBYTE1* name =
                    linkName(DebuggeeAddress(byteorder::fromBigEndian(bytes, width), static_cast<int>(width))))
                return text(reinterpret_cast<const char*>(name));
        }
    } catch (const InvalidOp&) {
    }
    return Message(59, asString(formatAddressAsHex(DebuggeeLocation(address))).c_str(), nullptr).textAsByteString();
}
