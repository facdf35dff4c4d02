#include "compiler/EE_ExpressionEvaluator.h"

#include <initializer_list>

#include "compiler/EE_OstrelFigConstant.h"
#include "compiler/EE_OstrelTypeDescriptor.h"
#include "compiler/EvaluatorSupport.h"
#include "frontend/EE_CastExpression.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_Exception.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_LiteralExpression.h"
#include "types/TypeItem.h"

namespace {

using TD = EE_TypeDescriptor;

bool in(unsigned kind, unsigned low, unsigned high)
{
    return kind >= low && kind <= high;
}

using evaluator::isPointerKind;

// The real kind of a complex kind; any other kind as it is.
unsigned realKind(unsigned kind)
{
    if (in(kind, TD::ComplexFloat, TD::HexComplexLongDouble))
        return kind - (TD::ComplexFloat - TD::Float);
    return kind;
}

bool hasFraction(const TD& type)
{
    return type.scale < 0;
}

} // namespace

const EE_TypeDescriptor& EE_ExpressionEvaluator::valueType(const EE_TypeDescriptor& type)
{
    if (type.kind == TD::Function) {
        if (type.next == nullptr)
            throw EE_Exception(EE_Exception::InternalFailure);
        return *type.next;
    }
    return type;
}

unsigned EE_ExpressionEvaluator::decimalDigits(const EE_TypeDescriptor& type)
{
    if (type.kind != TD::FixedPointBinary)
        return type.digits;
    if (type.digits <= 4)
        return 5;
    if (type.digits <= 9)
        return 10;
    return type.isSigned != 0 ? 19 : 20;
}

