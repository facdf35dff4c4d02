#include "machine/RuntimeStack.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "machine/StackItemCharstring.h"
#include "machine/StackItemDbcsString.h"
#include "machine/StackItemNationalString.h"
#include "machine/StackItemString.h"
#include "machine/TextBytes.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/TypeItem.h"

// C string literals, the Fortran substring, strings made from addressable
// values, and COBOL reference modification.

namespace {

// The most bytes a substring delivers, and a string made from memory.
constexpr std::int64_t substringLimit = 512;
constexpr std::uint64_t convertedLimit = 511;
// The pad of strings the evaluator holds.
constexpr unsigned char evaluatorBlank = 0x20;

using Owned = std::unique_ptr<StackItem>;

[[noreturn]] void fail(InvalidOp::InvalidOperation code, const char* function, unsigned line)
{
    throw InvalidOp(code, function, line);
}

// The three text kinds a reference modification makes.
enum class TextKind {
    none,
    alphanumeric,
    national,
    dbcs
};

TextKind textKind(const TypeItem& type)
{
    if (type.hasFlag(TypeFlags::nationalString))
        return TextKind::national;
    if (type.hasFlag(TypeFlags::dbcsString))
        return TextKind::dbcs;
    if (type.hasFlag(TypeFlags::characterString))
        return TextKind::alphanumeric;
    return TextKind::none;
}

// Bytes a character of a kind; RTRC_NotSupported for any other kind.
std::int64_t widthOf(TextKind kind, const char* function, unsigned line)
{
    switch (kind) {
    case TextKind::national:
    case TextKind::dbcs: return 2;
    case TextKind::alphanumeric: return 1;
    case TextKind::none: break;
    }
    fail(InvalidOp::RTRC_NotSupported, function, line);
}

textbytes::Blank blankOf(TextKind kind)
{
    switch (kind) {
    case TextKind::national: return textbytes::Blank::national;
    case TextKind::dbcs: return textbytes::Blank::dbcs;
    case TextKind::alphanumeric:
    case TextKind::none: break;
    }
    return textbytes::Blank::ebcdic;
}

// The item's value as text of the target's kind, the target's record as
// descriptor (a record of the item's length where the target has none).
ByteString textOf(const StackItem& item, TextKind kind, const TypeItem& target)
{
    const _TYPE_ENTRY* entry = target.typeEntry();
    const auto length = static_cast<UBYTE4>(std::min<std::uint64_t>(target.typeSize(), 0xFFFFFFFFu));
    switch (kind) {
    case TextKind::national: {
        TNnational_string record{};
        if (entry != nullptr && entry->leaf == TE_NATIONAL_STRING)
            record = entry->nationalString;
        else
            record.size.length = length;
        return item.asNationalString(record);
    }
    case TextKind::dbcs: {
        TNdbcs_string record{};
        if (entry != nullptr && entry->leaf == TE_DBCS_STRING)
            record = entry->dbcsString;
        else
            record.length = length;
        return item.asDbcsString(record);
    }
    case TextKind::alphanumeric:
    case TextKind::none: break;
    }
    TNcharstring record{};
    if (entry != nullptr && entry->leaf == TE_CHARSTRING)
        record = entry->charstring;
    else
        record.size.length = length;
    return item.asCharstring(record);
}

// A slice item of the kind: its bytes, type, place and length.
StackItem* makeSlice(TextKind kind, const ByteString& bytes, const TypeItem& type, const DebuggeeLocation& where,
                     std::int64_t length)
{
    EvaluationEnvironment& environment = *EvaluationEnvironment::currentRep();
    switch (kind) {
    case TextKind::national: return new StackItemNationalString(environment, bytes, type, where, length);
    case TextKind::dbcs: return new StackItemDbcsString(environment, bytes, type, where, length);
    case TextKind::alphanumeric:
    case TextKind::none: break;
    }
    return new StackItemCharstring(environment, bytes, type, where, length);
}

// The text of a string the evaluator holds: an evaluation error's message
// or the item's own bytes.
ByteString heldText(const StackItem& item)
{
    if (const char* error = item.evaluationError())
        return ByteString(reinterpret_cast<const unsigned char*>(error), static_cast<unsigned>(std::strlen(error)));
    const void* bytes = item.resultBuffer();
    if (bytes == nullptr)
        return ByteString();
    return ByteString(static_cast<const unsigned char*>(bytes),
                      static_cast<unsigned>(std::min<std::uint64_t>(item.size(), 0xFFFFFFFFu)));
}

} // namespace

