#include "compiler/EE_OstrelTypeDescriptorTable.h"

#include "compiler/EE_OstrelDeclaration.h"
#include "frontend/EE_StorageArena.h"
#include "compiler/TypeDescriptorKinds.h"
#include "compiler/ServicesRefusal.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "types/TypeItem.h"

namespace {

const TypeItem* required(const TypeItem* type)
{
    return &present(type);
}

// Has the model make the type of an information form when none is given:
// the kind asked for must be the form's.
template <class Create>
const TypeItem* typeFor(const TypeItem* type, EE_TypeDescriptor::Kind kind, TypeKind formKind, Create create)
{
    if (type != nullptr)
        return type;
    if (ostrelTypeKind(kind) != formKind)
        servicesRefuse();
    return required(create());
}

} // namespace

EE_OstrelTypeDescriptorTable::EE_OstrelTypeDescriptorTable(EE_StorageArena& a, EE_OstrelServices& services)
    : arena(a), types(a, services)
{}

EE_OstrelTypeDescriptor*
EE_OstrelTypeDescriptorTable::findOrCreatePredefinedTypeDescriptor(EE_TypeDescriptor::Kind kind, const TypeItem* type)
{
    if (kind < 11 || kind > EE_TypeDescriptor::LastKind)
        servicesRefuse();
    // A bit field is described by itself: as the kind's descriptor (its
    // unit as wide as a type of the kind that the expression names too) it
    // would promote as that type, and sizeof and & would take it for one.
    if (type != nullptr && bitField(*type))
        return types.plain(type, kind);
    EE_OstrelTypeDescriptor*& cached = predefined[kind - 10];
    if (cached != nullptr) {
        // A type of the kind with another size than the cached one (a 4-byte
        // int where the kind's first type is an 8-byte long) is described
        // by itself, so that its values keep their size.
        if (type == nullptr || cached->key == type || cached->key->typeSize() == type->typeSize())
            return cached;
        return types.plain(type, kind);
    }
    if (type != nullptr) {
        // The same for a first type of the kind whose size is not that of the
        // model's own type of the kind: it is not the kind's descriptor.
        const TypeItem* model = nullptr;
        try {
            model = findPredefinedType(ostrelTypeKind(kind));
        } catch (...) {
            model = nullptr;
        }
        if (model != nullptr && model != type && model->typeSize() != type->typeSize())
            return types.plain(type, kind);
    }
    if (type == nullptr) {
        const TypeKind modelKind = ostrelTypeKind(kind);
        try {
            type = findPredefinedType(modelKind);
        } catch (const InvalidOp&) {
            // The model has no such type in this environment.
            servicesRefuse();
        }
    }
    cached = types.plain(required(type), kind);
    return cached;
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                                  EE_TypeDescriptor& target,
                                                                                  const TypeItem* type)
{
    if (type == nullptr) {
        const TypeItem* targetType = required(EE_OstrelTypeDescriptor::typeOf(target));
        switch (kind) {
        case EE_TypeDescriptor::Reference: type = createReferenceTo(targetType); break;
        case EE_TypeDescriptor::Pointer:
        case EE_TypeDescriptor::FortranPointer: type = createPointerTo(targetType); break;
        case EE_TypeDescriptor::AddressOfReference: type = createAddressOfReferenceTo(targetType); break;
        default: servicesRefuse();
        }
    }
    return types.pointerLike(required(type), kind, target);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateArrayTypeDescriptor(EE_TypeDescriptor& element,
                                                                                       long long count,
                                                                                       const TypeItem* type,
                                                                                       EE_TypeDescriptor::Kind kind)
{
    if (type == nullptr) {
        // A negative count would make an array of some 2^64 elements.
        if (count < 0)
            servicesRefuse();
        type =
            createArrayOf(required(EE_OstrelTypeDescriptor::typeOf(element)), static_cast<unsigned long long>(count));
    }
    return types.array(required(type), kind, element, count);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateNamedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                                       EE_Declaration& declaration,
                                                                                       const TypeItem* type)
{
    if (type == nullptr) {
        if (!declaration.isType())
            servicesRefuse();
        type = static_cast<EE_OstrelDeclaration&>(declaration).type();
    }
    return types.named(required(type), kind, declaration);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateFunctionTypeDescriptor(const FunctionInfoBlock* info,
                                                                                          const TypeItem* type)
{
    if (info == nullptr)
        servicesRefuse();
    return types.function(required(type), *info);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateFixedPointTypeDescriptor(
    EE_TypeDescriptor::Kind kind, const FixedPointInfoBlock& info, const TypeItem* type)
{
    if (type == nullptr) {
        const TypeKind modelKind = ostrelTypeKind(kind);
        if (modelKind != t_packedDecimal && modelKind != t_fixedPointBinary && modelKind != t_zonedDecimal &&
            modelKind != t_nationalDecimal)
            servicesRefuse();
        type = createFixedPointType(modelKind, info.digits, info.scale, (info.flags & 1) != 0, info.signKind);
    }
    return types.fixedPoint(required(type), kind, info);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateCharstringTypeDescriptor(
    EE_TypeDescriptor::Kind kind, const CharstringInfoBlock& info, const TypeItem* type)
{
    type = typeFor(type, kind, t_characterString,
                   [&] { return createCharstringType(t_characterString, info.length, info.flags); });
    return types.keyed(type, kind);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateNationalStringTypeDescriptor(
    EE_TypeDescriptor::Kind kind, const NationalStringInfoBlock& info, const TypeItem* type)
{
    type = typeFor(type, kind, t_nationalString,
                   [&] { return createNationalStringType(t_nationalString, info.length, info.flags); });
    return types.keyed(type, kind);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateDbcsStringTypeDescriptor(
    EE_TypeDescriptor::Kind kind, const DbcsStringInfoBlock& info, const TypeItem* type)
{
    type =
        typeFor(type, kind, t_dbcsString, [&] { return createDbcsStringType(t_dbcsString, info.length, info.flags); });
    return types.keyed(type, kind);
}

EE_OstrelTypeDescriptor*
EE_OstrelTypeDescriptorTable::findOrCreateIndexNameTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                  const IndexNameInfoBlock& info, const TypeItem* type)
{
    type = typeFor(type, kind, t_indexName,
                   [&] { return createIndexNameType(t_indexName, info.byteLength, info.elementLength); });
    return types.keyed(type, kind);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateIndexDataItemTypeDescriptor(
    EE_TypeDescriptor::Kind kind, const IndexDataItemInfoBlock& info, const TypeItem* type)
{
    type =
        typeFor(type, kind, t_indexDataItem, [&] { return createIndexDataItemType(t_indexDataItem, info.byteLength); });
    return types.keyed(type, kind);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateExternalFloatTypeDescriptor(
    EE_TypeDescriptor::Kind kind, const ExternalFloatInfoBlock& info, const TypeItem* type)
{
    type = typeFor(type, kind, t_externalFloat,
                   [&] { return createExternalFloatType(t_externalFloat, info.picture, info.length); });
    return types.keyed(type, kind);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateAlphaNumericEditedTypeDescriptor(
    EE_TypeDescriptor::Kind kind, const AlphaNumericEditedInfoBlock& info, const TypeItem* type)
{
    type = typeFor(type, kind, t_alphaNumericEdited,
                   [&] { return createAlphaNumericEditedType(t_alphaNumericEdited, info.picture, info.length); });
    return types.keyed(type, kind);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateNumericEditedTypeDescriptor(
    EE_TypeDescriptor::Kind kind, const NumericEditedInfoBlock& info, const TypeItem* type)
{
    type = typeFor(type, kind, t_numericEdited, [&] {
        return createNumericEditedType(t_numericEdited, info.picture, info.length, info.digits, info.scale);
    });
    return types.keyed(type, kind);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateNationalExternalFloatTypeDescriptor(
    EE_TypeDescriptor::Kind kind, const NationalExternalFloatInfoBlock& info, const TypeItem* type)
{
    type = typeFor(type, kind, t_nationalExternalFloat,
                   [&] { return createNationalExternalFloatType(t_nationalExternalFloat, info.picture, info.length); });
    return types.keyed(type, kind);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateNationalEditedTypeDescriptor(
    EE_TypeDescriptor::Kind kind, const NationalEditedInfoBlock& info, const TypeItem* type)
{
    type = typeFor(type, kind, t_nationalEdited,
                   [&] { return createNationalEditedType(t_nationalEdited, info.picture, info.length); });
    return types.keyed(type, kind);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateNationalNumericEditedTypeDescriptor(
    EE_TypeDescriptor::Kind kind, const NationalNumericEditedInfoBlock& info, const TypeItem* type)
{
    type = typeFor(type, kind, t_nationalNumericEdited, [&] {
        return createNationalNumericEditedType(t_nationalNumericEdited, info.picture, info.length, info.digits,
                                               info.scale);
    });
    return types.keyed(type, kind);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateDbcsEditedTypeDescriptor(
    EE_TypeDescriptor::Kind kind, const DbcsEditedInfoBlock& info, const TypeItem* type)
{
    type = typeFor(type, kind, t_dbcsEdited,
                   [&] { return createDbcsEditedType(t_dbcsEdited, info.picture, info.length); });
    return types.keyed(type, kind);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateRefModTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                                        int flag,
                                                                                        const TypeItem* baseType)
{
    if (kind != EE_TypeDescriptor::AlphanumericString && kind != EE_TypeDescriptor::NationalString &&
        kind != EE_TypeDescriptor::DbcsString)
        servicesRefuse();
    const TypeItem* type = required(createRefModType(ostrelTypeKind(kind), required(baseType)));
    EE_OstrelTypeDescriptor* descriptor = new (arena) EE_OstrelTypeDescriptor(kind, type);
    descriptor->referenceModified = 1;
    descriptor->referenceModFlag = flag;
    trace(".TD=%p", static_cast<const void*>(descriptor));
    return descriptor;
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::pointerToPredefined(EE_OstrelTypeDescriptor*& cache,
                                                                           EE_TypeDescriptor::Kind kind)
{
    if (cache == nullptr)
        cache = findOrCreateTypeDescriptor(EE_TypeDescriptor::Pointer, *findOrCreatePredefinedTypeDescriptor(kind));
    return cache;
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::pointerToCharTypeDescriptor()
{
    return pointerToPredefined(pointerToChar, EE_TypeDescriptor::Char);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::pointerToWchartTypeDescriptor()
{
    return pointerToPredefined(pointerToWchart, EE_TypeDescriptor::WcharT);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::pointerToFortranCharacterTypeDescriptor()
{
    return pointerToPredefined(pointerToFortranCharacter, EE_TypeDescriptor::UnsignedChar);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::pointerToVoidTypeDescriptor()
{
    return pointerToPredefined(pointerToVoid, EE_TypeDescriptor::Void);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::sizetTypeDescriptor()
{
    if (sizet == nullptr)
        sizet = findOrCreateTypeDescriptor(typeSizeT());
    return sizet;
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::ptrdifftTypeDescriptor()
{
    if (ptrdifft == nullptr)
        ptrdifft = findOrCreateTypeDescriptor(typePtrdiffT());
    return ptrdifft;
}

EE_TypeDescriptor::Kind EE_OstrelTypeDescriptorTable::underlyingTypeDescriptorKind(EE_TypeDescriptor::Kind kind)
{
    if (kind == EE_TypeDescriptor::Enumeration)
        servicesRefuse();
    if (kind == EE_TypeDescriptor::WcharT)
        return typeDescriptorKind(required(typeWcharT()));
    return kind;
}

EE_TypeDescriptor::Kind EE_OstrelTypeDescriptorTable::underlyingTypeDescriptorKind(const EE_TypeDescriptor& descriptor)
{
    if (descriptor.kind == EE_TypeDescriptor::Enumeration)
        return typeDescriptorKind(required(enumType(required(EE_OstrelTypeDescriptor::typeOf(descriptor)))));
    return underlyingTypeDescriptorKind(descriptor.kind);
}

EE_OstrelTypeDescriptor* EE_OstrelTypeDescriptorTable::findOrCreateTypeDescriptor(const TypeItem* type)
{
    trace(".handle=%p", static_cast<const void*>(type));
    required(type);
    switch (typeKind(type)) {
    case t_pointer:
    case t_reference:
    case t_addressOfReference: {
        EE_OstrelTypeDescriptor* pointee = findOrCreateTypeDescriptor(required(typePointedTo(type)));
        trace(".next=%p", static_cast<const void*>(pointee));
        return types.pointerLike(type, typeDescriptorKind(type), *pointee);
    }
    case t_enum:
    case t_namedType: trace(".can't create named or enum type"); servicesRefuse();
    case t_characterString:
        return findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::AlphanumericString,
                                                    present(typeCharstringInfo(type)), type);
    case t_indexDataItem:
        return findOrCreateIndexDataItemTypeDescriptor(EE_TypeDescriptor::IndexDataItem,
                                                       present(typeIndexDataItemInfo(type)), type);
    default: trace(".base type"); return types.plain(type, typeDescriptorKind(type));
    }
}
