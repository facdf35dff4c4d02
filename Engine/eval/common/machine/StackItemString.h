#ifndef NORVEXA_MACHINE_STACKITEMSTRING_H
#define NORVEXA_MACHINE_STACKITEMSTRING_H

#include <cstdint>

#include "machine/StackItem.h"

// A C or C++ string literal written in the expression, narrow or wide. Its
// text is one of the environment's constant strings (never in the
// debuggee), held with its terminating null (one character of the
// literal's width); the item behaves as a pointer to one of its characters
// or to that null, which can be moved, indexed, joined to another literal
// and retyped as a pointer to or array of characters of the literal's
// width.
class StackItemString : public StackItem {
public:
    // A literal of the text's bytes (its null not included) at position 0;
    // wide non-zero for a wide literal.
    StackItemString(EvaluationEnvironment& environment, const ByteString& text, int wide);
    // A literal without text, of the type.
    StackItemString(EvaluationEnvironment& environment, const TypeItem& type);
    StackItemString(const StackItemString& other);
    ~StackItemString() override;

    // The pointer type of a narrow or a wide literal.
    static const TypeItem& pointerType(bool wide);

    bool isString() const override;
    StackItem* clone() const override;
    // The characters from the position to the end, the null not counted.
    std::uint64_t size() const override;
    // The bytes a load may read from the position: the characters and the
    // terminating null.
    std::uint64_t readableSize() const;
    // A literal is never loaded: RTRC_Other.
    void load(const DebuggeeLocation& where) override;
    void* resultBuffer() const override;
    std::uint64_t stringLength() const override;
    void genPointerAdd(const StackItem& right) override;
    // The distance back from the position; a pointer or an array operand
    // (a debuggee address) is refused with RTRC_IncompatTypes.
    StackItem* genPointerSubtract(const StackItem& right) override;
    void genConcatenate(const StackItem& right) override;
    void genIndex(const StackItem& subscript, std::int64_t elementSize) override;
    void genRankIndex(const StackItem& subscript, std::int64_t lowerBound, std::int64_t stride) override;
    std::uint64_t asUnsigned() const override;
    std::int64_t asSigned() const override;
    FloatNumber asLongDouble() const override;
    FloatNumber realPart() const override;
    FloatNumber imaginaryPart() const override;
    DebuggeeLocation asLocation() const override;
    // Only retypes the literal (the same item is returned): a pointer to or
    // array of characters of the literal's width.
    StackItem* convertType(const TypeItem& target, const LCC_Eval_Context_Info* context) override;

    const ByteString* text() const { return text_; }
    std::uint64_t position() const { return position_; }
    bool isWide() const { return wide_; }

private:
    // The bytes held, the null included, and the characters before it.
    std::uint64_t heldLength() const { return text_ != nullptr ? text_->length() : 0; }
    std::uint64_t textLength() const { return heldLength() - terminator_; }
    // A new position read as a signed offset, kept when limit allows it.
    void moveTo(std::uint64_t position, std::uint64_t limit, const char* function, unsigned line);

    const ByteString* text_ = nullptr;
    std::uint64_t position_ = 0;
    bool wide_ = false;
    // The bytes of the terminating null at the end of the text.
    unsigned terminator_ = 0;
};

#endif
