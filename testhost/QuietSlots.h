#ifndef NORVEXA_TESTHOST_QUIETSLOTS_H
#define NORVEXA_TESTHOST_QUIETSLOTS_H

class TestHost;

// Puts into a host's table, before it is installed, slots that answer the
// calls of a warm evaluation from the host's model as the usual slots do,
// without logging the call or looking for a programmed answer: memory reads,
// symbol searches (by name through the contexts' name index), context kinds,
// call-stack entries and whether a symbol lies in a context. A host
// that costs, and allocates, nothing per call, for the benchmarks and for
// tests that count what the evaluator itself does. The answering host is the
// installed one (TestHost::current()).
void makeQuiet(TestHost& host);

#endif
