// The type-descriptor table behind the services: one descriptor per type,
// the predefined kinds, the forms that have the model make a type, and the
// descriptors of the model's own types.

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "ServicesFixture.h"
#include "compiler/EE_OstrelDeclaration.h"
#include "compiler/EE_OstrelTypeDescriptorTable.h"
#include "compiler/TypeDescriptorKinds.h"
#include "frontend/EE_ArenaString.h"
#include "frontend/EE_ParamType.h"

namespace {

std::string pointerText(const void* p)
{
    char text[32];
    std::snprintf(text, sizeof text, "%p", p);
    return text;
}

std::string declaredName(const EE_TypeDescriptor* descriptor)
{
    if (descriptor == nullptr || descriptor->declaration == nullptr || descriptor->declaration->name == nullptr)
        return "<none>";
    return descriptor->declaration->name->data();
}

TEST_F(ServicesTest, PointersToOneTypeShareADescriptorAndReferenceModificationsDoNot)
{
    EE_TypeDescriptor* integer = services->signedIntTypeDescriptor();
    host.clearLines();
    EE_TypeDescriptor* pointer = services->findOrCreatePointerTypeDescriptor(*integer, 0);
    EXPECT_EQ(services->findOrCreatePointerTypeDescriptor(*integer, 1), pointer);
    EXPECT_EQ(pointer->kind, EE_TypeDescriptor::Pointer);
    EXPECT_EQ(pointer->next, integer);
    EXPECT_EQ(declaredName(pointer), "*");
    EXPECT_EQ(pointer->declaration->store, services->globalStore());
    // The model's own pointer to int is described by the same descriptor.
    EXPECT_EQ(services->findOrCreateTypeDescriptor(createPointerTo(keyOf(integer))), pointer);
    // Pointers are traced with the whole pointer.
    EXPECT_TRUE(host.traced(".PTR.kind=1.next=" + pointerText(integer)));
    EXPECT_TRUE(host.traced(".TD=" + pointerText(pointer)));

    EE_TypeDescriptor* reference = services->findOrCreateReferenceTypeDescriptor(*integer, 0);
    EE_TypeDescriptor* addressOf = services->findOrCreateAddressOfReferenceTypeDescriptor(*integer, 0);
    EXPECT_EQ(reference->kind, EE_TypeDescriptor::Reference);
    EXPECT_EQ(addressOf->kind, EE_TypeDescriptor::AddressOfReference);
    EXPECT_NE(reference, addressOf);
    EXPECT_EQ(eeExceptionCode([&] { services->findOrCreateTypeDescriptor(EE_TypeDescriptor::Array, *integer, 0); }), 2)
        << "the model makes no array without a count";

    struct Case {
        EE_TypeDescriptor* base;
        EE_TypeDescriptor::Kind view;
    };
    const Case cases[] = {
        {services->findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::AlphanumericString, 10, false, false, false,
                                                        nullptr),
         EE_TypeDescriptor::AlphanumericString},
        {services->findOrCreateNationalStringTypeDescriptor(EE_TypeDescriptor::NationalString, 4, false, false, false,
                                                            nullptr),
         EE_TypeDescriptor::NationalString},
        {services->findOrCreateDbcsEditedTypeDescriptor(EE_TypeDescriptor::DbcsEdited, 6),
         EE_TypeDescriptor::DbcsString},
        {integer, EE_TypeDescriptor::AlphanumericString},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.base->kind));
        EE_TypeDescriptor* first = services->findOrCreateRefModTypeDescriptor(*c.base, 1);
        EE_TypeDescriptor* second = services->findOrCreateRefModTypeDescriptor(*c.base, 1);
        EXPECT_NE(first, second);
        EXPECT_EQ(first->kind, c.view);
        auto* view = static_cast<EE_OstrelTypeDescriptor*>(first);
        EXPECT_EQ(view->referenceModified, 1);
        EXPECT_EQ(view->referenceModFlag, 1);
        // Not entered in the table.
        EXPECT_NE(services->descriptorTable().typeTable().find(view->key), first);
    }
}

