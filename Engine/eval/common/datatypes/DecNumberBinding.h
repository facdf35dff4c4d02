#ifndef NORVEXA_DATATYPES_DECNUMBERBINDING_H
#define NORVEXA_DATATYPES_DECNUMBERBINDING_H

// The decimal floating-point library, bound lazily.
//
// The evaluator does its decimal floating-point arithmetic through the
// decNumber interface of the library "vosdecn", which it does not link
// against. Every operation below is a forwarding function of the evaluator:
// the first call of any of them loads the library through the utility
// library's loader, has its entry "tarnelxEntry" fill the table `ep`, and
// every call then jumps to the library's operation with the caller's
// arguments. The forwarding functions are C functions and throw nothing: when
// the library cannot be loaded they answer null (adding
// DEC_Invalid_operation to the status of a context argument) and the next
// call tries again. The evaluator's C++ code makes every decimal context with
// decimalContext, which throws StdException "Cannot load tarnelx" (code -1)
// instead, so that its callers see the failure as an exception.
//
// The structures are those of the interface built for 34 digits with three
// digits per 16-bit unit. Code that needs a decNumber of more digits declares
// its own structure of the same shape with a longer unit array and passes it
// by pointer (the library writes as many units as the number's digits need).

#include <cstdint>

#include "NorvexaExport.h"

class Engine_Loader;

