#include "machine/StackItemString.h"

#include "datatypes/FloatNumber.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "types/CreatedTypeItem.h"

namespace {

// The built-in plain character type.
constexpr unsigned plainChar = 148;

[[noreturn]] void fail(InvalidOp::InvalidOperation code, const char* function, unsigned line)
{
    throw InvalidOp(code, function, line);
}

// The zero bytes of a terminating null, as wide as any wchar_t.
constexpr unsigned char nullBytes[8] = {};

// The bytes of a literal's terminating null: a char, or a wchar_t of the
// program.
unsigned terminatorOf(bool wide)
{
    if (!wide)
        return 1;
    const TypeItem* wchar = typeWcharT();
    if (wchar == nullptr || wchar->typeSize() == 0 || wchar->typeSize() > sizeof nullBytes)
        fail(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    return static_cast<unsigned>(wchar->typeSize());
}

} // namespace

const TypeItem& StackItemString::pointerType(bool wide)
{
    const TypeItem* pointer = nullptr;
    if (wide) {
        const TypeItem* wchar = typeWcharT();
        if (wchar != nullptr)
            pointer = CreatedTypeItem::findPointerType(*wchar);
    } else {
        pointer = CreatedTypeItem::findPointerType(TypeItem(plainChar));
    }
    if (pointer == nullptr)
        fail(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    return *pointer;
}

StackItemString::StackItemString(EvaluationEnvironment& environment, const ByteString& text, int wide)
    : StackItem(environment, pointerType(wide != 0)), wide_(wide != 0), terminator_(terminatorOf(wide != 0))
{
    text_ = &environment.getConstantString(ByteString(text.data(), text.length(), nullBytes, terminator_, nullptr, 0));
    setInDebuggerAddressSpace();
    setHasValue(true);
}

StackItemString::StackItemString(EvaluationEnvironment& environment, const TypeItem& type)
    : StackItem(environment, type)
{
    setHasValue(type.typeEntry() != nullptr);
}

StackItemString::StackItemString(const StackItemString& other)
    : StackItem(other),
      text_(other.text_),
      position_(other.position_),
      wide_(other.wide_),
      terminator_(other.terminator_)
{
    setInDebuggerAddressSpace();
}

StackItemString::~StackItemString() = default;

bool StackItemString::isString() const
{
    return true;
}

StackItem* StackItemString::clone() const
{
    return new StackItemString(*this);
}

std::uint64_t StackItemString::size() const
{
    return textLength() - position_;
}

std::uint64_t StackItemString::readableSize() const
{
    return heldLength() - position_;
}

std::uint64_t StackItemString::stringLength() const
{
    return size();
}

void StackItemString::load(const DebuggeeLocation&)
{
    setHasValue(false);
    fail(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

void* StackItemString::resultBuffer() const
{
    if (text_ == nullptr)
        return nullptr;
    return const_cast<unsigned char*>(text_->data() + position_);
}

DebuggeeLocation StackItemString::asLocation() const
{
    DebuggeeLocation where;
    where = resultBuffer();
    return where;
}

// Positions are computed in unsigned 64-bit and read as signed, so a
// negative amount reaches back from the position.
void StackItemString::moveTo(std::uint64_t position, std::uint64_t limit, const char* function, unsigned line)
{
    const auto signedPosition = static_cast<std::int64_t>(position);
    if (signedPosition < 0 || static_cast<std::uint64_t>(signedPosition) >= limit)
        fail(InvalidOp::RTRC_NotSupported, function, line);
    position_ = position;
}

// The position may reach the terminating null, not past it.
void StackItemString::genPointerAdd(const StackItem& right)
{
    moveTo(position_ + right.asUnsigned(), heldLength(), __PRETTY_FUNCTION__, __LINE__);
}

void StackItemString::genIndex(const StackItem& subscript, std::int64_t elementSize)
{
    moveTo(subscript.asUnsigned() * static_cast<std::uint64_t>(elementSize) + position_, heldLength(),
           __PRETTY_FUNCTION__, __LINE__);
    clearLocation();
}

// This bound lets the position reach the end of the text itself.
void StackItemString::genRankIndex(const StackItem& subscript, std::int64_t lowerBound, std::int64_t stride)
{
    const std::uint64_t offset =
        (subscript.asUnsigned() - static_cast<std::uint64_t>(lowerBound)) * static_cast<std::uint64_t>(stride);
    const auto signedOffset = static_cast<std::int64_t>(offset);
    if (signedOffset < 0 && static_cast<std::uint64_t>(-(signedOffset + 1)) + 1 > position_)
        fail(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    if (signedOffset >= 0 && offset > textLength() - position_)
        fail(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    position_ += offset;
    clearLocation();
}

StackItem* StackItemString::genPointerSubtract(const StackItem& right)
{
    // An evaluator position never mixes with a debuggee address.
    if (right.type().hasFlag(TypeFlags::pointer) || right.type().hasFlag(TypeFlags::array))
        fail(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    const std::uint64_t n = right.asUnsigned();
    if (n > position_)
        fail(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    auto* result = new StackItemString(*this);
    result->position_ = position_ - n;
    return result;
}

void StackItemString::genConcatenate(const StackItem& right)
{
    const auto* other = dynamic_cast<const StackItemString*>(&right);
    if (other == nullptr || !right.isString() || !right.inDebuggerAddressSpace())
        fail(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    if (other->wide_ != wide_)
        fail(InvalidOp::RTRC_ParserError, __PRETTY_FUNCTION__, __LINE__);
    const unsigned char* mine = static_cast<const unsigned char*>(resultBuffer());
    const unsigned char* theirs = static_cast<const unsigned char*>(other->resultBuffer());
    const ByteString joined(mine, static_cast<unsigned>(size()), theirs, static_cast<unsigned>(other->size()),
                            nullBytes, terminator_);
    text_ = &environment().getConstantString(joined);
    position_ = 0;
}

std::uint64_t StackItemString::asUnsigned() const
{
    fail(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

std::int64_t StackItemString::asSigned() const
{
    fail(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

FloatNumber StackItemString::asLongDouble() const
{
    fail(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

FloatNumber StackItemString::realPart() const
{
    fail(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

FloatNumber StackItemString::imaginaryPart() const
{
    fail(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
}

// A narrow literal goes to characters (the character mark); a wide one to
// wide characters of the literal's own width.
StackItem* StackItemString::convertType(const TypeItem& target, const LCC_Eval_Context_Info*)
{
    if (!target.hasFlag(TypeFlags::pointer) && !target.hasFlag(TypeFlags::array))
        fail(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    const TypeItem& element = target.dereference();
    bool fits;
    if (wide_) {
        const TypeItem* wchar = typeWcharT();
        fits = element.isWChar() && wchar != nullptr && element.typeSize() == wchar->typeSize();
    } else {
        fits = element.hasFlag(TypeFlags::character);
    }
    if (!fits)
        fail(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__);
    setType(target);
    return this;
}