TEST_F(ServicesTest, ThePredefinedDescriptorOfAKindIsTheOneMadeFirst)
{
    EE_OstrelTypeDescriptorTable& table = services->descriptorTable();
    const TypeItem* other = hostType(records().integerType(32, true));
    EE_OstrelTypeDescriptor* first = table.findOrCreatePredefinedTypeDescriptor(EE_TypeDescriptor::Int, other);
    EXPECT_EQ(first->key, other);
    EXPECT_EQ(table.findOrCreatePredefinedTypeDescriptor(EE_TypeDescriptor::Int, intType()), first);
    EXPECT_EQ(services->signedIntTypeDescriptor(), first);
    EXPECT_EQ(declaredName(first), "signed int");
    EXPECT_EQ(first->declaration->typeDescriptor, first);
    EXPECT_EQ(first->declaration->store, services->globalStore());

    for (unsigned kind : {0u, 7u, 10u, 64u, 99u}) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(eeExceptionCode(
                      [&] { table.findOrCreatePredefinedTypeDescriptor(static_cast<EE_TypeDescriptor::Kind>(kind)); }),
                  2);
    }
    // Kinds the model has no type for in this environment refuse as it does.
    EXPECT_EQ(eeExceptionCode([&] { services->decimal64TypeDescriptor(); }), 2);
    EXPECT_EQ(eeExceptionCode([&] { services->findOrCreatePredefinedTypeDescriptor(EE_TypeDescriptor::Class, 0); }), 2);
}

// A program's own type that the kind's first descriptor describes (same
// predefined kind and size, no bit field) is alike to the model's type: a
// result of it takes the validated type instead of asking for a rebuild.
TEST_F(ServicesTest, TypesOfOneKindAndSizeAreDescribedAlike)
{
    const TypeItem* model = intType();
    const struct {
        const char* what;
        const TypeItem* type;
        const TypeItem* described;
        bool alike;
    } cases[] = {
        {"a program's int", hostType(records().integerType(32, false)), model, true},
        {"the model's int itself", model, model, true},
        {"a typedef of int", hostType(records().typedefType("myint", records().integerType(32, false))), model, true},
        {"a program's unsigned int", hostType(records().integerType(32, true)), model, false},
        {"a program's short", hostType(records().integerType(16, false)), model, false},
        {"a bit field", hostType(records().integerType(3, false, 2)), model, false},
        {"a bit field described", model, hostType(records().integerType(3, false, 2)), false},
        {"a program's unsigned char", hostType(records().integerType(8, true)), hostType(TYPE_INDEX{0, 132}), true},
        {"a double and a float", hostType(TYPE_INDEX{0, 137}), hostType(TYPE_INDEX{0, 136}), false},
        {"a pointer", hostType(records().pointerType(TYPE_INDEX{0, 130}, 4)), model, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(c.type, nullptr);
        ASSERT_NE(c.described, nullptr);
        EXPECT_EQ(describedAlike(*c.type, *c.described), c.alike);
    }
}

TEST_F(ServicesTest, NationalAndDbcsPicturesAdjustTheLengthOnlyInAScope)
{
    EE_OstrelServices noScope(nullptr, scopeFilescope());
    struct Case {
        EE_OstrelServices* services;
        const char* picture;
        unsigned national;
        unsigned dbcs;
    };
    const Case cases[] = {
        {services.get(), "N(6)", 12, 4},
        {services.get(), nullptr, 6, 6},
        {&noScope, "N(6)", 6, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.picture != nullptr ? c.picture : "-") + (c.services == &noScope ? " no scope" : ""));
        EE_TypeDescriptor* national = c.services->findOrCreateNationalStringTypeDescriptor(
            EE_TypeDescriptor::NationalString, 6, true, false, false, c.picture);
        EXPECT_EQ(national->kind, EE_TypeDescriptor::NationalString);
        EXPECT_EQ(typeNationalStringInfo(keyOf(national))->length, c.national);
        EXPECT_EQ(typeNationalStringInfo(keyOf(national))->flags & 7, 1u);
        EE_TypeDescriptor* dbcs = c.services->findOrCreateDbcsStringTypeDescriptor(EE_TypeDescriptor::DbcsString, 6,
                                                                                   false, true, false, c.picture);
        EXPECT_EQ(typeDbcsStringInfo(keyOf(dbcs))->length, c.dbcs);
        EXPECT_EQ(typeDbcsStringInfo(keyOf(dbcs))->flags & 7, 2u);
    }
    // A DBCS picture shorter than its two shift bytes is refused, not wrapped.
    EXPECT_EQ(eeExceptionCode([&] {
                  services->findOrCreateDbcsStringTypeDescriptor(EE_TypeDescriptor::DbcsString, 1, false, false, false,
                                                                 "G");
              }),
              2);
    // The kind must be the form's.
    EXPECT_EQ(eeExceptionCode([&] {
                  services->findOrCreateNationalStringTypeDescriptor(EE_TypeDescriptor::AlphanumericString, 3, false,
                                                                     false, false, nullptr);
              }),
              2);
    // The descriptor forms take the size of the descriptor's type.
    EE_TypeDescriptor* text =
        services->findOrCreateCharstringTypeDescriptor(*services->signedLongLongIntTypeDescriptor());
    EXPECT_EQ(typeCharstringInfo(keyOf(text))->length, 8u);
}

