/*
 * Writes the integer-item operation table (tests/machine/data/integer_oracle.tsv)
 * to standard output.
 *
 * Every binary operation of an integer stack item works in the type and width
 * of its left operand: the right operand is read as a 64-bit number (its own
 * value sign-extended when its kind is signed, zero-extended when unsigned),
 * the arithmetic is done on 64-bit numbers (v sign-extended for a signed
 * left, zero-extended for an unsigned left) and the result is cut to the
 * left's width.  The answers below are what gcc computes for that rule with
 * explicit casts to the C types of each kind.  Where plain C has no defined
 * answer the rule's own answer is written and the row is marked RULE:
 *   - division or remainder by zero: error 3 (division by zero), the left
 *     operand keeps its value;
 *   - the signed minimum divided by -1 gives the minimum, its remainder is 0;
 *   - shift counts at or beyond the left width, or negative: items of 1, 2
 *     and 4 bytes use the count modulo 32 and shift a 32-bit widening of the
 *     value, 8-byte items use the count modulo 64.
 *
 * regen_integer_oracle.sh builds this program with the undefined-behaviour
 * sanitizer (so a row computed by C cannot have relied on undefined
 * behaviour), runs it and checks its output before replacing the table.
 */
#include <limits.h>
#include <stdint.h>
#include <stdio.h>

enum Op {
    ADD,
    SUB,
    MUL,
    DIV,
    REM,
    AND,
    OR,
    XOR,
    LSL,
    LSR,
    ASR,
    EQ,
    NE,
    LT,
    LE,
    GT,
    GE,
    CVT
};
static const char* const opNames[] = {"add", "sub", "mul", "div", "rem", "and", "or", "xor", "lsl",
                                      "lsr", "asr", "eq",  "ne",  "lt",  "le",  "gt", "ge",  "cvt"};

enum Source {
    FROM_C,
    FROM_RULE,
    DIVIDE_BY_ZERO
};

enum {
    DIVIDE_BY_ZERO_CODE = 3
};

/* Result of a comparison: 1 when the relation holds, else 0. */
#define COMPARE(op, a, b)                                                                                              \
    ((op) == EQ   ? (a) == (b)                                                                                         \
     : (op) == NE ? (a) != (b)                                                                                         \
     : (op) == LT ? (a) < (b)                                                                                          \
     : (op) == LE ? (a) <= (b)                                                                                         \
     : (op) == GT ? (a) > (b)                                                                                          \
                  : (a) >= (b))

/*
 * One kind of integer item.  number() gives the 64-bit number of a value
 * image, cut() the image of a 64-bit number cut to the kind, apply() one
 * operation with this kind on the left and r the right operand's 64-bit
 * number; *out gets the result image (for a comparison, 1 or 0).  A zero
 * divisor never reaches apply().
 */
typedef struct Kind {
    const char* name;
    unsigned bytes;
    int isSigned;
    uint64_t (*number)(uint64_t bits);
    uint64_t (*cut)(uint64_t number);
    enum Source (*apply)(enum Op op, uint64_t leftBits, uint64_t r, uint64_t* out);
} Kind;

/* The operations that wrap: done on the unsigned 64-bit vu and r, cut to T. */
#define WRAPPING_CASES(T)                                                                                              \
    case ADD: res = (T)(vu + r); break;                                                                                \
    case SUB: res = (T)(vu - r); break;                                                                                \
    case MUL: res = (T)(vu * r); break;                                                                                \
    case AND: res = (T)(vu & r); break;                                                                                \
    case OR: res = (T)(vu | r); break;                                                                                 \
    case XOR:                                                                                                          \
        res = (T)(vu ^ r);                                                                                             \
        break;

