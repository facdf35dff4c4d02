#include "frontend/EE_DebuggerServices.h"

#include <climits>

#include "frontend/EE_Exception.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_LiteralValue.h"
#include "frontend/EE_OffsetofExpression.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_SizeofTypeExpression.h"

EE_DebuggerServices::~EE_DebuggerServices() = default;

EE_TypeDescriptor* EE_DebuggerServices::findOrCreatePointerTypeDescriptor(const EE_TypeDescriptor& type, int isConst)
{
    return findOrCreateTypeDescriptor(EE_TypeDescriptor::Pointer, type, isConst);
}

EE_TypeDescriptor* EE_DebuggerServices::findOrCreateReferenceTypeDescriptor(const EE_TypeDescriptor& type, int isConst)
{
    return findOrCreateTypeDescriptor(EE_TypeDescriptor::Reference, type, isConst);
}

EE_TypeDescriptor* EE_DebuggerServices::findOrCreateAddressOfReferenceTypeDescriptor(const EE_TypeDescriptor& type,
                                                                                     int isConst)
{
    return findOrCreateTypeDescriptor(EE_TypeDescriptor::AddressOfReference, type, isConst);
}

// ---------------------------------------------------------------------------
// Integral constant folding. Arithmetic is done on unsigned 64-bit values so
// that it wraps as the debuggee's would instead of overflowing.
// ---------------------------------------------------------------------------

namespace {

using u64 = unsigned long long;

long long wrap(u64 value)
{
    return static_cast<long long>(value);
}

using evaluator::refuse;

bool isDigitStoringKind(unsigned kind)
{
    switch (kind) {
    case EE_TypeDescriptor::PackedDecimal:
    case EE_TypeDescriptor::FixedPointBinary:
    case EE_TypeDescriptor::ZonedDecimal:
    case EE_TypeDescriptor::NationalDecimal:
    case EE_TypeDescriptor::NumericEdited:
    case EE_TypeDescriptor::NationalNumericEdited: return true;
    default: return false;
    }
}

} // namespace

long long EE_DebuggerServices::computeIntegralConstant(EE_Expression& expression)
{
    switch (expression.kind) {
    case EE_Expression::LiteralNode:
        if (EE_LiteralExpression* literal = expression.asLiteralExpression())
            return computeIntegralConstant(*literal);
        break;
    case EE_Expression::UnaryNode:
        if (EE_UnaryExpression* unary = expression.asUnaryExpression())
            return computeIntegralConstant(*unary);
        break;
    case EE_Expression::BinaryNode:
        if (EE_BinaryExpression* binary = expression.asBinaryExpression())
            return computeIntegralConstant(*binary);
        break;
    case EE_Expression::ParenthesesNode:
        if (EE_ParenthesesExpression* parentheses = expression.asParenthesesExpression())
            return computeIntegralConstant(*parentheses);
        break;
    case EE_Expression::CastNode:
        if (EE_CastExpression* cast = expression.asCastExpression()) {
            if (cast->operand == nullptr)
                refuse(&expression);
            return computeIntegralConstant(*cast->operand);
        }
        break;
    case EE_Expression::SizeofTypeNode:
        if (EE_SizeofTypeExpression* sizeofType = expression.asSizeofTypeExpression())
            return computeIntegralConstant(*sizeofType);
        break;
    case EE_Expression::OffsetofNode:
        if (EE_OffsetofExpression* offsetofNode = expression.asOffsetofExpression())
            return computeIntegralConstant(*offsetofNode);
        break;
    case EE_Expression::FigConstantNode:
        if (EE_FigConstantExpression* figConstant = expression.asFigConstantExpression())
            return computeIntegralConstant(*figConstant);
        break;
    default: throw EE_Exception(EE_Exception::UnsupportedOperator, &expression);
    }
    // A node whose kind does not match its class.
    refuse();
}