TEST_F(ServicesTest, FixedPointFormsCheckTheKind)
{
    struct Case {
        EE_TypeDescriptor::Kind kind;
        unsigned digits;
        int scale;
        bool isSigned;
        EE_DecimalSign sign;
    };
    const Case cases[] = {
        {EE_TypeDescriptor::PackedDecimal, 7, 2, true, EE_DecimalSignNone},
        {EE_TypeDescriptor::FixedPointBinary, 9, -1, false, EE_DecimalSignNone},
        {EE_TypeDescriptor::ZonedDecimal, 5, 0, true, EE_DecimalSignLeading},
        {EE_TypeDescriptor::NationalDecimal, 3, 1, true, EE_DecimalSignNoPosition},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.kind));
        EE_TypeDescriptor* d =
            services->findOrCreateFixedPointTypeDescriptor(c.kind, c.digits, c.scale, c.isSigned, c.sign);
        EXPECT_EQ(d->kind, c.kind);
        EXPECT_EQ(d->digits, c.digits);
        EXPECT_EQ(d->scale, c.scale);
        EXPECT_EQ(d->isSigned, c.isSigned ? -1 : 0);
        EXPECT_EQ(d->decimalSign, c.sign);
        EXPECT_EQ(typeFixedPointInfo(keyOf(d))->digits, c.digits);
        EXPECT_EQ(services->findOrCreateTypeDescriptor(keyOf(d)), d);
    }
    EXPECT_TRUE(host.traced(".FPB[7,2,-1,0]"));
    for (EE_TypeDescriptor::Kind wrong :
         {EE_TypeDescriptor::Int, EE_TypeDescriptor::AlphanumericString, EE_TypeDescriptor::Class}) {
        SCOPED_TRACE(int(wrong));
        EXPECT_EQ(eeExceptionCode(
                      [&] { services->findOrCreateFixedPointTypeDescriptor(wrong, 3, 0, false, EE_DecimalSignNone); }),
                  2);
    }
}

TEST_F(ServicesTest, AFunctionsParameterChainStartsAtTheLastParameterAndKeepsMissingTypes)
{
    TYPE_INDEX fn = records().functionType(TYPE_INDEX{0, 130}, {TYPE_INDEX{0, 129}});
    const TypeItem* function = hostType(fn);
    FunctionInfoBlock info;
    info.returnType = intType();
    info.addType(hostType(TYPE_INDEX{0, 129}));
    info.addType(nullptr);
    info.addType(hostType(TYPE_INDEX{0, 136}));
    info.flags = FunctionInfoBlock::endsInEllipsis;
    EE_OstrelTypeDescriptor* d = services->descriptorTable().findOrCreateFunctionTypeDescriptor(&info, function);
    EXPECT_EQ(d->kind, EE_TypeDescriptor::Function);
    EXPECT_EQ(d->next, services->signedIntTypeDescriptor());
    EXPECT_EQ(d->parameterCount, 3u);
    EXPECT_EQ(d->variadic, -1);
    ASSERT_NE(d->parameters, nullptr);
    EXPECT_EQ(d->parameters->type, services->findOrCreateTypeDescriptor(hostType(TYPE_INDEX{0, 136})));
    ASSERT_NE(d->parameters->previous, nullptr);
    EXPECT_EQ(d->parameters->previous->type, nullptr);
    ASSERT_NE(d->parameters->previous->previous, nullptr);
    EXPECT_EQ(d->parameters->previous->previous->type,
              services->findOrCreateTypeDescriptor(hostType(TYPE_INDEX{0, 129})));
    EXPECT_EQ(d->parameters->previous->previous->previous, nullptr);
    EXPECT_TRUE(host.traced(".FUNC"));
    // Found again for the same type, whatever information comes with it.
    EXPECT_EQ(services->findOrCreateTypeDescriptor(function), d);
    EXPECT_EQ(eeExceptionCode([&] { services->descriptorTable().findOrCreateFunctionTypeDescriptor(&info, nullptr); }),
              2);

    // The model's own information: one parameter, no ellipsis.
    TYPE_INDEX other = records().functionType(TYPE_INDEX{0, 136}, {TYPE_INDEX{0, 130}, TYPE_INDEX{0, 129}});
    EE_TypeDescriptor* described = services->findOrCreateTypeDescriptor(hostType(other));
    EXPECT_EQ(described->kind, EE_TypeDescriptor::Function);
    EXPECT_EQ(described->parameterCount, 2u);
    EXPECT_EQ(described->variadic, 0);
    EXPECT_EQ(described->parameters->previous->type, services->signedIntTypeDescriptor());
}

