#ifndef NORVEXA_BENCH_ROADPROGRAMS_H
#define NORVEXA_BENCH_ROADPROGRAMS_H

// The programs the road's benchmarks evaluate in: C (a, b, i, the struct s
// and the pointer p to it) and COBOL (a group and COMP-3 fields).

inline const char* const cProgram = R"(language c
int a = 3;
int b = 4;
int i = 2;
struct holder { int arr[4]; int x; } s = {{1, 2, 3, 4}, 5};
struct holder *p = &s;
)";

inline const char* const cobolProgram = R"(language cobol
       01 GRP.
          05 FLD       PIC S9(3)V99 VALUE 12.5.
       77 PRICE        PIC S9(5)V99 COMP-3 VALUE 19.99.
       77 QTY          PIC S9(3) COMP-3 VALUE 3.
       77 TAX          PIC S9(3)V99 COMP-3 VALUE 1.25.
       77 TOTAL        PIC S9(7)V99 COMP-3 VALUE 0.
)";

#endif