long long EE_DebuggerServices::computeIntegralConstant(EE_LiteralExpression& expression)
{
    EE_LiteralValue* value = expression.value;
    if (value == nullptr)
        refuse();
    switch (value->kind) {
    case EE_LiteralValue::Integral:
    case EE_LiteralValue::Character:
    case EE_LiteralValue::WideCharacter:
    case EE_LiteralValue::Hexadecimal: return integerValue(*value);
    case EE_LiteralValue::PackedDecimal:
    case EE_LiteralValue::FixedPointBinary:
    case EE_LiteralValue::ZonedDecimal: {
        const EE_TypeDescriptor* type = value->typeDescriptor();
        if (type == nullptr || !isDigitStoringKind(type->kind))
            refuse();
        if (type->scale != 0)
            refuse(&expression);
        return integerValue(*value);
    }
    case EE_LiteralValue::Real:
    case EE_LiteralValue::DecimalReal:
    case EE_LiteralValue::Alphanumeric:
    case EE_LiteralValue::String:
    case EE_LiteralValue::WideString: refuse(&expression);
    default: refuse();
    }
}

long long EE_DebuggerServices::computeIntegralConstant(EE_UnaryExpression& expression)
{
    switch (expression.kind) {
    case EE_UnaryExpression::BitwiseNot:
    case EE_UnaryExpression::LogicalNot:
    case EE_UnaryExpression::Negate:
    case EE_UnaryExpression::UnaryPlus: {
        if (expression.operand == nullptr)
            refuse(&expression);
        long long v = computeIntegralConstant(*expression.operand);
        switch (expression.kind) {
        case EE_UnaryExpression::BitwiseNot: return wrap(~static_cast<u64>(v));
        case EE_UnaryExpression::LogicalNot: return v == 0 ? 1 : 0;
        case EE_UnaryExpression::Negate: return wrap(0ULL - static_cast<u64>(v));
        default: return v;
        }
    }
    case EE_UnaryExpression::SizeofOperand: {
        long long size = 0;
        const EE_TypeDescriptor* type = static_cast<EE_Expression&>(expression).typeDescriptor;
        if (type == nullptr || !sizeOf(*type, size))
            refuse(&expression);
        return size;
    }
    case EE_UnaryExpression::AddressOf:
    case EE_UnaryExpression::Indirection:
    case EE_UnaryExpression::TypeidOperand:
    case EE_UnaryExpression::RealPart:
    case EE_UnaryExpression::ImaginaryPart: refuse(&expression);
    default: refuse();
    }
}

long long EE_DebuggerServices::computeIntegralConstant(EE_BinaryExpression& expression)
{
    if (expression.left == nullptr || expression.right == nullptr)
        refuse(&expression);
    long long l = computeIntegralConstant(*expression.left);
    long long r = computeIntegralConstant(*expression.right);
    u64 ul = static_cast<u64>(l);
    u64 ur = static_cast<u64>(r);
    switch (expression.kind) {
    case EE_BinaryExpression::BitwiseOr: return wrap(ul | ur);
    case EE_BinaryExpression::BitwiseXor: return wrap(ul ^ ur);
    case EE_BinaryExpression::BitwiseAnd: return wrap(ul & ur);
    case EE_BinaryExpression::Equal: return l == r ? 1 : 0;
    case EE_BinaryExpression::NotEqual: return l != r ? 1 : 0;
    case EE_BinaryExpression::GreaterOrEqual: return l >= r ? 1 : 0;
    case EE_BinaryExpression::LessOrEqual: return l <= r ? 1 : 0;
    case EE_BinaryExpression::Greater: return l > r ? 1 : 0;
    case EE_BinaryExpression::Less: return l < r ? 1 : 0;
    case EE_BinaryExpression::ShiftLeft: return wrap(ul << (ur & 63));
    case EE_BinaryExpression::ShiftRight:
        // Arithmetic: the sign is copied into the vacated bits.
        return l >> (ur & 63);
    case EE_BinaryExpression::Add: return wrap(ul + ur);
    case EE_BinaryExpression::Subtract: return wrap(ul - ur);
    case EE_BinaryExpression::Multiply: return wrap(ul * ur);
    case EE_BinaryExpression::Divide:
    case EE_BinaryExpression::Remainder:
        // Neither a zero divisor nor the one quotient that does not fit (the
        // most negative value divided by -1) has a value.
        if (r == 0 || (l == LLONG_MIN && r == -1))
            refuse(&expression);
        return expression.kind == EE_BinaryExpression::Divide ? l / r : l % r;
    case EE_BinaryExpression::LogicalOr:
    case EE_BinaryExpression::LogicalAnd:
    case EE_BinaryExpression::PointerToMemberThroughPointer:
    case EE_BinaryExpression::PointerToMember:
    case EE_BinaryExpression::Subscript: refuse(&expression);
    default: refuse();
    }
}

