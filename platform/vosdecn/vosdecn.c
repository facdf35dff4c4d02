/* libvosdecn: the decimal floating-point library behind the evaluator's
 * table of decNumber operations.
 *
 * The evaluator loads this library by name and calls tarnelxEntry with its
 * table: word 0 holds the table's size in bytes, words 1 to 52 receive the
 * addresses of the operations in a fixed order. The operations are those of
 * the decNumber interface; the decimal32, decimal64 and decimal128 slots
 * hold the densely-packed-decimal (DPD) encodings that the debuggee uses.
 * The packed-decimal slots are our own (decPacked.c). */
#include <stddef.h>
#include <stdint.h>

#include "decContext.h"
#include "decNumber.h"
#include "decPacked.h"

#if defined(VOSDECN_PLAIN_DPD_NAMES)
/* decNumber's own DPD modules (decimal32.c, decimal64.c, decimal128.c) under
 * their plain names. */
#include "decimal32.h"
#include "decimal64.h"
#include "decimal128.h"
#define __dpd32ToNumber decimal32ToNumber
#define __dpd32FromNumber decimal32FromNumber
#define __dpd32FromString decimal32FromString
#define __dpd32ToString decimal32ToString
#define __dpd32ToEngString decimal32ToEngString
#define __dpd64ToNumber decimal64ToNumber
#define __dpd64FromNumber decimal64FromNumber
#define __dpd64FromString decimal64FromString
#define __dpd64ToString decimal64ToString
#define __dpd64ToEngString decimal64ToEngString
#define __dpd128ToNumber decimal128ToNumber
#define __dpd128FromNumber decimal128FromNumber
#define __dpd128FromString decimal128FromString
#define __dpd128ToString decimal128ToString
#define __dpd128ToEngString decimal128ToEngString
#else
/* The DPD encodings of the decNumber interface, each in host byte order. */
typedef struct {
    uint8_t bytes[4];
} decimal32;
typedef struct {
    uint8_t bytes[8];
} decimal64;
typedef struct {
    uint8_t bytes[16];
} decimal128;

decNumber* __dpd32ToNumber(const decimal32*, decNumber*);
decimal32* __dpd32FromNumber(decimal32*, const decNumber*, decContext*);
decimal32* __dpd32FromString(decimal32*, const char*, decContext*);
char* __dpd32ToString(const decimal32*, char*);
char* __dpd32ToEngString(const decimal32*, char*);
decNumber* __dpd64ToNumber(const decimal64*, decNumber*);
decimal64* __dpd64FromNumber(decimal64*, const decNumber*, decContext*);
decimal64* __dpd64FromString(decimal64*, const char*, decContext*);
char* __dpd64ToString(const decimal64*, char*);
char* __dpd64ToEngString(const decimal64*, char*);
decNumber* __dpd128ToNumber(const decimal128*, decNumber*);
decimal128* __dpd128FromNumber(decimal128*, const decNumber*, decContext*);
decimal128* __dpd128FromString(decimal128*, const char*, decContext*);
char* __dpd128ToString(const decimal128*, char*);
char* __dpd128ToEngString(const decimal128*, char*);
#endif

#if defined(_WIN32)
#define VOSDECN_EXPORT __declspec(dllexport)
#else
#define VOSDECN_EXPORT __attribute__((visibility("default")))
#endif

/* The operations in slot order: slot 1 is the first entry. */
static void* const operations[] = {
    (void*)decContextDefault,             /*  1 */
    (void*)decContextSetStatus,           /*  2 */
    (void*)decContextStatusToString,      /*  3 */
    (void*)decContextSetStatusFromString, /*  4 */
    (void*)decNumberFromString,           /*  5 */
    (void*)decNumberToString,             /*  6 */
    (void*)decNumberToEngString,          /*  7 */
    (void*)decNumberAbs,                  /*  8 */
    (void*)decNumberAdd,                  /*  9 */
    (void*)decNumberCompare,              /* 10 */
    (void*)decNumberCompareTotal,         /* 11 */
    (void*)decNumberDivide,               /* 12 */
    (void*)decNumberDivideInteger,        /* 13 */
    (void*)decNumberExp,                  /* 14 */
    (void*)decNumberLn,                   /* 15 */
    (void*)decNumberLog10,                /* 16 */
    (void*)decNumberMax,                  /* 17 */
    (void*)decNumberMin,                  /* 18 */
    (void*)decNumberMinus,                /* 19 */
    (void*)decNumberMultiply,             /* 20 */
    (void*)decNumberNormalize,            /* 21 */
    (void*)decNumberPlus,                 /* 22 */
    (void*)decNumberPower,                /* 23 */
    (void*)decNumberQuantize,             /* 24 */
    (void*)decNumberRemainder,            /* 25 */
    (void*)decNumberRemainderNear,        /* 26 */
    (void*)decNumberRescale,              /* 27 */
    (void*)decNumberSameQuantum,          /* 28 */
    (void*)decNumberSquareRoot,           /* 29 */
    (void*)decNumberSubtract,             /* 30 */
    (void*)decNumberToIntegralValue,      /* 31 */
    (void*)decNumberCopy,                 /* 32 */
    (void*)decNumberTrim,                 /* 33 */
    (void*)decNumberVersion,              /* 34 */
    (void*)decNumberZero,                 /* 35 */
    (void*)vosdecnPackedFromNumber,       /* 36 decPackedFromNumber */
    (void*)vosdecnPackedToNumber,         /* 37 decPackedToNumber */
    (void*)__dpd32ToNumber,               /* 38 decimal32ToNumber */
    (void*)__dpd32FromNumber,             /* 39 decimal32FromNumber */
    (void*)__dpd64ToNumber,               /* 40 decimal64ToNumber */
    (void*)__dpd64FromNumber,             /* 41 decimal64FromNumber */
    (void*)__dpd128ToNumber,              /* 42 decimal128ToNumber */
    (void*)__dpd128FromNumber,            /* 43 decimal128FromNumber */
    (void*)__dpd32FromString,             /* 44 decimal32FromString */
    (void*)__dpd32ToString,               /* 45 decimal32ToString */
    (void*)__dpd32ToEngString,            /* 46 decimal32ToEngString */
    (void*)__dpd64FromString,             /* 47 decimal64FromString */
    (void*)__dpd64ToString,               /* 48 decimal64ToString */
    (void*)__dpd64ToEngString,            /* 49 decimal64ToEngString */
    (void*)__dpd128FromString,            /* 50 decimal128FromString */
    (void*)__dpd128ToString,              /* 51 decimal128ToString */
    (void*)__dpd128ToEngString,           /* 52 decimal128ToEngString */
};

#define OPERATION_COUNT (sizeof operations / sizeof operations[0])

/* Fills the caller's table. Word 0 is the table's size in bytes; only the
 * slots that lie within that size are written, so a smaller table is never
 * overrun. */
VOSDECN_EXPORT void tarnelxEntry(uintptr_t* table)
{
    if (table == NULL)
        return;
    size_t words = (size_t)(table[0] / sizeof(uintptr_t));
    for (size_t slot = 1; slot < words && slot <= OPERATION_COUNT; slot++)
        table[slot] = (uintptr_t)operations[slot - 1];
}
