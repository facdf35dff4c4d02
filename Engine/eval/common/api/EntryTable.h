#ifndef NORVEXA_API_ENTRYTABLE_H
#define NORVEXA_API_ENTRYTABLE_H

#include <cstdint>

// The table of entry points the plug-in's main hands the host: 65
// pointer-sized words. Word 0 holds the table's size in bytes, word n the
// address of the entry point at position n, or 0 where the evaluator offers
// none.
constexpr unsigned entryTableWords = 65;
constexpr std::uintptr_t entryTableBytes = entryTableWords * sizeof(std::uintptr_t);

// Fills the host's table (spelled so): the host's size word H (bytes) is
// read from word 0, the first H bytes are zeroed, the evaluator's own table
// is copied over them as far as both reach, whole words only, and H is
// written back into word 0. A table shorter than the evaluator's receives
// the words that fit; a longer one has its tail zeroed; a size word of 0
// gets nothing but itself. A null table is left alone. Answers 0.
int intializeEvaluatorFunctions(std::uintptr_t* hostTable);

#endif