long long EE_DebuggerServices::computeIntegralConstant(EE_ParenthesesExpression& expression)
{
    if (expression.inner == nullptr)
        refuse(&expression);
    return computeIntegralConstant(*expression.inner);
}

long long EE_DebuggerServices::computeIntegralConstant(EE_SizeofTypeExpression& expression)
{
    long long size = 0;
    if (expression.type == nullptr || !sizeOf(*expression.type, size))
        refuse(&expression);
    return size;
}

long long EE_DebuggerServices::computeIntegralConstant(EE_OffsetofExpression&)
{
    return 0;
}

long long EE_DebuggerServices::computeIntegralConstant(EE_FigConstantExpression&)
{
    refuse();
}

// ---------------------------------------------------------------------------
// Type predicates. One row per type kind, one column per predicate:
//   '0' false, '1' true, 'E' no answer (EE_Exception code 2),
//   'S' integral when the scale is 0 or more,
//   'U' signed as the underlying type.
// ---------------------------------------------------------------------------

namespace {

enum Column {
    Logical,
    Arithmetic,
    Integral,
    Signed,
    Group,
    MultiElement,
    Complex,
    BinaryFloatingPoint,
    DecimalFloatingPoint,
    ExternalFloatColumn,
    StoresDigits
};

const char* const predicateRows[EE_TypeDescriptor::LastKind + 1] = {
    "EEEEEEEEEEE", // 0 no type
    "01000000000", // 1 pointer
    "00000000000", // 2 reference
    "01000100000", // 3 array
    "00001000000", // 4 class
    "EEEEEEEEEEE", // 5 function
    "00000000000", // 6 union
    "01100000000", // 7 enumeration
    "01000000000", // 8
    "01000100000", // 9 alphanumeric string
    "0E0EE1EEEE0", // 10
    "11100000000", // 11 bool
    "11100000000", // 12
    "11100000000", // 13
    "11100000000", // 14
    "01100000000", // 15 char
    "01110000000", // 16 signed char
    "01100000000", // 17 unsigned char
    "01110000000", // 18 short
    "01100000000", // 19 unsigned short
    "01110000000", // 20 int
    "01100000000", // 21 unsigned int
    "01110000000", // 22 long
    "01100000000", // 23 unsigned long
    "01110000000", // 24 long long
    "01100000000", // 25 unsigned long long
    "01000001000", // 26 float
    "01000001000", // 27 double
    "01000001000", // 28 long double
    "01000001000", // 29 hexadecimal float
    "01000001000", // 30 hexadecimal double
    "01000001000", // 31 hexadecimal long double
    "01000010000", // 32 complex float
    "01000010000", // 33 complex double
    "01000010000", // 34 complex long double
    "EEEEEEEEEEE", // 35 hexadecimal complex float
    "EEEEEEEEEEE", // 36 hexadecimal complex double
    "EEEEEEEEEEE", // 37 hexadecimal complex long double
    "00000000000", // 38 void
    "011U0000000", // 39 wchar_t
    "01000000100", // 40 decimal32
    "01000000100", // 41 decimal64
    "01000000100", // 42 decimal128
    "01S00000001", // 43 packed decimal
    "01S00000001", // 44 binary fixed point
    "010E010E000", // 45 array section
    "010E000E000", // 46
    "010E000E000", // 47
    "010E000E000", // 48
    "01S00000001", // 49 zoned decimal
    "01S00000001", // 50 national decimal
    "01000100000", // 51 national string
    "01100000000", // 52 index name
    "01100000000", // 53 index data item
    "E10E0E00010", // 54 external float
    "E1EE0E00000", // 55 alphanumeric edited
    "E1EE0E00001", // 56 numeric edited
    "E10E0E00010", // 57 national external float
    "E1EE0E00000", // 58 national edited
    "E1EE0E00001", // 59 national numeric edited
    "E1EE0EE0000", // 60 DBCS string
    "E1EE0EE0000", // 61 DBCS edited
    "EEEEEEEEEEE", // 62
    "E10EEEEEEE0", // 63 address of a reference
};

// The table's answer for one kind and column: '0', '1', 'S' or 'U'; a kind
// outside the table or an 'E' entry refuses.
char predicate(const EE_TypeDescriptor& type, Column column)
{
    unsigned kind = type.kind;
    if (kind > EE_TypeDescriptor::LastKind)
        refuse();
    char answer = predicateRows[kind][column];
    if (answer == 'E')
        refuse();
    return answer;
}

bool simplePredicate(const EE_TypeDescriptor& type, Column column)
{
    return predicate(type, column) == '1';
}

} // namespace

