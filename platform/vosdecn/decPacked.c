/* Packed decimal (BCD) conversions of the decNumber interface, written over
 * the BCD accessors of the decNumber module. */
#include "decPacked.h"

#include <stdlib.h>
#include <string.h>

/* The exponent range a decNumber may carry. */
#define PACKED_MAX_EXPONENT 999999999

uint8_t* vosdecnPackedFromNumber(uint8_t* bcd, int32_t length, int32_t* scale, const decNumber* dn)
{
    if (bcd == NULL || scale == NULL || dn == NULL || length < 1 || length > 0x3FFFFFFF)
        return NULL;
    if (dn->bits & DECSPECIAL)
        return NULL;
    int32_t digits = dn->digits;
    int32_t room = length * 2 - 1;
    if (digits < 1 || digits > room)
        return NULL;

    /* The coefficient, one digit a byte, most significant first. */
    uint8_t stack_digits[256];
    uint8_t* d = stack_digits;
    uint8_t* heap = NULL;
    if (digits > (int32_t)sizeof stack_digits) {
        heap = (uint8_t*)malloc((size_t)digits);
        if (heap == NULL)
            return NULL;
        d = heap;
    }
    decNumberGetBCD(dn, d);

    memset(bcd, 0, (size_t)length);
    /* Digit nibbles are numbered from 1 at the high nibble of byte 0; the
   * last digit goes to nibble room, the high nibble of the last byte. */
    int32_t nibble = room;
    for (int32_t i = digits - 1; i >= 0; i--, nibble--) {
        int32_t byte = (nibble - 1) / 2;
        if (nibble & 1)
            bcd[byte] |= (uint8_t)(d[i] << 4);
        else
            bcd[byte] |= d[i];
    }
    bcd[length - 1] |= (dn->bits & DECNEG) ? DECPMINUS : DECPPLUS;
    *scale = -dn->exponent;
    free(heap);
    return bcd;
}

decNumber* vosdecnPackedToNumber(const uint8_t* bcd, int32_t length, const int32_t* scale, decNumber* dn)
{
    if (bcd == NULL || scale == NULL || dn == NULL || length < 1 || length > 0x3FFFFFFF)
        return NULL;
    uint8_t sign = bcd[length - 1] & 0x0F;
    if (sign < 10)
        return NULL;

    int32_t room = length * 2 - 1;
    uint8_t stack_digits[256];
    uint8_t* d = stack_digits;
    uint8_t* heap = NULL;
    if (room > (int32_t)sizeof stack_digits) {
        heap = (uint8_t*)malloc((size_t)room);
        if (heap == NULL)
            return NULL;
        d = heap;
    }

    /* Gather the digit nibbles, checking each and skipping leading zeros. */
    int32_t count = 0;
    for (int32_t nibble = 1; nibble <= room; nibble++) {
        uint8_t byte = bcd[(nibble - 1) / 2];
        uint8_t digit = (nibble & 1) ? (uint8_t)(byte >> 4) : (uint8_t)(byte & 0x0F);
        if (digit > 9) {
            free(heap);
            return NULL;
        }
        if (count == 0 && digit == 0)
            continue;
        d[count++] = digit;
    }

    /* The exponent must stay within range for every digit of the number. */
    int64_t exponent = -(int64_t)*scale;
    int64_t adjusted = exponent + (count > 0 ? count : 1) - 1;
    if (adjusted > PACKED_MAX_EXPONENT || adjusted < -PACKED_MAX_EXPONENT) {
        free(heap);
        return NULL;
    }

    decNumberZero(dn);
    if (count > 0) {
        dn->digits = count;
        decNumberSetBCD(dn, d, (uint32_t)count);
    }
    dn->exponent = (int32_t)exponent;
    if (sign == DECPMINUS || sign == DECPMINUSALT)
        dn->bits |= DECNEG;
    free(heap);
    return dn;
}
