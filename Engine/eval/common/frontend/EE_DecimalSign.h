#ifndef EE_DECIMALSIGN_H
#define EE_DECIMALSIGN_H

// Where the sign of a zoned or national decimal number is kept.
enum EE_DecimalSign : unsigned {
    EE_DecimalSignNone = 0,
    EE_DecimalSignNoPosition = 1,
    EE_DecimalSignLeading = 2,         // in the zone of the first digit
    EE_DecimalSignTrailing = 3,        // in the zone of the last digit
    EE_DecimalSignLeadingSeparate = 4, // an extra sign character before the digits
    EE_DecimalSignTrailingSeparate = 5 // an extra sign character after the digits
};

#endif