bool EE_DebuggerServices::isLogical(const EE_TypeDescriptor& type) const
{
    return simplePredicate(type, Logical);
}

bool EE_DebuggerServices::isArithmetic(const EE_TypeDescriptor& type) const
{
    return simplePredicate(type, Arithmetic);
}

bool EE_DebuggerServices::isIntegral(const EE_TypeDescriptor& type) const
{
    char answer = predicate(type, Integral);
    if (answer == 'S')
        return type.scale >= 0;
    return answer == '1';
}

bool EE_DebuggerServices::isGroup(const EE_TypeDescriptor& type) const
{
    return simplePredicate(type, Group);
}

bool EE_DebuggerServices::isMultiElement(const EE_TypeDescriptor& type) const
{
    return simplePredicate(type, MultiElement);
}

bool EE_DebuggerServices::isComplex(const EE_TypeDescriptor& type) const
{
    return simplePredicate(type, Complex);
}

bool EE_DebuggerServices::isExternalFloat(const EE_TypeDescriptor& type) const
{
    return simplePredicate(type, ExternalFloatColumn);
}

bool EE_DebuggerServices::isDecimalFloatingPoint(const EE_TypeDescriptor& type) const
{
    return simplePredicate(type, DecimalFloatingPoint);
}

bool EE_DebuggerServices::isBinaryFloatingPoint(const EE_TypeDescriptor& type) const
{
    return simplePredicate(type, BinaryFloatingPoint);
}

bool EE_DebuggerServices::isFloatingPoint(const EE_TypeDescriptor& type) const
{
    return isBinaryFloatingPoint(type) || isDecimalFloatingPoint(type);
}

bool EE_DebuggerServices::typeStoresDigits(const EE_TypeDescriptor& type) const
{
    return simplePredicate(type, StoresDigits);
}

bool EE_DebuggerServices::isSigned(const EE_TypeDescriptor& type)
{
    char answer = predicate(type, Signed);
    if (answer != 'U')
        return answer == '1';
    // wchar_t is as signed as the type it stands for; one step only, so a
    // services object that answers wchar_t again cannot make this loop.
    const EE_TypeDescriptor* underlying = underlyingTypeDescriptor(type);
    if (underlying == nullptr || underlying->kind == EE_TypeDescriptor::WcharT)
        refuse();
    return predicate(*underlying, Signed) == '1';
}

EE_TypeDescriptor::Kind EE_DebuggerServices::nonComplexKind(const EE_TypeDescriptor& type) const
{
    switch (type.kind) {
    case EE_TypeDescriptor::ComplexFloat: return EE_TypeDescriptor::Float;
    case EE_TypeDescriptor::ComplexDouble: return EE_TypeDescriptor::Double;
    case EE_TypeDescriptor::ComplexLongDouble: return EE_TypeDescriptor::LongDouble;
    default: refuse();
    }
}

int indebug(const char*)
{
    return 0;
}