TEST_F(ServicesTest, EnumerationsClassesAndTheirUnderlyingKinds)
{
    TYPE_INDEX colour = records().enumType("colour", records().integerType(16, true), {{"red", 0}, {"green", 1}});
    EE_TypeDescriptor* enumeration = services->findOrCreateTypeDescriptor(hostType(colour));
    EXPECT_EQ(enumeration->kind, EE_TypeDescriptor::Enumeration);
    EXPECT_EQ(declaredName(enumeration), typeName(hostType(colour)));
    EXPECT_EQ(enumeration->declaration->typeDescriptor, enumeration);
    EXPECT_EQ(services->underlyingTypeDescriptor(*enumeration), services->unsignedShortIntTypeDescriptor());
    EXPECT_EQ(services->descriptorTable().underlyingTypeDescriptorKind(*enumeration), EE_TypeDescriptor::UnsignedShort);
    EXPECT_EQ(eeExceptionCode(
                  [&] { services->descriptorTable().underlyingTypeDescriptorKind(EE_TypeDescriptor::Enumeration); }),
              2);
    EXPECT_EQ(services->descriptorTable().underlyingTypeDescriptorKind(EE_TypeDescriptor::Double),
              EE_TypeDescriptor::Double);
    EXPECT_EQ(services->underlyingTypeDescriptor(*services->doubleTypeDescriptor()), services->doubleTypeDescriptor());

    HostRecordStore::ClassSpec spec;
    spec.name = "Widget";
    spec.byteSize = 4;
    spec.isStruct = false;
    spec.members = {{"size", TYPE_INDEX{0, 130}, 0}};
    const TypeItem* widget = hostType(records().classType(spec));
    EE_TypeDescriptor* klass = services->findOrCreateTypeDescriptor(widget);
    EXPECT_EQ(klass->kind, EE_TypeDescriptor::Class);
    EXPECT_EQ(klass->declaration->typeDescriptor, klass);
    EE_DeclarationStore* inside = klass->declaration->declarationStore();
    ASSERT_NE(inside, nullptr);
    EXPECT_NE(inside->name, nullptr);
    EXPECT_EQ(klass->declaration->enclosingDeclarationStore(), services->globalStore());
    // Named only through a type declaration.
    EE_OstrelDeclaration* variable =
        services->findOrCreateDeclaration(static_cast<const SymbolItem*>(nullptr), "v", services->globalStore());
    EXPECT_EQ(eeExceptionCode(
                  [&] { services->findOrCreateNamedTypeDescriptor(EE_TypeDescriptor::Enumeration, *variable, 0); }),
              2);
    EE_OstrelDeclaration* typeDeclaration = services->findOrCreateDeclaration(widget, "Widget", nullptr);
    EXPECT_EQ(eeExceptionCode(
                  [&] { services->findOrCreateNamedTypeDescriptor(EE_TypeDescriptor::Function, *typeDeclaration, 0); }),
              2);
    EXPECT_EQ(services->findOrCreateNamedTypeDescriptor(EE_TypeDescriptor::Class, *typeDeclaration, 0), klass);
}

// A table of characters: the model's TypeKind 39 with an element type.
TYPE_INDEX characterTable(HostRecordStore& records)
{
    TYPE_INDEX t{};
    _TYPE_ENTRY& e = records.newType(TE_COBOL_TABLE, &t);
    e.cobolTable.elementType = TYPE_INDEX{0, 128};
    return t;
}

TEST_F(ServicesTest, ACharArrayOutsideCobolIsAStringOverItsElement)
{
    const TypeItem* text = hostType(characterTable(records()));
    ASSERT_EQ(int(typeKind(text)), int(t_characterString));
    EE_TypeDescriptor* d = services->findOrCreateTypeDescriptor(text);
    EXPECT_EQ(d->kind, EE_TypeDescriptor::AlphanumericString);
    ASSERT_NE(d->next, nullptr);
    EXPECT_EQ(d->next, services->findOrCreateTypeDescriptor(typeOfArrayElement(text)));
    EXPECT_EQ(declaredName(d), "*");
}