void RuntimeStack::pushString(const unsigned char* text, unsigned int length, bool wide)
{
    Owned item(new StackItemString(*EvaluationEnvironment::currentRep(), ByteString(text, length), wide ? 1 : 0));
    push(item.get());
    item.release();
}

void RuntimeStack::genString(const char* text, unsigned int length)
{
    if (!isRunning())
        return;
    const ByteString bytes(reinterpret_cast<const unsigned char*>(text), length);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "str:%s.len=%d", reinterpret_cast<const char*>(bytes.data()),
                static_cast<int>(length));
    pushString(bytes.data(), length, false);
}

void RuntimeStack::genWideString(const char* text, unsigned int length)
{
    if (!isRunning())
        return;
    pushString(reinterpret_cast<const unsigned char*>(text), length, true);
}

void RuntimeStack::genSubstring()
{
    if (!isRunning())
        return;
    Owned startItem(pop());
    Owned endItem(pop());
    Owned string(pop());
    const std::int64_t start = std::max<std::int64_t>(startItem->asSigned(), 1);
    std::int64_t end = endItem->asSigned();

    if (string->isString()) {
        const std::int64_t length = std::min(end >= start ? end - start + 1 : 0, substringLimit);
        const ByteString held = heldText(*string);
        const auto from = static_cast<unsigned>(std::min<std::int64_t>(start - 1, held.length()));
        const ByteString text(held, from, static_cast<unsigned>(length), evaluatorBlank);
        pushString(text.data(), text.length(), false);
        return;
    }

    if (!string->holdsAddress())
        fail(InvalidOp::RTRC_InvalidReference, __PRETTY_FUNCTION__, __LINE__);
    const std::uint64_t typeSize = string->type().typeSize();
    if (end > 0 && static_cast<std::uint64_t>(end) > typeSize)
        end = static_cast<std::int64_t>(std::min<std::uint64_t>(typeSize, INT64_MAX));
    const std::int64_t length = std::min(end >= start ? end - start + 1 : 0, substringLimit);
    std::vector<unsigned char> buffer(static_cast<std::size_t>(length) + 1, 0);
    if (length > 0) {
        DebuggeeLocation where(string->location());
        where.increment(start - 1);
        string->ReadDebuggeeData(buffer.data(), static_cast<std::uint64_t>(length), where);
    }
    pushString(buffer.data(), static_cast<unsigned>(length), false);
}

void RuntimeStack::genConvertString(const TypeItem& target)
{
    if (!isRunning())
        return;
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    if (top_->isString()) {
        top_->setType(target);
        return;
    }
    Owned item(pop());
    if (!item->holdsAddress())
        fail(InvalidOp::RTRC_InvalidReference, __PRETTY_FUNCTION__, __LINE__);
    const std::uint64_t count = std::min(item->type().typeSize(), convertedLimit);
    std::vector<unsigned char> buffer(static_cast<std::size_t>(count) + 1, 0);
    if (count > 0)
        item->ReadDebuggeeData(buffer.data(), count, DebuggeeLocation(item->location()));
    pushString(buffer.data(), static_cast<unsigned>(count), false);
    top_->setType(target);
}

// Acts while skipping too: the cast that calls it has already put the
// string there.
void RuntimeStack::adjustString(const TypeItem& target)
{
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    const std::uint64_t size = target.typeSize();
    if (!top_->isString() || top_->size() == size)
        return;
    const ByteString text(heldText(*top_), 0, static_cast<unsigned>(std::min<std::uint64_t>(size, 0xFFFFFFFFu)),
                          evaluatorBlank);
    const bool wide = false;
    delete pop();
    pushString(text.data(), text.length(), wide);
}

