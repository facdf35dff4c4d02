#include "tree/FormatTreeNode.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "HostRecordAccess.h"
#include "services/ByteOrder.h"
#include "services/EvaluationEnvironment.h"
#include "services/FatPtr.h"
#include "tree/FormatByType.h"
#include "types/PrimitiveType.h"
#include "types/TypeDepthGuard.h"

using namespace FormatByType;

namespace {

std::uint64_t signExtend(std::uint64_t value, unsigned bits)
{
    if (bits == 0 || bits >= 64)
        return value;
    const std::uint64_t sign = std::uint64_t(1) << (bits - 1);
    return (value ^ sign) - sign;
}

} // namespace

DebuggeeLocation FormatTreeNode::getLocation() const
{
    DebuggeeLocation location;
    if ((flags() & flagMayNotLoad) != 0) {
        unsigned char* buffer = evaluationBuffer();
        if (buffer == nullptr)
            throw InvalidOp(InvalidOp::RTRC_InvalidFormat, __PRETTY_FUNCTION__, __LINE__);
        location = static_cast<void*>(buffer);
        return location;
    }
    const TypeFlags& f = formatType_.typeFlags();
    // A Fortran pointer is its descriptor: it is where the node is.
    if (f.has(TypeFlags::fortranDescriptor) && f.has(TypeFlags::pointer))
        return debuggeeAddress();
    if (f.has(TypeFlags::pointerToShared)) {
        const unsigned char* bytes = valueBytes(*this, 16, __PRETTY_FUNCTION__, __LINE__);
        std::vector<char> image(bytes, bytes + 16);
        location = FatPtr(image.data(), formatType_);
        return location;
    }
    const unsigned width = pointerSize(formatType_);
    const unsigned char* bytes = valueBytes(*this, width, __PRETTY_FUNCTION__, __LINE__);
    location = DebuggeeAddress(byteorder::fromBigEndian(bytes, width), static_cast<int>(width));
    return location;
}

ByteString FormatTreeNode::formatPrimitive(DBG_REPS rep, unsigned int index, unsigned int maxLength) const
{
    ByteString kept;
    if (keptLoadError(*this, kept))
        return kept;
    if (!formatType_.hasFlag(TypeFlags::pointer)) {
        const std::uint64_t held = heldBytes(*this);
        const unsigned length = static_cast<unsigned>(std::min<std::uint64_t>(held, valueSize(*this)));
        return FormatPrimitive::format(rep, index, evaluationBuffer(), length);
    }
    const TypeItem pointee(index & ~static_cast<unsigned>(PrimitiveType::pointerBit));
    DebuggeeLocation location;
    if (formatType_.hasFlag(TypeFlags::pointerToShared)) {
        const unsigned char* bytes = valueBytes(*this, 16, __PRETTY_FUNCTION__, __LINE__);
        std::vector<char> image(bytes, bytes + 16);
        location = FatPtr(image.data(), pointee);
    } else if ((flags() & flagMayNotLoad) != 0) {
        unsigned char* buffer = evaluationBuffer();
        if (buffer == nullptr)
            throw InvalidOp(InvalidOp::RTRC_InvalidFormat, __PRETTY_FUNCTION__, __LINE__);
        location = static_cast<void*>(buffer);
    } else {
        const unsigned width = environmentAddressSize();
        const unsigned char* bytes = valueBytes(*this, width, __PRETTY_FUNCTION__, __LINE__);
        location = DebuggeeAddress(byteorder::fromBigEndian(bytes, width), static_cast<int>(width));
    }
    return languageAddress(formatAddress(location, rep, pointee, maxLength));
}

ByteString FormatTreeNode::languageAddress(const ByteString& address) const
{
    // COBOL shows an address as H'...', language 7 as X'...'; only
    // hexadecimal digits are rewrapped, any other text stays as it is.
    const int language = environmentLanguage();
    if ((language == EvaluationEnvironment::languageCOBOL || language == 7) && address.length() > 2 &&
        address[0] == '0' && address[1] == 'x')
        return text(language == 7 ? "X'" : "H'") + ByteString(address, 2) + text("'");
    return address;
}