TEST_F(ServicesTest, SizeTAndPtrdiffTFollowTheAddressSize)
{
    struct Case {
        unsigned addressSize;
        EE_TypeDescriptor::Kind size;
        EE_TypeDescriptor::Kind difference;
    };
    // The model classes a 4-byte integer as long and an 8-byte one, at
    // address size 8, as long long.
    const Case cases[] = {{4, EE_TypeDescriptor::UnsignedLong, EE_TypeDescriptor::Long},
                          {8, EE_TypeDescriptor::UnsignedLongLong, EE_TypeDescriptor::LongLong}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.addressSize);
        env->setAddressSize(c.addressSize);
        EE_OstrelServices s(scope, scopeFilescope());
        EE_TypeDescriptor* size = s.sizetTypeDescriptor();
        EXPECT_EQ(size->kind, c.size);
        EXPECT_EQ(keyOf(size), typeSizeT());
        EXPECT_EQ(s.sizetTypeDescriptor(), size);
        EE_TypeDescriptor* difference = s.ptrdifftTypeDescriptor();
        EXPECT_EQ(difference->kind, c.difference);
        EXPECT_EQ(keyOf(difference), typePtrdiffT());
        long long bytes = 0;
        EXPECT_TRUE(s.sizeOf(*size, bytes));
        EXPECT_EQ(bytes, c.addressSize);
    }
}

TEST_F(ServicesTest, ArraysOfACountAndThePointersMadeOnce)
{
    EE_TypeDescriptor* integer = services->signedIntTypeDescriptor();
    EE_OstrelTypeDescriptorTable& table = services->descriptorTable();
    EE_OstrelTypeDescriptor* array = table.findOrCreateArrayTypeDescriptor(*integer, 10);
    EXPECT_EQ(array->kind, EE_TypeDescriptor::Array);
    EXPECT_EQ(array->arrayBound, 10);
    EXPECT_EQ(array->next, integer);
    EXPECT_EQ(declaredName(array), "[]");
    EXPECT_EQ(sizeOfType(array->key), 40u);
    EXPECT_EQ(table.findOrCreateArrayTypeDescriptor(*integer, 10), array);
    EXPECT_TRUE(host.traced(".ARR[10].elem=" + pointerText(integer)));
    EXPECT_EQ(eeExceptionCode([&] { table.findOrCreateArrayTypeDescriptor(*integer, -1); }), 2);

    struct Case {
        EE_TypeDescriptor* (EE_OstrelServices::*get)();
        EE_TypeDescriptor::Kind pointee;
    };
    const Case cases[] = {
        {&EE_OstrelServices::pointerToCharTypeDescriptor, EE_TypeDescriptor::Char},
        {&EE_OstrelServices::pointerToFortranCharacterTypeDescriptor, EE_TypeDescriptor::UnsignedChar},
        {&EE_OstrelServices::pointerToVoidTypeDescriptor, EE_TypeDescriptor::Void},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.pointee));
        EE_TypeDescriptor* pointer = (services.get()->*c.get)();
        EXPECT_EQ(pointer->kind, EE_TypeDescriptor::Pointer);
        ASSERT_NE(pointer->next, nullptr);
        EXPECT_EQ(pointer->next->kind, c.pointee);
        EXPECT_EQ((services.get()->*c.get)(), pointer);
    }
}

TEST_F(ServicesTest, TheKindOfATypeIsTracedWithItsWholeHandle)
{
    const TypeItem* wide = hostType(TYPE_INDEX{0, 156});
    EXPECT_EQ(typeDescriptorKind(wide), typeDescriptorKindOf(typeKind(wide)));
    EXPECT_TRUE(host.traced(".handle=" + pointerText(wide)));
    EXPECT_TRUE(host.traced(".kind=" + std::to_string(typeDescriptorKindOf(typeKind(wide)))));

    HostRecordStore::ClassSpec spec;
    spec.name = "Widget";
    spec.byteSize = 4;
    spec.members = {{"size", TYPE_INDEX{0, 130}, 0}};
    const TypeItem* widget = hostType(records().classType(spec));
    ASSERT_EQ(int(typeKind(widget)), int(t_namedType));
    EXPECT_EQ(eeExceptionCode([&] { typeDescriptorKind(widget); }), 2);
    EXPECT_TRUE(host.traced(".no kind"));
}

} // namespace
