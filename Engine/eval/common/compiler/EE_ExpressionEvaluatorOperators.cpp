#include "compiler/EE_ExpressionEvaluator.h"

#include <initializer_list>

#include <string>
#include <utility>

#include "compiler/CxxevalInterface.h"
#include "compiler/EE_OstrelFigConstant.h"
#include "compiler/EE_OstrelTypeDescriptor.h"
#include "compiler/EvaluatorSupport.h"
#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_Declaration.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_Name.h"
#include "frontend/EE_NameExpression.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_SubscriptExpression.h"
#include "frontend/EE_UnaryExpression.h"
#include "types/TypeItem.h"

#include <plomkit/ThreadOwned.h>

namespace {

using TD = EE_TypeDescriptor;
using BE = EE_BinaryExpression;

using evaluator::isPointerKind;

bool isPointer(const EE_Expression& e)
{
    return e.typeDescriptor != nullptr && isPointerKind(e.typeDescriptor->kind);
}

bool in(unsigned kind, unsigned low, unsigned high)
{
    return kind >= low && kind <= high;
}

unsigned figurativeKind(const EE_Expression& e)
{
    const EE_FigConstantExpression* fig = e.asFigConstantExpression();
    if (fig == nullptr || fig->value == nullptr)
        return 0;
    return static_cast<const EE_OstrelFigConstant*>(fig->value)->tokenKind;
}

bool isNullConstant(const EE_Expression& e)
{
    const unsigned fig = figurativeKind(e);
    return fig == 106 || fig == 122;
}

const TD& requiredType(const TD* t)
{
    if (t == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return *t;
}

EE_Expression& required(EE_Expression* e)
{
    if (e == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return *e;
}

unsigned pointerFlags(const TD& type)
{
    const PointerInfoBlock* info = typePointerInfo(EE_OstrelTypeDescriptor::typeOf(type));
    return info != nullptr ? info->flags : 0;
}

bool stringFlag8(const TD& type)
{
    const CharstringInfoBlock* info = typeCharstringInfo(EE_OstrelTypeDescriptor::typeOf(type));
    return info != nullptr && (info->flags & 8) != 0;
}

bool isNationalGroup(const TD& type)
{
    const TypeItem* item = EE_OstrelTypeDescriptor::typeOf(type);
    return type.kind == TD::Class && item != nullptr && item->isNationalGroup();
}

bool namesConditionName(EE_Expression& e)
{
    EE_Name* name = nullptr;
    if (EE_MemberExpression* member = e.asMemberExpression())
        name = member->member;
    else if (EE_NameExpression* plain = e.asNameExpression())
        name = plain->name;
    return name != nullptr && name->declaration != nullptr && name->declaration->isConditionName();
}

} // namespace

EE_Expression& EE_ExpressionEvaluator::analyzeComparisonOperators(EE_BinaryExpression& node, LoadContext context)
{
    if (context == LoadAddress)
        throw EE_Exception(EE_Exception::InternalFailure, &node);
    node.left = &analyze(required(node.left), LoadValue);
    node.right = &analyze(required(node.right), LoadValue);
    if (figurativeKind(*node.left) != 0 && figurativeKind(*node.right) != 0)
        throw EE_Exception(EE_Exception::UnexpectedType, node.left);
    const bool cobol = services.isCobol();
    if (node.kind >= BE::GreaterOrEqual && node.kind <= BE::Less) {
        for (EE_Expression* operand : {node.left, node.right}) {
            if (services.isComplex(*operand->typeDescriptor) || (cobol && isPointer(*operand)))
                throw EE_Exception(EE_Exception::InternalFailure, &node);
        }
    }
    if (isPointer(*node.left) && isPointer(*node.right)) {
        // The left takes the right's type, and the right then agrees with it:
        // the two addresses are compared as pointers of one type.
        node.left = &analyze(pointerConversion(*node.left, *node.right->typeDescriptor), LoadValue);
        node.right = &analyze(pointerConversion(*node.right, *node.left->typeDescriptor), LoadValue);
    } else if (isPointer(*node.left)) {
        node.right = &convertedTo(node.left->typeDescriptor, *node.right);
    } else if (isPointer(*node.right)) {
        node.left = &convertedTo(node.right->typeDescriptor, *node.left);
    } else if (cobol) {
        for (EE_Expression** slot : {&node.left, &node.right}) {
            if (!services.isGroup(*(*slot)->typeDescriptor) && services.isArithmetic(*(*slot)->typeDescriptor))
                *slot = &analyze(integralPromotion(**slot), LoadValue);
        }
        if (!relationalConversion(&node.left, &node.right) || !relationalConversion(&node.right, &node.left))
            throw EE_Exception(EE_Exception::InternalFailure, &node);
        if (services.isGroup(*node.right->typeDescriptor) && !services.isGroup(*node.left->typeDescriptor)) {
            BE::Kind mirrored = node.kind;
            switch (node.kind) {
            case BE::GreaterOrEqual: mirrored = BE::LessOrEqual; break;
            case BE::LessOrEqual: mirrored = BE::GreaterOrEqual; break;
            case BE::Greater: mirrored = BE::Less; break;
            case BE::Less: mirrored = BE::Greater; break;
            default: break;
            }
            EE_BinaryExpression* swapped = services.createBinaryExpression(mirrored, node.right, node.left);
            return *analyze(required(swapped));
        }
    } else {
        node.left = &integralPromotion(*node.left);
        node.right = &integralPromotion(*node.right);
        node.left = &analyze(arithmeticConversion(*node.left, *node.right->typeDescriptor, 0), LoadValue);
        node.right = &analyze(arithmeticConversion(*node.right, *node.left->typeDescriptor, 0), LoadValue);
    }
    node.typeDescriptor = services.boolTypeDescriptor();
    node.analyzed = 1;
    return node;
}

void EE_ExpressionEvaluator::requireCobolCondition(EE_Expression& operand)
{
    EE_Expression* e = &operand;
    while (EE_ParenthesesExpression* inner = e->asParenthesesExpression())
        e = &required(inner->inner);
    bool condition = namesConditionName(*e);
    if (EE_BinaryExpression* binary = e->asBinaryExpression()) {
        switch (binary->kind) {
        case BE::LogicalOr:
        case BE::LogicalAnd:
        case BE::Equal:
        case BE::NotEqual:
        case BE::GreaterOrEqual:
        case BE::LessOrEqual:
        case BE::Greater:
        case BE::Less: condition = true; break;
        case BE::Subscript: condition = binary->left != nullptr && namesConditionName(*binary->left); break;
        default: break;
        }
    } else if (EE_UnaryExpression* unary = e->asUnaryExpression()) {
        condition = unary->kind == EE_UnaryExpression::LogicalNot;
    }
    if (condition)
        return;
    // Copied by the build's failure before the next refusal on this thread.
    std::string& text = threadOwned<std::string>([] {});
    text = e->signature(1).data();
    text += " (no condition: abbreviated combined relations are not supported, write each relation in full)";
    throw EE_ParseException(EE_ParseException::SyntaxError, text.c_str());
}

EE_Expression& EE_ExpressionEvaluator::analyzeLogicalOperators(EE_BinaryExpression& node, LoadContext context)
{
    if (context == LoadAddress)
        throw EE_Exception(EE_Exception::InternalFailure, &node);
    if (services.isCobol()) {
        requireCobolCondition(required(node.left));
        requireCobolCondition(required(node.right));
    }
    for (EE_Expression** slot : {&node.left, &node.right}) {
        EE_Expression& operand = analyze(required(*slot), LoadValue);
        if (services.isFortran()) {
            if (!services.isLogical(*operand.typeDescriptor))
                throw EE_Exception(EE_Exception::UnexpectedType, &operand);
            // The right operand's value is the result when the left one does
            // not decide it: a LOGICAL of another kind is converted to the
            // truth value the left operand's decision gives.
            const bool convert =
                slot == &node.right && !services.isSameAs(*operand.typeDescriptor, *services.boolTypeDescriptor());
            *slot = convert ? &convertedTo(services.boolTypeDescriptor(), operand) : &operand;
        } else if (isPointer(operand)) {
            // The left operand is only tested; the right one's value is the
            // result, so a pointer there becomes a truth value as well.
            *slot = slot == &node.right ? &convertedTo(services.boolTypeDescriptor(), operand) : &operand;
        } else if (services.isArithmetic(*operand.typeDescriptor)) {
            *slot = &convertedTo(services.boolTypeDescriptor(), analyze(integralPromotion(operand), LoadValue));
        } else {
            throw EE_Exception(EE_Exception::UnexpectedType, &operand);
        }
    }
    if (!services.supportsAssignment() && hasSideEffects(*node.left))
        throw EE_Exception(EE_Exception::InternalFailure, &node);
    node.typeDescriptor = services.boolTypeDescriptor();
    node.analyzed = 1;
    return node;
}

bool EE_ExpressionEvaluator::cobolAssignable(EE_Expression& receiver, EE_Expression& sender)
{
    const TD& to = *receiver.typeDescriptor;
    const TD& from = *sender.typeDescriptor;
    const unsigned r = to.kind;
    const unsigned s = from.kind;
    const bool isNull = isNullConstant(sender);
    auto digitItemWithoutFraction = [&] {
        return (s == TD::PackedDecimal || s == TD::FixedPointBinary || s == TD::ZonedDecimal ||
                s == TD::NationalDecimal) &&
               from.scale >= 0;
    };
    switch (r) {
    case TD::Pointer:
        if (s == TD::Pointer && (pointerFlags(from) & 4) == (pointerFlags(to) & 4))
            return true;
        return s == TD::AddressOfReference || isNull;
    case TD::Reference: return s == TD::Reference || s == TD::AddressOfReference || isNull;
    case TD::AddressOfReference:
        if (s == TD::Pointer && (pointerFlags(from) & 7) == 0)
            return true;
        return s == TD::AddressOfReference || isNull;
    case TD::Class:
        // A number written with fraction digits has no text a group could take.
        if (sender.asLiteralExpression() != nullptr && in(s, TD::PackedDecimal, TD::FixedPointBinary) && from.scale < 0)
            return false;
        return !(s == TD::Pointer || s == TD::Reference || s == TD::IndexName || s == TD::IndexDataItem ||
                 s == TD::AddressOfReference);
    case TD::AlphanumericString:
    case TD::AlphanumericEdited:
        if (isNull)
            return false;
        if (s == TD::Class || s == TD::AlphanumericString || s == TD::AlphanumericEdited)
            return true;
        if (digitItemWithoutFraction() || s == TD::NumericEdited || s == TD::NationalNumericEdited)
            return r == TD::AlphanumericEdited || stringFlag8(to);
        return false;
    case TD::HexFloat:
    case TD::HexDouble:
    case TD::HexLongDouble:
    case TD::PackedDecimal:
    case TD::FixedPointBinary:
    case TD::ZonedDecimal:
    case TD::NationalDecimal:
    case TD::ExternalFloat:
    case TD::NumericEdited:
    case TD::NationalExternalFloat:
    case TD::NationalNumericEdited:
        if (isNull)
            return false;
        if (s == TD::Pointer || s == TD::Reference || s == TD::Array || s == TD::AlphanumericEdited ||
            s == TD::NationalEdited || in(s, TD::DbcsString, TD::AddressOfReference))
            return false;
        if (s == TD::AlphanumericString && figurativeKind(sender) == 0)
            return stringFlag8(from);
        return true;
    case TD::IndexName: return services.isIntegral(from);
    case TD::IndexDataItem: return s == TD::IndexName || s == TD::IndexDataItem;
    case TD::DbcsString:
    case TD::DbcsEdited:
        if (isNull)
            return false;
        return s == TD::Class || s == TD::DbcsString || s == TD::DbcsEdited;
    default: return true;
    }
}

EE_Expression& EE_ExpressionEvaluator::analyzeAssignOperators(EE_BinaryExpression& node, LoadContext context)
{
    EE_Expression* left = &required(node.left);
    while (EE_ParenthesesExpression* p = left->asParenthesesExpression())
        left = &required(p->inner);
    node.left = left;
    if (EE_Expression* expansion = services.expandConditionNameExpression(*node.left, 1)) {
        EE_LiteralExpression* literal = node.right != nullptr ? node.right->asLiteralExpression() : nullptr;
        if (literal == nullptr || literal->value != services.findOrCreateTrueLiteralValue())
            throw EE_Exception(EE_Exception::InvalidOperand, node.left);
        return analyze(*expansion, context);
    }
    // A condition name without its expansion has no storage of its own to
    // receive a value: storing there would overwrite its conditional variable.
    if (namesConditionName(*node.left))
        throw EE_Exception(EE_Exception::InvalidOperand, node.left);
    EE_Expression* analysedLeft = &analyze(*node.left, LoadAddress);
    EE_Expression* analysedRight = &analyze(required(node.right), LoadValue);
    if (analysedLeft->typeDescriptor == nullptr || analysedRight->typeDescriptor == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    node.left = analysedLeft;
    node.right = analysedRight;
    const bool cobol = services.isCobol();
    EE_TypeDescriptor* receiving = node.left->typeDescriptor;
    if (!cobol && receiving->kind == TD::AlphanumericString &&
        in(node.right->typeDescriptor->kind, TD::Float, TD::HexLongDouble))
        throw EE_Exception(EE_Exception::UnexpectedType, &node);
    if (cobol) {
        if (!cobolAssignable(*node.left, *node.right))
            throw EE_Exception(EE_Exception::UnexpectedType, node.left);
        if (isNationalGroup(*receiving))
            receiving = services.findOrCreateNationalStringTypeDescriptor(*receiving);
        const TD& sent = *node.right->typeDescriptor;
        if (isNationalGroup(sent)) {
            node.right = &convertedTo(services.findOrCreateNationalStringTypeDescriptor(sent), *node.right);
        } else if (sent.kind == TD::Class && receiving->kind != TD::Class) {
            // A group sends its bytes into the receiving item's storage, cut or
            // padded to it, whatever the item's class; the item keeps its type.
            node.right = &convertedTo(services.findOrCreateCharstringTypeDescriptor(*receiving), *node.right);
            node.typeDescriptor = receiving;
            node.analyzed = 1;
            return node;
        } else if (receiving->kind == TD::Class && node.right->asLiteralExpression() != nullptr &&
                   in(sent.kind, TD::PackedDecimal, TD::FixedPointBinary) && sent.scale >= 0) {
            // A number written in the statement moves into a group as the text
            // of its digits.
            node.right = &convertedTo(services.findOrCreateCharstringTypeDescriptor(TD::AlphanumericString, sent.digits,
                                                                                    false, false, false, nullptr),
                                      *node.right);
        }
    }
    if (services.isFortran() && isPointerKind(receiving->kind) && receiving->kind == TD::FortranPointer) {
        // A Fortran pointer receives through its target; an array target takes
        // its elements.
        EE_TypeDescriptor* target = receiving->next;
        if (target == nullptr)
            throw EE_Exception(EE_Exception::InternalFailure);
        if (target->kind == TD::Array) {
            if (target->next == nullptr)
                throw EE_Exception(EE_Exception::InternalFailure);
            target = services.findOrCreatePointerTypeDescriptor(*target->next, 0);
        }
        receiving = target;
    }
    if (!cobol && node.kind != BE::Assign && node.kind != BE::CobolSet)
        return compoundAssignment(node, *receiving);
    if (!cobol && !services.isFortran()) {
        // An array receives nothing as a whole (its address would be written
        // over its first elements); a scalar receives no structure or array, a
        // pointer no floating value, a floating item no pointer.
        EE_Name* receiverName = nullptr;
        if (EE_NameExpression* n = node.left->asNameExpression())
            receiverName = n->name;
        else if (EE_MemberExpression* m = node.left->asMemberExpression())
            receiverName = m->member;
        const TD* declared = receiverName != nullptr && receiverName->declaration != nullptr
                                 ? receiverName->declaration->setTypeDescriptor()
                                 : nullptr;
        if (receiving->kind == TD::Array || (declared != nullptr && declared->kind == TD::Array))
            throw EE_Exception(EE_Exception::UnexpectedType, node.left);
        const TD& sent = *node.right->typeDescriptor;
        const bool scalarReceiver = services.isArithmetic(*receiving) || isPointerKind(receiving->kind);
        if (scalarReceiver && (sent.kind == TD::Class || sent.kind == TD::Array))
            throw EE_Exception(EE_Exception::UnexpectedType, node.right);
        if ((isPointerKind(receiving->kind) && services.isFloatingPoint(sent)) ||
            (services.isFloatingPoint(*receiving) && isPointerKind(sent.kind)))
            throw EE_Exception(EE_Exception::UnexpectedType, node.right);
    }
    const bool promote = !cobol || receiving->kind != TD::Class;
    if (promote && services.isArithmetic(*node.right->typeDescriptor))
        node.right = &analyze(integralPromotion(*node.right), LoadValue);
    if (!services.isSameAs(*node.right->typeDescriptor, *receiving))
        node.right = &convertedTo(receiving, *node.right);
    node.typeDescriptor = receiving;
    node.analyzed = 1;
    return node;
}

// E1 op= E2 is E1 = E1 op E2 with E1 evaluated once: the operands are
// checked as the binary operator checks them, the right operand is brought
// to the type the operation runs in (the usual arithmetic conversion of both
// promoted operands; a shift runs in the promoted receiver's type), and the
// code generation converts the result to the receiver. A pointer steps by an
// integral count.
EE_Expression& EE_ExpressionEvaluator::compoundAssignment(EE_BinaryExpression& node, EE_TypeDescriptor& receiving)
{
    // A Fortran LOGICAL takes no part in the arithmetic, as receiver (a
    // pointer's LOGICAL target included) or as the value sent.
    if (services.isFortran() && services.isLogical(receiving))
        throw EE_Exception(EE_Exception::UnexpectedType, node.left);
    evaluator::refuseLogicalInArithmetic(services, *node.right);
    const TD& sent = *node.right->typeDescriptor;
    if (isPointerKind(receiving.kind)) {
        if (node.kind != BE::AddAssign && node.kind != BE::SubtractAssign)
            throw EE_Exception(EE_Exception::UnexpectedOperator, &node);
        if (!services.isIntegral(sent))
            throw EE_Exception(EE_Exception::UnexpectedType, node.right);
        node.right = &convertedTo(&receiving, *node.right);
        node.typeDescriptor = &receiving;
        node.analyzed = 1;
        return node;
    }
    if (isPointerKind(sent.kind) || !services.isArithmetic(sent))
        throw EE_Exception(EE_Exception::UnexpectedType, node.right);
    if (!services.isArithmetic(receiving))
        throw EE_Exception(EE_Exception::UnexpectedType, node.left);
    const bool shift = node.kind == BE::ShiftLeftAssign || node.kind == BE::ShiftRightAssign;
    switch (node.kind) {
    case BE::OrAssign:
    case BE::XorAssign:
    case BE::AndAssign:
    case BE::ShiftLeftAssign:
    case BE::ShiftRightAssign:
    case BE::RemainderAssign:
        if (!services.isIntegral(receiving) || !services.isIntegral(sent))
            throw EE_Exception(EE_Exception::InternalFailure, &node);
        break;
    default: break;
    }
    EE_TypeDescriptor* promoted = typeToPromoteTo(receiving);
    EE_TypeDescriptor& operation = promoted != nullptr ? *promoted : receiving;
    node.right = &analyze(integralPromotion(*node.right), LoadValue);
    if (shift) {
        if (!services.isSameAs(*node.right->typeDescriptor, operation))
            node.right = &convertedTo(&operation, *node.right);
    } else {
        // The right operand toward the receiver's promoted type, then the
        // receiver's promoted type toward the right's: where the receiver would
        // change (unsigned long meeting long long), the right takes that type too.
        node.right = &analyze(arithmeticConversion(*node.right, operation, 0), LoadValue);
        EE_Expression& common = arithmeticConversion(*node.right, *node.right->typeDescriptor, 0, &operation);
        if (&common != node.right)
            node.right = &analyze(common, LoadValue);
    }
    node.typeDescriptor = &receiving;
    node.analyzed = 1;
    return node;
}

EE_Expression& EE_ExpressionEvaluator::analyzePointerAssignOperator(EE_BinaryExpression& node, LoadContext)
{
    if (!services.isFortran())
        throw EE_Exception(EE_Exception::InternalFailure);
    node.left = &analyze(required(node.left), LoadAddress);
    node.right = &analyze(required(node.right), LoadAddress);
    if (node.left->typeDescriptor == nullptr || node.right->typeDescriptor == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    if (!isPointer(*node.left) || node.right->typeDescriptor->kind != TD::NoType)
        throw EE_Exception(EE_Exception::InvalidOperand, &node);
    const TD* pointee = node.left->typeDescriptor->next;
    const TD* target = node.right->typeDescriptor->next;
    if (pointee == nullptr || target == nullptr || !services.isSameAs(*pointee, *target))
        throw EE_Exception(EE_Exception::InternalFailure, &node);
    node.typeDescriptor = node.left->typeDescriptor;
    node.analyzed = 1;
    return node;
}

EE_Expression& EE_ExpressionEvaluator::analyzeConcatOperator(EE_BinaryExpression& node, LoadContext)
{
    node.left = &analyze(required(node.left), LoadValue);
    node.right = &analyze(required(node.right), LoadValue);
    const TD* l = node.left->typeDescriptor;
    const TD* r = node.right->typeDescriptor;
    if (l == nullptr || r == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    if (services.isFortran()) {
        const TD& character = requiredType(services.pointerToFortranCharacterTypeDescriptor());
        for (const TD* t : {l, r})
            if (t->kind != TD::AlphanumericString && !services.isSameAs(*t, character))
                throw EE_Exception(EE_Exception::InternalFailure, &node);
    } else {
        const bool text = services.isSameAs(*l, requiredType(services.pointerToCharTypeDescriptor())) ||
                          services.isSameAs(*l, requiredType(services.pointerToWchartTypeDescriptor()));
        if (!text || !services.isSameAs(*l, *r))
            throw EE_Exception(EE_Exception::InternalFailure, &node);
    }
    node.typeDescriptor = node.left->typeDescriptor;
    node.analyzed = 1;
    return node;
}

namespace {

// A position or length of a reference modification.
bool usablePosition(EE_DebuggerServices& services, const TD& type)
{
    if (type.kind == TD::IndexName || type.kind == TD::IndexDataItem)
        return false;
    return services.isIntegral(type) || services.isFloatingPoint(type) || services.isExternalFloat(type) ||
           services.typeStoresDigits(type);
}

} // namespace

EE_Expression& EE_ExpressionEvaluator::analyzeRefModOperator(EE_BinaryExpression& node, LoadContext)
{
    node.left = &analyze(required(node.left), LoadValue);
    node.right = &analyze(required(node.right), LoadValue);
    const TD& base = *node.left->typeDescriptor;
    const unsigned k = base.kind;
    if (services.isFloatingPoint(base) || k == TD::Pointer || k == TD::Array || k == TD::PackedDecimal ||
        k == TD::FixedPointBinary || k == TD::IndexName || k == TD::IndexDataItem || k == TD::FileDescriptor)
        throw EE_Exception(EE_Exception::BadReferenceModification, &node);
    if (!usablePosition(services, *node.right->typeDescriptor))
        throw EE_Exception(EE_Exception::InternalFailure, &node);
    node.typeDescriptor = services.findOrCreateRefModTypeDescriptor(base, 0);
    node.analyzed = 1;
    return node;
}

EE_Expression& EE_ExpressionEvaluator::analyzeRefModLengthOperator(EE_BinaryExpression& node, LoadContext)
{
    node.left = &analyze(required(node.left), LoadValue);
    node.right = &analyze(required(node.right), LoadValue);
    if (!usablePosition(services, *node.right->typeDescriptor))
        throw EE_Exception(EE_Exception::InternalFailure, &node);
    node.typeDescriptor = services.findOrCreateRefModTypeDescriptor(*node.left->typeDescriptor, 1);
    node.analyzed = 1;
    return node;
}

EE_Expression& EE_ExpressionEvaluator::analyzeSubscriptOperator(EE_BinaryExpression& node, LoadContext)
{
    if (EE_MemberExpression* member = required(node.left).asMemberExpression())
        member->implicitSubscript = 0;
    node.left = &analyze(*node.left, LoadValue);
    // A part of a Fortran array that this subscript goes on subscripting.
    EE_Expression* const partial = _partialSubscript;
    _partialSubscript = nullptr;
    const bool floating = _hasFloatingPoint;
    _hasFloatingPoint = false;
    try {
        node.right = &analyze(required(node.right), LoadValue);
    } catch (...) {
        _hasFloatingPoint = floating;
        throw;
    }
    _hasFloatingPoint = floating;
    if (partial != nullptr && partial != node.left)
        throw EE_Exception(EE_Exception::WrongNumberOfSubscripts, partial);
    auto indexable = [](const EE_Expression& e) {
        const unsigned k = e.typeDescriptor->kind;
        return k == TD::Array || isPointerKind(k);
    };
    if (services.isCobol()) {
        if (!indexable(*node.left))
            throw EE_Exception(EE_Exception::InternalFailure, node.left);
        if (!services.isIntegral(*node.right->typeDescriptor) || node.right->typeDescriptor->kind == TD::IndexDataItem)
            throw EE_Exception(EE_Exception::InternalFailure, node.right);
    } else {
        auto arrayLike = [&](const EE_Expression& e) {
            return indexable(e) || e.typeDescriptor->kind == TD::AlphanumericString;
        };
        if (!arrayLike(*node.left)) {
            if (!arrayLike(*node.right))
                throw EE_Exception(EE_Exception::InternalFailure, &node);
            std::swap(node.left, node.right);
        }
        const TD& index = *node.right->typeDescriptor;
        if (!services.isIntegral(index) && !services.isMultiElement(index))
            throw EE_Exception(EE_Exception::InternalFailure, &node);
    }
    EE_TypeDescriptor* element = node.left->typeDescriptor->next;
    if (element == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    if (EE_SubscriptExpression* subscript = node.asSubscriptExpression()) {
        subscript->arrayType = node.left->typeDescriptor;
        if (services.isFortran()) {
            subscript->rank = static_cast<long long>(services.rankOf(*node.left->typeDescriptor));
            // Its element is an array while subscripts of the rank remain.
            if (element->kind == TD::Array)
                _partialSubscript = &node;
        }
    }
    node.typeDescriptor = element;
    node.analyzed = 1;
    return node;
}

EE_Expression& EE_ExpressionEvaluator::analyzeCommaOperator(EE_BinaryExpression& node, LoadContext)
{
    node.left = &analyze(required(node.left), LoadValue);
    node.right = &analyze(required(node.right), LoadValue);
    if (node.right->typeDescriptor == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    node.typeDescriptor = node.right->typeDescriptor;
    node.analyzed = 1;
    return node;
}
