// The services object: type descriptors.

#include "compiler/CxxevalInterface.h"
#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelServices.h"
#include "compiler/ServicesRefusal.h"
#include "compiler/TypeDescriptorKinds.h"
#include "types/TypeItem.h"

namespace {

// The string-kind flags of the character-string forms, as bits 0-2.
std::uint8_t stringFlags(bool first, bool second, bool third)
{
    return static_cast<std::uint8_t>((first ? 1 : 0) | (second ? 2 : 0) | (third ? 4 : 0));
}

} // namespace

EE_OstrelTypeDescriptor* EE_OstrelServices::descriptorOfPredefinedKind(EE_TypeDescriptor::Kind kind)
{
    return descriptors.findOrCreatePredefinedTypeDescriptor(kind);
}

// clang-format off
EE_TypeDescriptor* EE_OstrelServices::boolTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::Bool); }
EE_TypeDescriptor* EE_OstrelServices::bool16TypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::Logical16); }
EE_TypeDescriptor* EE_OstrelServices::bool32TypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::Logical32); }
EE_TypeDescriptor* EE_OstrelServices::bool64TypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::Logical64); }
EE_TypeDescriptor* EE_OstrelServices::charTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::Char); }
EE_TypeDescriptor* EE_OstrelServices::wchar_tTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::WcharT); }
EE_TypeDescriptor* EE_OstrelServices::signedCharTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::SignedChar); }
EE_TypeDescriptor* EE_OstrelServices::unsignedCharTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::UnsignedChar); }
EE_TypeDescriptor* EE_OstrelServices::signedShortIntTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::Short); }
EE_TypeDescriptor* EE_OstrelServices::unsignedShortIntTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::UnsignedShort); }
EE_TypeDescriptor* EE_OstrelServices::signedIntTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::Int); }
EE_TypeDescriptor* EE_OstrelServices::unsignedIntTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::UnsignedInt); }
EE_TypeDescriptor* EE_OstrelServices::signedLongIntTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::Long); }
EE_TypeDescriptor* EE_OstrelServices::unsignedLongIntTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::UnsignedLong); }
EE_TypeDescriptor* EE_OstrelServices::signedLongLongIntTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::LongLong); }
EE_TypeDescriptor* EE_OstrelServices::unsignedLongLongIntTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::UnsignedLongLong); }
EE_TypeDescriptor* EE_OstrelServices::sizetTypeDescriptor() { return descriptors.sizetTypeDescriptor(); }
EE_TypeDescriptor* EE_OstrelServices::ptrdifftTypeDescriptor() { return descriptors.ptrdifftTypeDescriptor(); }
EE_TypeDescriptor* EE_OstrelServices::floatTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::Float); }
EE_TypeDescriptor* EE_OstrelServices::doubleTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::Double); }
EE_TypeDescriptor* EE_OstrelServices::longDoubleTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::LongDouble); }
EE_TypeDescriptor* EE_OstrelServices::floatQuvHexTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::HexFloat); }
EE_TypeDescriptor* EE_OstrelServices::doubleQuvHexTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::HexDouble); }
EE_TypeDescriptor* EE_OstrelServices::longDoubleQuvHexTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::HexLongDouble); }
EE_TypeDescriptor* EE_OstrelServices::complexFloatTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::ComplexFloat); }
EE_TypeDescriptor* EE_OstrelServices::complexDoubleTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::ComplexDouble); }
EE_TypeDescriptor* EE_OstrelServices::complexLongDoubleTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::ComplexLongDouble); }
EE_TypeDescriptor* EE_OstrelServices::complexFloatQuvHexTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::HexComplexFloat); }
EE_TypeDescriptor* EE_OstrelServices::complexDoubleQuvHexTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::HexComplexDouble); }
EE_TypeDescriptor* EE_OstrelServices::complexLongDoubleQuvHexTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::HexComplexLongDouble); }
EE_TypeDescriptor* EE_OstrelServices::decimal32TypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::Decimal32); }
EE_TypeDescriptor* EE_OstrelServices::decimal64TypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::Decimal64); }
EE_TypeDescriptor* EE_OstrelServices::decimal128TypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::Decimal128); }
EE_TypeDescriptor* EE_OstrelServices::packedDecimalTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::PackedDecimal); }
EE_TypeDescriptor* EE_OstrelServices::pointerToCharTypeDescriptor() { return descriptors.pointerToCharTypeDescriptor(); }
EE_TypeDescriptor* EE_OstrelServices::pointerToWchartTypeDescriptor() { return descriptors.pointerToWchartTypeDescriptor(); }
EE_TypeDescriptor* EE_OstrelServices::pointerToFortranCharacterTypeDescriptor() { return descriptors.pointerToFortranCharacterTypeDescriptor(); }
EE_TypeDescriptor* EE_OstrelServices::pointerToVoidTypeDescriptor() { return descriptors.pointerToVoidTypeDescriptor(); }
EE_TypeDescriptor* EE_OstrelServices::zonedDecimalTypeDescriptor() { return descriptorOfPredefinedKind(EE_TypeDescriptor::ZonedDecimal); }
// clang-format on

