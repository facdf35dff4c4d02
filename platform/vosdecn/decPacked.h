/* Packed decimal (BCD) conversions of the decNumber interface.
 *
 * A packed decimal is a byte array of two digits a byte, most significant
 * first, whose last low nibble is the sign. The number's exponent travels
 * separately as a scale (scale = -exponent). */
#ifndef VOSDECN_DECPACKED_H
#define VOSDECN_DECPACKED_H

#include <stdint.h>
#include "decNumber.h"

#define DECPPLUS 0x0C     /* sign nibble written for plus and zero */
#define DECPMINUS 0x0D    /* sign nibble written for minus */
#define DECPPLUSALT 0x0A  /* further sign nibbles read as plus */
#define DECPMINUSALT 0x0B /* further sign nibble read as minus */
#define DECPPLUSALT2 0x0E
#define DECPUNSIGNED 0x0F /* unsigned: read as plus */

/* Writes dn into length bytes at bcd (leading zeros filled) and its scale
 * into *scale. NULL when dn is a special value (infinity, NaN) or has more
 * digits than length*2-1. */
uint8_t* vosdecnPackedFromNumber(uint8_t* bcd, int32_t length, int32_t* scale, const decNumber* dn);

/* Reads length bytes at bcd with the given scale into dn, which must have
 * room for length*2-1 digits. NULL (dn unspecified) when a digit nibble is
 * above 9, the sign nibble is a digit, or the exponent is out of range. */
decNumber* vosdecnPackedToNumber(const uint8_t* bcd, int32_t length, const int32_t* scale, decNumber* dn);

#endif
