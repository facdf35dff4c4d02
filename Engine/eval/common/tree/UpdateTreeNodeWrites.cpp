#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "datatypes/DecimalFloat.h"
#include "datatypes/FloatNumber.h"
#include "machine/DigitConvert.h"
#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"
#include "services/ByteOrder.h"
#include "services/DebuggeeLocation.h"
#include "services/EvaluationEnvironment.h"
#include "services/FatPtr.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "tree/UpdateTreeNode.h"
#include "types/Extended12.h"

// The writes of a value update: the value in the node's primitive, complex
// or pointer form, bit fields, Fortran character text and hexadecimal
// floating-point input.

namespace {

bool nullTypeIndexOf(const TypeItem& type)
{
    return type.typeIndex() == EvaluatorTypeIndex();
}

bool isPlainWidth(unsigned bits)
{
    return bits == 8 || bits == 16 || bits == 32 || bits == 64;
}

// The primitive integer index of a leaf-4 entry of plain width at offset 0.
unsigned plainIntegerIndex(unsigned bits, bool isSigned)
{
    switch (bits) {
    case 8: return isSigned ? 128 : 132;
    case 16: return isSigned ? 129 : 133;
    case 32: return isSigned ? 130 : 134;
    default: return isSigned ? 155 : 156;
    }
}

unsigned putInteger(unsigned char* buffer, std::uint64_t value, unsigned size)
{
    byteorder::toBigEndian(buffer, value, size);
    return size;
}

unsigned putFloat(unsigned char* buffer, const FloatNumber& value, FloatNumber::Format format, unsigned size)
{
    value.format(format, buffer, size, false);
    return size;
}

unsigned putComplex(unsigned char* buffer, StackItem& value, FloatNumber::Format format, unsigned part)
{
    putFloat(buffer, value.realPart(), format, part);
    putFloat(buffer + part, value.imaginaryPart(), format, part);
    return 2 * part;
}

unsigned putExtended12(unsigned char* buffer, const FloatNumber& value)
{
    Extended12::encode(buffer, static_cast<long double>(value));
    return Extended12::slotSize;
}

unsigned putDecimalFloat(unsigned char* buffer, StackItem& value, DecimalFloat::Size size)
{
    ByteString bytes;
    value.asDecimalFloat().format(bytes, size);
    const unsigned count = DecimalFloat::storageBytes(size);
    if (bytes.length() != count)
        return 0;
    std::memcpy(buffer, bytes.data(), count);
    return count;
}

} // namespace

int UpdateTreeNode::signedWriteMode(int kind)
{
    static const auto table = [] {
        struct Table {
            int mode[TypeKindCount] = {};
        } t;
        t.mode[t_signedChar] = 1;
        t.mode[t_signedShortInt] = 1;
        t.mode[t_signedInt] = 1;
        t.mode[t_signedLongInt] = 1;
        return t;
    }();
    return kind >= 0 && kind < TypeKindCount ? table.mode[kind] : 0;
}

int UpdateTreeNode::writeMode() const
{
    try {
        return signedWriteMode(dataType().kind());
    } catch (...) {
        // A type the kinds do not know is written as it stands.
        return 0;
    }
}

std::uint16_t UpdateTreeNode::updateDebuggee(const void* data, std::uint64_t length, const DebuggeeLocation& location)
{
    try {
        if (length > UINT32_MAX)
            throw InvalidOp(InvalidOp::RTRC_WriteMemoryFailed, __PRETTY_FUNCTION__, __LINE__);
        location.write(data, static_cast<unsigned>(length), writeMode());
        return 0;
    } catch (...) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Write of %llu bytes at %s failed",
                    static_cast<unsigned long long>(length), location.format());
        return 10000;
    }
}

std::uint16_t UpdateTreeNode::updateDebuggee(const void* data, std::uint64_t length)
{
    return updateDebuggee(data, length, debuggeeAddress());
}

