#include "compiler/TypeTable.h"

#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelServices.h"
#include "frontend/EE_Declaration.h"
#include "compiler/ServicesRefusal.h"
#include "frontend/EE_ParamType.h"
#include "frontend/EE_StorageArena.h"

namespace {

bool oneOf(EE_TypeDescriptor::Kind kind, std::initializer_list<unsigned> kinds)
{
    for (unsigned k : kinds)
        if (kind == k)
            return true;
    return false;
}

// The store a derived type's declaration belongs to: that of the
// declaration of the type it is made from, when that has one.
EE_DeclarationStore* storeBeside(EE_TypeDescriptor& from)
{
    return from.declaration != nullptr ? from.declaration->enclosingDeclarationStore() : nullptr;
}

} // namespace

EE_OstrelTypeDescriptor* TypeTable::make(const TypeItem* type, EE_TypeDescriptor::Kind kind)
{
    if (type == nullptr)
        servicesRefuse();
    EE_OstrelTypeDescriptor* descriptor = new (arena) EE_OstrelTypeDescriptor(kind, type);
    trace(".TD=%p", static_cast<const void*>(descriptor));
    return descriptor;
}

EE_OstrelTypeDescriptor* TypeTable::plain(const TypeItem* type, EE_TypeDescriptor::Kind kind)
{
    if (EE_OstrelTypeDescriptor* found = table.find(type))
        return found;
    EE_OstrelTypeDescriptor* descriptor = make(type, kind);
    trace(".PREDEF.kind=%d", int(kind));
    descriptor->declaration = services.findOrCreatePredefinedDeclaration(type, *descriptor);
    table.add(*descriptor);
    return descriptor;
}

EE_OstrelTypeDescriptor* TypeTable::pointerLike(const TypeItem* type, EE_TypeDescriptor::Kind kind,
                                                EE_TypeDescriptor& target)
{
    if (!oneOf(kind, {0, 1, 2, 3, 8, 9, 63}))
        servicesRefuse();
    if (EE_OstrelTypeDescriptor* found = table.find(type))
        return found;
    EE_OstrelTypeDescriptor* descriptor = make(type, kind);
    descriptor->next = &target;
    descriptor->declaration = services.findOrCreateOstrelDeclaration(type, "*", storeBeside(target));
    trace(".PTR.kind=%d.next=%p", int(kind), static_cast<const void*>(&target));
    table.add(*descriptor);
    return descriptor;
}

EE_OstrelTypeDescriptor* TypeTable::array(const TypeItem* type, EE_TypeDescriptor::Kind kind,
                                          EE_TypeDescriptor& element, long long count)
{
    if (!oneOf(kind, {0, 1, 2, 3, 8, 9}))
        servicesRefuse();
    if (EE_OstrelTypeDescriptor* found = table.find(type))
        return found;
    EE_OstrelTypeDescriptor* descriptor = make(type, kind);
    descriptor->next = &element;
    descriptor->arrayBound = count;
    descriptor->declaration = services.findOrCreateOstrelDeclaration(type, "[]", storeBeside(element));
    trace(".ARR[%lld].elem=%p", count, static_cast<const void*>(&element));
    table.add(*descriptor);
    return descriptor;
}

EE_OstrelTypeDescriptor* TypeTable::named(const TypeItem* type, EE_TypeDescriptor::Kind kind,
                                          EE_Declaration& declaration)
{
    if (!oneOf(kind, {4, 6, 7, 62}))
        servicesRefuse();
    if (EE_OstrelTypeDescriptor* found = table.find(type))
        return found;
    EE_OstrelTypeDescriptor* descriptor = make(type, kind);
    descriptor->declaration = &declaration;
    trace(".kind=%d", int(kind));
    table.add(*descriptor);
    return descriptor;
}

EE_OstrelTypeDescriptor* TypeTable::function(const TypeItem* type, const FunctionInfoBlock& info)
{
    if (EE_OstrelTypeDescriptor* found = table.find(type))
        return found;
    EE_OstrelTypeDescriptor* descriptor = make(type, EE_TypeDescriptor::Function);
    trace(".FUNC");
    // Entered before its parts are described, so that a parameter that leads
    // back to this type finds it rather than describing it again.
    table.add(*descriptor);
    if (info.returnType != nullptr)
        descriptor->next = services.findOrCreateTypeDescriptor(info.returnType);
    EE_ParamType* last = nullptr;
    for (std::uint32_t i = 0; i < info.parameterCount; ++i) {
        const TypeItem* parameter = info.parameters != nullptr ? info.parameters[i] : nullptr;
        trace(".ARG=%p", static_cast<const void*>(parameter));
        EE_TypeDescriptor* parameterType =
            parameter != nullptr ? services.findOrCreateTypeDescriptor(parameter) : nullptr;
        last = services.createTypeParameter(parameterType, last);
        trace(".newParm=%p", static_cast<const void*>(last));
    }
    descriptor->parameters = last;
    descriptor->parameterCount = info.parameterCount;
    descriptor->variadic = (info.flags & FunctionInfoBlock::endsInEllipsis) != 0 ? -1 : 0;
    return descriptor;
}

EE_OstrelTypeDescriptor* TypeTable::fixedPoint(const TypeItem* type, EE_TypeDescriptor::Kind kind,
                                               const FixedPointInfoBlock& info)
{
    if (!oneOf(kind, {43, 44, 49, 50}))
        servicesRefuse();
    if (EE_OstrelTypeDescriptor* found = table.find(type))
        return found;
    EE_OstrelTypeDescriptor* descriptor = make(type, kind);
    descriptor->digits = static_cast<unsigned short>(info.digits);
    descriptor->scale = static_cast<short>(info.scale);
    descriptor->isSigned = (info.flags & 1) != 0 ? -1 : 0;
    descriptor->decimalSign = static_cast<EE_DecimalSign>(info.signKind);
    trace(".FPB[%d,%d,%d,%d]", int(info.digits), int(info.scale), descriptor->isSigned, int(info.signKind));
    table.add(*descriptor);
    return descriptor;
}

EE_OstrelTypeDescriptor* TypeTable::keyed(const TypeItem* type, EE_TypeDescriptor::Kind kind)
{
    if (EE_OstrelTypeDescriptor* found = table.find(type))
        return found;
    EE_OstrelTypeDescriptor* descriptor = make(type, kind);
    table.add(*descriptor);
    return descriptor;
}
