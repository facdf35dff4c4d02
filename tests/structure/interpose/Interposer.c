/* A host that defines a name libnorvexa.so also defines (here the decimal
   library's multiply, as a host with its own decimal library would) must not
   take over the library's own calls of it. The program exports its
   decNumberMultiply, loads libnorvexa.so, multiplies two packed numbers
   through the library and checks that the library used its own forwarder. */
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

static int interposedCalls = 0;

void* decNumberMultiply(void* result, const void* a, const void* b, void* context)
{
    (void)result;
    (void)a;
    (void)b;
    (void)context;
    ++interposedCalls;
    return 0;
}

typedef unsigned char* (*Multiply)(const unsigned char*, int, int, int, const unsigned char*, int, int, int, int);

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s libnorvexa.so\n", argv[0]);
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (library == 0) {
        fprintf(stderr, "dlopen: %s\n", dlerror());
        return 2;
    }
    Multiply multiply = (Multiply)dlsym(library, "dtMultiplyPackedDecimal");
    if (multiply == 0) {
        fprintf(stderr, "dtMultiplyPackedDecimal is not exported\n");
        return 2;
    }
    /* +12 (3 digits) times +3 (1 digit) in 5 digits: 00036+ */
    const unsigned char twelve[] = {0x01, 0x2C};
    const unsigned char three[] = {0x3C};
    const unsigned char expected[] = {0x00, 0x03, 0x6C};
    const unsigned char* product = multiply(twelve, 3, 0, 1, three, 1, 0, 1, 5);
    if (interposedCalls != 0) {
        fprintf(stderr, "the library called the host's decNumberMultiply %d time(s)\n", interposedCalls);
        return 1;
    }
    if (product == 0 || memcmp(product, expected, sizeof expected) != 0) {
        fprintf(stderr, "wrong product\n");
        return 1;
    }
    printf("the library's own forwarder multiplied\n");
    return 0;
}