#define SIGNED_KIND(K, T, UT, MINV, WIDE, UWIDE)                                                                       \
    static uint64_t number_##K(uint64_t bits)                                                                          \
    {                                                                                                                  \
        return (uint64_t)(int64_t)(T)(UT)bits;                                                                         \
    }                                                                                                                  \
    static uint64_t cut_##K(uint64_t n)                                                                                \
    {                                                                                                                  \
        return (uint64_t)(UT)(T)n;                                                                                     \
    }                                                                                                                  \
    static enum Source apply_##K(enum Op op, uint64_t leftBits, uint64_t r, uint64_t* out)                             \
    {                                                                                                                  \
        const T v = (T)(UT)leftBits;                                                                                   \
        const int64_t vs = v;                                                                                          \
        const uint64_t vu = (uint64_t)vs;                                                                              \
        const int64_t rs = (int64_t)r;                                                                                 \
        const unsigned count = (unsigned)(r & (sizeof(WIDE) * CHAR_BIT - 1));                                          \
        T res;                                                                                                         \
        switch (op) {                                                                                                  \
            WRAPPING_CASES(T)                                                                                          \
        case DIV:                                                                                                      \
            if (v == MINV && rs == -1) {                                                                               \
                *out = (UT)v;                                                                                          \
                return FROM_RULE;                                                                                      \
            }                                                                                                          \
            res = (T)(vs / rs);                                                                                        \
            break;                                                                                                     \
        case REM:                                                                                                      \
            if (v == MINV && rs == -1) {                                                                               \
                *out = 0;                                                                                              \
                return FROM_RULE;                                                                                      \
            }                                                                                                          \
            res = (T)(vs % rs);                                                                                        \
            break;                                                                                                     \
        case LSL: *out = (UT)(T)((UWIDE)(WIDE)v << count); return FROM_C;                                              \
        case LSR: *out = (UT)(T)((UWIDE)(UT)v >> count); return FROM_C;                                                \
        case ASR: *out = (UT)(T)((WIDE)v >> count); return FROM_C;                                                     \
        case CVT: return FROM_RULE; /* not reached: main() converts */                                                 \
        default: *out = (uint64_t)COMPARE(op, vs, rs); return FROM_C;                                                  \
        }                                                                                                              \
        *out = (UT)res;                                                                                                \
        return FROM_C;                                                                                                 \
    }

#define UNSIGNED_KIND(K, T, UWIDE)                                                                                     \
    static uint64_t number_##K(uint64_t bits)                                                                          \
    {                                                                                                                  \
        return (uint64_t)(T)bits;                                                                                      \
    }                                                                                                                  \
    static uint64_t cut_##K(uint64_t n)                                                                                \
    {                                                                                                                  \
        return (uint64_t)(T)n;                                                                                         \
    }                                                                                                                  \
    static enum Source apply_##K(enum Op op, uint64_t leftBits, uint64_t r, uint64_t* out)                             \
    {                                                                                                                  \
        const T v = (T)leftBits;                                                                                       \
        const uint64_t vu = v;                                                                                         \
        const unsigned count = (unsigned)(r & (sizeof(UWIDE) * CHAR_BIT - 1));                                         \
        T res;                                                                                                         \
        switch (op) {                                                                                                  \
            WRAPPING_CASES(T)                                                                                          \
        case DIV: res = (T)(vu / r); break;                                                                            \
        case REM: res = (T)(vu % r); break;                                                                            \
        case LSL: *out = (T)((UWIDE)v << count); return FROM_C;                                                        \
        case LSR:                                                                                                      \
        case ASR: *out = (T)((UWIDE)v >> count); return FROM_C;                                                        \
        case CVT: return FROM_RULE; /* not reached: main() converts */                                                 \
        default: *out = (uint64_t)COMPARE(op, vu, r); return FROM_C;                                                   \
        }                                                                                                              \
        *out = res;                                                                                                    \
        return FROM_C;                                                                                                 \
    }

SIGNED_KIND(S1, signed char, unsigned char, SCHAR_MIN, int32_t, uint32_t)
SIGNED_KIND(S2, short, unsigned short, SHRT_MIN, int32_t, uint32_t)
SIGNED_KIND(S4, int, unsigned int, INT_MIN, int32_t, uint32_t)
SIGNED_KIND(S8, long long, unsigned long long, LLONG_MIN, int64_t, uint64_t)
UNSIGNED_KIND(U1, unsigned char, uint32_t)
UNSIGNED_KIND(U2, unsigned short, uint32_t)
UNSIGNED_KIND(U4, unsigned int, uint32_t)
UNSIGNED_KIND(U8, unsigned long long, uint64_t)