extern "C" {

// ---------------------------------------------------------------- context

enum rounding {
    DEC_ROUND_CEILING,   // towards +infinity
    DEC_ROUND_UP,        // away from 0
    DEC_ROUND_HALF_UP,   // 0.5 rounds up
    DEC_ROUND_HALF_EVEN, // 0.5 rounds to the nearest even digit
    DEC_ROUND_HALF_DOWN, // 0.5 rounds down
    DEC_ROUND_DOWN,      // towards 0 (truncation)
    DEC_ROUND_FLOOR,     // towards -infinity
    DEC_ROUND_05UP,      // for reround
    DEC_ROUND_MAX
};

typedef struct {
    int32_t digits;      // working precision
    int32_t emax;        // largest exponent
    int32_t emin;        // smallest exponent
    enum rounding round; // rounding mode
    uint32_t traps;      // trap-enabler flags
    uint32_t status;     // status flags
    uint8_t clamp;       // apply the IEEE exponent clamp
} decContext;

// Kinds for decContextDefault.
#define DEC_INIT_BASE 0
#define DEC_INIT_DECIMAL32 32
#define DEC_INIT_DECIMAL64 64
#define DEC_INIT_DECIMAL128 128

// Status flags.
#define DEC_Conversion_syntax 0x00000001
#define DEC_Division_by_zero 0x00000002
#define DEC_Division_impossible 0x00000004
#define DEC_Division_undefined 0x00000008
#define DEC_Insufficient_storage 0x00000010
#define DEC_Inexact 0x00000020
#define DEC_Invalid_context 0x00000040
#define DEC_Invalid_operation 0x00000080
#define DEC_Overflow 0x00000200
#define DEC_Clamped 0x00000400
#define DEC_Rounded 0x00000800
#define DEC_Subnormal 0x00001000
#define DEC_Underflow 0x00002000
#define DEC_Errors                                                                                                     \
    (DEC_Division_by_zero | DEC_Conversion_syntax | DEC_Division_impossible | DEC_Division_undefined |                 \
     DEC_Insufficient_storage | DEC_Invalid_context | DEC_Invalid_operation | DEC_Overflow | DEC_Underflow)
#define DEC_NaNs                                                                                                       \
    (DEC_Conversion_syntax | DEC_Division_impossible | DEC_Division_undefined | DEC_Insufficient_storage |             \
     DEC_Invalid_context | DEC_Invalid_operation)

// ---------------------------------------------------------------- numbers

#define DECNUMDIGITS 34
#define DECDPUN 3
#define DECNUMUNITS ((DECNUMDIGITS + DECDPUN - 1) / DECDPUN)
typedef uint16_t decNumberUnit;

typedef struct {
    int32_t digits;                 // digits of the coefficient, at least 1
    int32_t exponent;               // the value is coefficient * 10^exponent
    uint8_t bits;                   // DECNEG, DECINF, DECNAN, DECSNAN
    decNumberUnit lsu[DECNUMUNITS]; // coefficient, three digits a unit, least significant first
} decNumber;

#define DECNEG 0x80
#define DECINF 0x40
#define DECNAN 0x20
#define DECSNAN 0x10
#define DECSPECIAL (DECINF | DECNAN | DECSNAN)

// The IEEE 754 decimal interchange formats, densely packed decimal (DPD)
// encoding, in host byte order.
typedef struct {
    uint8_t bytes[4];
} decimal32;
typedef struct {
    uint8_t bytes[8];
} decimal64;
typedef struct {
    uint8_t bytes[16];
} decimal128;

// Room for the text of each format, with its terminating zero.
#define DECIMAL32_String 15
#define DECIMAL64_String 24
#define DECIMAL128_String 43

// ------------------------------------------------------- the entry table

// Slots of `ep`: word 0 is the table's size in bytes, written before every
// load attempt; words 1 to 52 hold the library's operations in the order of
// the declarations below (0 while not loaded).
#define DECNUMBER_SLOT_COUNT 52
NORVEXA_API extern uintptr_t ep[DECNUMBER_SLOT_COUNT + 1];

// ------------------------------------------- the operations, in slot order

NORVEXA_API decContext* decContextDefault(decContext*, int32_t kind);                                       //  1
NORVEXA_API decContext* decContextSetStatus(decContext*, uint32_t status);                                  //  2
NORVEXA_API const char* decContextStatusToString(const decContext*);                                        //  3
NORVEXA_API decContext* decContextSetStatusFromString(decContext*, const char*);                            //  4
NORVEXA_API decNumber* decNumberFromString(decNumber*, const char*, decContext*);                           //  5
NORVEXA_API char* decNumberToString(const decNumber*, char*);                                               //  6
NORVEXA_API char* decNumberToEngString(const decNumber*, char*);                                            //  7
NORVEXA_API decNumber* decNumberAbs(decNumber*, const decNumber*, decContext*);                             //  8
NORVEXA_API decNumber* decNumberAdd(decNumber*, const decNumber*, const decNumber*, decContext*);           //  9
NORVEXA_API decNumber* decNumberCompare(decNumber*, const decNumber*, const decNumber*, decContext*);       // 10
NORVEXA_API decNumber* decNumberCompareTotal(decNumber*, const decNumber*, const decNumber*, decContext*);  // 11
NORVEXA_API decNumber* decNumberDivide(decNumber*, const decNumber*, const decNumber*, decContext*);        // 12
NORVEXA_API decNumber* decNumberDivideInteger(decNumber*, const decNumber*, const decNumber*, decContext*); // 13
NORVEXA_API decNumber* decNumberExp(decNumber*, const decNumber*, decContext*);                             // 14
NORVEXA_API decNumber* decNumberLn(decNumber*, const decNumber*, decContext*);                              // 15
NORVEXA_API decNumber* decNumberLog10(decNumber*, const decNumber*, decContext*);                           // 16
NORVEXA_API decNumber* decNumberMax(decNumber*, const decNumber*, const decNumber*, decContext*);           // 17
NORVEXA_API decNumber* decNumberMin(decNumber*, const decNumber*, const decNumber*, decContext*);           // 18
NORVEXA_API decNumber* decNumberMinus(decNumber*, const decNumber*, decContext*);                           // 19
NORVEXA_API decNumber* decNumberMultiply(decNumber*, const decNumber*, const decNumber*, decContext*);      // 20
NORVEXA_API decNumber* decNumberNormalize(decNumber*, const decNumber*, decContext*);                       // 21
NORVEXA_API decNumber* decNumberPlus(decNumber*, const decNumber*, decContext*);                            // 22
NORVEXA_API decNumber* decNumberPower(decNumber*, const decNumber*, const decNumber*, decContext*);         // 23
NORVEXA_API decNumber* decNumberQuantize(decNumber*, const decNumber*, const decNumber*, decContext*);      // 24
NORVEXA_API decNumber* decNumberRemainder(decNumber*, const decNumber*, const decNumber*, decContext*);     // 25
NORVEXA_API decNumber* decNumberRemainderNear(decNumber*, const decNumber*, const decNumber*, decContext*); // 26
NORVEXA_API decNumber* decNumberRescale(decNumber*, const decNumber*, const decNumber*, decContext*);       // 27
NORVEXA_API decNumber* decNumberSameQuantum(decNumber*, const decNumber*, const decNumber*);                // 28
NORVEXA_API decNumber* decNumberSquareRoot(decNumber*, const decNumber*, decContext*);                      // 29
NORVEXA_API decNumber* decNumberSubtract(decNumber*, const decNumber*, const decNumber*, decContext*);      // 30
NORVEXA_API decNumber* decNumberToIntegralValue(decNumber*, const decNumber*, decContext*);                 // 31
NORVEXA_API decNumber* decNumberCopy(decNumber*, const decNumber*);                                         // 32
NORVEXA_API decNumber* decNumberTrim(decNumber*);                                                           // 33
NORVEXA_API const char* decNumberVersion(void);                                                             // 34
NORVEXA_API decNumber* decNumberZero(decNumber*);                                                           // 35
// Packed decimal: two BCD digits a byte, sign in the last low nibble (C or D
// written; A, C, E, F read as plus, B and D as minus); scale = -exponent.
NORVEXA_API uint8_t* decPackedFromNumber(uint8_t* bcd, int32_t length, int32_t* scale, const decNumber*);       // 36
NORVEXA_API decNumber* decPackedToNumber(const uint8_t* bcd, int32_t length, const int32_t* scale, decNumber*); // 37
NORVEXA_API decNumber* decimal32ToNumber(const decimal32*, decNumber*);                                         // 38
NORVEXA_API decimal32* decimal32FromNumber(decimal32*, const decNumber*, decContext*);                          // 39
NORVEXA_API decNumber* decimal64ToNumber(const decimal64*, decNumber*);                                         // 40
NORVEXA_API decimal64* decimal64FromNumber(decimal64*, const decNumber*, decContext*);                          // 41
NORVEXA_API decNumber* decimal128ToNumber(const decimal128*, decNumber*);                                       // 42
NORVEXA_API decimal128* decimal128FromNumber(decimal128*, const decNumber*, decContext*);                       // 43
NORVEXA_API decimal32* decimal32FromString(decimal32*, const char*, decContext*);                               // 44
NORVEXA_API char* decimal32ToString(const decimal32*, char*);                                                   // 45
NORVEXA_API char* decimal32ToEngString(const decimal32*, char*);                                                // 46
NORVEXA_API decimal64* decimal64FromString(decimal64*, const char*, decContext*);                               // 47
NORVEXA_API char* decimal64ToString(const decimal64*, char*);                                                   // 48
NORVEXA_API char* decimal64ToEngString(const decimal64*, char*);                                                // 49
NORVEXA_API decimal128* decimal128FromString(decimal128*, const char*, decContext*);                            // 50
NORVEXA_API char* decimal128ToString(const decimal128*, char*);                                                 // 51
NORVEXA_API char* decimal128ToEngString(const decimal128*, char*);                                              // 52

} // extern "C"

// Loads the library and fills `ep`. Throws StdException "Cannot load
// tarnelx" (code -1) when the library or its entry cannot be found, or when
// the entry leaves an operation's slot empty; `ep` then keeps its empty slots.
NORVEXA_API void getDecNumberEntryPoints();

// decContextDefault for the evaluator's C++ code: loads the library first
// when needed, throwing as getDecNumberEntryPoints does.
void decimalContext(decContext& context, int32_t kind);

// Test seam: the loader that getDecNumberEntryPoints asks, instead of
// Engine_Loader::instance(); null restores the process's loader.
void setDecNumberLoader(Engine_Loader* loader);

#endif