unsigned long long EE_ExpressionEvaluator::byteSize(const EE_TypeDescriptor& type)
{
    const TypeItem* item = EE_OstrelTypeDescriptor::typeOf(type);
    if (item == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return item->typeSize();
}

EE_Expression& EE_ExpressionEvaluator::implicitCast(EE_TypeDescriptor* type, EE_Expression& operand)
{
    if (type == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    EE_CastExpression* cast = services.createCastExpression(EE_CastExpression::Parenthesized, type, &operand);
    if (cast == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    return *cast;
}

EE_Expression& EE_ExpressionEvaluator::convertedTo(EE_TypeDescriptor* type, EE_Expression& operand)
{
    return analyze(implicitCast(type, operand), LoadValue);
}

EE_TypeDescriptor* EE_ExpressionEvaluator::typeToPromoteTo(const EE_TypeDescriptor& type)
{
    switch (type.kind) {
    case TD::Char:
    case TD::SignedChar:
    case TD::UnsignedChar:
    case TD::Short:
    case TD::UnsignedShort:
    case TD::Int:
    case TD::UnsignedInt:
    case TD::Long:
    case TD::UnsignedLong:
    case TD::LongLong:
    case TD::UnsignedLongLong:
        // A bit field promotes by its width, whatever integer its unit is.
        if (EE_TypeDescriptor* field = services.bitFieldPromotion(type))
            return field;
        break;
    default: break;
    }
    switch (type.kind) {
    case TD::Enumeration:
    case TD::WcharT: {
        // The underlying integer type, itself promoted when narrower than int.
        EE_TypeDescriptor* underlying = services.underlyingTypeDescriptor(type);
        if (underlying == nullptr || underlying->kind == TD::Enumeration)
            return underlying;
        if (underlying->kind == TD::WcharT) {
            // A wide character that stands for itself: an unsigned integer of its
            // size, so narrower than int it becomes int.
            long long size = 0;
            if (!services.sizeOf(*underlying, size))
                throw EE_Exception(EE_Exception::InternalFailure);
            if (size < static_cast<long long>(services.sizeOfInt()))
                return services.signedIntTypeDescriptor();
            if (size == static_cast<long long>(services.sizeOfInt()))
                return services.unsignedIntTypeDescriptor();
            return services.unsignedLongLongIntTypeDescriptor();
        }
        EE_TypeDescriptor* promoted = typeToPromoteTo(*underlying);
        if (promoted != nullptr)
            return promoted;
        // The model names a 4-byte int a long; as wide as int it is an int.
        long long size = 0;
        if ((underlying->kind == TD::Long || underlying->kind == TD::UnsignedLong) &&
            services.sizeOfLongInt() != services.sizeOfInt() && services.sizeOf(*underlying, size) &&
            size == static_cast<long long>(services.sizeOfInt()))
            return underlying->kind == TD::Long ? services.signedIntTypeDescriptor()
                                                : services.unsignedIntTypeDescriptor();
        return underlying;
    }
    case TD::Bool:
    case TD::Logical16:
        return services.isFortran() ? services.bool32TypeDescriptor() : services.signedIntTypeDescriptor();
    case TD::Char:
    case TD::SignedChar:
    case TD::UnsignedChar:
    case TD::Short:
    case TD::UnsignedShort: return services.signedIntTypeDescriptor();
    default: return nullptr;
    }
}

EE_Expression& EE_ExpressionEvaluator::integralPromotion(EE_Expression& operand)
{
    if (!operand.analyzed || operand.typeDescriptor == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    if (!services.isArithmetic(*operand.typeDescriptor))
        throw EE_Exception(EE_Exception::UnexpectedType, &operand);
    EE_TypeDescriptor* promoted = typeToPromoteTo(*operand.typeDescriptor);
    if (promoted == nullptr)
        return operand;
    EE_Expression& cast = implicitCast(promoted, operand);
    cast.analyzed = 1;
    return cast;
}

EE_Expression& EE_ExpressionEvaluator::pointerConversion(EE_Expression& operand, const EE_TypeDescriptor& type)
{
    if (operand.typeDescriptor != nullptr && services.isSameAs(*operand.typeDescriptor, type))
        return operand;
    return implicitCast(const_cast<EE_TypeDescriptor*>(&type), operand);
}

EE_TypeDescriptor* EE_ExpressionEvaluator::usualArithmeticTarget(const EE_TypeDescriptor& target,
                                                                 const EE_TypeDescriptor& source,
                                                                 EE_Expression& operand, bool complex)
{
    const unsigned t = realKind(target.kind);
    const unsigned s = realKind(source.kind);
    // The complex form of a floating result when either side was complex.
    auto aware = [&](EE_TypeDescriptor* real) -> EE_TypeDescriptor* {
        if (!complex)
            return real;
        switch (real->kind) {
        case TD::Float: return services.complexFloatTypeDescriptor();
        case TD::Double: return services.complexDoubleTypeDescriptor();
        case TD::LongDouble: return services.complexLongDoubleTypeDescriptor();
        case TD::HexFloat: return services.complexFloatQuvHexTypeDescriptor();
        case TD::HexDouble: return services.complexDoubleQuvHexTypeDescriptor();
        case TD::HexLongDouble: return services.complexLongDoubleQuvHexTypeDescriptor();
        default: return real;
        }
    };
    auto fixed = [&](TD::Kind kind, unsigned digits, int scale, bool isSigned, EE_DecimalSign sign) {
        return services.findOrCreateFixedPointTypeDescriptor(kind, digits, scale, isSigned, sign);
    };
    const bool longIsInt = services.sizeOfLongInt() == services.sizeOfInt();
    const bool longWiderThanInt = services.sizeOfLongInt() > services.sizeOfInt();
    const bool farSources =
        in(s, TD::Float, TD::HexLongDouble) || in(s, TD::Decimal32, TD::FixedPointBinary) || s == TD::ZonedDecimal;
    const unsigned sourceSign = source.decimalSign;
    const unsigned targetSign = target.decimalSign;
    const bool sourceSigned = source.isSigned != 0;
    switch (t) {
    case TD::AlphanumericString:
        if (isPointerKind(source.kind) && (source.next == nullptr || source.next->kind != TD::UnsignedChar))
            throw EE_Exception(EE_Exception::UnexpectedType, &operand);
        return nullptr;
    case TD::Logical32: return s == TD::Logical32 ? nullptr : services.bool32TypeDescriptor();
    case TD::Logical64: return s == TD::Logical64 ? nullptr : services.bool64TypeDescriptor();
    case TD::UnsignedChar:
        if (services.isFortran())
            return nullptr;
        throw EE_Exception(EE_Exception::InternalFailure);
    case TD::Int: return nullptr;
    case TD::UnsignedInt:
        if (s == TD::Int)
            return services.unsignedIntTypeDescriptor();
        if (s == TD::Long && longIsInt)
            return services.unsignedLongIntTypeDescriptor();
        return nullptr;
    case TD::Long:
        if (s == TD::Int)
            return services.signedLongIntTypeDescriptor();
        if (s == TD::UnsignedInt)
            return longWiderThanInt ? services.signedLongIntTypeDescriptor() : services.unsignedLongIntTypeDescriptor();
        return nullptr;
    case TD::UnsignedLong:
        if (s == TD::Int || s == TD::UnsignedInt || s == TD::Long)
            return services.unsignedLongIntTypeDescriptor();
        return nullptr;
    case TD::LongLong:
        if (farSources && s != TD::UnsignedLongLong)
            return nullptr;
        if (s == TD::UnsignedLongLong)
            return nullptr;
        // An unsigned long as wide as long long does not fit in it.
        if (s == TD::UnsignedLong && services.sizeOfLongInt() >= 8)
            return services.unsignedLongLongIntTypeDescriptor();
        return services.signedLongLongIntTypeDescriptor();
    case TD::UnsignedLongLong:
        if (in(s, TD::UnsignedLongLong, TD::HexLongDouble) || in(s, TD::Decimal32, TD::FixedPointBinary) ||
            s == TD::ZonedDecimal)
            return nullptr;
        return services.unsignedLongLongIntTypeDescriptor();
    case TD::Float:
        if (in(s, TD::Float, TD::LongDouble))
            return nullptr;
        if (s == TD::HexFloat)
            return aware(services.floatQuvHexTypeDescriptor());
        if (s == TD::HexDouble)
            return aware(services.doubleQuvHexTypeDescriptor());
        if (s == TD::HexLongDouble)
            return aware(services.longDoubleQuvHexTypeDescriptor());
        return aware(services.floatTypeDescriptor());
    case TD::Double:
        if (s == TD::Double || s == TD::LongDouble)
            return nullptr;
        if (s == TD::HexFloat || s == TD::HexDouble)
            return aware(services.doubleQuvHexTypeDescriptor());
        if (s == TD::HexLongDouble)
            return aware(services.longDoubleQuvHexTypeDescriptor());
        return aware(services.doubleTypeDescriptor());
    case TD::LongDouble:
        if (s == TD::LongDouble)
            return nullptr;
        if (in(s, TD::HexFloat, TD::HexLongDouble))
            return aware(services.longDoubleQuvHexTypeDescriptor());
        return aware(services.longDoubleTypeDescriptor());
    case TD::HexFloat:
        if (s == TD::Double)
            return aware(services.doubleQuvHexTypeDescriptor());
        if (s == TD::LongDouble)
            return aware(services.longDoubleQuvHexTypeDescriptor());
        if (in(s, TD::HexFloat, TD::HexLongDouble))
            return nullptr;
        return aware(services.floatQuvHexTypeDescriptor());
    case TD::HexDouble:
        if (s == TD::LongDouble)
            return aware(services.longDoubleQuvHexTypeDescriptor());
        if (s == TD::HexDouble || s == TD::HexLongDouble)
            return nullptr;
        return aware(services.doubleQuvHexTypeDescriptor());
    case TD::HexLongDouble:
        if (s == TD::HexLongDouble)
            return nullptr;
        return aware(services.longDoubleQuvHexTypeDescriptor());
    case TD::Decimal32: return in(s, TD::Decimal32, TD::Decimal128) ? nullptr : services.decimal32TypeDescriptor();
    case TD::Decimal64: return in(s, TD::Decimal64, TD::Decimal128) ? nullptr : services.decimal64TypeDescriptor();
    case TD::Decimal128: return s == TD::Decimal128 ? nullptr : services.decimal128TypeDescriptor();
    case TD::PackedDecimal:
        if (s == TD::PackedDecimal || in(s, TD::Float, TD::HexLongDouble))
            return nullptr;
        if (s == TD::ExternalFloat || s == TD::NationalExternalFloat)
            return services.longDoubleQuvHexTypeDescriptor();
        if (s == TD::AlphanumericString)
            return fixed(TD::PackedDecimal, byteSize(source), 0, false, EE_DecimalSignNoPosition);
        if (s == TD::FixedPointBinary || s == TD::ZonedDecimal || s == TD::NationalDecimal)
            return fixed(TD::PackedDecimal, decimalDigits(source), source.scale, sourceSigned, EE_DecimalSignTrailing);
        throw EE_Exception(EE_Exception::InternalFailure);
    case TD::FixedPointBinary:
        if (s == TD::AlphanumericString)
            return fixed(TD::FixedPointBinary, byteSize(source), 0, false, EE_DecimalSignNoPosition);
        if (s == TD::ZonedDecimal && (sourceSign == 2 || sourceSign == 4 || sourceSign == 5))
            return fixed(TD::ZonedDecimal, source.digits, source.scale, sourceSigned, EE_DecimalSignTrailing);
        if (s == TD::ExternalFloat || s == TD::NationalExternalFloat)
            return services.longDoubleQuvHexTypeDescriptor();
        return nullptr;
    case TD::ZonedDecimal:
    case TD::NationalDecimal: {
        // Zoned and national decimal targets differ in the sign kinds that keep
        // a signed flag, the sign code they make and an alphanumeric's sign.
        const bool zonedTarget = t == TD::ZonedDecimal;
        auto keepsSign = [&](unsigned sign) { return zonedTarget ? sign == 2 || sign == 4 || sign == 5 : sign == 4; };
        const EE_DecimalSign code = zonedTarget ? EE_DecimalSignTrailing : EE_DecimalSignTrailingSeparate;
        const TD::Kind kind = static_cast<TD::Kind>(t);
        if (s == t)
            return keepsSign(sourceSign) ? fixed(kind, source.digits, source.scale, sourceSigned, code) : nullptr;
        if (s == TD::AlphanumericString)
            return zonedTarget ? fixed(kind, byteSize(source), 0, false, EE_DecimalSignNoPosition)
                               : fixed(kind, byteSize(source), 0, true, code);
        if (in(s, TD::Float, TD::HexLongDouble))
            return nullptr;
        if (s == TD::ExternalFloat || s == TD::NationalExternalFloat)
            return services.longDoubleQuvHexTypeDescriptor();
        if (s == TD::PackedDecimal || s == TD::FixedPointBinary || s == TD::ZonedDecimal || s == TD::NationalDecimal)
            return fixed(kind, decimalDigits(source), source.scale, keepsSign(targetSign) ? sourceSigned : true, code);
        throw EE_Exception(EE_Exception::InternalFailure);
    }
    case TD::ExternalFloat:
    case TD::NationalExternalFloat:
        return in(s, TD::Float, TD::HexLongDouble) ? nullptr : services.longDoubleQuvHexTypeDescriptor();
    default: throw EE_Exception(EE_Exception::UnexpectedType, &operand);
    }
}

EE_Expression& EE_ExpressionEvaluator::arithmeticConversion(EE_Expression& operand, const EE_TypeDescriptor& target,
                                                            int mode, const EE_TypeDescriptor* given)
{
    if (!operand.analyzed || operand.typeDescriptor == nullptr)
        throw EE_Exception(EE_Exception::InternalFailure);
    const TD& source = valueType(given != nullptr ? *given : *operand.typeDescriptor);
    const TD& to = valueType(target);
    if (!services.isArithmetic(source))
        throw EE_Exception(EE_Exception::UnexpectedType, &operand);
    const bool sourceDecimal = in(source.kind, TD::Decimal32, TD::Decimal128);
    const bool targetDecimal = in(to.kind, TD::Decimal32, TD::Decimal128);
    const bool sourceBinary = in(source.kind, TD::Float, TD::HexComplexLongDouble);
    const bool targetBinary = in(to.kind, TD::Float, TD::HexComplexLongDouble);
    if ((sourceDecimal && targetBinary) || (targetDecimal && sourceBinary))
        throw EE_Exception(EE_Exception::InternalFailure, &operand);
    if (!services.isArithmetic(to))
        throw EE_Exception(EE_Exception::InternalFailure);
    const bool complex = realKind(source.kind) != source.kind || realKind(to.kind) != to.kind;

    if (mode == 1) {
        if ((source.kind == TD::Long && to.kind == TD::UnsignedInt) ||
            (source.kind == TD::UnsignedInt && to.kind == TD::Long)) {
            if (services.sizeOfLongInt() < services.sizeOfInt())
                throw EE_Exception(EE_Exception::InternalFailure);
            if (services.sizeOfLongInt() == services.sizeOfInt())
                return implicitCast(services.unsignedLongIntTypeDescriptor(), operand);
        }
        return implicitCast(const_cast<TD*>(&to), operand);
    }

    EE_TypeDescriptor* result = usualArithmeticTarget(to, source, operand, complex);
    if (result == nullptr && complex && realKind(source.kind) == source.kind) {
        switch (source.kind) {
        case TD::Float: result = services.complexFloatTypeDescriptor(); break;
        case TD::Double: result = services.complexDoubleTypeDescriptor(); break;
        case TD::LongDouble: result = services.complexLongDoubleTypeDescriptor(); break;
        case TD::HexFloat: result = services.complexFloatQuvHexTypeDescriptor(); break;
        case TD::HexDouble: result = services.complexDoubleQuvHexTypeDescriptor(); break;
        case TD::HexLongDouble: result = services.complexLongDoubleQuvHexTypeDescriptor(); break;
        default: break;
        }
    }
    if (result == nullptr)
        return operand;
    return implicitCast(result, operand);
}

namespace {

unsigned figurativeKind(EE_Expression& operand)
{
    EE_FigConstantExpression* fig = operand.asFigConstantExpression();
    if (fig == nullptr || fig->value == nullptr)
        return 0;
    return static_cast<EE_OstrelFigConstant*>(fig->value)->tokenKind;
}

bool isLiteral(EE_Expression& operand)
{
    return operand.asLiteralExpression() != nullptr;
}

bool hexadecimalLiteral(const TD& type)
{
    const TypeItem* item = EE_OstrelTypeDescriptor::typeOf(type);
    return item != nullptr && item->isHexadecimalLiteral();
}

bool referenceModified(const TD& type)
{
    return static_cast<const EE_OstrelTypeDescriptor&>(type).referenceModified != 0;
}

} // namespace

int EE_ExpressionEvaluator::relationalConversion(EE_Expression** firstSlot, EE_Expression** secondSlot)
{
    EE_Expression*& first = *firstSlot;
    EE_Expression*& second = *secondSlot;
    auto castTo = [&](EE_Expression*& slot, EE_TypeDescriptor* type) { slot = &convertedTo(type, *slot); };
    // Edited items and national groups compare as strings of their size.
    for (EE_Expression** slot : {firstSlot, secondSlot}) {
        const TD& type = valueType(*(*slot)->typeDescriptor);
        switch (type.kind) {
        case TD::Class: {
            const TypeItem* item = EE_OstrelTypeDescriptor::typeOf(type);
            if (item != nullptr && item->isNationalGroup())
                castTo(*slot, services.findOrCreateNationalStringTypeDescriptor(type));
            break;
        }
        case TD::AlphanumericEdited:
        case TD::NumericEdited: castTo(*slot, services.findOrCreateCharstringTypeDescriptor(type)); break;
        case TD::NationalEdited:
        case TD::NationalNumericEdited: castTo(*slot, services.findOrCreateNationalStringTypeDescriptor(type)); break;
        case TD::DbcsEdited: castTo(*slot, services.findOrCreateDbcsStringTypeDescriptor(type)); break;
        default: break;
        }
    }
    const TD& a = valueType(*first->typeDescriptor);
    const TD& b = valueType(*second->typeDescriptor);
    const unsigned A = a.kind;
    const unsigned B = b.kind;
    auto alphanumericOf = [&](unsigned length) {
        return services.findOrCreateCharstringTypeDescriptor(TD::AlphanumericString, length, false, false, false,
                                                             nullptr);
    };
    auto nationalOf = [&](unsigned length) {
        return services.findOrCreateNationalStringTypeDescriptor(TD::NationalString, length, false, false, false,
                                                                 nullptr);
    };
    // A number met by text compares as text of its digits (two bytes a digit
    // in national text): a packed or binary literal and a zoned or national
    // decimal item, none with fraction digits. -1 when the second is no such
    // number.
    auto numberAsText = [&](auto stringOf, unsigned width) -> int {
        if (B == TD::PackedDecimal || B == TD::FixedPointBinary) {
            if (!isLiteral(*second) || hasFraction(b))
                return 0;
            castTo(second, stringOf(width * decimalDigits(b)));
            return 1;
        }
        if (B == TD::ZonedDecimal || B == TD::NationalDecimal) {
            if (hasFraction(b))
                return 0;
            castTo(second, stringOf(width * b.digits));
            return 1;
        }
        return -1;
    };
    if (A < TD::Class || A > TD::DbcsString)
        return 1;
    switch (A) {
    case TD::Class:
        if (!in(B, TD::Float, TD::NationalDecimal))
            return 1;
        if (in(B, TD::Float, TD::HexLongDouble))
            return 0;
        if (B == TD::PackedDecimal || B == TD::FixedPointBinary)
            return isLiteral(*second) && !hasFraction(b) ? 1 : 0;
        if (B == TD::ZonedDecimal || B == TD::NationalDecimal)
            return hasFraction(b) ? 0 : 1;
        return 1;
    case TD::AlphanumericString: {
        const unsigned fig = figurativeKind(*first);
        if (fig != 0) {
            if ((B == TD::AlphanumericString || B == TD::NationalString) && !referenceModified(b))
                castTo(first, B == TD::AlphanumericString ? services.findOrCreateCharstringTypeDescriptor(b)
                                                          : services.findOrCreateNationalStringTypeDescriptor(b));
            switch (fig) {
            case 110:
            case 125: // ZERO, ZEROS, ZEROES
                if (in(B, TD::Float, TD::HexLongDouble) || B == TD::PackedDecimal || B == TD::FixedPointBinary ||
                    B == TD::ZonedDecimal || B == TD::NationalDecimal || B == TD::ExternalFloat ||
                    B == TD::NationalExternalFloat)
                    castTo(first, services.longDoubleQuvHexTypeDescriptor());
                return 1;
            case 109:
            case 124: // SPACE, SPACES
                if (B == TD::DbcsString)
                    castTo(first, services.findOrCreateDbcsStringTypeDescriptor(b));
                [[fallthrough]];
            case 103:
            case 120:
            case 105:
            case 121:
            case 108:
            case 123: // HIGH-VALUE(S), LOW-VALUE(S), QUOTE(S)
                if (!in(B, TD::Float, TD::NationalExternalFloat))
                    return 1;
                if (in(B, TD::Float, TD::HexLongDouble) || B == TD::PackedDecimal || B == TD::FixedPointBinary)
                    return 0;
                if (B == TD::ZonedDecimal || B == TD::NationalDecimal) {
                    if (hasFraction(b))
                        return 0;
                    castTo(first, alphanumericOf(b.digits));
                    castTo(second, alphanumericOf(b.digits));
                    return 1;
                }
                if (B == TD::ExternalFloat) {
                    castTo(first, services.findOrCreateCharstringTypeDescriptor(b));
                    castTo(second, services.findOrCreateCharstringTypeDescriptor(b));
                } else if (B == TD::NationalExternalFloat) {
                    castTo(first, services.findOrCreateNationalStringTypeDescriptor(b));
                    castTo(second, services.findOrCreateNationalStringTypeDescriptor(b));
                }
                return 1;
            default: return 1;
            }
        }
        if (!in(B, TD::Float, TD::NationalExternalFloat))
            return 1;
        if (in(B, TD::Float, TD::HexLongDouble))
            return 0;
        if (const int allowed = numberAsText(alphanumericOf, 1); allowed >= 0)
            return allowed;
        if (B == TD::ExternalFloat)
            castTo(second, services.findOrCreateCharstringTypeDescriptor(b));
        else if (B == TD::NationalExternalFloat)
            castTo(second, services.findOrCreateNationalStringTypeDescriptor(b));
        return 1;
    }
    case TD::Float:
    case TD::Double:
    case TD::LongDouble:
    case TD::HexFloat:
    case TD::HexDouble:
    case TD::HexLongDouble:
        if (B == TD::PackedDecimal || B == TD::FixedPointBinary || B == TD::ZonedDecimal || B == TD::NationalDecimal ||
            B == TD::ExternalFloat || B == TD::NationalExternalFloat)
            castTo(second, first->typeDescriptor);
        return 1;
    case TD::PackedDecimal:
    case TD::ZonedDecimal:
    case TD::NationalDecimal:
        if (B == TD::FixedPointBinary) {
            // The binary becomes a decimal of the first's kind with its own digits,
            // scale and sign, so that the two compare at the larger scale: cast to
            // the first's own picture, 6.5 would be cut to 6 and -6 lose its sign.
            castTo(second, services.findOrCreateFixedPointTypeDescriptor(
                               static_cast<TD::Kind>(A), decimalDigits(b), b.scale, true,
                               A == TD::NationalDecimal ? EE_DecimalSignTrailingSeparate : EE_DecimalSignTrailing));
        } else if (B == TD::ExternalFloat || B == TD::NationalExternalFloat) {
            castTo(second, first->typeDescriptor);
        }
        return 1;
    case TD::FixedPointBinary:
        if (B == TD::ExternalFloat || B == TD::NationalExternalFloat)
            castTo(second, first->typeDescriptor);
        return 1;
    case TD::NationalString:
        if (figurativeKind(*second) != 0) {
            if (!referenceModified(a))
                castTo(second, services.findOrCreateNationalStringTypeDescriptor(a));
            return 1;
        }
        if (B == TD::AlphanumericString) {
            // A hexadecimal literal is taken as the bytes it spells.
            if (!hexadecimalLiteral(b))
                castTo(second, nationalOf(static_cast<unsigned>(2 * byteSize(b))));
            return 1;
        }
        if (in(B, TD::Float, TD::HexLongDouble))
            return 0;
        if (const int allowed = numberAsText(nationalOf, 2); allowed >= 0)
            return allowed;
        if (B == TD::ExternalFloat)
            castTo(second, nationalOf(static_cast<unsigned>(2 * byteSize(b))));
        else if (B == TD::NationalExternalFloat || B == TD::DbcsString)
            castTo(second, services.findOrCreateNationalStringTypeDescriptor(b));
        return 1;
    case TD::IndexName:
        if (B == TD::PackedDecimal || B == TD::FixedPointBinary || B == TD::ZonedDecimal || B == TD::NationalDecimal)
            return hasFraction(b) ? 0 : 1;
        return B == TD::IndexName || B == TD::IndexDataItem ? 1 : 0;
    case TD::IndexDataItem:
        if (B == TD::IndexName) {
            castTo(second, services.findOrCreateIndexDataItemTypeDescriptor(TD::IndexDataItem,
                                                                            static_cast<unsigned>(byteSize(a))));
            return 1;
        }
        return B == TD::IndexDataItem ? 1 : 0;
    case TD::ExternalFloat:
    case TD::NationalExternalFloat:
        if (B == TD::ExternalFloat || B == TD::NationalExternalFloat)
            castTo(second, services.longDoubleQuvHexTypeDescriptor());
        return 1;
    case TD::DbcsString: {
        if (B == TD::AlphanumericString) {
            const unsigned fig = figurativeKind(*second);
            return fig == 109 || fig == 124 ? 1 : 0;
        }
        if (in(B, TD::Float, TD::HexLongDouble) || B == TD::PackedDecimal || B == TD::FixedPointBinary ||
            B == TD::ZonedDecimal || B == TD::NationalDecimal || B == TD::ExternalFloat ||
            B == TD::NationalExternalFloat)
            return 0;
        return 1;
    }
    default: return 1;
    }
}
