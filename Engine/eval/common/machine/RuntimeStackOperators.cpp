#include "machine/RuntimeStack.h"

#include <cstdint>
#include <memory>

#include "machine/StackItem.h"
#include "machine/StackItemFloat.h"
#include "machine/StackItemU.h"
#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "types/TypeItem.h"

// The frames of the operators: which operands are popped, which item does
// the work, what becomes of the register marks, and who frees what.

template <class Operation>
void RuntimeStack::binary(bool check, Operation operation)
{
    if (!isRunning())
        return;
    bitFieldToInteger();
    std::unique_ptr<StackItem> right(pop());
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    bitFieldToInteger();
    StackItem& left = *top_;
    if (check) {
        right->checkValue();
        left.checkValue();
    }
    operation(left, *right);
    left.takeRegisterMarks(*right);
    // The operator's result is a value computed here, no variable's image.
    left.setLoadedFromVariable(false);
}

template <class Comparison>
void RuntimeStack::compare(Comparison comparison)
{
    if (!isRunning())
        return;
    bitFieldToInteger();
    std::unique_ptr<StackItem> right(pop());
    bitFieldToInteger();
    std::unique_ptr<StackItem> left(pop());
    right->checkValue();
    left->checkValue();
    const int holds = comparison(*left, *right);
    auto result =
        std::make_unique<StackItemB1>(*EvaluationEnvironment::currentRep(), static_cast<unsigned char>(holds));
    result->takeRegisterMarks(*left);
    result->takeRegisterMarks(*right);
    push(result.get());
    result.release();
}

void RuntimeStack::genAdd()
{
    binary(true, [](StackItem& l, const StackItem& r) { l.genAdd(r); });
}

void RuntimeStack::genSubtract()
{
    binary(true, [](StackItem& l, const StackItem& r) { l.genSubtract(r); });
}

void RuntimeStack::genMult()
{
    binary(true, [](StackItem& l, const StackItem& r) { l.genMult(r); });
}

void RuntimeStack::genDivide()
{
    binary(true, [](StackItem& l, const StackItem& r) { l.genDivide(r); });
}

void RuntimeStack::genModulus()
{
    binary(false, [](StackItem& l, const StackItem& r) { l.genModulus(r); });
}

void RuntimeStack::genPow(unsigned int n)
{
    binary(true, [n](StackItem& l, const StackItem& r) { l.genPow(r, n); });
}

void RuntimeStack::genBitAnd()
{
    binary(false, [](StackItem& l, const StackItem& r) { l.genBitAnd(r); });
}

void RuntimeStack::genBitOr()
{
    binary(false, [](StackItem& l, const StackItem& r) { l.genBitOr(r); });
}

void RuntimeStack::genBitXor()
{
    binary(false, [](StackItem& l, const StackItem& r) { l.genBitXor(r); });
}

void RuntimeStack::genLogicalShiftLeft()
{
    binary(false, [](StackItem& l, const StackItem& r) { l.genLogicalShiftLeft(r); });
}

void RuntimeStack::genLogicalShiftRight()
{
    binary(false, [](StackItem& l, const StackItem& r) { l.genLogicalShiftRight(r); });
}

void RuntimeStack::genArithmeticShiftRight()
{
    binary(false, [](StackItem& l, const StackItem& r) { l.genArithmeticShiftRight(r); });
}

void RuntimeStack::genPointerAdd()
{
    binary(false, [](StackItem& l, const StackItem& r) { l.genPointerAdd(r); });
}

void RuntimeStack::genConcatenate()
{
    binary(false, [](StackItem& l, const StackItem& r) { l.genConcatenate(r); });
}

void RuntimeStack::genEQ()
{
    compare([](StackItem& l, const StackItem& r) { return l.genEQ(r); });
}

void RuntimeStack::genNE()
{
    compare([](StackItem& l, const StackItem& r) { return l.genNE(r); });
}

void RuntimeStack::genLT()
{
    compare([](StackItem& l, const StackItem& r) { return l.genLT(r); });
}

void RuntimeStack::genLE()
{
    compare([](StackItem& l, const StackItem& r) { return l.genLE(r); });
}

void RuntimeStack::genGT()
{
    compare([](StackItem& l, const StackItem& r) { return l.genGT(r); });
}

void RuntimeStack::genGE()
{
    compare([](StackItem& l, const StackItem& r) { return l.genGE(r); });
}

void RuntimeStack::genNegate()
{
    if (!isRunning())
        return;
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    bitFieldToInteger();
    top_->checkValue();
    top_->genNegate();
    top_->setLoadedFromVariable(false);
}

