#ifndef EE_TYPEDESCRIPTOR_H
#define EE_TYPEDESCRIPTOR_H

#include "frontend/EE_DecimalSign.h"
#include "frontend/EE_String.h"

class EE_Declaration;
class EE_DeclarationStore;
class EE_ParamType;

// The front end's view of a type: a chain of levels (pointer to, reference
// to, array of, function returning) that ends in a named or basic type, with
// a kind per level. The services implementation makes and owns descriptors
// (one per distinct type); the parsers and the analyser read them.
class EE_TypeDescriptor {
public:
    enum Kind : unsigned {
        NoType = 0,
        Pointer = 1,
        Reference = 2,
        Array = 3,
        Class = 4, // also a COBOL group
        Function = 5,
        Union = 6,
        Enumeration = 7,
        FortranPointer = 8,
        AlphanumericString = 9,
        MultiElement = 10,
        Bool = 11,
        Logical16 = 12,
        Logical32 = 13,
        Logical64 = 14,
        Char = 15,
        SignedChar = 16,
        UnsignedChar = 17,
        Short = 18,
        UnsignedShort = 19,
        Int = 20,
        UnsignedInt = 21,
        Long = 22,
        UnsignedLong = 23,
        LongLong = 24,
        UnsignedLongLong = 25,
        Float = 26,
        Double = 27,
        LongDouble = 28,
        HexFloat = 29,
        HexDouble = 30,
        HexLongDouble = 31,
        ComplexFloat = 32,
        ComplexDouble = 33,
        ComplexLongDouble = 34,
        HexComplexFloat = 35,
        HexComplexDouble = 36,
        HexComplexLongDouble = 37,
        Void = 38,
        WcharT = 39,
        Decimal32 = 40,
        Decimal64 = 41,
        Decimal128 = 42,
        PackedDecimal = 43,
        FixedPointBinary = 44,
        ArraySection = 45,
        GenericInteger = 46,
        GenericReal = 47,
        GenericWide = 48,
        ZonedDecimal = 49,
        NationalDecimal = 50,
        NationalString = 51,
        IndexName = 52,
        IndexDataItem = 53,
        ExternalFloat = 54,
        AlphanumericEdited = 55,
        NumericEdited = 56,
        NationalExternalFloat = 57,
        NationalEdited = 58,
        NationalNumericEdited = 59,
        DbcsString = 60,
        DbcsEdited = 61,
        FileDescriptor = 62,
        AddressOfReference = 63,
        LastKind = 63
    };

    explicit EE_TypeDescriptor(Kind k, EE_TypeDescriptor* n = nullptr, EE_Declaration* d = nullptr, long long bound = 0,
                               int constant = 0, short s = 0)
        : next(n), declaration(d), arrayBound(bound), kind(k), isConst(constant), scale(s)
    {}

    // The type as text, e.g. "int *", "char * const", "int (*)[10]".
    EE_String signature() const;

    // Puts the text of this type around what `out` holds (the declarator built
    // so far). qualify non-zero names classes with their full qualification;
    // the third argument and the context store are not used.
    void buildSignature(EE_String& out, int qualify, int, EE_DeclarationStore* context) const;

    EE_TypeDescriptor* next;     // the type this level modifies; null innermost
    EE_Declaration* declaration; // of a class, union or enumeration type
    long long arrayBound;        // element count of an array level; 0 when unknown
    Kind kind;
    int isConst; // non-zero for a const-qualified level
    short scale; // decimal scale of the digit-storing kinds

    // Fixed-point kinds (43, 44, 49, 50); zero for every other kind.
    unsigned short digits = 0;
    int isSigned = 0; // -1 signed, 0 unsigned
    EE_DecimalSign decimalSign = EE_DecimalSignNone;

    // Functions (kind 5); zero for every other kind.
    EE_ParamType* parameters = nullptr; // the last parameter first
    unsigned parameterCount = 0;
    int variadic = 0; // -1 when the list ends in "..."
};

#endif