unsigned UpdateTreeNode::getPrimitiveValue(StackItem& value, PrimitiveTypeBuffer& buffer, unsigned primitiveIndex)
{
    unsigned char* b = buffer.bytes;
    const FloatNumber::Format ieee = FloatNumber::IEEE;
    const FloatNumber::Format hex = FloatNumber::Hexadecimal;
    switch (primitiveIndex) {
    case 128:
    case 148: return putInteger(b, static_cast<std::uint64_t>(value.asSigned()), 1);
    case 132:
    case 144: return putInteger(b, value.asUnsigned(), 1);
    case 129: return putInteger(b, static_cast<std::uint64_t>(value.asSigned()), 2);
    case 133:
    case 145:
    case 149: return putInteger(b, value.asUnsigned(), 2);
    case 130: return putInteger(b, static_cast<std::uint64_t>(value.asSigned()), 4);
    case 134:
    case 146:
    case 150: return putInteger(b, value.asUnsigned(), 4);
    case 155: return putInteger(b, static_cast<std::uint64_t>(value.asSigned()), 8);
    case 156:
    case 157: return putInteger(b, value.asUnsigned(), 8);
    case 136: return putFloat(b, value.asLongDouble(), ieee, 4);
    case 137: return putFloat(b, value.asLongDouble(), ieee, 8);
    case 138: return putFloat(b, value.asLongDouble(), ieee, 16);
    case 139: return putExtended12(b, value.asLongDouble());
    case 196: return putFloat(b, value.asLongDouble(), hex, 4);
    case 197: return putFloat(b, value.asLongDouble(), hex, 8);
    case 198: return putFloat(b, value.asLongDouble(), hex, 16);
    case 140: return putComplex(b, value, ieee, 4);
    case 141: return putComplex(b, value, ieee, 8);
    case 142: return putComplex(b, value, ieee, 16);
    case 143:
        putExtended12(b, value.realPart());
        return putExtended12(b + Extended12::slotSize, value.imaginaryPart()) * 2;
    case 203: return putComplex(b, value, hex, 4);
    case 204: return putComplex(b, value, hex, 8);
    case 205: return putComplex(b, value, hex, 16);
    case 159: return putDecimalFloat(b, value, DecimalFloat::Size32);
    case 192: return putDecimalFloat(b, value, DecimalFloat::Size64);
    case 193: return putDecimalFloat(b, value, DecimalFloat::Size128);
    default: return 0;
    }
}

std::uint16_t UpdateTreeNode::updatePrimitive(StackItem& value, unsigned primitiveIndex)
{
    PrimitiveTypeBuffer buffer{};
    const unsigned count = getPrimitiveValue(value, buffer, primitiveIndex);
    if (count == 0) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Primitive type %u cannot be updated", primitiveIndex);
        return 10002;
    }
    return updateDebuggee(buffer.bytes, count);
}

std::uint16_t UpdateTreeNode::writeValue(StackItem& value)
{
    const TypeItem& type = dataType();
    if (type.hasFlag(TypeFlags::pointer))
        return updatePointer(value);
    if (!type.hasFlag(TypeFlags::array) && type.typeEntry() != nullptr)
        return updateComplex(value);
    return updatePrimitive(value, type.typeIndex().module() == 0 ? type.typeIndex().index() : 0);
}

