// The packed decimal operations of PackedBench.cpp through GnuCOBOL's
// runtime, as a compiled COMPUTE does them: each operand field into a
// decimal (cob_decimal_set_field), the operation, and the result stored
// into a packed field of the same precision and scale as ours
// (cob_decimal_get_field). A run whose result differs from ours is
// reported as an error: the two sides must compute the same thing.

#include <cstring>
#include <mutex>
#include <vector>

#include <gmp.h>
#include <libcob.h>

#include <benchmark/benchmark.h>

#include "PackedOperands.h"

namespace {

void initialiseRuntimeOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { cob_init(0, nullptr); });
}

// A signed packed field over bytes of its own.
struct Field {
    Field(int digits, int scale, const std::vector<unsigned char>& value)
        : bytes(value.empty() ? std::vector<unsigned char>(static_cast<size_t>(digits / 2 + 1)) : value),
          attr{COB_TYPE_NUMERIC_PACKED, static_cast<unsigned short>(digits), static_cast<short>(scale),
               COB_FLAG_HAVE_SIGN, nullptr},
          field{bytes.size(), bytes.data(), &attr}
    {}
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    std::vector<unsigned char> bytes;
    cob_field_attr attr;
    cob_field field;
};

template <PackedOperation operation>
void PackedLibcob(benchmark::State& state)
{
    initialiseRuntimeOnce();
    const PackedOperands& o = packedOperands(static_cast<int>(state.range(0)));
    Field a(o.digits, o.scale, o.a);
    Field b(o.digits, o.scale, o.b);
    Field sum(o.digits, o.scale, {});
    Field product(o.productDigits, 2 * o.scale, {});
    Field quotient(o.quotientDigits, o.scale, {});
    cob_decimal left;
    cob_decimal right;
    cob_decimal_init(&left);
    cob_decimal_init(&right);
    for (auto _ : state) {
        cob_decimal_set_field(&left, &a.field);
        cob_decimal_set_field(&right, &b.field);
        switch (operation) {
        case PackedOperation::add:
            cob_decimal_add(&left, &right);
            cob_decimal_get_field(&left, &sum.field, 0);
            benchmark::DoNotOptimize(sum.bytes.data());
            break;
        case PackedOperation::subtract:
            cob_decimal_sub(&left, &right);
            cob_decimal_get_field(&left, &sum.field, 0);
            benchmark::DoNotOptimize(sum.bytes.data());
            break;
        case PackedOperation::multiply:
            cob_decimal_mul(&left, &right);
            cob_decimal_get_field(&left, &product.field, 0);
            benchmark::DoNotOptimize(product.bytes.data());
            break;
        case PackedOperation::divide:
            cob_decimal_div(&left, &right);
            cob_decimal_get_field(&left, &quotient.field, 0);
            benchmark::DoNotOptimize(quotient.bytes.data());
            break;
        }
    }
    int digits = 0;
    const unsigned char* ours = packedOurs(operation, o, &digits);
    const Field& stored = operation == PackedOperation::add || operation == PackedOperation::subtract ? sum
                          : operation == PackedOperation::multiply                                    ? product
                                                                                                      : quotient;
    if (ours == nullptr || std::memcmp(ours, stored.bytes.data(), stored.bytes.size()) != 0)
        state.SkipWithError("libcob's result differs from ours");
    mpz_clear(left.value);
    mpz_clear(right.value);
}
BENCHMARK(PackedLibcob<PackedOperation::add>)->Name("PackedAdd/libcob")->Arg(15)->Arg(31);
BENCHMARK(PackedLibcob<PackedOperation::subtract>)->Name("PackedSubtract/libcob")->Arg(15)->Arg(31);
BENCHMARK(PackedLibcob<PackedOperation::multiply>)->Name("PackedMultiply/libcob")->Arg(15)->Arg(31);
BENCHMARK(PackedLibcob<PackedOperation::divide>)->Name("PackedDivide/libcob")->Arg(15)->Arg(31);

} // namespace
