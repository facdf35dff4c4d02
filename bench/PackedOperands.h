#ifndef NORVEXA_BENCH_PACKEDOPERANDS_H
#define NORVEXA_BENCH_PACKEDOPERANDS_H

// The operands of the packed decimal benchmarks, the same for our routines
// and for GnuCOBOL's runtime: two signed packed fields of one precision and
// scale, and the precision and scale of each operation's result field.

#include <vector>

struct PackedOperands {
    int digits; // precision of both operands
    int scale;  // decimals of both operands
    std::vector<unsigned char> a;
    std::vector<unsigned char> b;
    int productDigits;  // a * b keeps both operands' decimals
    int quotientDigits; // a / b, with the operands' decimals
};

// 15 digits (2 decimals) or 31 digits (4 decimals).
const PackedOperands& packedOperands(int digits);

enum class PackedOperation {
    add,
    subtract,
    multiply,
    divide
};

// The operation through our routines: the routine's result area (null when
// it gives none) and the result's precision in *digits.
const unsigned char* packedOurs(PackedOperation operation, const PackedOperands& o, int* digits);

#endif
