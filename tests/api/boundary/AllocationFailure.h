#ifndef NORVEXA_TESTS_API_BOUNDARY_ALLOCATIONFAILURE_H
#define NORVEXA_TESTS_API_BOUNDARY_ALLOCATIONFAILURE_H

// The boundary walk's operator new: this program's replacement, which the
// loaded library's allocations reach too (the program's definition comes
// first in the process's lookup). While armed it counts the allocations of
// the calling thread and fails the one whose number is given, as an
// exhausted heap would: std::bad_alloc.
namespace allocation {

// Fails the n-th allocation from now (0: the next; -1: none); counts until
// disarmed.
void failAt(long n);
// Stops counting and failing; answers the allocations counted since armed.
long disarm();
// Whether the armed failure happened.
bool failed();

} // namespace allocation

#endif