#define KIND(K, bytes, isSigned)                                                                                       \
    {                                                                                                                  \
#K, bytes, isSigned, number_##K, cut_##K, apply_##K                                                            \
    }
static const Kind kinds[] = {KIND(S1, 1, 1), KIND(U1, 1, 0), KIND(S2, 2, 1), KIND(U2, 2, 0),
                             KIND(S4, 4, 1), KIND(U4, 4, 0), KIND(S8, 8, 1), KIND(U8, 8, 0)};
enum {
    KIND_COUNT = sizeof kinds / sizeof kinds[0]
};

/* The values a table row may use, named by role; each is cut to the kind. */
enum Role {
    ZERO,
    ONE,
    TWO,
    SEVEN,
    MINUS1,
    MINUS7,
    MIN,
    MIN_PLUS1,
    MAX,
    MAX_MINUS1,
    HIGH_BIT,
    HIGH_BIT_MINUS1,
    PATTERN,
    END
};

static uint64_t roleImage(const Kind* k, enum Role role)
{
    const unsigned bits = k->bytes * CHAR_BIT;
    const uint64_t high = (uint64_t)1 << (bits - 1);
    const uint64_t all = bits == 64 ? UINT64_MAX : ((uint64_t)1 << bits) - 1;
    uint64_t n = 0;
    switch (role) {
    case ZERO: n = 0; break;
    case ONE: n = 1; break;
    case TWO: n = 2; break;
    case SEVEN: n = 7; break;
    case MINUS1: n = UINT64_MAX; break;
    case MINUS7: n = (uint64_t)-7; break;
    case MIN: n = k->isSigned ? high : 0; break;
    case MIN_PLUS1: n = (k->isSigned ? high : 0) + 1; break;
    case MAX: n = k->isSigned ? high - 1 : all; break;
    case MAX_MINUS1: n = (k->isSigned ? high - 1 : all) - 1; break;
    case HIGH_BIT: n = high; break;
    case HIGH_BIT_MINUS1: n = high - 1; break;
    case PATTERN: n = UINT64_C(0xA55AC33C0FF01234) >> (64 - bits); break;
    case END: break;
    }
    return k->cut(n);
}

/* Value roles by operation family, for a signed and for an unsigned kind. */
typedef struct Roles {
    enum Role signedRoles[10];
    enum Role unsignedRoles[10];
} Roles;

static const Roles everyValue = {{ZERO, ONE, MINUS1, MIN, MAX, MIN_PLUS1, MAX_MINUS1, MINUS7, PATTERN, END},
                                 {ZERO, ONE, TWO, MAX, MAX_MINUS1, HIGH_BIT, HIGH_BIT_MINUS1, SEVEN, PATTERN, END}};
static const Roles arithmeticRight = {{ONE, MINUS1, MIN, MAX, END}, {ONE, MAX, HIGH_BIT, END}};
static const Roles divisors = {{ZERO, ONE, MINUS1, TWO, MIN, END}, {ZERO, ONE, TWO, MAX, HIGH_BIT, END}};
static const Roles bitwiseLeft = {{ONE, MINUS1, MIN, PATTERN, END}, {ONE, MAX, HIGH_BIT, PATTERN, END}};
static const Roles bitwiseRight = {{MINUS1, MIN, PATTERN, END}, {MAX, HIGH_BIT, PATTERN, END}};
static const Roles shifted = {{ONE, MINUS1, MIN, PATTERN, END}, {ONE, MAX, HIGH_BIT, PATTERN, END}};
static const Roles compared = {{MIN, MINUS1, ZERO, ONE, MAX, END}, {ZERO, ONE, HIGH_BIT, MAX, END}};
static const Roles zeroOnly = {{ZERO, END}, {ZERO, END}};