std::uint16_t UpdateTreeNode::updatePointer(StackItem& value)
{
    const TypeItem& type = dataType();
    const DebuggeeLocation where = debuggeeAddress();
    if (type.hasFlag(TypeFlags::pointerToShared)) {
        bool fat = false;
        try {
            fat = value.asLocation().kind() == DebuggeeLocation::fatPointer;
        } catch (const InvalidOp&) {
            // A value without a location is no shared-memory pointer.
        }
        if (!fat)
            return 10002;
        // A pointer to shared data is written through its fat pointer, which
        // this system cannot do (refused with RTRC_NotSupported).
        FatPtr pointer;
        pointer.write(where);
        return 0;
    }
    // The pointer's own width: its entry's, else the environment's.
    const unsigned width = pointerSize(type);
    if (!value.inDebuggerAddressSpace()) {
        unsigned char image[8];
        byteorder::toBigEndian(image, value.asUnsigned(), width);
        return updateDebuggee(image, width, where);
    }
    const DebuggeeLocation text = value.asLocation();
    if (text.kind() != DebuggeeLocation::debuggerBuffer)
        return 10002;
    // The string goes where the pointer points; the pointer stays.
    const unsigned char* held = evaluationBuffer();
    if (held == nullptr || (evaluationBufferEnd() != nullptr && held + width > evaluationBufferEnd()))
        return 10000;
    const DebuggeeAddress target(byteorder::fromBigEndian(held, width), static_cast<int>(width));
    const std::uint64_t characters = value.stringLength();
    std::uint64_t terminator = 0;
    if (environmentLanguage() != EvaluationEnvironment::languageFortran) {
        terminator = type.pointee().typeSize();
        if (terminator == 0)
            terminator = 1;
    }
    std::vector<unsigned char> bytes(characters + terminator, 0);
    if (characters != 0 && text.buffer() != nullptr)
        std::memcpy(bytes.data(), text.buffer(), characters);
    return updateDebuggee(bytes.data(), bytes.size(), DebuggeeLocation(target));
}

std::uint16_t UpdateTreeNode::updateBitstring(StackItem& value)
{
    const _TYPE_ENTRY* entry = dataType().typeEntry();
    if (entry == nullptr || entry->leaf != TE_INTEGER)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const unsigned count = entry->integer.bitLength;
    const unsigned offset = entry->integer.bitOffset;
    if (count < 1 || offset + count > 64) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Bit field of %u bits at bit %u cannot be updated", count, offset);
        return 10002;
    }
    // The field lies in one big-endian unit of 4 bytes, or of 8 when its
    // bits reach past the fourth byte, counted from its most significant
    // bit; only the field's bits change.
    const unsigned unitBytes = TypeItem::bitFieldUnit(offset, count);
    const DebuggeeLocation where = debuggeeAddress();
    unsigned char unit[8] = {};
    if (where.read(unit, unitBytes) < unitBytes)
        throw InvalidOp(InvalidOp::RTRC_ReadMemoryFailed, __PRETTY_FUNCTION__, __LINE__);
    const unsigned shift = 8 * unitBytes - offset - count;
    const std::uint64_t mask = (~std::uint64_t{0} >> (64 - count)) << shift;
    std::uint64_t word = byteorder::fromBigEndian(unit, unitBytes);
    word = (word & ~mask) | ((value.asUnsigned() << shift) & mask);
    byteorder::toBigEndian(unit, word, unitBytes);
    where.write(unit, unitBytes, 0);
    return 0;
}

