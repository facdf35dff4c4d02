#ifndef NORVEXA_TESTS_SOAK_SOAKPERIPHERY_H
#define NORVEXA_TESTS_SOAK_SOAKPERIPHERY_H

#include <string>

#include "SoakEntries.h"

class LoadedEvaluator;
class TestHost;
class SoakWorker;

// What other host threads do while the workers evaluate: pair
// initialisations with terminations (the count never falls to 0, since the
// soak's own initialisation stays), set a default representation, and ask
// the action table, a type's name and the name builders. Entry points the
// library does not export are skipped. Each pass answers a record of what
// it was answered: the same for every pass.
class SoakPeriphery {
public:
    SoakPeriphery(LoadedEvaluator& evaluator, TestHost& host, const SoakEntries& dbg, const SoakWorker& worker);

    // Initialisation paired with termination, and a default representation
    // set to the one it has.
    std::string lifeCycle();
    // The action table, a type's name and the name builders.
    std::string names();

private:
    LoadedEvaluator& evaluator_;
    TestHost& host_;
    const SoakEntries& dbg_;
    const SoakWorker& worker_;
};

#endif