static const enum Role* rolesFor(const Roles* roles, const Kind* k)
{
    return k->isSigned ? roles->signedRoles : roles->unsignedRoles;
}

static void printImage(uint64_t image, unsigned bytes)
{
    printf("%0*llX", (int)(2 * bytes), (unsigned long long)image);
}

static unsigned long rows;

static void emit(const Kind* left, const Kind* right, enum Op op, uint64_t leftImage, uint64_t rightImage)
{
    const Kind* resultKind = left;
    const char* resultKindName = left->name;
    uint64_t result = 0;
    enum Source source;
    if (op == CVT) {
        resultKind = right;
        resultKindName = right->name;
        result = right->cut(left->number(leftImage));
        source = FROM_C;
    } else {
        const uint64_t r = right->number(rightImage);
        if ((op == DIV || op == REM) && r == 0)
            source = DIVIDE_BY_ZERO;
        else
            source = left->apply(op, leftImage, r, &result);
        if (op >= LSL && op <= ASR && r >= left->bytes * CHAR_BIT)
            source = FROM_RULE; /* count taken modulo 32 or 64 */
        if (op >= EQ)
            resultKindName = "B1";
    }
    printf("%s\t%s\t%s\t", left->name, right->name, opNames[op]);
    printImage(leftImage, left->bytes);
    putchar('\t');
    printImage(rightImage, right->bytes);
    printf("\t%s\t", resultKindName);
    if (source == DIVIDE_BY_ZERO)
        printf("ERR:%d", DIVIDE_BY_ZERO_CODE);
    else
        printImage(result, op >= EQ && op <= GE ? 1 : resultKind->bytes);
    printf("\t%s\n", source == FROM_C ? "C" : "RULE");
    ++rows;
}

static void emitRoles(const Kind* left, const Kind* right, enum Op op, const Roles* leftRoles, const Roles* rightRoles)
{
    for (const enum Role* l = rolesFor(leftRoles, left); *l != END; ++l)
        for (const enum Role* r = rolesFor(rightRoles, right); *r != END; ++r)
            emit(left, right, op, roleImage(left, *l), roleImage(right, *r));
}

/* Shift counts: within the width, at and past it, past 32 and 64, and -1. */
static void emitShifts(const Kind* left, const Kind* right, enum Op op)
{
    const uint64_t width = left->bytes * CHAR_BIT;
    const uint64_t counts[] = {1, width - 1, width, 33, 65, UINT64_MAX};
    for (const enum Role* l = rolesFor(&shifted, left); *l != END; ++l)
        for (unsigned c = 0; c < sizeof counts / sizeof counts[0]; ++c)
            emit(left, right, op, roleImage(left, *l), right->cut(counts[c]));
}

int main(void)
{
    printf("left_kind\tright_kind\top\tleft_hex\tright_hex\tresult_kind\tresult_hex\tsource\n");
    printf("# generated by tests/machine/gen/regen_integer_oracle.sh (gen_integer_oracle.c); do not edit\n");
    for (unsigned li = 0; li < KIND_COUNT; ++li)
        for (unsigned ri = 0; ri < KIND_COUNT; ++ri) {
            const Kind* left = &kinds[li];
            const Kind* right = &kinds[ri];
            for (enum Op op = ADD; op <= MUL; ++op)
                emitRoles(left, right, op, &everyValue, &arithmeticRight);
            for (enum Op op = DIV; op <= REM; ++op)
                emitRoles(left, right, op, &everyValue, &divisors);
            for (enum Op op = AND; op <= XOR; ++op)
                emitRoles(left, right, op, &bitwiseLeft, &bitwiseRight);
            for (enum Op op = LSL; op <= ASR; ++op)
                emitShifts(left, right, op);
            for (enum Op op = EQ; op <= GE; ++op)
                emitRoles(left, right, op, &compared, &compared);
            emitRoles(left, right, CVT, &everyValue, &zeroOnly);
        }
    fflush(stdout);
    fprintf(stderr, "%lu rows\n", rows);
    return ferror(stdout) ? 1 : 0;
}