void RuntimeStack::genComplement()
{
    if (!isRunning())
        return;
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    bitFieldToInteger();
    top_->genComplement();
    top_->setLoadedFromVariable(false);
}

void RuntimeStack::genNot()
{
    if (!isRunning())
        return;
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    const bool fromRegisterVariable = top_->fromRegisterVariable();
    const bool fromRegister = top_->fromRegister();
    const bool zero = ValueOnStackIsZero();
    auto result =
        std::make_unique<StackItemB1>(*EvaluationEnvironment::currentRep(), static_cast<unsigned char>(zero ? 1 : 0));
    result->setFromRegisterVariable(fromRegisterVariable);
    result->setFromRegister(fromRegister);
    push(result.get());
    result.release();
}

void RuntimeStack::genDupValue()
{
    if (!isRunning())
        return;
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    std::unique_ptr<StackItem> copy(top_->clone());
    if (top_->inDebuggerAddressSpace())
        copy->setInDebuggerAddressSpace();
    copy->takeRegisterMarks(*top_);
    push(copy.get());
    copy.release();
}

void RuntimeStack::genIndex(std::int64_t offset)
{
    if (!isRunning())
        return;
    std::unique_ptr<StackItem> subscript(pop());
    subscript->checkValue();
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    top_->genIndex(*subscript, offset);
    top_->takeRegisterMarks(*subscript);
}

void RuntimeStack::genRankIndex(unsigned int rank, const TypeItem* arrayType)
{
    if (!isRunning())
        return;
    if (arrayType == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    TypeItem::Dimension dimension;
    arrayType->getDimension(rank, dimension);
    std::unique_ptr<StackItem> subscript(pop());
    const std::int64_t s = subscript->asSigned();
    // s - lower <= count - 1, in unsigned 64 bits so that no bound overflows.
    const bool inRange =
        s >= dimension.lower &&
        (dimension.countUnknown ||
         (dimension.count > 0 && static_cast<std::uint64_t>(s) - static_cast<std::uint64_t>(dimension.lower) <=
                                     static_cast<std::uint64_t>(dimension.count) - 1));
    if (!inRange) {
        ExpressionRepresentation* rep = EvaluationEnvironment::currentRep()->asExprRepresentation();
        const bool parameterMode = rep != nullptr && (rep->flags() & ExpressionRepresentation::parametersSet) != 0;
        if (!parameterMode)
            throw InvalidOp(InvalidOp::RTRC_SubscriptOutOfBounds, __PRETTY_FUNCTION__, __LINE__);
    }
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    top_->genRankIndex(*subscript, dimension.lower, static_cast<std::int64_t>(dimension.length));
    top_->takeRegisterMarks(*subscript);
}

void RuntimeStack::genPointerSubtract()
{
    if (!isRunning())
        return;
    std::unique_ptr<StackItem> right(pop());
    std::unique_ptr<StackItem> left(pop());
    std::unique_ptr<StackItem> distance(left->genPointerSubtract(*right));
    distance->takeRegisterMarks(*right);
    push(distance.get());
    distance.release();
}

namespace {

// The operand of the real and imaginary part: a value of a built-in type
// that is no pointer.
void checkPartOperand(const StackItem& item, const char* function, unsigned line)
{
    if (item.type().typeEntry() != nullptr || item.type().hasFlag(TypeFlags::pointer))
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, function, line);
}

} // namespace

void RuntimeStack::genRealPart()
{
    if (!isRunning())
        return;
    std::unique_ptr<StackItem> item(pop());
    checkPartOperand(*item, __PRETTY_FUNCTION__, __LINE__);
    std::unique_ptr<StackItem> part(new StackItemLD(item->environment(), item->realPart()));
    part->takeRegisterMarks(*item);
    item.reset();
    push(part.get());
    part.release();
}

void RuntimeStack::genImaginaryPart()
{
    if (!isRunning())
        return;
    std::unique_ptr<StackItem> item(pop());
    checkPartOperand(*item, __PRETTY_FUNCTION__, __LINE__);
    std::unique_ptr<StackItem> part(new StackItemLD(item->environment(), item->imaginaryPart()));
    item.reset();
    push(part.get());
    part.release();
}

void RuntimeStack::genTruncateFP(const TypeItem& type)
{
    if (!isRunning())
        return;
    if (top_ == nullptr)
        emptyStack(__PRETTY_FUNCTION__, __LINE__);
    if (type.typeEntry() != nullptr)
        return;
    const EvaluatorTypeIndex& index = type.typeIndex();
    if (index == 196u)
        top_->genTruncateFP(4);
    else if (index == 197u)
        top_->genTruncateFP(8);
}
