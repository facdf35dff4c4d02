#ifndef NORVEXA_TYPES_PRIMITIVETYPE_H
#define NORVEXA_TYPES_PRIMITIVETYPE_H

#include "types/TypeFlags.h"
#include "types/TypeKind.h"

// The evaluator's built-in primitive types: index words 128 to 205 of module
// word 0. Setting value 32 of a code gives the pointer to that primitive; no
// primitive code has that bit.
struct PrimitiveType {
    enum : unsigned {
        pointerBit = 32,
        signedChar = 128,
        shortInt = 129,
        int4 = 130,
        unsignedChar = 132,
        unsignedShort = 133,
        unsignedInt = 134,
        float4 = 136,
        double8 = 137,
        longDouble16 = 138,
        longDouble12 = 139,
        complexLongDouble32 = 142,
        complexLongDouble24 = 143,
        bool1 = 144,
        bool2 = 145,
        bool4 = 146,
        plainChar = 148,
        wchar2 = 149,
        wchar4 = 150,
        voidType = 151,
        longLong = 155,
        unsignedLongLong = 156,
        bool8 = 157,
        decimal32 = 159,
        pointerToVoid = 183,
        decimal64 = 192,
        decimal128 = 193,
        ellipsis = 194,
        arraySection = 195,
        noPrimitive = 223,
    };

    unsigned code;
    const char* name;      // C and C++ display text, null when none
    const char* cobolName; // the text in COBOL, null when the same
    const char* name8;     // the text with 8-byte addresses, null when the same
    unsigned size;         // bytes
    int flag;              // TypeFlags::Flag, -1 for none
    int kind;              // TypeKind, -1 when kind() fails

    // The row of a listed code; null for any other code.
    static const PrimitiveType* find(unsigned code);
    // The bytes of an integer-valued primitive (the characters, the integers,
    // the booleans and the wide characters); 0 for any other code.
    static unsigned integerBytes(unsigned code);
    // Whether code is a pointer-to-primitive form (value 32 set).
    static bool isPointerForm(unsigned code) { return (code & pointerBit) != 0; }
    // The program's long double (and complex long double) by its address
    // size: the 80-bit value in a 12-byte slot with 4-byte addresses, the
    // 16-byte type with 8-byte addresses.
    static unsigned longDoubleFor(unsigned addressBytes) { return addressBytes == 4 ? longDouble12 : longDouble16; }
    static unsigned complexLongDoubleFor(unsigned addressBytes)
    {
        return addressBytes == 4 ? complexLongDouble24 : complexLongDouble32;
    }
};

#endif