ByteString FormatTreeNode::formatEnum(DBG_REPS rep, unsigned int maxLength) const
{
    ByteString kept;
    const _TYPE_ENTRY* entry =
        formatEntry(*this, formatType_, {TE_ENUM, TE_ENUM2}, kept, __PRETTY_FUNCTION__, __LINE__);
    if (entry == nullptr)
        return kept;
    const _TYPE_ENTRY& e = *entry;
    const TYPE_INDEX underlying = e.enumeration.underlyingType;
    if (underlying.module != 0 || PrimitiveType::find(underlying.index) == nullptr ||
        PrimitiveType::isPointerForm(underlying.index))
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    ByteString value = formatPrimitive(rep, underlying.index, maxLength);
    const unsigned width = PrimitiveType::integerBytes(underlying.index);
    const bool isSigned = underlying.index == PrimitiveType::signedChar ||
                          underlying.index == PrimitiveType::shortInt || underlying.index == PrimitiveType::int4 ||
                          underlying.index == PrimitiveType::longLong;
    if (width == 0)
        return value;
    const unsigned char* data = valueBytes(*this, width, __PRETTY_FUNCTION__, __LINE__);
    std::uint64_t number = byteorder::fromBigEndian(data, width);
    if (isSigned)
        number = signExtend(number, 8 * width);
    TypeItem listType(TYPE_INDEX(e.enumeration.enumeratorList));
    const _TYPE_ENTRY* list = listType.typeIndex().module() == 0 ? nullptr : listType.typeEntry();
    if (list == nullptr || list->leaf != TE_LIST || list->list.kind != TE_LIST_ENUMERATORS)
        return value;
    unsigned steps = 0;
    for (const TNenumeratorNode* n = list->list.first.enumerators; n != nullptr; n = n->next) {
        TypeDepthGuard::checkListStep(steps++, __PRETTY_FUNCTION__, __LINE__);
        if (n->name == nullptr || enumeratorValue(*n) != number)
            continue;
        ByteString commented = value + text(std::string(" /* ") + n->name + " */");
        return commented.length() < maxLength ? commented : value;
    }
    return value;
}

ByteString FormatTreeNode::formatBitstring(DBG_REPS rep) const
{
    ByteString kept;
    const _TYPE_ENTRY* entry = formatEntry(*this, formatType_, {TE_INTEGER}, kept, __PRETTY_FUNCTION__, __LINE__);
    if (entry == nullptr)
        return kept;
    const _TYPE_ENTRY& e = *entry;
    const unsigned width = e.integer.bitLength;
    const unsigned offset = e.integer.bitOffset;
    // The field lies in one big-endian unit of 4 bytes, or of 8 when its
    // bits reach past the fourth byte.
    if (width < 1 || offset + width > 64)
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    // A field loaded by itself holds only the bytes its bits reach; the rest
    // of the unit is zero.
    const unsigned unitBytes = TypeItem::bitFieldUnit(offset, width);
    const unsigned count = (offset + width + 7) / 8;
    unsigned char data[8] = {};
    std::memcpy(data, valueBytes(*this, count, __PRETTY_FUNCTION__, __LINE__), count);
    const std::uint64_t unit = byteorder::fromBigEndian(data, unitBytes);
    const std::uint64_t field = (unit >> (8 * unitBytes - offset - width)) & (~std::uint64_t{0} >> (64 - width));
    const bool isSigned = (e.integer.flags & TNinteger_Signed) != 0 && width > 1;
    const std::int64_t value = static_cast<std::int64_t>(isSigned ? signExtend(field, width) : field);
    switch (rep) {
    case 1: return formatHexadecimal(field, (width + 3) / 4);
    case 2:
        return isSigned ? formatDecimal(static_cast<long long>(value))
                        : formatDecimal(static_cast<unsigned long long>(field));
    case 3: return formatOctal(field);
    case 4: return formatBinary(field, width);
    case 5:
    case 22:
        if (width <= 8)
            return isSigned ? formatS1(static_cast<std::int8_t>(value), rep)
                            : formatU1(static_cast<std::uint8_t>(field), rep);
        if (width <= 32)
            return isSigned ? formatS4(static_cast<std::int32_t>(value), rep)
                            : formatU4(static_cast<std::uint32_t>(field), rep);
        return isSigned ? formatS8(value, rep) : formatU8(field, rep);
    case 17: return formatBoolean(static_cast<int>(value));
    default: throw InvalidOp(InvalidOp::RTRC_InvalidFormat, __PRETTY_FUNCTION__, __LINE__);
    }
}