void RuntimeStack::genRefMod(const TypeItem& target)
{
    if (!isRunning())
        return;
    Owned startItem(pop());
    startItem->checkValue();
    Owned item(pop());
    const std::int64_t start = startItem->asSigned();
    const auto size = static_cast<std::int64_t>(std::min<std::uint64_t>(target.typeSize(), INT64_MAX));
    const TextKind kind = textKind(target);
    const std::int64_t width = widthOf(kind, __PRETTY_FUNCTION__, __LINE__);

    if (start <= 0 || start > size / width)
        fail(InvalidOp::RTRC_BadRefMod, __PRETTY_FUNCTION__, __LINE__);
    const std::int64_t offset = width * start - width;
    const std::int64_t length = size - offset;

    DebuggeeLocation where(item->location());
    ByteString bytes;
    if (where.kind() == DebuggeeLocation::none) {
        // A computed value: its own bytes in the target's kind.
        const ByteString own = textOf(*item, kind, target);
        bytes = textbytes::fitEnd(ByteString(own, static_cast<unsigned>(offset)), static_cast<unsigned>(length),
                                  blankOf(kind));
    } else {
        where.increment(offset);
        std::vector<unsigned char> buffer(static_cast<std::size_t>(length), 0);
        item->ReadDebuggeeData(buffer.data(), static_cast<std::uint64_t>(length), where);
        bytes = ByteString(buffer.data(), static_cast<unsigned>(length));
    }
    Owned slice(makeSlice(kind, bytes, target, where, length));
    push(slice.get());
    slice.release();
}

void RuntimeStack::genRefModLength(const TypeItem& target)
{
    if (!isRunning())
        return;
    Owned lengthItem(pop());
    lengthItem->checkValue();
    Owned item(pop());
    std::int64_t length = lengthItem->asSigned();
    const TextKind kind = textKind(target);
    if (kind == TextKind::none || textKind(item->type()) != kind)
        fail(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    if (target.typeEntry() == nullptr)
        fail(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const ByteString converted = textOf(*item, kind, target);
    const std::int64_t width = widthOf(kind, __PRETTY_FUNCTION__, __LINE__);
    if (length <= 0 || length > static_cast<std::int64_t>(converted.length()) / width)
        fail(InvalidOp::RTRC_BadRefMod, __PRETTY_FUNCTION__, __LINE__);
    length *= width;
    Owned slice(
        makeSlice(kind, ByteString(converted.data(), static_cast<unsigned>(length)), target, item->location(), length));
    push(slice.get());
    slice.release();
}

void RuntimeStack::genConvertRefMod(bool lengthGiven, const TypeItem& target)
{
    if (!isRunning())
        return;
    Owned value(pop());
    std::int64_t length = 0;
    if (lengthGiven) {
        Owned lengthItem(pop());
        length = lengthItem->asSigned();
    }
    Owned startItem(pop());
    const std::int64_t start = startItem->asSigned();

    const TextKind kind = textKind(target);
    const std::int64_t width = widthOf(kind, __PRETTY_FUNCTION__, __LINE__);
    const auto size = static_cast<std::int64_t>(std::min<std::uint64_t>(target.typeSize(), INT64_MAX / 4));
    const bool startFits = start > 0 && start <= size / width + 1;
    const bool lengthFits = !lengthGiven || (length > 0 && length <= size / width);
    if (!startFits || !lengthFits)
        fail(InvalidOp::RTRC_BadRefMod, __PRETTY_FUNCTION__, __LINE__);
    const std::int64_t offset = start * width;
    const std::int64_t byteLength = lengthGiven ? length * width : size - offset + width;
    if (byteLength <= 0 || offset - width + byteLength > size)
        fail(InvalidOp::RTRC_BadRefMod, __PRETTY_FUNCTION__, __LINE__);

    Owned converted(makeSlice(kind, ByteString(), target, DebuggeeLocation(), byteLength));
    converted->genConvert(*value);
    converted->setScope(value->scope_);
    push(converted.get());
    StackItem* pushed = converted.release();
    pushed->takeRegisterMarks(*value);
}