std::uint16_t UpdateTreeNode::updateComplex(StackItem& value)
{
    const TypeItem& type = dataType();
    const _TYPE_ENTRY* entry = type.typeEntry();
    const unsigned leaf = entry != nullptr ? entry->leaf : 0;
    if (leaf < 4 || leaf > 87)
        return 10002;
    switch (leaf) {
    case TE_INTEGER: {
        const unsigned bits = entry->integer.bitLength;
        if (entry->integer.bitOffset == 0 && isPlainWidth(bits))
            return updatePrimitive(value, plainIntegerIndex(bits, (entry->integer.flags & TNinteger_Unsigned) == 0));
        return updateBitstring(value);
    }
    case TE_CHARSTRING:
    case TE_PACKED_DECIMAL:
    case TE_FIXED_POINT_BINARY:
    case TE_ZONED_DECIMAL:
    case TE_NATIONAL_DECIMAL:
    case TE_NATIONAL_STRING:
    case TE_INDEX_NAME:
    case TE_INDEX_DATA_ITEM:
    case TE_EXTERNAL_FLOAT:
    case TE_ALPHA_NUMERIC_EDITED:
    case TE_NUMERIC_EDITED:
    case TE_NATIONAL_EXTERNAL_FLOAT:
    case TE_NATIONAL_EDITED:
    case TE_NATIONAL_NUMERIC_EDITED:
    case TE_DBCS_STRING:
    case TE_DBCS_EDITED: {
        if (environmentLanguage() != EvaluationEnvironment::languageCOBOL)
            return 10002;
        // An empty item of the node's type takes the value in the node's
        // format.
        std::unique_ptr<StackItem> target(RuntimeStack::makeStackItem(type, nullptr));
        target->genConvert(value);
        return updateDebuggee(target->resultBuffer(), target->size());
    }
    case TE_ENUM:
    case TE_ENUM2:
        switch (type.typeSize()) {
        case 1: return updatePrimitive(value, 132);
        case 2: return updatePrimitive(value, 133);
        case 4: return updatePrimitive(value, 134);
        case 8: return updatePrimitive(value, 156);
        default: return 10002;
        }
    case TE_POINTER:
    case TE_REFERENCE: throw InvalidOp(InvalidOp::RTRC_AssertFail, __PRETTY_FUNCTION__, __LINE__);
    case TE_F90_ALLOCATABLE: {
        const TypeItem& referent = type.referent();
        DebuggeeLocation where = debuggeeAddress();
        if (nullTypeIndexOf(referent) && type.isAllocated())
            return 11041;
        if (!type.dereference(where))
            return 11041;
        if (referent.typeEntry() != nullptr)
            return 10002;
        PrimitiveTypeBuffer buffer{};
        const unsigned count =
            getPrimitiveValue(value, buffer, referent.typeIndex().module() == 0 ? referent.typeIndex().index() : 0);
        if (count == 0)
            return 10002;
        where.write(buffer.bytes, count, 0);
        return 0;
    }
    default: return 10002;
    }
}

std::uint16_t UpdateTreeNode::updateFortranCharacterString(ByteString& text)
{
    const std::uint64_t n = dataType().typeSize();
    const unsigned char* from = text.data();
    std::uint64_t length = text.length();
    if (length >= 2 && (from[0] == '"' || from[0] == '\'') && from[length - 1] == from[0]) {
        ++from;
        length -= 2;
    }
    std::vector<unsigned char> bytes(n, ' ');
    if (n != 0)
        std::memcpy(bytes.data(), from, length < n ? length : n);
    if (n == 0)
        return 0;
    debuggeeAddress().write(bytes.data(), static_cast<unsigned>(n), 0);
    return 0;
}

std::uint16_t UpdateTreeNode::updateFloatingPointHex(const LCC_Eval_Context_Info*, unsigned char* text, StackItem&)
{
    std::string digits;
    for (const unsigned char* p = text; p != nullptr && *p != 0; ++p)
        if (*p != ' ')
            digits.push_back(static_cast<char>(*p));
    if (digits.size() >= 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits.erase(0, 2);
    const std::uint64_t n = dataType().typeSize();
    if (n == 0 || n > sizeof(PrimitiveTypeBuffer) || digits.size() != 2 * n) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "%zu hexadecimal digits given; %llu needed", digits.size(),
                    static_cast<unsigned long long>(2 * n));
        return 11040;
    }
    // Storage order, as the hexadecimal representation shows it: the first
    // pair is the first byte. Every pair is converted before anything is
    // written (a character that is no hexadecimal digit raises RTRC_Other).
    PrimitiveTypeBuffer buffer{};
    for (std::uint64_t i = 0; i < n; ++i)
        buffer.bytes[i] = DigitConvert::convertHex(static_cast<unsigned char>(digits[2 * i]),
                                                   static_cast<unsigned char>(digits[2 * i + 1]));
    debuggeeAddress().write(buffer.bytes, static_cast<unsigned>(n), 0);
    return 0;
}
