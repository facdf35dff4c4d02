#include <gtest/gtest.h>

#include <string>

#include "FrontendFixtures.h"

using fixtures::exceptionCode;
using fixtures::text;
using K = EE_TypeDescriptor;

namespace {

std::string signatureOf(const EE_TypeDescriptor& t)
{
    return text(t.signature());
}

TEST(EE_TypeDescriptor, BasicKindTexts)
{
    struct Case {
        EE_TypeDescriptor::Kind kind;
        const char* text;
    };
    const Case cases[] = {
        {K::AlphanumericString, "ALPHANUMERIC"},
        {K::Bool, "bool"},
        {K::Char, "char"},
        {K::SignedChar, "signed char"},
        {K::UnsignedChar, "unsigned char"},
        {K::Short, "short"},
        {K::UnsignedShort, "unsigned short"},
        {K::Int, "int"},
        {K::UnsignedInt, "unsigned int"},
        {K::Long, "long"},
        {K::UnsignedLong, "unsigned long"},
        {K::LongLong, "long long"},
        {K::UnsignedLongLong, "unsigned long long"},
        {K::Float, "float"},
        {K::Double, "double"},
        {K::LongDouble, "long double"},
        {K::HexFloat, "float"},
        {K::HexDouble, "double"},
        {K::HexLongDouble, "long double"},
        {K::ComplexFloat, "complex float"},
        {K::ComplexDouble, "complex double"},
        {K::ComplexLongDouble, "complex long double"},
        {K::HexComplexFloat, "complex float"},
        {K::HexComplexDouble, "complex double"},
        {K::HexComplexLongDouble, "complex long double"},
        {K::Void, "void"},
        {K::WcharT, "wchar_t"},
        {K::Decimal32, "Decimal32"},
        {K::Decimal64, "Decimal64"},
        {K::Decimal128, "Decimal128"},
        {K::PackedDecimal, "decimal(n,p)"},
        {K::FixedPointBinary, "BINARY"},
        {K::ZonedDecimal, "zoned decimal(n,p)"},
        {K::NationalDecimal, "national decimal(n,p)"},
        {K::NationalString, "national string"},
        {K::IndexName, "index name"},
        {K::IndexDataItem, "index data item"},
        {K::ExternalFloat, "external float"},
        {K::AlphanumericEdited, "alphanumeric edited"},
        {K::NumericEdited, "numeric edited"},
        {K::NationalExternalFloat, "national external float"},
        {K::NationalEdited, "national edited"},
        {K::NationalNumericEdited, "national numeric edited"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(signatureOf(EE_TypeDescriptor(c.kind)), c.text) << c.kind;
        EE_TypeDescriptor constant(c.kind, nullptr, nullptr, 0, 1);
        EXPECT_EQ(signatureOf(constant), std::string("const ") + c.text) << c.kind;
    }
}

TEST(EE_TypeDescriptor, KindsWithoutTextRefuse)
{
    const unsigned kinds[] = {0, 8, 10, 12, 13, 14, 45, 46, 47, 48, 60, 61, 62, 63, 64, 1000};
    for (unsigned k : kinds) {
        EE_TypeDescriptor t(static_cast<EE_TypeDescriptor::Kind>(k));
        EXPECT_EQ(exceptionCode([&] { t.signature(); }), 2) << k;
        // Also when reached through a pointer.
        EE_TypeDescriptor p(K::Pointer, &t);
        EXPECT_EQ(exceptionCode([&] { p.signature(); }), 2) << k;
    }
}

TEST(EE_TypeDescriptor, NestedDeclarators)
{
    EE_TypeDescriptor i(K::Int);
    EE_TypeDescriptor constInt(K::Int, nullptr, nullptr, 0, 1);
    EE_TypeDescriptor c(K::Char);
    EE_TypeDescriptor pointerToInt(K::Pointer, &i);
    EE_TypeDescriptor constPointerToChar(K::Pointer, &c, nullptr, 0, 1);
    EE_TypeDescriptor pointerToConstInt(K::Pointer, &constInt);
    EE_TypeDescriptor constPointerToInt(K::Pointer, &i, nullptr, 0, 1);
    EE_TypeDescriptor referenceToInt(K::Reference, &i);
    EE_TypeDescriptor arrayOf10Int(K::Array, &i, nullptr, 10);
    EE_TypeDescriptor arrayOfUnknown(K::Array, &i);
    EE_TypeDescriptor pointerToArray(K::Pointer, &arrayOf10Int);
    EE_TypeDescriptor arrayOfPointers(K::Array, &pointerToInt, nullptr, 4);
    EE_TypeDescriptor functionReturningInt(K::Function, &i);
    EE_TypeDescriptor constFunction(K::Function, &i, nullptr, 0, 1);
    EE_TypeDescriptor pointerToFunction(K::Pointer, &functionReturningInt);
    EE_TypeDescriptor referenceToArray(K::Reference, &arrayOf10Int);
    EE_TypeDescriptor arrayOfArrays(K::Array, &arrayOf10Int, nullptr, 3);
    EE_TypeDescriptor pointerToPointer(K::Pointer, &constPointerToChar);
    EE_TypeDescriptor bigArray(K::Array, &c, nullptr, 5000000000LL);
    EE_TypeDescriptor hexDouble(K::HexDouble);
    EE_TypeDescriptor pointerToHexDouble(K::Pointer, &hexDouble);

    struct Case {
        const EE_TypeDescriptor* type;
        const char* text;
    };
    const Case cases[] = {
        {&pointerToInt, "int *"},
        {&constPointerToChar, "char * const"},
        {&pointerToConstInt, "const int *"},
        {&constPointerToInt, "int * const"},
        {&referenceToInt, "int &"},
        {&arrayOf10Int, "int [10]"},
        {&arrayOfUnknown, "int []"},
        {&pointerToArray, "int (*)[10]"},
        {&arrayOfPointers, "int *[4]"},
        {&functionReturningInt, "int ()"},
        {&constFunction, "int () const"},
        {&pointerToFunction, "int (*)()"},
        {&referenceToArray, "int (&)[10]"},
        {&arrayOfArrays, "int [3][10]"},
        {&pointerToPointer, "char * const *"},
        {&bigArray, "char [5000000000]"},
        {&pointerToHexDouble, "double *"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(signatureOf(*c.type), c.text);
}

TEST(EE_TypeDescriptor, NamedTypesAreQualified)
{
    EE_StorageArena arena;
    fixtures::Store global(nullptr, 1, nullptr);
    fixtures::Declaration b("B", &global, arena);
    fixtures::Store storeB(new (arena) EE_Name(&arena, &b), 0, &global);
    fixtures::Declaration inner("Inner", &storeB, arena);
    fixtures::Declaration loose("Loose", nullptr, arena);

    EE_TypeDescriptor classB(K::Class, nullptr, &b);
    EE_TypeDescriptor constInner(K::Union, nullptr, &inner, 0, 1);
    EE_TypeDescriptor enumLoose(K::Enumeration, nullptr, &loose);
    EE_TypeDescriptor pointerToB(K::Pointer, &classB);
    EE_TypeDescriptor pointerToInner(K::Pointer, &constInner);
    EXPECT_EQ(signatureOf(classB), "::B");
    EXPECT_EQ(signatureOf(pointerToB), "::B *");
    EXPECT_EQ(signatureOf(pointerToInner), "const ::B::Inner *");
    EXPECT_EQ(signatureOf(enumLoose), "Loose");

    // Without qualification only the declared name is written.
    EE_String out("*");
    constInner.buildSignature(out, 0, 0, nullptr);
    EXPECT_EQ(text(out), "const Inner *");

    EE_TypeDescriptor noDeclaration(K::Class);
    EXPECT_EQ(exceptionCode([&] { noDeclaration.signature(); }), 2);
}

TEST(EE_TypeDescriptor, ALevelChainThatRunsInACircleIsRefused)
{
    EE_TypeDescriptor p1(K::Pointer);
    EE_TypeDescriptor p2(K::Pointer, &p1);
    EE_TypeDescriptor p3(K::Array, &p2, nullptr, 2);
    p1.next = &p3;
    EXPECT_EQ(exceptionCode([&] { p3.signature(); }), 2);
    EE_TypeDescriptor self(K::Reference);
    self.next = &self;
    EXPECT_EQ(exceptionCode([&] { self.signature(); }), 2);
}

} // namespace