EE_TypeDescriptor* EE_OstrelServices::findOrCreatePredefinedTypeDescriptor(EE_TypeDescriptor::Kind kind, int)
{
    return descriptors.findOrCreatePredefinedTypeDescriptor(kind);
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                 const EE_TypeDescriptor& type, int)
{
    return descriptors.findOrCreateTypeDescriptor(kind, const_cast<EE_TypeDescriptor&>(type));
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreatePointerTypeDescriptor(const EE_TypeDescriptor& type, int isConst)
{
    return EE_DebuggerServices::findOrCreatePointerTypeDescriptor(type, isConst);
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateReferenceTypeDescriptor(const EE_TypeDescriptor& type, int isConst)
{
    return EE_DebuggerServices::findOrCreateReferenceTypeDescriptor(type, isConst);
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateAddressOfReferenceTypeDescriptor(const EE_TypeDescriptor& type,
                                                                                   int isConst)
{
    return EE_DebuggerServices::findOrCreateAddressOfReferenceTypeDescriptor(type, isConst);
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateArrayTypeDescriptor(const EE_TypeDescriptor& element,
                                                                      EE_Expression& bound)
{
    const long long count = computeIntegralConstant(bound);
    return descriptors.findOrCreateArrayTypeDescriptor(const_cast<EE_TypeDescriptor&>(element), count);
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateNamedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                      EE_Declaration& declaration, int)
{
    return descriptors.findOrCreateNamedTypeDescriptor(kind, declaration);
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateFixedPointTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                           unsigned int digits, int scale,
                                                                           bool isSigned, EE_DecimalSign sign)
{
    const FixedPointInfoBlock info{digits, scale, static_cast<std::uint8_t>(isSigned ? 1 : 0), sign};
    return descriptors.findOrCreateFixedPointTypeDescriptor(kind, info);
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                           unsigned int length, bool first, bool second,
                                                                           bool third, const char*)
{
    return descriptors.findOrCreateCharstringTypeDescriptor(kind, {length, stringFlags(first, second, third)});
}

// A national picture counts characters of two bytes each.
EE_TypeDescriptor* EE_OstrelServices::findOrCreateNationalStringTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                               unsigned int length, bool first,
                                                                               bool second, bool third,
                                                                               const char* picture)
{
    if (picture != nullptr && scope != nullptr)
        length *= 2;
    return descriptors.findOrCreateNationalStringTypeDescriptor(kind, {length, stringFlags(first, second, third)});
}

// A DBCS picture's length counts the shift-out and shift-in bytes, which
// the string does not hold.
EE_TypeDescriptor* EE_OstrelServices::findOrCreateDbcsStringTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                           unsigned int length, bool first, bool second,
                                                                           bool third, const char* picture)
{
    if (picture != nullptr && scope != nullptr) {
        if (length < 2)
            servicesRefuse();
        length -= 2;
    }
    return descriptors.findOrCreateDbcsStringTypeDescriptor(kind, {length, stringFlags(first, second, third)});
}

namespace {

// The string information of a descriptor's type: its size, no flags.
CharstringInfoBlock sizedLike(const EE_TypeDescriptor& type)
{
    const TypeItem& item = present(EE_OstrelTypeDescriptor::typeOf(type));
    return {static_cast<std::uint32_t>(item.typeSize()), 0};
}

} // namespace

EE_TypeDescriptor* EE_OstrelServices::findOrCreateCharstringTypeDescriptor(const EE_TypeDescriptor& type)
{
    return descriptors.findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::AlphanumericString, sizedLike(type));
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateNationalStringTypeDescriptor(const EE_TypeDescriptor& type)
{
    return descriptors.findOrCreateNationalStringTypeDescriptor(EE_TypeDescriptor::NationalString, sizedLike(type));
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateDbcsStringTypeDescriptor(const EE_TypeDescriptor& type)
{
    return descriptors.findOrCreateDbcsStringTypeDescriptor(EE_TypeDescriptor::DbcsString, sizedLike(type));
}

// A reference modification of a national item or a national group is a
// national string, of a DBCS item a DBCS string, of anything else an
// alphanumeric string.
EE_TypeDescriptor* EE_OstrelServices::findOrCreateRefModTypeDescriptor(const EE_TypeDescriptor& type, int flag)
{
    const TypeItem* base = EE_OstrelTypeDescriptor::typeOf(type);
    EE_TypeDescriptor::Kind kind = EE_TypeDescriptor::AlphanumericString;
    switch (type.kind) {
    case EE_TypeDescriptor::NationalDecimal:
    case EE_TypeDescriptor::NationalString:
    case EE_TypeDescriptor::NationalExternalFloat:
    case EE_TypeDescriptor::NationalEdited:
    case EE_TypeDescriptor::NationalNumericEdited: kind = EE_TypeDescriptor::NationalString; break;
    case EE_TypeDescriptor::Class:
        if (present(base).isNationalGroup())
            kind = EE_TypeDescriptor::NationalString;
        break;
    case EE_TypeDescriptor::DbcsString:
    case EE_TypeDescriptor::DbcsEdited: kind = EE_TypeDescriptor::DbcsString; break;
    default: break;
    }
    return descriptors.findOrCreateRefModTypeDescriptor(kind, flag, base);
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateIndexDataItemTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                              unsigned int length)
{
    return descriptors.findOrCreateIndexDataItemTypeDescriptor(kind, {length});
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateExternalFloatTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                              unsigned int length)
{
    return descriptors.findOrCreateExternalFloatTypeDescriptor(kind, {nullptr, length});
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateAlphaNumericEditedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                                   unsigned int length)
{
    return descriptors.findOrCreateAlphaNumericEditedTypeDescriptor(kind, {nullptr, length});
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateNumericEditedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                              unsigned int length)
{
    return descriptors.findOrCreateNumericEditedTypeDescriptor(kind, {nullptr, length, 0, 0});
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateNationalExternalFloatTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                                      unsigned int length)
{
    return descriptors.findOrCreateNationalExternalFloatTypeDescriptor(kind, {nullptr, length});
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateNationalEditedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                               unsigned int length)
{
    return descriptors.findOrCreateNationalEditedTypeDescriptor(kind, {nullptr, length});
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateNationalNumericEditedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                                      unsigned int length)
{
    return descriptors.findOrCreateNationalNumericEditedTypeDescriptor(kind, {nullptr, length, 0, 0});
}

EE_TypeDescriptor* EE_OstrelServices::findOrCreateDbcsEditedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                           unsigned int length)
{
    return descriptors.findOrCreateDbcsEditedTypeDescriptor(kind, {nullptr, length});
}

// The descriptor of a type of the model, by its TypeKind: derived types over
// the descriptor of the type they are made from, named types with a new
// declaration, the COBOL types with the model's information of them, every
// other kind as a predefined kind.
EE_OstrelTypeDescriptor* EE_OstrelServices::findOrCreateTypeDescriptor(const TypeItem* type)
{
    if (typeKind(&present(type)) == t_namedType && typeClassInfo(type) == nullptr)
        type = reduceType(type);
    if (EE_OstrelTypeDescriptor* found = descriptors.typeTable().find(type))
        return found;
    TypeTable& table = descriptors.typeTable();
    switch (typeKind(&present(type))) {
    case t_pointer:
    case t_f90Pointer:
        return table.pointerLike(type, typeDescriptorKind(type), *findOrCreateTypeDescriptor(typePointedTo(type)));
    case t_unused26:
        return table.pointerLike(type, typeDescriptorKind(type), *findOrCreateTypeDescriptor(typeOfPointee(type)));
    case t_array:
        return table.pointerLike(type, typeDescriptorKind(type), *findOrCreateTypeDescriptor(typeOfArrayElement(type)));
    case t_reference:
    case t_addressOfReference:
        return table.pointerLike(type, typeDescriptorKind(type), *findOrCreateTypeDescriptor(typeReferredTo(type)));
    case t_enum: {
        EE_OstrelDeclaration* declaration = findOrCreateOstrelDeclaration(type, typeName(type), nullptr);
        EE_OstrelTypeDescriptor* descriptor = table.named(type, EE_TypeDescriptor::Enumeration, *declaration);
        declaration->typeDescriptor = descriptor;
        return descriptor;
    }
    case t_namedType: {
        const std::uint32_t flags = present(typeClassInfo(type)).flags;
        EE_TypeDescriptor::Kind kind = EE_TypeDescriptor::Class;
        if ((flags & 5) == 0) {
            if ((flags & 2) == 0)
                servicesRefuse();
            kind = EE_TypeDescriptor::Union;
        }
        EE_OstrelDeclaration* declaration = findOrCreateOstrelDeclaration(type, typeName(type), nullptr);
        EE_OstrelTypeDescriptor* descriptor = table.named(type, kind, *declaration);
        declaration->typeDescriptor = descriptor;
        return descriptor;
    }
    case t_filedesc: {
        EE_OstrelDeclaration* declaration = findOrCreateOstrelDeclaration(type, typeName(type), nullptr);
        return table.named(type, EE_TypeDescriptor::FileDescriptor, *declaration);
    }
    case t_function: return descriptors.findOrCreateFunctionTypeDescriptor(typeFunctionInfo(type), type);
    case t_packedDecimal:
    case t_fixedPointBinary:
    case t_zonedDecimal:
    case t_nationalDecimal:
        return descriptors.findOrCreateFixedPointTypeDescriptor(typeDescriptorKind(type),
                                                                present(typeFixedPointInfo(type)), type);
    case t_characterString:
        if (isCobol())
            return descriptors.findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::AlphanumericString,
                                                                    present(typeCharstringInfo(type)), type);
        return table.pointerLike(type, EE_TypeDescriptor::AlphanumericString,
                                 *findOrCreateTypeDescriptor(typeOfArrayElement(type)));
    case t_nationalString:
        return descriptors.findOrCreateNationalStringTypeDescriptor(EE_TypeDescriptor::NationalString,
                                                                    present(typeNationalStringInfo(type)), type);
    case t_indexName:
        return descriptors.findOrCreateIndexNameTypeDescriptor(EE_TypeDescriptor::IndexName,
                                                               present(typeIndexNameInfo(type)), type);
    case t_externalFloat:
        return descriptors.findOrCreateExternalFloatTypeDescriptor(EE_TypeDescriptor::ExternalFloat,
                                                                   present(typeExternalFloatInfo(type)), type);
    case t_alphaNumericEdited:
        return descriptors.findOrCreateAlphaNumericEditedTypeDescriptor(
            EE_TypeDescriptor::AlphanumericEdited, present(typeAlphaNumericEditedInfo(type)), type);
    case t_numericEdited:
        return descriptors.findOrCreateNumericEditedTypeDescriptor(EE_TypeDescriptor::NumericEdited,
                                                                   present(typeNumericEditedInfo(type)), type);
    case t_nationalExternalFloat:
        return descriptors.findOrCreateNationalExternalFloatTypeDescriptor(
            EE_TypeDescriptor::NationalExternalFloat, present(typeNationalExternalFloatInfo(type)), type);
    case t_nationalEdited:
        return descriptors.findOrCreateNationalEditedTypeDescriptor(EE_TypeDescriptor::NationalEdited,
                                                                    present(typeNationalEditedInfo(type)), type);
    case t_nationalNumericEdited:
        return descriptors.findOrCreateNationalNumericEditedTypeDescriptor(
            EE_TypeDescriptor::NationalNumericEdited, present(typeNationalNumericEditedInfo(type)), type);
    case t_dbcsString:
        return descriptors.findOrCreateDbcsStringTypeDescriptor(EE_TypeDescriptor::DbcsString,
                                                                present(typeDbcsStringInfo(type)), type);
    case t_dbcsEdited:
        return descriptors.findOrCreateDbcsEditedTypeDescriptor(EE_TypeDescriptor::DbcsEdited,
                                                                present(typeDbcsEditedInfo(type)), type);
    default: return descriptors.findOrCreatePredefinedTypeDescriptor(typeDescriptorKind(type), type);
    }
}
