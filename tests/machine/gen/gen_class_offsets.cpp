// The base-class offsets g++ gives a small hierarchy: two non-virtual
// bases of D (B, C), one of them (C) with bases of its own (E, A), so that
// every part but the first sits at an offset of its own. Regenerate
// data/class_offsets.tsv with gen/regen_class_offsets.sh; ClassPointerOracleTest
// builds host records from the "direct" and "size" rows and checks the
// machine's pointer conversions against the "cast" rows.
//
// Rows: size <class> <bytes>; direct <derived> <base> <offset>;
// cast <from> <to> <offset of the to-part in a from-object>.
#include <cstddef>
#include <cstdio>

struct A {
    char a;
    int a2;
};
struct B {
    double b;
};
struct E {
    short e;
};
struct C : E, A {
    short c;
};
struct D : B, C {
    int d;
};

template <class From, class To>
long offsetOf()
{
    static From object;
    return reinterpret_cast<const char*>(static_cast<const To*>(&object)) - reinterpret_cast<const char*>(&object);
}

int main()
{
    std::printf("size\tA\t%zu\nsize\tB\t%zu\nsize\tE\t%zu\nsize\tC\t%zu\nsize\tD\t%zu\n", sizeof(A), sizeof(B),
                sizeof(E), sizeof(C), sizeof(D));
    // In declaration order.
    std::printf("direct\tC\tE\t%ld\n", offsetOf<C, E>());
    std::printf("direct\tC\tA\t%ld\n", offsetOf<C, A>());
    std::printf("direct\tD\tB\t%ld\n", offsetOf<D, B>());
    std::printf("direct\tD\tC\t%ld\n", offsetOf<D, C>());
    std::printf("cast\tD\tA\t%ld\n", offsetOf<D, A>());
    std::printf("cast\tD\tB\t%ld\n", offsetOf<D, B>());
    std::printf("cast\tD\tC\t%ld\n", offsetOf<D, C>());
    std::printf("cast\tD\tE\t%ld\n", offsetOf<D, E>());
    std::printf("cast\tC\tA\t%ld\n", offsetOf<C, A>());
    std::printf("cast\tC\tE\t%ld\n", offsetOf<C, E>());
    return 0;
}
